// SVG documents: told from other text by their root element, drawn to the very
// bytes rsvg-convert writes, and kept from reaching outside themselves.
#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "codec_encoders.h"
#include "codecs/picture_format.h"
#include "codecs/svg_decoder.h"
#include "codecs/svg_sniff.h"
#include "platform/string_table.h"
#include "support/bmp_builder.h"

using namespace zentro;
using namespace zentro::test;

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// `copies` times `text`, as one gzip stream.
std::vector<std::uint8_t> Gzip(const std::string& text, int copies = 1) {
    z_stream stream{};
    EXPECT_EQ(deflateInit2(&stream, 9, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::vector<std::uint8_t> out(1 << 16), in = Bytes(text);
    std::size_t used = 0;
    for (int i = 0; i < copies; ++i) {
        stream.next_in = in.data();
        stream.avail_in = static_cast<uInt>(in.size());
        const int flush = i + 1 == copies ? Z_FINISH : Z_NO_FLUSH;
        int status = Z_OK;
        do {
            if (out.size() - used < 4096) out.resize(out.size() * 2);
            stream.next_out = out.data() + used;
            stream.avail_out = static_cast<uInt>(out.size() - used);
            status = deflate(&stream, flush);
            used = out.size() - stream.avail_out;
        } while (stream.avail_in > 0 || (flush == Z_FINISH && status != Z_STREAM_END));
    }
    deflateEnd(&stream);
    out.resize(used);
    return out;
}

bool IsSvgText(const std::string& text) { return codecs::IsSvg(Bytes(text).data(), text.size()); }

}  // namespace

TEST(SvgSniff, TellsAnSvgRootFromOtherText) {
    const char* svgs[] = {
        "<svg xmlns=\"http://www.w3.org/2000/svg\"/>",
        "\xEF\xBB\xBF<svg>",
        " \r\n\t<?xml version=\"1.0\"?>\n<!-- made by hand -->\n<?xml-stylesheet href=\"a.css\"?>\n<svg\nwidth=\"1\">",
        "<?xml version=\"1.0\"?><!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" \"svg11.dtd\" [\n"
        "  <!ENTITY a \"]>\"> <!-- ]> --> <!ENTITY b '<svg>'>\n]><svg:svg xmlns:svg=\"http://www.w3.org/2000/svg\">",
    };
    for (const char* text : svgs) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(IsSvgText(text));
        const std::vector<std::uint8_t> gz = Gzip(text);
        EXPECT_TRUE(codecs::IsSvg(gz.data(), gz.size()));
        EXPECT_EQ(codecs::DetectFormat(gz.data(), gz.size()), codecs::PictureFormat::Svg);
    }
    const char* others[] = {
        "",
        "<html><svg></svg></html>",
        "<!-- <svg> --><html>",
        "<!-- <svg> never closed",
        "<svgx>",
        "<:svg>",
        "<svg",
        "text <svg>",
        "<!DOCTYPE html><html>",
        "<!DOCTYPE svg [ <!ENTITY a \"x\"> <svg>",
    };
    for (const char* text : others) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(IsSvgText(text));
        const std::vector<std::uint8_t> gz = Gzip(text);
        EXPECT_FALSE(codecs::IsSvg(gz.data(), gz.size()));
    }
    // The root past the bytes looked at, and a gzip stream cut short before it.
    EXPECT_FALSE(IsSvgText("<!--" + std::string(codecs::kSvgProbeSize, ' ') + "--><svg>"));
    const std::vector<std::uint8_t> gz = Gzip(std::string(5000, ' ') + "<svg>");
    EXPECT_FALSE(codecs::IsSvg(gz.data(), gz.size() / 2));
    // Binary magic wins over text that follows it.
    const std::string png = "\x89PNG\r\n\x1a\n<svg>";
    EXPECT_EQ(codecs::DetectFormat(Bytes(png).data(), png.size()), codecs::PictureFormat::Png);
    EXPECT_EQ(codecs::DetectFormat(Bytes(svgs[2]).data(), std::string(svgs[2]).size()), codecs::PictureFormat::Svg);
}

#ifdef ZENTRO_SVG_DRAW

namespace {

const char kLogo[] = R"svg(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 100 100" width="100" height="100">
  <defs>
    <linearGradient id="g" x1="0" y1="0" x2="1" y2="1"><stop offset="0" stop-color="#1e90ff"/>
      <stop offset="1" stop-color="#8a2be2" stop-opacity="0.6"/></linearGradient>
    <radialGradient id="r"><stop offset="0" stop-color="#fff" stop-opacity="0.9"/>
      <stop offset="1" stop-color="#ffd700" stop-opacity="0"/></radialGradient>
  </defs>
  <rect x="6" y="6" width="88" height="88" rx="18" fill="url(#g)"/>
  <path d="M30 70 L50 25 L70 70 Z" fill="#fff" fill-opacity="0.85" stroke="#222" stroke-width="3"/>
  <circle cx="50" cy="58" r="16" fill="url(#r)"/>
  <path d="M15 85 C35 60, 65 110, 85 80" fill="none" stroke="#ff6347" stroke-width="5" stroke-opacity="0.7"/>
</svg>)svg";
// No viewBox: drawn from its width and height, in millimetres.
const char kRings[] = R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="20mm" height="20mm">
  <g opacity="0.5"><circle cx="30" cy="30" r="25" fill="none" stroke="#c00" stroke-width="8"/>
  <circle cx="45" cy="45" r="25" fill="#06c"/></g>
  <polygon points="5,70 70,5 75,75" fill="#0a0" fill-opacity="0.3" fill-rule="evenodd"/>
</svg>)svg";
const char kWide[] = R"svg(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 200 100" width="200" height="100">
  <ellipse cx="100" cy="50" rx="95" ry="45" fill="#3a7" fill-opacity="0.5"/>
  <rect x="2" y="2" width="196" height="96" fill="none" stroke="#000" stroke-width="4"/>
</svg>)svg";

std::shared_ptr<const VectorPicture> Parse(const std::vector<std::uint8_t>& file) {
    std::shared_ptr<const VectorPicture> vector;
    EXPECT_EQ(codecs::DecodeSvg(file.data(), file.size(), vector), 0u);
    return vector;
}

// A drawing as RGBA, top row first, as a PNG reader gives it.
std::vector<std::uint8_t> Rgba(const VectorPicture& vector, int size) {
    Picture picture;
    EXPECT_EQ(vector.Draw(size, picture), 0u);
    std::vector<std::uint8_t> rgba;
    for (int y = size - 1; y >= 0 && picture.HasAlpha(); --y)
        for (int x = 0; x < size; ++x) {
            const std::uint8_t* bgr = picture.colour.Row(y) + 3 * x;
            rgba.insert(rgba.end(), {bgr[2], bgr[1], bgr[0], picture.alpha.Row(y)[x]});
        }
    return rgba;
}

// What rsvg-convert writes for `svg` with these options, read back by libpng.
std::vector<std::uint8_t> RsvgConvert(const TempDir& dir, const char* svg, const std::string& options, int& width,
                                      int& height) {
    WriteFile(dir / "in.svg", Bytes(svg));
    const std::string command =
        std::string(ZENTRO_RSVG_CONVERT) + " " + options + " -o " + (dir / "out.png") + " " + (dir / "in.svg");
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return DecodePngWithLibpng(ReadFile(dir / "out.png"), width, height);
}

}  // namespace

TEST(SvgDecoder, DrawsTheBytesRsvgConvertWrites) {
    TempDir dir;
    for (const char* svg : {kLogo, kRings}) {
        const std::shared_ptr<const VectorPicture> vector = Parse(Bytes(svg));
        ASSERT_TRUE(vector);
        for (int size : {1, 16, 24, 48, 256}) {
            SCOPED_TRACE(std::string(svg).substr(0, 80) + " at " + std::to_string(size));
            int w = 0, h = 0;
            const std::string sides = std::to_string(size);
            const std::vector<std::uint8_t> expected = RsvgConvert(dir, svg, "-w " + sides + " -h " + sides, w, h);
            ASSERT_EQ(w, size);
            ASSERT_EQ(h, size);
            EXPECT_TRUE(Rgba(*vector, size) == expected);
        }
    }
    // Compressed, the same document draws the same.
    const std::shared_ptr<const VectorPicture> gzipped = Parse(Gzip(kLogo));
    ASSERT_TRUE(gzipped);
    EXPECT_TRUE(Rgba(*gzipped, 48) == Rgba(*Parse(Bytes(kLogo)), 48));
}

// rsvg-convert stretches a 2:1 document over -w S -h S; with -a it keeps the
// shape and writes S x S/2. Ours is that band, centred in a clear square. (What
// reaches past the viewBox would show in the square, not in rsvg-convert's band:
// this document keeps within it.)
TEST(SvgDecoder, KeepsAWideDocumentsShapeCentredInTheSquare) {
    TempDir dir;
    const std::shared_ptr<const VectorPicture> vector = Parse(Bytes(kWide));
    ASSERT_TRUE(vector);
    for (int size : {16, 48, 256}) {
        SCOPED_TRACE(size);
        int w = 0, h = 0;
        const std::string sides = std::to_string(size);
        const std::vector<std::uint8_t> band = RsvgConvert(dir, kWide, "-a -w " + sides + " -h " + sides, w, h);
        ASSERT_EQ(w, size);
        ASSERT_EQ(h, size / 2);
        std::vector<std::uint8_t> expected(4 * static_cast<std::size_t>(size) * (size / 4), 0);
        expected.insert(expected.end(), band.begin(), band.end());
        expected.resize(4 * static_cast<std::size_t>(size) * size, 0);
        EXPECT_TRUE(Rgba(*vector, size) == expected);
    }
}

// Batches draw pictures on threads of their own, and one picture's sizes may be drawn side by side.
TEST(SvgDecoder, DrawsOnTwoThreadsAsOnOne) {
    const std::shared_ptr<const VectorPicture> logo = Parse(Bytes(kLogo)), rings = Parse(Bytes(kRings));
    ASSERT_TRUE(logo && rings);
    const std::vector<std::uint8_t> logo48 = Rgba(*logo, 48), rings48 = Rgba(*rings, 48);
    std::vector<std::uint8_t> got[3];
    std::thread first([&] { got[0] = Rgba(*logo, 48); });
    std::thread second([&] { got[1] = Rgba(*rings, 48); });
    got[2] = Rgba(*logo, 48);
    first.join();
    second.join();
    EXPECT_TRUE(got[0] == logo48 && got[2] == logo48);
    EXPECT_TRUE(got[1] == rings48);
}

TEST(SvgDecoder, BombsEndInARefusalOrADrawing) {
    std::string entities = "<!ENTITY a0 \"lollollollollollollol\">";
    for (int i = 1; i < 10; ++i) {
        entities += "<!ENTITY a" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k) entities += "&a" + std::to_string(i - 1) + ";";
        entities += "\">";
    }
    const std::string open = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\">";
    std::string deep = open;
    for (int i = 0; i < 100000; ++i) deep += "<g>";
    deep += "<rect width=\"9\" height=\"9\"/>";
    for (int i = 0; i < 100000; ++i) deep += "</g>";
    deep += "</svg>";
    struct Case {
        const char* name;
        std::vector<std::uint8_t> file;
        unsigned id;
    };
    const Case cases[] = {
        {"billion laughs", Bytes("<!DOCTYPE svg [" + entities + "]>" + open + "<text y=\"9\">&a9;</text></svg>"),
         IDS_CANNOT_READ},
        {"100000 nested groups", Bytes(deep), IDS_CANNOT_READ},
        {"blur of 1e9",
         Bytes(open + "<filter id=\"f\" x=\"-1e9\" y=\"-1e9\" width=\"3e9\" height=\"3e9\">"
                      "<feGaussianBlur stdDeviation=\"1e9\"/></filter>"
                      "<rect filter=\"url(#f)\" width=\"30\" height=\"30\" fill=\"red\"/></svg>"),
         0},
        // 80 MiB of spaces in about 80 KiB.
        {"gzip bomb", Gzip(open + std::string(1 << 20, ' '), 80), IDS_NO_DIB_MEMORY},
        {"cut gzip", Gzip(kLogo), IDS_CANNOT_READ},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> file = c.file;
        if (std::string(c.name) == "cut gzip") file.resize(file.size() - 9);
        std::shared_ptr<const VectorPicture> vector;
        EXPECT_EQ(codecs::DecodeSvg(file.data(), file.size(), vector), c.id);
        EXPECT_EQ(vector == nullptr, c.id != 0);
        if (vector) {
            EXPECT_EQ(Rgba(*vector, 256).size(), 256u * 256u * 4u);
        }
    }
}

// No href, entity, inclusion or style sheet makes the program open a file the
// document names, or any socket. The files they name exist beside it, so a
// reader that followed them would be seen opening them.
TEST(SvgDecoder, OpensNoFileTheDocumentNames) {
    if (std::string(ZENTRO_STRACE).empty()) GTEST_SKIP() << "strace is not installed (tools/setup.sh installs it)";
    TempDir dir;
    WriteFile(dir / "other.svg", Bytes(kLogo));
    WriteFile(dir / "inc.txt", Bytes("text"));
    PngLayout pixel;
    pixel.samples = {200, 100, 50};
    WriteFile(dir / "pic.png", EncodePng(pixel));
    const std::string open =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
        "xmlns:xi=\"http://www.w3.org/2001/XInclude\" width=\"32\" height=\"32\">";
    const std::string bodies[] = {
        "<image href=\"file:///etc/passwd\" width=\"8\" height=\"8\"/>",
        "<image href=\"pic.png\" width=\"8\" height=\"8\"/>",
        "<image xlink:href=\"" + (dir / "pic.png") + "\" width=\"8\" height=\"8\"/>",
        "<image href=\"http://127.0.0.1:9/a.png\" width=\"8\" height=\"8\"/>",
        "<use href=\"other.svg#a\"/><use xlink:href=\"file://" + (dir / "other.svg") + "#a\"/>",
        "<xi:include href=\"inc.txt\" parse=\"text\"/><xi:include href=\"other.svg\"/>",
        "<rect fill=\"url(other.svg#g)\" filter=\"url(other.svg#f)\" width=\"4\" height=\"4\"/>",
        "<style>@import url(other.css); rect { fill: url(other.svg#g) }</style><rect width=\"4\" height=\"4\"/>",
    };
    std::vector<std::string> documents;
    for (const std::string& body : bodies) documents.push_back(open + body + "</svg>");
    documents.push_back("<!DOCTYPE svg [<!ENTITY x SYSTEM \"file:///etc/hostname\"><!ENTITY y SYSTEM \"inc.txt\">]>" +
                        open + "<text y=\"9\">&x;&y;</text></svg>");
    for (const std::string& document : documents) {
        SCOPED_TRACE(document);
        WriteFile(dir / "hostile.svg", Bytes(document));
        // LeakSanitizer cannot run under ptrace: leaks are the other tests' to find.
        const std::string command = "cd " + dir.path() + " && ASAN_OPTIONS=${ASAN_OPTIONS}:detect_leaks=0 " +
                                    ZENTRO_STRACE + " -f -qq -e trace=open,openat,connect,socket -o trace.log " +
                                    ZENTRO_SVG_DRAW + " hostile.svg 32 16 > /dev/null";
        const int status = std::system(command.c_str());
        // Drawn, or refused as unreadable (an external entity stops the parse).
        EXPECT_TRUE(status == 0 || (WIFEXITED(status) && WEXITSTATUS(status) == IDS_CANNOT_READ)) << status;
        std::ifstream trace(dir / "trace.log");
        std::string line;
        int opened = 0;
        while (std::getline(trace, line)) {
            if (line.find("\"hostile.svg\"") != std::string::npos) ++opened;
            for (const char* named :
                 {"socket(", "connect(", "passwd", "hostname", "other.svg", "other.css", "inc.txt", "pic.png"})
                EXPECT_EQ(line.find(named), std::string::npos) << line;
        }
        EXPECT_EQ(opened, 1);
    }
}

// Every file and address the document names outside itself, each once, in the order
// given; what it draws from itself (fragments, data: addresses) and a link's target are not.
TEST(SvgDecoder, NamesWhatItNeverReads) {
    const std::string document =
        "<?xml-stylesheet href='sheet.css' type='text/css'?>"
        "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' "
        "xmlns:xi='http://www.w3.org/2001/XInclude' width='32' height='32'>"
        "<image href='pic.png' width='8' height='8'/><image href='data:image/png;base64,AAAA' width='8' height='8'/>"
        "<use xlink:href='other.svg#a'/><use href='#local'/><a href='https://example.com/'><rect width='4' "
        "height='4'/></a><rect id='local' fill='url(other.svg#g)' stroke='url(#g)' style='filter: url(\"f.svg#f\")' "
        "width='4' height='4'/><style>@import 'more.css'; rect { fill: url( pic.png ) }</style>"
        "<xi:include href='http://example.com/inc.txt' parse='text'/></svg>";
    std::shared_ptr<const VectorPicture> vector;
    ASSERT_EQ(codecs::DecodeSvg(Bytes(document).data(), document.size(), vector), 0u);
    EXPECT_EQ(vector->OutsideReferences(),
              (std::vector<std::string>{"sheet.css", "pic.png", "other.svg#a", "other.svg#g", "f.svg#f", "more.css",
                                        "http://example.com/inc.txt"}));
    ASSERT_EQ(codecs::DecodeSvg(Bytes(kLogo).data(), std::string(kLogo).size(), vector), 0u);
    EXPECT_TRUE(vector->OutsideReferences().empty());
}
#endif  // ZENTRO_SVG_DRAW
