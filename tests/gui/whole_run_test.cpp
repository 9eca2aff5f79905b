// The program from start to Finish, as a user drives it, against zentro-cli:
// for the same bitmap and the same choices both must write the same bytes.
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <array>
#include <functional>
#include <sstream>

#include "app/bmp_icon_app.h"
#include "cli/convert.h"
#include "gui_test_main.h"
#include "image/bmp_writer.h"
#include "image/little_endian.h"
#include "modal_script.h"
#include "page_widgets.h"
#include "pages/control_ids.h"
#include "support/bmp_builder.h"
#include "support/message_recorder.h"
#include "support/pictures.h"
#ifdef ZENTRO_TEST_CODECS
#include "codec_encoders.h"
#include "codecs/png_encoder.h"
#endif

using namespace zentro;
using zentro::test::MessageRecorder;
using zentro::test::OnModalWizard;
using zentro::test::TempDir;

namespace {

constexpr int kPageCount = 5;

// What the user does on a page before pressing Next (Finish on the last page).
using PageAction = std::function<void(WizardPage&)>;

QString Q(const std::string& text) { return QString::fromStdString(text); }

// A keyed picture (every corner in the key colour) around a shaded disc, whose
// round edge the smoothing turns into partial transparency.
void WriteKeyedDisc(const std::string& path, int size) {
    CDib picture;
    test::DrawDisc(picture, size, size);
    ReplacingFile file;
    if (!file.Open(path)) qFatal("cannot create %s", path.c_str());
    WriteBmp24(file, picture);
    file.Commit();
}

template <class W>
W* Control(WizardPage& page, int id) {
    auto* control = test::DlgItem<W>(page, id);
    if (control == nullptr) qFatal("page %s has no control %d", page.Caption().c_str(), id);
    return control;
}

// Key by key; keyClicks takes Latin-1 only, and the paths hold Chinese.
void Type(WizardPage& page, int id, const std::string& text) {
    QLineEdit* edit = Control<QLineEdit>(page, id);
    edit->setFocus();
    edit->selectAll();
    for (const QChar character : Q(text))
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(character), Qt::NoModifier);
}

void Click(WizardPage& page, int id) { Control<QCheckBox>(page, id)->click(); }

#ifdef ZENTRO_TEST_CODECS
// A gradient under a disc of alpha that fades from opaque to clear towards its
// rim, clear beyond it, and stores colours even where it is clear.
std::vector<std::uint8_t> FadingDiscPng(int size) {
    CDib colours;
    test::DrawGradient(colours, size, size);
    RgbaImage rgba;
    Picture picture{std::move(colours), {}};
    if (!RgbaFromPicture(picture, rgba)) qFatal("no memory");
    const double radius = size / 2.0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double dx = x + 0.5 - radius, dy = y + 0.5 - radius;
            const double share = 1.0 - (dx * dx + dy * dy) / (radius * radius);
            rgba.pixels[(static_cast<std::size_t>(y) * size + x) * 4 + 3] =
                static_cast<std::uint8_t>(share <= 0     ? 0
                                          : share >= 0.5 ? 255
                                                         : share * 510);
        }
    std::vector<std::uint8_t> png;
    if (!codecs::EncodePng(rgba, png)) qFatal("cannot encode the PNG");
    return png;
}

// A photo-like picture without key or alpha, not square.
std::vector<std::uint8_t> GradientJpeg(int width, int height) {
    CDib colours;
    test::DrawGradient(colours, width, height);
    test::JpegLayout layout;
    layout.width = width;
    layout.height = height;
    Picture picture{std::move(colours), {}};
    RgbaImage rgba;
    if (!RgbaFromPicture(picture, rgba)) qFatal("no memory");
    for (std::size_t i = 0; i < rgba.pixels.size(); i += 4)
        layout.samples.insert(layout.samples.end(), rgba.pixels.begin() + i, rgba.pixels.begin() + i + 3);
    return test::EncodeJpeg(layout);
}
#endif

std::uint16_t ImageCount(const std::vector<std::uint8_t>& ico) {
    return ico.size() < 6 ? 0 : le::Get16(ico.data() + 4);
}

// One bitmap converted twice, by the wizard and by zentro-cli.
struct WholeRun {
    TempDir folder;
    std::string source = folder / "源 picture.bmp";
    std::string bitmap16 = folder / "small 16.bmp";
    // Where the wizard writes: the Output page's proposal, kept as it is.
    std::string wizardIcon = folder / "源 picture.ico";
    std::string cliIcon = folder / "cli.ico";
    MessageRecorder messages;
    // The page the wizard stopped on, or kPageCount when Finish closed it.
    int reached = -1;

    WholeRun() {
        WriteKeyedDisc(source, 256);
        WriteKeyedDisc(bitmap16, 16);
    }

    // The picture to convert becomes `bytes`, named with `extension`; the
    // wizard proposes the same icon name as for the bitmap.
    void UsePicture(const std::vector<std::uint8_t>& bytes, const std::string& extension) {
        source = folder / ("源 picture." + extension);
        test::WriteFile(source, bytes);
    }

    // Runs the program with `arguments` and `actions` on the pages in order.
    void RunWizard(const std::vector<std::string>& arguments, std::array<PageAction, kPageCount> actions) {
        CBmpIconApp app;
        app.SetArguments(arguments);
        OnModalWizard([this, &actions](WizardSheet& sheet) {
            for (int index = 0; index < kPageCount; ++index) {
                reached = sheet.GetActiveIndex();
                if (reached != index) return;
                if (actions[index]) actions[index](*sheet.GetActivePage());
                sheet.PressButton(index + 1 < kPageCount ? WizardCommand::Next : WizardCommand::Finish);
            }
            if (!sheet.isVisible()) reached = kPageCount;
        });
        app.InitInstance();
    }

    // zentro-cli on the same source with `options`; its error output, empty when it wrote the icon.
    std::string RunCli(std::vector<std::string> options) const {
        options.insert(options.end(), {"-o", cliIcon, source});
        std::ostringstream out, err;
        const int status = cli::Run(options, out, err);
        return status == 0 ? std::string() : "status " + std::to_string(status) + ": " + err.str();
    }
};

// The wizard finished without a message and wrote what zentro-cli wrote, an
// icon of `images` images. The last check of a test: it returns on failure.
void CompareIcons(const WholeRun& run, int images) {
    QCOMPARE(run.reached, kPageCount);
    QVERIFY(run.messages.messages.empty());
    const std::vector<std::uint8_t> wizard = test::ReadFile(run.wizardIcon);
    const std::vector<std::uint8_t> cli = test::ReadFile(run.cliIcon);
    QCOMPARE(ImageCount(cli), std::uint16_t(images));
    QCOMPARE(wizard.size(), cli.size());
    QVERIFY(wizard == cli);
}

}  // namespace

class WholeRunTest : public QObject {
    Q_OBJECT

private slots:
    void pathTypedOnTheInputPage() {
        WholeRun run;
        run.RunWizard({}, {[&](WizardPage& input) { Type(input, kBitmapPathEdit, run.source); }});
        // A classic bitmap: the classic conversion.
        QCOMPARE(run.RunCli({"--classic"}), std::string());
        // Keyed corners: 32-bit with alpha besides 8 and 4 bits, one 256 image.
        CompareIcons(run, 10);
    }

    void pathGivenOnTheCommandLine() {
        WholeRun run;
        run.RunWizard({run.source}, {});
        QCOMPARE(run.RunCli({"--classic"}), std::string());
        CompareIcons(run, 10);
    }

    void separate16x16Bitmap() {
        WholeRun run;
        run.RunWizard({run.source}, {PageAction{}, PageAction{}, [&](WizardPage& sizes) {
                                         Click(sizes, kUse16BitmapBox);
                                         Type(sizes, kBitmapPathEdit, run.bitmap16);
                                     }});
        QCOMPARE(run.RunCli({"--classic", "--icon16", run.bitmap16}), std::string());
        CompareIcons(run, 10);
    }

    void only32BitDepth() {
        WholeRun run;
        run.RunWizard({run.source}, {PageAction{}, [](WizardPage& format) {
                                         Click(format, kPalette8Box);
                                         Click(format, kPalette4Box);
                                     }});
        QCOMPARE(run.RunCli({"--classic", "--depths", "32"}), std::string());
        CompareIcons(run, 4);
    }

    void pngStoredOnTheOutputPage() {
        WholeRun run;
        run.RunWizard({run.source}, {PageAction{}, PageAction{}, PageAction{}, PageAction{},
                                     [](WizardPage& output) { Click(output, kPng256Box); }});
        QCOMPARE(run.RunCli({"--classic", "--png", "256"}), std::string());
        CompareIcons(run, 10);
    }

#ifdef ZENTRO_TEST_CODECS
    // Every page left at its preset: what zentro-cli writes with no options.
    void picturesOfOtherFormatsWithThePresets_data() {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<int>("images");
        // 32-bit images alone, the 256 x 256 one a PNG.
        QTest::newRow("PNG with alpha") << QStringLiteral("png") << 4;
        // Too small for 256: the Sizes page has that box cleared, as the command line leaves it out.
        QTest::newRow("PNG of 48") << QStringLiteral("png-48") << 3;
        // Wider than high: padded into each square.
        QTest::newRow("JPEG") << QStringLiteral("jpg") << 4;
        // The keyed disc's own icon.
        QTest::newRow("icon") << QStringLiteral("ico") << 4;
        // An icon of three sizes makes those three, as on the command line.
        QTest::newRow("icon of 48, 32 and 16") << QStringLiteral("ico-small") << 3;
#ifdef ZENTRO_TEST_SVG
        QTest::newRow("SVG") << QStringLiteral("svg") << 4;
#endif
    }
    void picturesOfOtherFormatsWithThePresets() {
        QFETCH(QString, extension);
        QFETCH(int, images);
        WholeRun run;
        PageAction output;
        if (extension == "png") run.UsePicture(FadingDiscPng(256), "png");
        if (extension == "png-48") run.UsePicture(FadingDiscPng(48), "png");
        if (extension == "jpg") run.UsePicture(GradientJpeg(320, 256), "jpg");
        if (extension == "svg") {
            const std::string svg =
                "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 10 10'>"
                "<circle cx='5' cy='5' r='4.5' fill='#3a7' stroke='#123' stroke-width='0.7'/></svg>";
            run.UsePicture({svg.begin(), svg.end()}, "svg");
        }
        if (extension.startsWith("ico")) {
            const bool small = extension == "ico-small";
            QCOMPARE(run.RunCli(small ? std::vector<std::string>{"--sizes", "48,32,16"}
                                      : std::vector<std::string>{"--png", "256"}),
                     std::string());
            run.UsePicture(test::ReadFile(run.cliIcon), "ico");
            // The proposal would be the picture itself.
            run.wizardIcon = run.folder / "wizard.ico";
            output = [&](WizardPage& page) { Type(page, kIconPathEdit, run.wizardIcon); };
        }
        run.RunWizard({run.source}, {PageAction{}, PageAction{}, PageAction{}, PageAction{}, output});
        // Replaces the icon that became the picture, if any.
        QCOMPARE(run.RunCli({"--force"}), std::string());
        CompareIcons(run, images);
    }

    void alphaPictureWithTransparencyClearedIsLaidOnWhite() {
        WholeRun run;
        run.UsePicture(FadingDiscPng(256), "png");
        run.RunWizard({run.source}, {PageAction{}, [](WizardPage& format) { Click(format, kTransparentBox); }});
        // 32-bit stays chosen, and opaque.
        QCOMPARE(run.RunCli({"--opaque"}), std::string());
        CompareIcons(run, 4);
    }
#endif
};

ZENTRO_GUI_TEST_MAIN(WholeRunTest)
#include "whole_run_test.moc"
