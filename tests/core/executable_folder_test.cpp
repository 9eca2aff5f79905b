#include <gtest/gtest.h>

#include <filesystem>

#include "platform/executable_folder.h"

using namespace zentro;

TEST(ExecutableFolder, CutsAfterTheLastSlash) {
    EXPECT_EQ(FolderOf("/opt/zentro/bin/zentro"), "/opt/zentro/bin/");
    EXPECT_EQ(FolderOf("/zentro"), "/");
    EXPECT_EQ(FolderOf("zentro"), "zentro");
    EXPECT_EQ(FolderOf(""), "");
}

TEST(ExecutableFolder, IsTheFolderOfThisTest) {
    const std::string folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(folder + "zentro_core_tests"));
}
