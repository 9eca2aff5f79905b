#pragma once
// Writes a set's files into its folder, each replacing its target only once all
// of it is on the disk, as icons are written.
#include <functional>
#include <string>
#include <vector>

#include "icon/icon_writer.h"
#include "icon_sets/set_images.h"
#include "icon_sets/set_layout.h"
#include "icon_sets/web_files.h"
#include "job/vector_picture.h"
#include "platform/file_failure.h"

namespace zentro::sets {

// The files of `files` that are in the way in `folder`: each path that names
// anything at all (a link, even a broken one, counts).
std::vector<std::string> FilesInTheWay(const std::string& folder, const std::vector<SetFile>& files);

// What one run of WriteSet did.
struct SetOutcome {
    std::vector<SetFile> written;
    // A file left out, or the parts of a file left out of it ("256x256", "ic10 1024x1024"):
    // each would have needed a picture enlarged.
    struct LeftOut {
        std::string path;
        std::vector<std::string> parts;  // empty: the whole file
    };
    std::vector<LeftOut> leftOut;
    // The file that could not be written, with the message id that tells why
    // (105 no memory, 117 cannot create, 119 cannot write) and, for the last two,
    // what the system said; 0 when all went well.
    std::string failedPath;
    unsigned failure = 0;
    FileFailure failedBecause = FileFailure::None;
    bool stopped = false;  // a stop was requested (platform/stop_request.h): the files after it are not written
};

// Told before each file is written: how many are done, and the file's path.
using SetProgress = std::function<void(int done, const std::string& path)>;

// Writes the files of `files` into `folder` (made when missing) in their order,
// from `images`, leaving out what they do not hold; stops at the first failure,
// keeping what was written. `vector` is the picture the documents copy, or null;
// `encode` compresses the images that no icon holds as they are.
SetOutcome WriteSet(const std::string& folder, const std::vector<SetFile>& files, const SetImages& images,
                    const WebDetails& web, const VectorPicture* vector, const PngEncoder& encode,
                    const SetProgress& progress = {});

}  // namespace zentro::sets
