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

bool Checked(const HeadlessSheet& s, int id) { return s.Control(id).check != 0; }

// Clicks the boxes whose state differs from `wanted`.
void SetBoxes(const HeadlessSheet& s, const std::vector<int>& ids, const std::vector<int>& wanted) {
    for (const int id : ids)
        if (Checked(s, id) != (std::find(wanted.begin(), wanted.end(), id) != wanted.end())) Click(&s.Control(id));
}

// The program's wizard; what Finish hands the driver is kept, not written.
class RecordingApp : public CBmpIconApp {
public:
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
    std::string Picture(const std::string& name, const std::vector<std::uint8_t>& bytes) {
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

    RecordingApp app;
    MessageRecorder messages;
    TempDir folder;
};

TEST_F(PageLogic, InputRefusesWhatItCannotReadAndStays) {
    const std::string text = Picture("notes.bmp", {'n', 'o', 't', 'e', 's'});
    std::filesystem::create_directory(folder / "folder.bmp");
    const struct {
        std::string typed;
        unsigned id;
        MessageIcon icon;
    } rows[] = {{"", IDS_NO_FILE_NAME, MessageIcon::Exclamation},
                {folder / "missing.bmp", IDS_FILE_NOT_FOUND, MessageIcon::Error},
                {folder / "folder.bmp", IDS_FILE_NOT_FOUND, MessageIcon::Error},
                {text, IDS_NOT_A_BITMAP, MessageIcon::Error}};
    Run([&](HeadlessSheet& s) {
        for (const auto& row : rows) {
            Type(&s.Control(kBitmapPathEdit), row.typed);
            s.Press(kNext);
            EXPECT_EQ(messages.OnlyId(), row.id) << row.typed;
            EXPECT_EQ(messages.messages.at(0).icon, row.icon) << row.typed;
            EXPECT_EQ(s.ActiveIndex(), kInput);
            EXPECT_EQ(s.Active().Handle()->focus, &s.Control(kBitmapPathEdit));
            messages.messages.clear();
        }
        Type(&s.Control(kBitmapPathEdit), Picture("logo.bmp", Bitmap24()));
        s.Press(kNext);
        EXPECT_EQ(s.ActiveIndex(), kFormat);
        EXPECT_TRUE(messages.messages.empty());
    });
}

// Every picture loaded presets 32-bit and transparency, over what the user chose
// before, and names the icon after it; the other depths stay the user's.
TEST_F(PageLogic, InputPresetsFormatAndOutputFromEachPicture) {
    std::filesystem::create_directory(folder / "my.pics");
    struct Row {
        std::string name;
        std::vector<std::uint8_t> bytes;
        int preset;
        std::string icon;
    };
    std::vector<Row> rows = {{"logo.bmp", Bitmap24(), 1, "logo.ico"},
                             {"my.pics/plain", Bitmap24(0x0000FF), 0, "my.pics/plain.ico"},
                             {"my.pics/dot.", Bitmap24(0x0000FF), 0, "my.pics/dot.ico"}};
    // Only the decoders read alpha.
    if (ReadsEveryPicture()) rows.insert(rows.begin() + 2, {"shade.v2.bmp", Bitmap32WithAlpha(), 1, "shade.v2.ico"});
    Run([&](HeadlessSheet& s) {
        bool firstVisit = true;
        for (const auto& row : rows) {
            GoTo(s, kFormat, Picture(row.name, row.bytes));
            EXPECT_EQ(s.Control(kAlpha32Box).check, row.preset) << row.name;
            EXPECT_EQ(s.Control(kTransparentBox).check, row.preset) << row.name;
            EXPECT_FALSE(s.Control(kWarningIcon).visible);
            EXPECT_EQ(Checked(s, kTrueColour24Box), !firstVisit);
            Click(&s.Control(kAlpha32Box));
            EXPECT_EQ(s.Control(kWarningIcon).visible, row.preset == 0);
            if (firstVisit) Click(&s.Control(kTrueColour24Box));
            firstVisit = false;
            GoTo(s, kOutput);
            EXPECT_EQ(s.Control(kIconPathEdit).text, folder / row.icon);
            Type(&s.Control(kIconPathEdit), "typed.ico");
            while (s.ActiveIndex() != kInput) s.Press(kBack);
        }
    });
    EXPECT_TRUE(messages.messages.empty());
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
        GoTo(s, kFormat, Picture("logo.bmp", Bitmap24()));
        for (const auto& row : rows) {
            SetBoxes(s, boxes, row.checked);
            EXPECT_EQ(s.Control(kWarningIcon).visible, row.warning);
            EXPECT_EQ(s.Control(kWarningText).visible, row.warning);
            EXPECT_TRUE(!row.warning || s.Control(kWarningIcon).warningIcon);
            s.Press(kNext);
            EXPECT_EQ(messages.OnlyId(), row.goesOn ? 0u : unsigned{IDS_NO_DEPTH});
            if (!row.goesOn) {
                EXPECT_EQ(messages.messages.at(0).icon, MessageIcon::Exclamation);
            }
            EXPECT_EQ(s.ActiveIndex(), row.goesOn ? kSizes : kFormat);
            messages.messages.clear();
            if (row.goesOn) s.Press(kBack);
            for (const int id : boxes)
                EXPECT_EQ(Checked(s, id), std::count(row.checked.begin(), row.checked.end(), id) == 1) << id;
        }
    });
}

TEST_F(PageLogic, SizesEnablingFollowsTheBoxesAndNeverClearsThem) {
    // The enabled state of: only one 256, the 16 x 16 bitmap box, its path and its browse button.
    const std::array<int, 4> dependent = {kOnlyOne256Box, kUse16BitmapBox, kBitmapPathEdit, kBrowseButton};
    const struct {
        int click;
        std::array<bool, 4> enabled;
    } rows[] = {{0, {true, true, false, false}},           {kSize256Box, {false, true, false, false}},
                {kSize256Box, {true, true, false, false}}, {kUse16BitmapBox, {true, true, true, true}},
                {kSize16Box, {true, false, false, false}}, {kSize16Box, {true, true, true, true}}};
    Run([&](HeadlessSheet& s) {
        GoTo(s, kSizes, Picture("logo.bmp", Bitmap24()));
        // The first appearance: 256, 48, 32 and 16, a single 256 x 256 image.
        for (const int id : {kSize256Box, kSize48Box, kSize32Box, kSize16Box, kOnlyOne256Box})
            EXPECT_TRUE(Checked(s, id)) << id;
        EXPECT_FALSE(Checked(s, kSize24Box));
        EXPECT_FALSE(Checked(s, kUse16BitmapBox));
        for (const auto& row : rows) {
            if (row.click != 0) Click(&s.Control(row.click));
            for (std::size_t i = 0; i < dependent.size(); ++i)
                EXPECT_EQ(s.Control(dependent[i]).enabled, row.enabled[i]) << row.click << " " << dependent[i];
        }
        EXPECT_TRUE(Checked(s, kOnlyOne256Box));
        EXPECT_TRUE(Checked(s, kUse16BitmapBox));
    });
}

// Only Next tests: the focus goes to the sizes, and Back leaves silently.
TEST_F(PageLogic, SizesRefusesOnNextAndKeepsThePage) {
    const std::string missing = folder / "missing.bmp";
    const struct {
        const char* what;
        std::function<void(HeadlessSheet&)> act;
        unsigned id;
        MessageIcon icon;
    } rows[] = {
        {"no size",
         [](HeadlessSheet& s) {
             SetBoxes(s, {kSize16Box, kSize32Box, kSize48Box, kSize256Box}, {});
         },
         IDS_NO_SIZE, MessageIcon::Exclamation},
        {"256 of a smaller picture", [](HeadlessSheet&) {}, IDS_TOO_SMALL, MessageIcon::Exclamation},
        {"16 x 16 bitmap unnamed",
         [](HeadlessSheet& s) {
             Click(&s.Control(kSize256Box));
             Click(&s.Control(kUse16BitmapBox));
         },
         IDS_NO_FILE_NAME, MessageIcon::Exclamation},
        {"16 x 16 bitmap missing",
         [&](HeadlessSheet& s) {
             Click(&s.Control(kSize256Box));
             Click(&s.Control(kUse16BitmapBox));
             Type(&s.Control(kBitmapPathEdit), missing);
         },
         IDS_FILE_NOT_FOUND, MessageIcon::Error},
    };
    const std::string picture = Picture("logo.bmp", Bitmap24());
    for (const auto& row : rows) {
        Run([&](HeadlessSheet& s) {
            Type(&s.Control(kBitmapPathEdit), picture);
            s.Press(kNext);
            s.Press(kNext);
            row.act(s);
            for (int attempt = 1; attempt <= 2; ++attempt) {
                s.Press(kNext);
                EXPECT_EQ(messages.messages.size(), std::size_t(attempt)) << row.what;
                EXPECT_EQ(messages.messages.back().id, row.id) << row.what;
                EXPECT_EQ(messages.messages.back().icon, row.icon) << row.what;
                EXPECT_EQ(s.ActiveIndex(), kSizes) << row.what;
                EXPECT_EQ(s.Active().Handle()->focus, &s.Control(kSize16Box)) << row.what;
            }
            s.Press(kBack);
            EXPECT_EQ(s.ActiveIndex(), kFormat) << row.what;
            EXPECT_EQ(messages.messages.size(), 2u) << row.what;
        });
        messages.messages.clear();
    }
}

// Finish checks the name in the edit; "<d>" is the test folder, which holds old.ico and sub/.
TEST_F(PageLogic, OutputChecksTheNameOnFinish) {
    WriteFile(folder / "old.ico", {'o', 'l', 'd'});
    std::filesystem::create_directory(folder / "sub");
    const auto excl = MessageIcon::Exclamation;
    const struct {
        std::string typed;
        unsigned id;
        MessageIcon icon;
        bool finishes;
    } rows[] = {
        {"", IDS_NO_FILE_NAME, excl, false},
        {"a.i", IDS_NO_FILE_NAME, excl, false},
        // UTF-16 units count, not bytes: three here, four in the next.
        {"图.i", IDS_NO_FILE_NAME, excl, false},
        {"𝄞.i", 0, excl, true},
        {"/", IDS_NO_FILE_NAME, excl, false},
        {"<d>/missing/x.ico", IDS_FOLDER_NOT_FOUND, MessageIcon::Error, false},
        {"<d>/old.ico/x.ico", IDS_FOLDER_NOT_FOUND, MessageIcon::Error, false},
        {"<d>/sub", IDS_NO_FILE_NAME, excl, false},
        {"<d>/sub/", IDS_NO_FILE_NAME, excl, false},
        {"<d>/sub/new.ico", 0, excl, true},
        {"<d>/old.ico", IDS_OVERWRITE, excl, false},
        {"<d>/old.ico", IDS_OVERWRITE, excl, true},
    };
    const std::string picture = Picture("logo.bmp", Bitmap24());
    for (const auto& row : rows) {
        std::string typed = row.typed;
        if (typed.starts_with("<d>")) typed.replace(0, 3, folder.path());
        // The overwrite question is answered as the row goes.
        MessageRecorder asked(row.finishes ? MessageReply::Yes : MessageReply::No);
        Run([&](HeadlessSheet& s) {
            GoTo(s, kOutput, picture);
            Type(&s.Control(kIconPathEdit), typed);
            s.Press(WizardCommand::Finish);
            EXPECT_EQ(asked.OnlyId(), row.id) << typed;
            if (row.id != 0) {
                EXPECT_EQ(asked.messages.at(0).icon, row.icon) << typed;
                const bool question = row.id == IDS_OVERWRITE;
                EXPECT_EQ(asked.messages.at(0).buttons, question ? MessageButtons::YesNo : MessageButtons::Ok);
            }
            EXPECT_EQ(s.Result(), row.finishes ? int{kWizardFinished} : 0) << typed;
            EXPECT_EQ(s.Control(kIconPathEdit).text, typed);
        });
        EXPECT_EQ(app.written ? app.written->path : "-", row.finishes ? typed : "-");
    }
    EXPECT_EQ(ReadFile(folder / "old.ico"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
}

// The whole wizard as the program runs it: the command line's picture, the
// user's choices on every page, help on every page, and what Finish hands on.
TEST_F(PageLogic, FinishHandsTheDriverWhatThePagesShowed) {
    const std::string picture = Picture("logo.bmp", Bitmap24());
    app.SetArguments({picture});
    Run([&](HeadlessSheet& s) {
        EXPECT_EQ(s.Control(kBitmapPathEdit).text, picture);
        const auto help = [&] { s.Press(WizardCommand::Help); };
        help();
        s.Press(kNext);
        help();
        Click(&s.Control(kTrueColour24Box));
        Click(&s.Control(kPalette4Box));
        s.Press(kNext);
        help();
        Click(&s.Control(kSize256Box));
        Click(&s.Control(kSize24Box));
        s.Press(kNext);
        help();
        s.Press(kNext);
        help();
        EXPECT_EQ(s.Control(kPng256Box).enabled, ReadsEveryPicture());
        if (ReadsEveryPicture()) Click(&s.Control(kPng256Box));
        Type(&s.Control(kIconPathEdit), folder / "out.ico");
        s.Press(WizardCommand::Finish);
    });
    EXPECT_TRUE(messages.messages.empty());
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
}

// The dialogs replace a name only when confirmed; a drop counts where the page takes it.
TEST_F(PageLogic, BrowseAndDropFillTheNames) {
    const std::string picture = Picture("logo.bmp", Bitmap24());
    Run([&](HeadlessSheet& s) {
        World().dialogReplies = {std::nullopt, picture, std::nullopt, "small.bmp", std::nullopt, folder.path()};
        Type(&s.Control(kBitmapPathEdit), "before.bmp");
        for (const char* expected : {"before.bmp", picture.c_str()}) {
            Click(&s.Control(kBrowseButton));
            EXPECT_EQ(s.Control(kBitmapPathEdit).text, expected);
        }
        EXPECT_TRUE(Drop(s.Active().Handle(), "dropped.bmp"));
        EXPECT_EQ(s.Control(kBitmapPathEdit).text, "dropped.bmp");
        GoTo(s, kSizes, picture);
        EXPECT_FALSE(Drop(s.Active().Handle(), "dropped.bmp"));
        Click(&s.Control(kUse16BitmapBox));
        EXPECT_TRUE(Drop(&s.Control(kBitmapPathEdit), "dropped.bmp"));
        for (const char* expected : {"dropped.bmp", "small.bmp"}) {
            Click(&s.Control(kBrowseButton));
            EXPECT_EQ(s.Control(kBitmapPathEdit).text, expected);
        }
        Click(&s.Control(kUse16BitmapBox));
        GoTo(s, kOutput);
        Type(&s.Control(kIconPathEdit), "typed.ico");
        for (const std::string& expected : {std::string("typed.ico"), folder.path()}) {
            Click(&s.Control(kBrowseButton));
            EXPECT_EQ(s.Control(kIconPathEdit).text, expected);
        }
    });
    const std::string open =
        std::string("bmp:") + LoadString(ReadsEveryPicture() ? IDS_PICTURE_FILTER : IDS_BITMAP_FILTER);
    EXPECT_EQ(World().dialogsShown, (std::vector<std::string>{open, open, open, open, "folder", "folder"}));
    EXPECT_TRUE(World().dialogReplies.empty());
}

}  // namespace
}  // namespace zentro::test
