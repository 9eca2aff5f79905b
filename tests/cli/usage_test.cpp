#include <gtest/gtest.h>

#include <algorithm>

#include "cli/options.h"
#include "support/usage_text.h"

using namespace zentro;
using namespace zentro::test;

namespace {

bool AppearsIn(const std::vector<std::string>& args, const std::string& option) {
    return std::any_of(args.begin(), args.end(),
                       [&](const std::string& arg) { return arg == option || arg.rfind(option + "=", 0) == 0; });
}

}  // namespace

TEST(CliUsage, ListsEveryOptionTheParserKnows) {
    const auto options = ListedOptions(cli::kUsage);
    for (const char* expected :
         {"-o", "--output", "--depths", "--sizes", "--transparent", "--opaque", "--all-256", "--icon16", "--previews",
          "-f", "--force", "--classic", "-h", "--help", "--version", "--"})
        EXPECT_TRUE(IsListed(options, expected)) << expected;
    for (const std::vector<std::string>& aliases : options) {
        for (const std::string& option : aliases) {
            const cli::ParseResult parsed = cli::ParseOptions({option, "x"});
            EXPECT_EQ(parsed.error.find("unknown option"), std::string::npos) << option << ": " << parsed.error;
        }
    }
}

TEST(CliUsage, EveryOptionHasAnExampleThatParses) {
    const std::vector<std::vector<std::string>> examples = ExampleCommands(cli::kUsage, "zentro-cli");
    ASSERT_GE(examples.size(), 3u);
    for (const std::vector<std::string>& args : examples)
        EXPECT_EQ(cli::ParseOptions(args).error, "") << ::testing::PrintToString(args);
    for (const std::vector<std::string>& aliases : ListedOptions(cli::kUsage)) {
        const bool shown = std::any_of(examples.begin(), examples.end(), [&](const std::vector<std::string>& args) {
            return std::any_of(aliases.begin(), aliases.end(),
                               [&](const std::string& a) { return AppearsIn(args, a); });
        });
        EXPECT_TRUE(shown) << aliases.back() << " has no example";
    }
}
