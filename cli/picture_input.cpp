#include "cli/picture_input.h"

#include <utility>

#include "job/source_choice.h"
#include "platform/message.h"
#include "platform/string_table.h"
#ifdef ZENTRO_CLI_CODECS
#include "codecs/picture_sources.h"
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
    return [classic](const std::string& path, Picture& picture) {
        ImageStore own;
        if (!LoadSources({path}, classic, own)) return false;
        const SizeSource chosen = ChooseSource(own, 16);
        if (chosen.kind == SizeSource::Kind::Vector) {
            if (const unsigned id = own.moreSources.vector->Draw(16, picture)) {
                ShowMessage(id, MessageIcon::Error);
                return false;
            }
            return true;
        }
        // Too small a picture is the builder's to refuse, with its own message. The
        // first raster is the store's source; the others stand beside it.
        const int index = chosen.kind == SizeSource::Kind::Raster ? chosen.raster : 0;
        if (index == 0) {
            picture.colour = std::move(own.source);
            picture.alpha = std::move(own.sourceAlpha);
        } else {
            picture = std::move(own.moreSources.rasters[static_cast<std::size_t>(index - 1)]);
        }
        return true;
    };
}

}  // namespace zentro::cli
