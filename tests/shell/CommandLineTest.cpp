// The shared command-line reader on what a tool may add: options with values, operands after "--", and
// the operand counts it enforces.
#include "shell/CommandLine.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const TProgramUsage Tool{"tool", "[DIR] LEVEL", "Plans.\n", 1, 2, {"--player"}};

TCommandLine Read(std::vector<std::string> args) {
    args.insert(args.begin(), "tool");
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    return ReadCommandLine(static_cast<int>(argv.size()), argv.data(), Tool);
}

TEST(CommandLineTest, ValueOptionsTakeTheNextArgumentOrTheTextAfterTheirEqualsSign) {
    const TCommandLine line = Read({"--player", "steady", "dir", "--player=best", "01"});
    EXPECT_EQ(line.exitStatus, -1);
    EXPECT_EQ(line.operands, (std::vector<std::string>{"dir", "01"}));
    EXPECT_EQ(line.Value("--player", "none"), "best");
    EXPECT_EQ(Read({"01"}).Value("--player", "none"), "none");
    EXPECT_EQ(Read({"01", "--player"}).exitStatus, ExitUsageError);
    EXPECT_EQ(Read({"--playerx=1", "01"}).exitStatus, ExitUsageError);
}

TEST(CommandLineTest, OperandsAfterDoubleDashAndALoneDashAreNotOptions) {
    const TCommandLine line = Read({"--", "--help", "-"});
    EXPECT_EQ(line.exitStatus, -1);
    EXPECT_EQ(line.operands, (std::vector<std::string>{"--help", "-"}));
    EXPECT_EQ(Read({}).exitStatus, ExitUsageError);
    EXPECT_EQ(Read({"a", "b", "c"}).exitStatus, ExitUsageError);
}

} // namespace
