#include "rules/ContentFile.hpp"
#include "platform/EventChain.hpp"
#include "tests/platform/FifoCall.hpp"
#include "tests/rules/TempContent.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <limits>
#include <vector>

namespace {

std::string ReadFirst(const TTempContent& dir, const std::string& bytes, const std::string& key) {
    TContentFile file = TContentFile::Open(dir.Write("f.txt", bytes));
    std::string line = file.FindLine(key);
    file.Close();
    return line;
}

TEST(ContentLines, CarriageReturnsAreDroppedAnywhere) {
    TTempContent dir;
    EXPECT_EQ(ReadFirst(dir, "A=\"x\"\r\nNA\rME=\"Bo\rb\"\r\n", "NAME="), "NAME=\"Bob\"");
}

TEST(ContentLines, ZeroByteEndsALine) {
    TTempContent dir;
    const std::string bytes = std::string("TAG=\"a\"") + '\0' + "NAME=\"n\"\n";
    TContentFile file = TContentFile::Open(dir.Write("f.txt", bytes));
    EXPECT_EQ(file.FindLine("TAG="), "TAG=\"a\"");
    EXPECT_EQ(file.FindLine("NAME="), "NAME=\"n\"");
    file.Rewind();
    // The piece after the zero byte is its own line, so the tag line does not carry the name.
    EXPECT_EQ(TContentFile::QuotedArg(file.FindLine("TAG="), 1), "NULL");
}

TEST(ContentLines, LastLineNeedsNoTerminator) {
    TTempContent dir;
    EXPECT_EQ(ReadFirst(dir, "x\nTAG=\"end\"", "TAG="), "TAG=\"end\"");
}

TEST(ContentLines, BytesAboveSevenBitsAreKept) {
    TTempContent dir;
    const std::string name = "NAME=\"\xe9\xff\x80\"";
    EXPECT_EQ(TContentFile::QuotedArg(ReadFirst(dir, name + "\n", "NAME="), 0), "\xe9\xff\x80");
}

TEST(ContentKeys, MatchAsSubstringAnywhereInALine) {
    TTempContent dir;
    EXPECT_EQ(ReadFirst(dir, "  RunScriptRequire(\"a\")\nRunScript(\"b\")\n", "RunScript"),
              "  RunScriptRequire(\"a\")");
    EXPECT_EQ(ReadFirst(dir, "DESCRIPTION=\"see DATA= here\"\nDATA=\"d\"\n", "DATA="),
              "DESCRIPTION=\"see DATA= here\"");
    EXPECT_EQ(ReadFirst(dir, "name=\"lower\"\n", "NAME="), "NULL");
}

TEST(ContentKeys, AbsentKeyReadsNullAndRewinds) {
    TTempContent dir;
    TContentFile file = TContentFile::Open(dir.Write("f.txt", "A\"1\"\nB\"2\"\nA\"3\"\n"));
    EXPECT_EQ(file.FindLine("B"), "B\"2\"");
    EXPECT_EQ(file.FindLine("Z"), "NULL");
    // The failed search went back to the top, so the first A is found again.
    EXPECT_EQ(file.FindLine("A"), "A\"1\"");
}

TEST(ContentKeys, RepeatedSearchesWalkForwardInFileOrder) {
    TTempContent dir;
    TContentFile file = TContentFile::Open(dir.Write("f.txt", "Give(\"a\")\nx\nGive(\"b\")\nGive(\"c\")\n"));
    EXPECT_EQ(file.FindLine("Give"), "Give(\"a\")");
    EXPECT_EQ(file.FindLine("Give"), "Give(\"b\")");
    EXPECT_EQ(file.FindLine("Give"), "Give(\"c\")");
    EXPECT_EQ(file.FindLine("Give"), "NULL");
    EXPECT_EQ(file.FindLine("Give"), "Give(\"a\")");
}

TEST(ContentKeys, FirstOfTwoSingleKeyLinesCounts) {
    TTempContent dir;
    EXPECT_EQ(TContentFile::QuotedArg(ReadFirst(dir, "TAG=\"one\"\nTAG=\"two\"\n", "TAG="), 0), "one");
}

TEST(ContentReader, MissingFileHasNoLines) {
    TContentFile file = TContentFile::Open("/nonexistent/gorum/file.txt");
    EXPECT_EQ(file.stream, nullptr);
    EXPECT_EQ(file.path, "/nonexistent/gorum/file.txt");
    EXPECT_EQ(file.FindLine(""), "NULL");
    file.Rewind();
    file.Close();
}

TEST(ContentReader, EmptyFileHasEveryKeyAbsent) {
    TTempContent dir;
    EXPECT_EQ(ReadFirst(dir, "", "NAME="), "NULL");
}

TEST(ContentReader, ClosedReaderFindsNothing) {
    TTempContent dir;
    TContentFile file = TContentFile::Open(dir.Write("f.txt", "TAG=\"a\"\n"));
    file.Close();
    EXPECT_EQ(file.FindLine("TAG="), "NULL");
}

TEST(ContentFields, NumberedFromZeroOutsideTextIgnored) {
    const std::string line = "GiveSkill ( \"Mind\", \"x\" , \"\", \"7\" ) trailing";
    EXPECT_EQ(TContentFile::QuotedArg(line, 0), "Mind");
    EXPECT_EQ(TContentFile::QuotedArg(line, 1), "x");
    EXPECT_EQ(TContentFile::QuotedArg(line, 2), "");
    EXPECT_EQ(TContentFile::QuotedArg(line, 3), "7");
    EXPECT_EQ(TContentFile::QuotedArg(line, 4), "NULL");
    EXPECT_EQ(TContentFile::QuotedArg(line, -3), "Mind");
    EXPECT_EQ(TContentFile::QuotedArg("no quotes", 0), "NULL");
}

TEST(ContentFields, UnclosedQuoteRunsToTheEndForEveryLaterField) {
    const std::string line = "Cmd(\"a\", \"b\", \"c";
    EXPECT_EQ(TContentFile::QuotedArg(line, 0), "a");
    EXPECT_EQ(TContentFile::QuotedArg(line, 1), "b");
    EXPECT_EQ(TContentFile::QuotedArg(line, 2), "c");
    EXPECT_EQ(TContentFile::QuotedArg(line, 3), "c");
    EXPECT_EQ(TContentFile::QuotedArg(line, 9), "c");
    const std::string open = "Cmd(\"a\", \"rest of it";
    EXPECT_EQ(TContentFile::QuotedArg(open, 1), "rest of it");
    EXPECT_EQ(TContentFile::QuotedArg(open, 2), "rest of it");
    EXPECT_EQ(TContentFile::QuotedArg("\"", 0), "");
}

TEST(ContentBlocks, OpenBraceJoinsLinesWithoutSeparatorsUntilClosed) {
    TTempContent dir;
    TContentFile file =
        TContentFile::Open(dir.Write("f.txt", "DESCRIPTION=\"one {\ntwo\r\nthree } four\"\nTAG=\"t\"\n"));
    const std::string line = file.FindLine("DESCRIPTION=");
    EXPECT_EQ(line, "DESCRIPTION=\"one {twothree } four\"");
    EXPECT_EQ(TContentFile::QuotedArg(line, 0), "one {twothree } four");
    // The read position is after the last joined line.
    EXPECT_EQ(file.FindLine("TAG="), "TAG=\"t\"");
}

TEST(ContentBlocks, BraceInsideQuotesCountsAndClosedLineIsNotJoined) {
    TTempContent dir;
    EXPECT_EQ(ReadFirst(dir, "DATA=\"{ok}\"\nnext\n", "DATA="), "DATA=\"{ok}\"");
    EXPECT_EQ(ReadFirst(dir, "DATA=\"}{\"\nnext\n", "DATA="), "DATA=\"}{\"");
}

TEST(ContentBlocks, UnclosedBlockRunsToTheEndOfTheFile) {
    TTempContent dir;
    EXPECT_EQ(ReadFirst(dir, "X=\"{a\nb\nc\"", "X="), "X=\"{abc\"");
}

TEST(ContentBlocks, LinesInsideABlockAreNotSearchedAgain) {
    TTempContent dir;
    TContentFile file = TContentFile::Open(dir.Write("f.txt", "K {\nK inner\n}\nK last\n"));
    EXPECT_EQ(file.FindLine("K"), "K {K inner}");
    EXPECT_EQ(file.FindLine("K"), "K last");
}

TEST(ContentNumbers, IntegersDecimalHexBinaryAndSigns) {
    EXPECT_EQ(TContentFile::ToInt("42"), 42);
    EXPECT_EQ(TContentFile::ToInt(" \t-17abc"), -17);
    EXPECT_EQ(TContentFile::ToInt("+8"), 8);
    EXPECT_EQ(TContentFile::ToInt("$1F"), 31);
    EXPECT_EQ(TContentFile::ToInt("$ff"), 255);
    EXPECT_EQ(TContentFile::ToInt("-$10"), -16);
    EXPECT_EQ(TContentFile::ToInt("%1011"), 11);
    EXPECT_EQ(TContentFile::ToInt("%1021"), 2);
    EXPECT_EQ(TContentFile::ToInt("NULL"), 0);
    EXPECT_EQ(TContentFile::ToInt(""), 0);
    EXPECT_EQ(TContentFile::ToInt("3.9"), 3);
    EXPECT_EQ(TContentFile::ToInt("1 2"), 1);
}

TEST(ContentNumbers, RealsAreTheDecimalPrefix) {
    EXPECT_DOUBLE_EQ(TContentFile::ToReal("50"), 50.0);
    EXPECT_DOUBLE_EQ(TContentFile::ToReal("-2.5xyz"), -2.5);
    EXPECT_DOUBLE_EQ(TContentFile::ToReal(".25"), 0.25);
    EXPECT_DOUBLE_EQ(TContentFile::ToReal("7."), 7.0);
    EXPECT_DOUBLE_EQ(TContentFile::ToReal("1.5e2"), 150.0);
    EXPECT_DOUBLE_EQ(TContentFile::ToReal("3e"), 3.0);
    EXPECT_DOUBLE_EQ(TContentFile::ToReal("NULL"), 0.0);
    EXPECT_DOUBLE_EQ(TContentFile::ToReal("."), 0.0);
    EXPECT_DOUBLE_EQ(TContentFile::ToReal("inf"), 0.0);
    EXPECT_DOUBLE_EQ(TContentFile::ToReal(""), 0.0);
}

TEST(ContentNumbers, RealsBeyondRangeSaturate) {
    constexpr double Largest = std::numeric_limits<double>::max();
    EXPECT_EQ(TContentFile::ToReal("1e999"), Largest);
    EXPECT_EQ(TContentFile::ToReal(" -1e999"), -Largest);
    EXPECT_EQ(TContentFile::ToReal("1" + std::string(400, '0')), Largest);
    EXPECT_EQ(TContentFile::ToReal("0.5e99999999999999999999"), Largest);
    EXPECT_EQ(TContentFile::ToReal("1e-999"), 0.0);
    // The first digit's place decides, not the exponent's sign: 1e-401 and 1e+399.
    EXPECT_EQ(TContentFile::ToReal("0." + std::string(500, '0') + "1e100"), 0.0);
    EXPECT_EQ(TContentFile::ToReal("0.0001e403"), Largest);
}

TEST(ContentNumbers, LineBreakMarkIsKeptAsTyped) {
    EXPECT_EQ(TContentFile::QuotedArg("NAME=\"a~nb\"", 0), "a~nb");
}

TEST(ContentDirectory, LoadsOnlyLowerCaseTxtEntriesWithoutDescent) {
    TTempContent dir;
    dir.Write("items/a.txt", "");
    dir.Write("items/b.TXT", "");
    dir.Write("items/c.txt.bak", "");
    dir.Write("items/txt", "");
    dir.Write("items/sub/d.txt", "");
    std::vector<std::string> loaded;
    const std::string root = dir.Dir("items");
    const int count = TContentFile::LoadDirectory(root, [&](const std::string& p) { loaded.push_back(p); });
    EXPECT_EQ(count, 1);
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded[0], root + "/a.txt");
}

TEST(ContentDirectory, MissingDirectoryLoadsNothing) {
    int calls = 0;
    EXPECT_EQ(TContentFile::LoadDirectory("/nonexistent/gorum", [&](const std::string&) { ++calls; }), 0);
    EXPECT_EQ(calls, 0);
}

TEST(ContentDirectory, CountsEveryFileHandedOver) {
    TTempContent dir;
    for (const char* name : {"x.txt", "y.txt", "z.txt"})
        dir.Write(std::string("k/") + name, "TAG=\"t\"\n");
    std::vector<std::string> loaded;
    EXPECT_EQ(TContentFile::LoadDirectory(dir.Dir("k"), [&](const std::string& p) { loaded.push_back(p); }),
              3);
    std::sort(loaded.begin(), loaded.end());
    EXPECT_EQ(loaded.back(), dir.Dir("k") + "/z.txt");
}

// Bad input: none of these may crash, hang or hold the whole file in memory.
TEST(ContentBadInput, HugeLineWithoutLineEndsIsBounded) {
    TTempContent dir;
    std::string bytes = "TAG=\"x\"\n{" + std::string(10 * 1024 * 1024, 'a') + "\"";
    const std::string path = dir.Write("f.txt", bytes);
    bytes.clear();
    const auto start = std::chrono::steady_clock::now();
    TContentFile file = TContentFile::Open(path);
    const std::string line = file.FindLine("{");
    EXPECT_LE(line.size(), MaxLineBytes);
    // Nothing after the huge line carries the tag, so the search comes back round from the top.
    EXPECT_EQ(file.FindLine("TAG="), "NULL");
    EXPECT_EQ(file.FindLine("TAG="), "TAG=\"x\"");
    EXPECT_EQ(file.FindLine("absent"), "NULL");
    file.Close();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(ContentBadInput, UnclosedBlockOverManyLinesIsBounded) {
    TTempContent dir;
    std::string bytes = "DESCRIPTION=\"{\n";
    const std::string chunk(1000, 'b');
    for (int i = 0; i < 3000; ++i)
        bytes += chunk + "\n";
    TContentFile file = TContentFile::Open(dir.Write("f.txt", bytes));
    const std::string line = file.FindLine("DESCRIPTION=");
    EXPECT_LE(line.size(), MaxLineBytes);
    EXPECT_EQ(line.substr(0, 16), "DESCRIPTION=\"{bb");
    file.Close();
}

TEST(ContentBadInput, LinesAreCutOnlyAfterZeroBytesSplitThem) {
    TTempContent dir;
    const std::string longPiece(MaxLineBytes + MaxLineBytes / 2, 'x');
    const std::string bytes =
        "DESCRIPTION=\"{" + longPiece + '\0' + "}\"\nTAG=\"t\"\n" + longPiece + '\0' + "NAME=\"n\"\n";
    TContentFile file = TContentFile::Open(dir.Write("f.txt", bytes));
    EXPECT_EQ(file.FindLine("DESCRIPTION=").size(), MaxLineBytes);
    // The "}" after the zero byte closed the block, so the tag line is still a line of its own.
    EXPECT_EQ(file.FindLine("TAG="), "TAG=\"t\"");
    EXPECT_EQ(file.FindLine("NAME="), "NAME=\"n\"");
    file.Close();
}

// Paths that are not regular files must neither block nor read without end; oversized files are refused.
TEST(ContentBadInput, OnlyRegularFilesOfBoundedSizeAreRead) {
    TTempContent dir;
    std::vector<std::string> log;
    SetDebugLogSink([&log](const std::string& line) { log.push_back(line); });
    const std::string fifo = (dir.root / "fifo.txt").string();
    EXPECT_TRUE(ReturnsDespiteFifo(fifo, [&] { return TContentFile::Open(fifo).stream == nullptr; }));
    const std::filesystem::path zero = dir.root / "zero.txt";
    std::filesystem::create_symlink("/dev/zero", zero);
    EXPECT_EQ(TContentFile::Open(zero.string()).stream, nullptr);
    const std::string huge = dir.Write("huge.txt", "TAG=\"t\"\n");
    std::filesystem::resize_file(huge, MaxTextFileBytes + 1);
    EXPECT_EQ(TContentFile::Open(huge).stream, nullptr);
    std::filesystem::resize_file(huge, MaxTextFileBytes);
    EXPECT_EQ(TContentFile::Open(huge).FindLine("TAG="), "TAG=\"t\"");
    SetDebugLogSink(nullptr);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[2], "WARNING: " + huge + " is larger than 16777216 bytes; it is not read.");
}

TEST(ContentBadInput, BinaryBytesAndUnbalancedQuotesLeaveOtherLinesIntact) {
    TTempContent dir;
    std::string bytes;
    for (int i = 0; i < 4096; ++i)
        bytes.push_back(static_cast<char>((i * 37 + 11) % 256));
    bytes += "\nNAME=\"good\"\n\"\"\"\"\"{{{\n}}}\"\nTAG=\"also good\"\n";
    for (int i = 0; i < 4096; ++i)
        bytes.push_back(static_cast<char>((i * 91 + 5) % 256));
    TContentFile file = TContentFile::Open(dir.Write("f.txt", bytes));
    EXPECT_EQ(TContentFile::QuotedArg(file.FindLine("NAME=\""), 0), "good");
    file.Rewind();
    EXPECT_EQ(TContentFile::QuotedArg(file.FindLine("TAG=\""), 0), "also good");
    for (int i = 0; i < 300; ++i)
        TContentFile::QuotedArg(bytes, i);
    file.Close();
}

} // namespace
