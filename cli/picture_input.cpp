#include "cli/picture_input.h"

#include <utility>

#include "job/source_choice.h"
#include "platform/message.h"
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

// Messages shown while one of several files is read name that file, so that the
// user knows which one to mend.
class NamingMessages {
public:
    explicit NamingMessages(const std::string& path) : outer_(SetMessageHandler({})) {
        SetMessageHandler([this, path](const Message& m) {
            MessageHandler self = SetMessageHandler(outer_);
            const MessageReply reply = ShowMessageText(0, path + ": " + m.text, m.icon, m.buttons);
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

}  // namespace

bool LoadSources(const std::vector<std::string>& paths, bool classic, ImageStore& store) {
    PictureSources sources;
    if (paths.size() == 1 && !LoadFile(paths.front(), classic, sources)) return false;
    for (std::size_t i = 0; paths.size() > 1 && i < paths.size(); ++i) {
        const NamingMessages naming(paths[i]);
        PictureSources one;
        if (!LoadFile(paths[i], classic, one)) return false;
        if (one.vector && sources.vector) {
            // Which drawing should make the sizes would be a guess.
            ShowMessageText(0, "only one vector picture can go into an icon", MessageIcon::Error);
            return false;
        }
        if (one.vector) sources.vector = std::move(one.vector);
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
