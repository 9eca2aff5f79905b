// The SVG sniffer and decoder on arbitrary bytes: a refusal must be one of the
// decoder's message ids and leave no picture; a parsed document must name what it
// refers to outside itself sensibly and draw at a few small sizes, each a square
// colour bitmap with its alpha plane, or refuse.
#include "codecs/svg_decoder.h"
#include "codecs/svg_sniff.h"
#include "fuzz_support.h"
#include "platform/string_table.h"

using namespace zentro;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The sniffer sees everything; only what it calls an SVG is worth the parser's time.
    if (!codecs::IsSvg(data, size)) return 0;
    std::shared_ptr<const VectorPicture> vector;
    const unsigned id = codecs::DecodeSvg(data, size, vector);
    if (id != 0) {
        FUZZ_CHECK(id == IDS_CANNOT_READ || id == IDS_NO_DIB_MEMORY);
        FUZZ_CHECK(vector == nullptr);
        return 0;
    }
    FUZZ_CHECK(vector != nullptr);
    // What is named outside the drawing: each once, never a fragment of itself or data it carries.
    const std::vector<std::string> references = vector->OutsideReferences();
    for (std::size_t i = 0; i < references.size(); ++i) {
        FUZZ_CHECK(!references[i].empty() && references[i][0] != '#' && references[i].rfind("data:", 0) != 0);
        for (std::size_t j = 0; j < i; ++j) FUZZ_CHECK(references[j] != references[i]);
    }
    for (int side : {1, 7, 16}) {
        Picture picture;
        const unsigned drawn = vector->Draw(side, picture);
        if (drawn != 0) {
            FUZZ_CHECK(drawn == IDS_CANNOT_READ || drawn == IDS_NO_DIB_MEMORY);
            FUZZ_CHECK(!picture.colour.HasPicture() && !picture.alpha.HasPicture());
            continue;
        }
        FUZZ_CHECK(picture.colour.Width() == side && picture.colour.Height() == side &&
                   picture.colour.BitCount() == 24);
        FUZZ_CHECK(picture.alpha.Width() == side && picture.alpha.Height() == side && picture.alpha.BitCount() == 8);
        // A clear pixel keeps no colour, as cairo's PNG writer stores it.
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                if (picture.alpha.Row(y)[x] == 0) {
                    const std::uint8_t* bgr = picture.colour.Row(y) + 3 * x;
                    FUZZ_CHECK(bgr[0] == 0 && bgr[1] == 0 && bgr[2] == 0);
                }
    }
    return 0;
}
