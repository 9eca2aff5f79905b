#include <gtest/gtest.h>

#include <algorithm>

#include "platform/message.h"
#include "platform/string_table.h"
#include "support/message_recorder.h"

using namespace zentro;

TEST(StringTable, TooSmallMessagesReadAsTheProgramShowsThem) {
    EXPECT_EQ(FormatString(IDS_TOO_SMALL, {LoadString(IDS_MAIN_SOURCE), "48", "48", LoadString(IDS_LARGEST_SIZE_HINT)}),
              "主要来源位图 必须至少 48x48 像素 (选择最大的设备的图象大小 ).");
    EXPECT_EQ(FormatString(IDS_TOO_SMALL, {LoadString(IDS_BITMAP_16), "16", "16", ""}),
              "16x16设备图象的位图 必须至少 16x16 像素.");
}

TEST(StringTable, UnknownIdIsEmpty) { EXPECT_STREQ(LoadString(999), ""); }

TEST(MessageDisplay, RoutesToTheInstalledHandlerAndRestoresThePrevious) {
    test::MessageRecorder outer(MessageReply::No);
    {
        test::MessageRecorder inner(MessageReply::Yes);
        EXPECT_EQ(ShowMessage(IDS_OVERWRITE, MessageIcon::Exclamation, MessageButtons::YesNo), MessageReply::Yes);
        ASSERT_EQ(inner.messages.size(), 1u);
        EXPECT_EQ(inner.messages[0].text, "这一操作将覆盖一个文件。你想这样做吗？");
    }
    EXPECT_EQ(ShowMessage(IDS_OVERWRITE, MessageIcon::Exclamation, MessageButtons::YesNo), MessageReply::No);
    EXPECT_EQ(outer.OnlyId(), static_cast<unsigned>(IDS_OVERWRITE));
}

// Every text has an English form, and the English table holds ASCII alone: under an
// English locale no message can show a Chinese character, whatever shows it.
TEST(StringTable, EveryTextHasAnEnglishFormInPlainAscii) {
    for (unsigned id = 0; id <= 0xFFFF; ++id) {
        const std::string chinese = LoadString(id);
        SetLanguage(Language::English);
        const std::string english = LoadString(id);
        SetLanguage(Language::Chinese);
        EXPECT_EQ(chinese.empty(), english.empty()) << id;
        EXPECT_TRUE(std::all_of(english.begin(), english.end(), [](char c) { return c > 0; })) << id << ": " << english;
    }
}
