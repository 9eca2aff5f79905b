#include "cli/picture_input.h"

#include <utility>

#include "job/source_choice.h"
#include "platform/message.h"
#include "platform/string_table.h"
#ifdef ZENTRO_CLI_CODECS
#include "codecs/picture_loader.h"
#endif

namespace zentro::cli {

namespace {

bool LoadFile(const std::string& path, bool classic, PictureSources& sources) {
#ifdef ZENTRO_CLI_CODECS
    if (!classic) return codecs::LoadSources(path, sources);
#else
    (void)classic;
#endif
    Picture picture;
    if (!picture.colour.Load(path)) return false;
    sources.rasters.push_back(std::move(picture));
    return true;
}

// Messages shown while a file is read name it, so that the user knows which one to
// mend: one of several, or the 16 x 16 picture read while the icon's own is at hand.
class NamingMessages {
public:
    explicit NamingMessages(const std::string& path) : outer_(SetMessageHandler({})) {
        SetMessageHandler([this, path](const Message& m) {
            MessageHandler self = SetMessageHandler(outer_);
            Message named = m;
            if (named.subject.empty()) named.subject = path;
            const MessageReply reply = ShowMessage(named);
            SetMessageHandler(std::move(self));
            return reply;
        });
    }
    ~NamingMessages() { SetMessageHandler(std::move(outer_)); }
    NamingMessages(const NamingMessages&) = delete;
    NamingMessages& operator=(const NamingMessages&) = delete;

private:
    MessageHandler outer_;
};

// A drawing that names files or addresses goes on without them; the user hears which.
void TellWhatIsNotDrawn(const VectorPicture& vector) {
    std::string names;
    for (const std::string& name : vector.OutsideReferences()) names += (names.empty() ? "\"" : ", \"") + name + "\"";
    if (!names.empty()) ShowMessageAbout("", IDS_CLI_NOT_DRAWN, MessageIcon::Exclamation, {names});
}

}  // namespace

bool LoadSources(const std::vector<std::string>& paths, bool classic, ImageStore& store) {
    PictureSources sources;
    for (const std::string& path : paths) {
        const NamingMessages naming(path);
        PictureSources one;
        if (!LoadFile(path, classic, one)) return false;
        if (one.vector && sources.vector) {
            // Which drawing should make the sizes would be a guess.
            ShowMessageAbout("", IDS_CLI_ONE_VECTOR, MessageIcon::Error);
            return false;
        }
        if (one.vector) {
            TellWhatIsNotDrawn(*one.vector);
            sources.vector = std::move(one.vector);
        }
        for (Picture& picture : one.rasters) sources.rasters.push_back(std::move(picture));
    }
    TakeSources(store, std::move(sources));
    return true;
}

PictureReader SixteenReader(bool classic) {
    return SixteenReaderOf(
        [classic](const std::string& path, ImageStore& store) { return LoadSources({path}, classic, store); });
}

}  // namespace zentro::cli
