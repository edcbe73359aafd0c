// The HTML views as an attacker tries them: pages made here, in a game folder of their own, are shown in
// both real views by seal-driver while strace follows the whole process tree and a loopback listener waits
// for anyone to knock. Nothing may open a socket but a local one, look a name up, read a file outside the
// system's own, show a local file, or write or leave a file outside the temporary folder; without a usable
// temporary folder no page is shown; a page that allocates without end loses its process while the game
// goes on, within a bounded memory.
#include "tests/e2e/DriverRun.hpp"
#include "tests/e2e/HostilePages.hpp"
#include "tests/e2e/TraceLog.hpp"
#include "tests/platform/LoopbackListener.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += "\n  " + line;
    return text;
}

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(SealedViews, HostilePagesReachNoNetworkAndNoFileOutsideTheGame) {
    TGameFolder folder;
    TLoopbackListener listener;
    ASSERT_GT(listener.port, 0);
    std::vector<std::string> arguments = {"hostile"};
    for (const std::string& page : HostilePages(folder, listener.port))
        arguments.push_back(page);
    const TRun run = RunDriver(folder, arguments, {});
    ASSERT_FALSE(run.timedOut) << run.out << run.err;
    EXPECT_EQ(run.exitCode, 0) << run.err;

    const TraceLog trace(ReadAll(folder.root / "trace"), folder.temporary.string());
    // The tracer followed the engine's helpers, or this test proves nothing.
    ASSERT_FALSE(trace.HelperOpens().empty()) << run.err;
    EXPECT_TRUE(listener.Knocks().empty()) << "the listener was reached:" << Joined(listener.Knocks());
    EXPECT_TRUE(trace.Sockets().empty()) << "sockets other than local ones:" << Joined(trace.Sockets());
    EXPECT_TRUE(trace.NameLookups().empty()) << "name lookups:" << Joined(trace.NameLookups());
    EXPECT_TRUE(trace.HelperReadsOutside().empty())
        << "files the engine's processes opened outside the system's own:"
        << Joined(trace.HelperReadsOutside());
    EXPECT_TRUE(trace.WritesOutside().empty())
        << "files written outside the temporary folder:" << Joined(trace.WritesOutside());
    EXPECT_TRUE(folder.LeftBehind().empty()) << "files left behind:" << Joined(folder.LeftBehind());

    // Both views went through every page, and neither showed anything but the game's pages.
    std::istringstream lines(run.out);
    int reported = 0, local = 0;
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with("PAGE ")) continue;
        ++reported;
        local += line.find("uri=file:") != std::string::npos || line.find("root:") != std::string::npos;
        EXPECT_EQ(line.find("uri=file:"), std::string::npos) << line;
        EXPECT_EQ(line.find("root:"), std::string::npos) << line;
        EXPECT_EQ(line.find("NOCLICK"), std::string::npos) << line;
    }
    EXPECT_EQ(reported, 2 * 9) << run.out;
    std::printf(
        "knocks %zu, other sockets %zu, name lookups %zu, helper reads outside %zu, writes outside %zu, "
        "left behind %zu, local files shown %d, peak %ld MB\n",
        listener.Knocks().size(), trace.Sockets().size(), trace.NameLookups().size(),
        trace.HelperReadsOutside().size(), trace.WritesOutside().size(), folder.LeftBehind().size(), local,
        run.peakKb >> 10);
}

// A seal that cannot be set up shows nothing: without a temporary folder, and with one on a full disk.
TEST(SealedViews, WithoutAUsableTemporaryFolderNoPageIsShownAndNothingIsLeft) {
    for (const bool full : {false, true}) {
        TGameFolder folder;
        folder.Page("plain", "", "<p>plain page</p>");
        TRunOptions options;
        options.traced = false;
        options.fullDisk = full;
        if (!full) options.tmpdir = (folder.root / "missing").string();
        const TRun run = RunDriver(folder, {"blank", "content/html/plain.html"}, options);
        const char* how = full ? "full disk: " : "no folder: ";
        EXPECT_EQ(run.exitCode, 0) << how << run.err;
        EXPECT_NE(run.out.find("PAGE tutorial content/html/plain.html uri= title= text="), std::string::npos)
            << how << run.out;
        EXPECT_NE(run.err.find("gorum: the HTML pages are not shown: "), std::string::npos) << how << run.err;
        EXPECT_TRUE(folder.LeftBehind().empty())
            << how << "files left behind:" << Joined(folder.LeftBehind());
    }
}

// A page that allocates without ever yielding to the engine: its process is ended at the cap, the game
// goes on and shows a page in its other view, and the whole tree never holds 1.5 GB.
TEST(SealedViews, APageThatAllocatesWithoutEndLosesItsProcessAndTheGameGoesOn) {
    TGameFolder folder;
    folder.Page("bomb", "",
                "<script>var keep=[];for(;;){var a=new Array(1<<20);"
                "for(var i=0;i<a.length;i++)a[i]=i+0.5;keep.push(a)}</script>");
    folder.Page("after", "", "<p>after</p>");
    TRunOptions options;
    options.traced = false;
    options.timeoutMs = 40000;
    options.killAboveKb = 3L << 20; // well past the bound: the machine is spared a run that fails anyway
    const TRun run =
        RunDriver(folder, {"bomb", "content/html/bomb.html", "content/html/after.html"}, options);
    EXPECT_NE(run.out.find("ENDED 1"), std::string::npos) << run.out << run.err;
    EXPECT_NE(run.out.find(
                  "PAGE menu content/html/after.html uri=gorum://game/content/html/after.html title=after"),
              std::string::npos)
        << run.out;
    EXPECT_LT(run.peakKb, 1536L << 10) << "the tree's peak resident size, in kB";
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::printf("peak %ld MB; %s", run.peakKb >> 10, run.out.substr(0, run.out.find('\n') + 1).c_str());
}

} // namespace
