// The pages' logic, driven through their controls as a user would, on the
// headless platform: what each page refuses, with which message, where the focus
// goes, and what the pages preset for each other and hand to the driver.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/bmp_icon_app.h"
#include "app/picture_file.h"
#include "headless_platform.h"
#include "pages/control_ids.h"
#include "platform/executable_folder.h"
#include "platform/string_table.h"
#include "platform/wizard_page.h"
#include "support/bmp_builder.h"
#include "support/message_recorder.h"

namespace zentro::test {
namespace {

enum Page : int { kInput, kFormat, kSizes, kPreview, kOutput };
constexpr auto kNext = WizardCommand::Next;
constexpr auto kBack = WizardCommand::Back;
constexpr auto kWarn = MessageIcon::Exclamation;
constexpr auto kError = MessageIcon::Error;
// Large enough for every size once 256 is left out.
constexpr int kSide = 48;

// White with a red dot, so its corners share one colour unless `corner` recolours the bottom-right one.
std::vector<std::uint8_t> Bitmap24(std::uint32_t corner = 0xFFFFFF) {
    std::vector<std::uint32_t> colours(kSide * kSide, 0xFFFFFF);
    colours[kSide * kSide / 2 + kSide / 2] = 0xFF0000;
    colours.back() = corner;
    return Encode24(kSide, kSide, colours);
}

// Corners that differ, but one pixel half transparent.
std::vector<std::uint8_t> Bitmap32WithAlpha() {
    BmpLayout layout;
    layout.width = layout.height = kSide;
    layout.bitCount = 32;
    layout.pixels.assign(kSide * kSide * 4, 0xFF);
    layout.pixels[(kSide - 1) * 4 + 1] = 0;  // the bottom-right pixel blue
    layout.pixels[(kSide * kSide / 2) * 4 + 3] = 0x80;
    return EncodeBmp(layout);
}

using Told = std::vector<std::pair<unsigned, MessageIcon>>;
// What the user gave, and the message it brings (0 for none).
struct Case {
    std::string given;
    unsigned id;
    MessageIcon icon = kWarn;
};

bool Checked(const HeadlessSheet& s, int id) { return s.Control(id).check != 0; }

// Clicks those of `ids` whose state differs from `wanted`.
void SetBoxes(const HeadlessSheet& s, const std::vector<int>& ids, const std::vector<int>& wanted) {
    for (const int id : ids)
        if (Checked(s, id) != (std::count(wanted.begin(), wanted.end(), id) != 0)) Click(&s.Control(id));
}

// The program's wizard; what Finish hands the driver is kept, not written.
struct RecordingApp : CBmpIconApp {
    struct Written {
        std::string path;
        FormatChoices format;
        SizeChoices sizes;
        bool png256;
    };
    std::optional<Written> written;

    bool WriteIconFile(const std::string& path, const FormatChoices& format, const SizeChoices& sizes,
                       bool png256) override {
        written = Written{path, format, sizes, png256};
        return true;
    }
};

class PageLogic : public ::testing::Test {
protected:
    // Runs the whole wizard, as the program does, with `script` as the user.
    void Run(std::function<void(HeadlessSheet&)> script) {
        World() = {};
        World().wizardScript = std::move(script);
        app.written.reset();
        app.InitInstance();
    }
    std::string Picture(const std::string& name, const std::vector<std::uint8_t>& bytes = Bitmap24()) {
        WriteFile(folder / name, bytes);
        return folder / name;
    }
    // On to page `to`, naming `picture` on the Input page and leaving 256 out on the Sizes page.
    void GoTo(HeadlessSheet& s, Page to, const std::string& picture = "") {
        if (s.ActiveIndex() == kInput) Type(&s.Control(kBitmapPathEdit), picture);
        while (s.ActiveIndex() < to) {
            if (s.ActiveIndex() == kSizes && Checked(s, kSize256Box)) Click(&s.Control(kSize256Box));
            const int from = s.ActiveIndex();
            s.Press(kNext);
            ASSERT_EQ(s.ActiveIndex(), from + 1) << "stopped by message " << messages.OnlyId();
        }
    }
    // The messages since the last call, as their ids and icons.
    Told Said() {
        Told said;
        for (const Message& m : messages.messages) said.emplace_back(m.id, m.icon);
        messages.messages.clear();
        return said;
    }

    RecordingApp app;
    MessageRecorder messages;
    TempDir folder;
};

// Refusals leave the user in the edit; a picture chosen in the dialog goes on.
TEST_F(PageLogic, InputRefusesWhatItCannotReadAndStays) {
    std::filesystem::create_directory(folder / "folder.bmp");
    const Case rows[] = {{"", IDS_NO_FILE_NAME},
                         {folder / "missing.bmp", IDS_FILE_NOT_FOUND, kError},
                         {folder / "folder.bmp", IDS_FILE_NOT_FOUND, kError},
                         {Picture("notes.bmp", {'n', 'o', 't', 'e', 's'}), IDS_NOT_A_BITMAP, kError}};
    const std::string picture = Picture("logo.bmp");
    Run([&](HeadlessSheet& s) {
        for (const auto& row : rows) {
            Type(&s.Control(kBitmapPathEdit), row.given);
            s.Press(kNext);
            EXPECT_EQ(Said(), (Told{{row.id, row.icon}})) << row.given;
            EXPECT_EQ(s.ActiveIndex(), kInput);
            EXPECT_EQ(s.Active().Handle()->focus, &s.Control(kBitmapPathEdit));
        }
        World().dialogReplies = {std::nullopt, picture};
        for (const std::string& shown : {folder / "notes.bmp", picture}) {
            Click(&s.Control(kBrowseButton));
            EXPECT_EQ(s.Control(kBitmapPathEdit).text, shown);
        }
        const std::string filter = LoadString(ReadsEveryPicture() ? IDS_PICTURE_FILTER : IDS_BITMAP_FILTER);
        EXPECT_EQ(World().dialogsShown, std::vector<std::string>(2, "bmp:" + filter));
        s.Press(kNext);
        EXPECT_EQ(s.ActiveIndex(), kFormat);
    });
    EXPECT_TRUE(Said().empty());
}

// Every picture loaded presets 32-bit and transparency, over what the user chose
// before, and names the icon after it; on classic bitmaps the other depths stay
// the user's, while any other picture presets 32-bit alone, and a classic bitmap
// after it gets the classic presets back.
TEST_F(PageLogic, InputPresetsFormatAndOutputFromEachPicture) {
    std::filesystem::create_directory(folder / "my.pics");
    struct Row {
        std::string name;
        std::vector<std::uint8_t> bytes;
        int preset;
        std::string icon;
        bool today = false;
    };
    std::vector<Row> rows = {{"logo.bmp", Bitmap24(), 1, "logo.ico"},
                             {"my.pics/plain", Bitmap24(0x0000FF), 0, "my.pics/plain.ico"},
                             {"my.pics/dot.", Bitmap24(0x0000FF), 0, "my.pics/dot.ico"}};
    // Only the decoders read alpha.
    if (ReadsEveryPicture())
        rows.insert(rows.begin() + 2, {"shade.v2.bmp", Bitmap32WithAlpha(), 1, "shade.v2.ico", true});
    Run([&](HeadlessSheet& s) {
        for (const auto& row : rows) {
            GoTo(s, kFormat, Picture(row.name, row.bytes));
            EXPECT_EQ(s.Control(kAlpha32Box).check, row.preset) << row.name;
            EXPECT_EQ(s.Control(kTransparentBox).check, row.preset) << row.name;
            EXPECT_FALSE(s.Control(kWarningIcon).visible);
            const bool afterToday = &row != &rows.front() && (&row - 1)->today;
            EXPECT_EQ(Checked(s, kTrueColour24Box), &row != &rows.front() && !row.today && !afterToday) << row.name;
            if (!row.today) Click(&s.Control(kAlpha32Box));
            if (&row == &rows.front()) Click(&s.Control(kTrueColour24Box));
            GoTo(s, kOutput);
            EXPECT_EQ(s.Control(kIconPathEdit).text, folder / row.icon);
            Type(&s.Control(kIconPathEdit), "typed.ico");
            for (int page = kOutput; page > kInput; --page) s.Press(kBack);
        }
    });
    EXPECT_TRUE(Said().empty());
}

// Next reads the boxes as they are; leaving saves them and returning shows them again.
TEST_F(PageLogic, FormatGoesOnOnlyWithADepthItCanMake) {
    const std::vector<int> boxes = {kAlpha32Box, kTrueColour24Box, kPalette8Box, kPalette4Box, kTransparentBox};
    const struct {
        std::vector<int> checked;
        bool warning;
        bool goesOn;
    } rows[] = {{{}, false, false},
                {{kAlpha32Box}, true, false},
                {{kTransparentBox}, false, false},
                {{kAlpha32Box, kTransparentBox}, false, true},
                {{kPalette4Box}, false, true},
                {{kPalette8Box}, false, true},
                {{kTrueColour24Box}, false, true},
                {{kAlpha32Box, kTrueColour24Box}, true, true}};
    Run([&](HeadlessSheet& s) {
        GoTo(s, kFormat, Picture("logo.bmp"));
        for (const auto& row : rows) {
            SetBoxes(s, boxes, row.checked);
            EXPECT_EQ(s.Control(kWarningIcon).visible, row.warning);
            EXPECT_EQ(s.Control(kWarningText).visible, row.warning);
            EXPECT_TRUE(!row.warning || s.Control(kWarningIcon).warningIcon);
            s.Press(kNext);
            EXPECT_EQ(Said(), (row.goesOn ? Told{} : Told{{IDS_NO_DEPTH, kWarn}}));
            EXPECT_EQ(s.ActiveIndex(), row.goesOn ? kSizes : kFormat);
            if (row.goesOn) s.Press(kBack);
            for (const int id : boxes)
                EXPECT_EQ(Checked(s, id), std::count(row.checked.begin(), row.checked.end(), id) == 1);
        }
    });
}

// The boxes enable what depends on them and never clear it; only Next tests,
// keeping the page with the focus on the sizes, and Back leaves silently.
TEST_F(PageLogic, SizesEnableTheirPartsAndRefuseOnNext) {
    const std::array<int, 4> parts = {kOnlyOne256Box, kUse16BitmapBox, kBitmapPathEdit, kBrowseButton};
    const struct {
        int click;
        std::array<bool, 4> enabled;
    } clicks[] = {{0, {true, true, false, false}},           {kSize256Box, {false, true, false, false}},
                  {kSize256Box, {true, true, false, false}}, {kUse16BitmapBox, {true, true, true, true}},
                  {kSize16Box, {true, false, false, false}}, {kSize16Box, {true, true, true, true}}};
    const struct {
        std::vector<int> sizes;
        bool use16;
        std::string path;
        unsigned id;
        MessageIcon icon;
    } refusals[] = {{{}, false, "", IDS_NO_SIZE, kWarn},
                    {{kSize256Box, kSize48Box, kSize32Box, kSize16Box}, false, "", IDS_TOO_SMALL, kWarn},
                    {{kSize48Box, kSize16Box}, true, "", IDS_NO_FILE_NAME, kWarn},
                    {{kSize48Box, kSize16Box}, true, folder / "missing.bmp", IDS_FILE_NOT_FOUND, kError}};
    const std::string picture = Picture("logo.bmp");
    Run([&](HeadlessSheet& s) {
        GoTo(s, kSizes, picture);
        // The first appearance: 256, 48, 32 and 16, a single 256 x 256 image.
        for (const int id : {kSize256Box, kSize48Box, kSize32Box, kSize24Box, kSize16Box, kOnlyOne256Box})
            EXPECT_EQ(Checked(s, id), id != kSize24Box) << id;
        for (const auto& row : clicks) {
            if (row.click != 0) Click(&s.Control(row.click));
            for (std::size_t i = 0; i < parts.size(); ++i)
                EXPECT_EQ(s.Control(parts[i]).enabled, row.enabled[i]) << row.click << " " << parts[i];
        }
        EXPECT_TRUE(Checked(s, kOnlyOne256Box) && Checked(s, kUse16BitmapBox));
    });
    for (const auto& row : refusals) {
        Run([&](HeadlessSheet& s) {
            GoTo(s, kSizes, picture);
            SetBoxes(s, {kSize16Box, kSize32Box, kSize48Box, kSize256Box}, row.sizes);
            if (row.use16) {
                Click(&s.Control(kUse16BitmapBox));
                Type(&s.Control(kBitmapPathEdit), row.path);
            }
            // Twice: the focus moves away from the sizes that matter, the choice stays.
            Click(&s.Control(kSize24Box));
            Click(&s.Control(kSize24Box));
            for (int attempt = 0; attempt < 2; ++attempt) {
                s.Press(kNext);
                EXPECT_EQ(Said(), (Told{{row.id, row.icon}}));
                EXPECT_EQ(s.ActiveIndex(), kSizes);
                EXPECT_EQ(s.Active().Handle()->focus, &s.Control(kSize16Box));
            }
            s.Press(kBack);
            EXPECT_EQ(s.ActiveIndex(), kFormat);
            EXPECT_TRUE(Said().empty());
        });
    }
}

// Finish checks the name in the edit, whatever the answer to the overwrite
// question, which alone can let it through; "<d>" is the test folder.
TEST_F(PageLogic, OutputChecksTheNameOnFinish) {
    WriteFile(folder / "old.ico", {'o', 'l', 'd'});
    std::filesystem::create_directory(folder / "sub");
    const Case rows[] = {
        {"", IDS_NO_FILE_NAME},
        {"a.i", IDS_NO_FILE_NAME},
        // UTF-16 units count, not bytes: three here, four in the next.
        {"图.i", IDS_NO_FILE_NAME},
        {"𝄞.i", 0},
        {"/", IDS_NO_FILE_NAME},
        {"<d>/missing/x.ico", IDS_FOLDER_NOT_FOUND, kError},
        {"<d>/old.ico/x.ico", IDS_FOLDER_NOT_FOUND, kError},
        {"<d>/sub", IDS_NO_FILE_NAME},
        {"<d>/sub/", IDS_NO_FILE_NAME},
        {"<d>/sub/new.ico", 0},
        {"<d>/old.ico", IDS_OVERWRITE},
    };
    const std::string picture = Picture("logo.bmp");
    for (const auto& row : rows) {
        std::string typed = row.given;
        if (typed.starts_with("<d>")) typed.replace(0, 3, folder.path());
        for (const MessageReply reply : {MessageReply::No, MessageReply::Yes}) {
            const bool finishes = row.id == 0 || (row.id == IDS_OVERWRITE && reply == MessageReply::Yes);
            MessageRecorder asked(reply);
            Run([&](HeadlessSheet& s) {
                GoTo(s, kOutput, picture);
                Type(&s.Control(kIconPathEdit), typed);
                s.Press(WizardCommand::Finish);
                EXPECT_EQ(asked.OnlyId(), row.id) << typed;
                for (const Message& m : asked.messages) {
                    EXPECT_EQ(m.icon, row.icon) << typed;
                    EXPECT_EQ(m.buttons, row.id == IDS_OVERWRITE ? MessageButtons::YesNo : MessageButtons::Ok);
                }
                EXPECT_EQ(s.Result(), finishes ? int{kWizardFinished} : 0) << typed;
                EXPECT_EQ(s.Control(kIconPathEdit).text, typed);
            });
            EXPECT_EQ(app.written ? app.written->path : "-", finishes ? typed : "-");
        }
    }
    EXPECT_EQ(ReadFile(folder / "old.ico"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
}

// The whole wizard as the program runs it: the command line's picture, the
// user's choices on every page, help on every page, and what Finish hands on.
TEST_F(PageLogic, FinishHandsTheDriverWhatThePagesShowed) {
    const std::string picture = Picture("logo.bmp");
    app.SetArguments({picture});
    Run([&](HeadlessSheet& s) {
        EXPECT_EQ(s.Control(kBitmapPathEdit).text, picture);
        const std::vector<int> clicks[] = {{}, {kTrueColour24Box, kPalette4Box}, {kSize256Box, kSize24Box}, {}, {}};
        for (const std::vector<int>& page : clicks) {
            s.Press(WizardCommand::Help);
            for (const int id : page) Click(&s.Control(id));
            s.Press(kNext);
        }
        EXPECT_EQ(s.Control(kPng256Box).enabled, ReadsEveryPicture());
        if (ReadsEveryPicture()) Click(&s.Control(kPng256Box));
        // A folder chosen for the name is no name; a typed one is.
        World().dialogReplies = {folder.path()};
        Click(&s.Control(kBrowseButton));
        s.Press(WizardCommand::Finish);
        EXPECT_EQ(Said(), (Told{{IDS_NO_FILE_NAME, kWarn}}));
        Type(&s.Control(kIconPathEdit), folder / "out.ico");
        s.Press(WizardCommand::Finish);
    });
    EXPECT_TRUE(Said().empty());
    ASSERT_TRUE(app.written.has_value());
    const RecordingApp::Written& w = *app.written;
    EXPECT_EQ(w.path, folder / "out.ico");
    EXPECT_EQ((std::array{w.format.use32, w.format.use24, w.format.use8, w.format.use4, w.format.transparent}),
              (std::array{1, 1, 1, 0, 1}));
    EXPECT_EQ(w.sizes.sizes, (std::array{0, 1, 1, 1, 1}));
    EXPECT_EQ(w.png256, ReadsEveryPicture());
    std::vector<std::string> topics;
    for (const char* page : {"Input", "Format", "Sizes", "Preview", "Output"})
        topics.push_back(ExecutableFolder() + "Zentro.chm::/" + page + ".html");
    EXPECT_EQ(World().helpShown, topics);
    EXPECT_EQ(World().dialogsShown, std::vector<std::string>{"folder"});
}

}  // namespace
}  // namespace zentro::test
