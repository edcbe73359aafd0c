// gorum-check run as the author runs it, on small game folders that each hold one planted mistake:
// the mistake must be named with the file at fault, and a folder without mistakes must pass clean.
#include "tests/rules/TempContent.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace {

struct TCheckResult {
    int exitCode = -1;
    std::string output;
};

TCheckResult RunCheck(const std::string& arguments) {
    TCheckResult result;
    FILE* pipe = popen((std::string(GORUM_CHECK) + " " + arguments + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return result;
    std::array<char, 4096> buffer{};
    while (fgets(buffer.data(), buffer.size(), pipe) != nullptr)
        result.output += buffer.data();
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// A whole small game: two stations, a job earned through a diploma, one level that asks for the job.
// The art is the shipped art.
class GorumCheckTest : public ::testing::Test {
  protected:
    TTempContent game;

    void SetUp() override {
        std::filesystem::create_directory_symlink(std::string(GORUM_SOURCE_DIR) + "/media",
                                                  game.root / "media");
        Fresh();
    }

    // The content without any mistake, written anew: one planted mistake never lingers into the next.
    void Fresh() const {
        std::filesystem::remove_all(game.root / "content");
        Write("items/Diploma.txt",
              "NAME=\"Diploma\"\nTAG=\"item_diploma\"\nSetIcon(\"media/items/Diploma.jpg\")\n"
              "SetItemType(\"NOMINAL\")\n");
        Write("items/Clerk.txt", "NAME=\"Clerk\"\nTAG=\"job_clerk\"\nSetIcon(\"media/items/Clerk.jpg\")\n"
                                 "SetItemType(\"JOB\")\nLockAction(\"action_work\", \"action_quit\")\n"
                                 "SetWealthCap(\"5\")\n");
        Write("actions/Study.txt",
              "NAME=\"Study\"\nTAG=\"action_study\"\nGiveSkill(\"Mental\", \"\", \"\", \"4\")\n");
        Write("actions/Exam.txt", "NAME=\"Exam\"\nTAG=\"action_exam\"\nRequireSkill(\"Mental\", \"3\")\n"
                                  "GiveItem(\"item_diploma\")\n");
        Write("actions/Apply.txt",
              "NAME=\"Apply\"\nTAG=\"action_jobapply_clerk\"\nRequireItem(\"item_diploma\")\n"
              "GiveItem(\"job_clerk\")\n");
        Write("actions/Work.txt", "NAME=\"Work\"\nTAG=\"action_work\"\nAutoAdd\n"
                                  "GiveSkill(\"Wealth\", \"\", \"\", \"5\")\n");
        Write("actions/Quit.txt", "NAME=\"Quit\"\nTAG=\"action_quit\"\nAutoAdd\nTakeItem(\"job_clerk\")\n");
        Write("stations/Library.txt",
              Station("station_library", "Library", "action_study") + "SetAction(\"action_exam\")\n");
        Write("stations/Office.txt", Station("station_office", "Office", "action_jobapply_clerk"));
        Write("levels/Level01.txt", Level("job_clerk", "SetStation(\"station_office\", \"420\", \"160\")\n"));
        Write("html/MainMenu.html",
              "<a href=\"redirects\\levelnum01.html\">One</a> <a href=\"#levels\">Play</a>\n");
        Write("html/redirects/levelnum01.html", "<p>Level 01</p>\n");
        Write("tut/Tutorial1.html", "<p>Study first.</p>\n");
    }

    void Write(const std::string& name, const std::string& text) const {
        game.Write("content/" + name, text);
    }

    static std::string Station(const std::string& tag, const std::string& picture,
                               const std::string& action) {
        return "SetImage(\"media/stations/" + picture + ".png\", \"100\", \"100\", \"0\", \"2\")\nTAG=\"" +
               tag + "\"\nSetAction(\"" + action + "\")\n";
    }
    // Level "01" with the library placed, the three station actions, and the given goal and extra lines.
    static std::string Level(const std::string& goal, const std::string& extra) {
        return "NAME=\"01\"\nTITLE=\"One\"\nINFO=\"Get the "
               "job.\"\nLENGTH=\"12\"\nTutorial(\"Tutorial1.html\")\n"
               "SetItemGoal(\"" +
               goal +
               "\")\nSetStation(\"station_library\", \"220\", \"180\")\nAddAction(\"action_study\")\n"
               "AddAction(\"action_exam\")\nAddAction(\"action_jobapply_clerk\")\n" +
               extra;
    }

    // Runs the checker and expects exactly this one problem line among its output.
    void ExpectProblem(const std::string& line) const {
        const TCheckResult result = RunCheck(game.root.string());
        EXPECT_EQ(result.exitCode, 1) << result.output;
        EXPECT_NE(result.output.find(line + "\n"), std::string::npos) << "wanted: " << line << "\ngot:\n"
                                                                      << result.output;
    }
};

TEST_F(GorumCheckTest, CleanFolderPassesAndArgumentsAreChecked) {
    const TCheckResult clean = RunCheck(game.root.string());
    EXPECT_EQ(clean.exitCode, 0);
    EXPECT_EQ(clean.output, "");
    EXPECT_EQ(RunCheck(game.Dir("empty")).exitCode, 2);
    EXPECT_EQ(RunCheck("a b").exitCode, 2);
    EXPECT_EQ(RunCheck("--bogus").exitCode, 2);
    const TCheckResult help = RunCheck("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.output.find("Usage: gorum-check [DIR]"), std::string::npos);
}

TEST_F(GorumCheckTest, GameLogLinesCarryTheFileThatCausedThem) {
    Write("levels/Level01.txt", Level("job_clerk", "SetStation(\"station_office\", \"420\", \"160\")\n"
                                                   "SetStation(\"station_gymm\", \"1\", \"1\")\n"));
    ExpectProblem("content/levels/Level01.txt: WARNING: station_gymm is not a valid station tag!");
}

TEST_F(GorumCheckTest, LoaderLogLines) {
    Write("stations/Gym.txt", "TAG=\"station_gym\"\n");
    ExpectProblem("content/stations/Gym.txt: ERROR: Stationcontent/stations/Gym.txt did not set an image!");
    Fresh();
    Write("actions/Study.txt", "TAG=\"action_study\"\nGiveSkill(\"Mental\", \"\", \"\", \"4\")\n"
                               "GiveSkill(\"Charm\", \"\", \"\", \"4\")\n");
    ExpectProblem("content/actions/Study.txt: Error: Unrecognizable Skill Type: Charm");
}

TEST_F(GorumCheckTest, LevelNameMustBeTwoCharacters) {
    Write("levels/Level01.txt", "NAME=\"001\"\nLENGTH=\"12\"\nSetItemGoal(\"job_clerk\")\n");
    ExpectProblem(
        "content/levels/Level01.txt: name \"001\" is not two characters: no menu link can start it");
}

TEST_F(GorumCheckTest, MenuLinksAndLevelsMatch) {
    Write("html/MainMenu.html", "<a href=\"redirects\\levelnum02.html\">Two</a>\n");
    Write("html/redirects/levelnum02.html", "<p>Level 02</p>\n");
    ExpectProblem(
        "content/html/MainMenu.html: link \"redirects\\levelnum02.html\" names level \"02\", which no "
        "level has");
    ExpectProblem("content/levels/Level01.txt: no menu page links to level \"01\"");
}

// The goal menu offers each item once: 22 different gems beside the job make too many.
TEST_F(GorumCheckTest, TooManyItemChoices) {
    std::array<std::string, 3> actions = {"TAG=\"action_study\"\n", "TAG=\"action_exam\"\n",
                                          "TAG=\"action_jobapply_clerk\"\nGiveItem(\"job_clerk\")\n"};
    for (int i = 0; i < 22; ++i) {
        const std::string tag = "gem" + std::to_string(i);
        Write("items/" + tag + ".txt", "NAME=\"Gem\"\nTAG=\"" + tag + "\"\n");
        actions[static_cast<size_t>(i / 10)] += "GiveItem(\"" + tag + "\")\n";
    }
    Write("actions/Study.txt", actions[0]);
    Write("actions/Exam.txt", actions[1]);
    Write("actions/Apply.txt", actions[2]);
    ExpectProblem("content/levels/Level01.txt: offers 23 items, more than 21: the game stops with \"Too many "
                  "item choices!\"");
}

TEST_F(GorumCheckTest, UnreachableFinalGoals) {
    Write("actions/Apply.txt", "TAG=\"action_jobapply_clerk\"\nRequireSkill(\"Mental\", \"5\")\n"
                               "GiveItem(\"job_clerk\")\n");
    ExpectProblem(
        "content/levels/Level01.txt: final goal item \"job_clerk\" is out of reach: the actions that "
        "give it need skill levels or items the level never gives");
}

TEST_F(GorumCheckTest, FinalGoalItemGivenByNoAction) {
    Write("levels/Level01.txt", Level("job_clerk", "SetStation(\"station_office\", \"420\", \"160\")\n"
                                                   "RemoveAction(\"action_jobapply_clerk\")\n"));
    ExpectProblem(
        "content/levels/Level01.txt: final goal item \"job_clerk\" is given by no action the level offers");
    // Motivation never rises above 100, and an item comes only above its threshold.
    Fresh();
    Write("actions/Apply.txt", "TAG=\"action_jobapply_clerk\"\nRequireItem(\"item_diploma\")\n"
                               "GiveItem(\"job_clerk\", \"100\")\n");
    ExpectProblem(
        "content/levels/Level01.txt: final goal item \"job_clerk\" is given by no action the level offers");
}

TEST_F(GorumCheckTest, FinalSkillGoalAboveEveryCap) {
    Write("levels/Level01.txt", Level("NULL", "SetSkillGoal(\"1\", \"6\")\n"
                                              "SetStation(\"station_office\", \"420\", \"160\")\n"));
    ExpectProblem(
        "content/levels/Level01.txt: final goal Mental level 6 is above every cap the level's actions "
        "raise it to (at most 4)");
}

TEST_F(GorumCheckTest, StationsOverlapEachOther) {
    Write("levels/Level01.txt", Level("job_clerk", "SetStation(\"station_office\", \"260\", \"200\")\n"));
    ExpectProblem("content/levels/Level01.txt: station \"station_office\" at (260, 200) overlaps station "
                  "\"station_library\" at (220, 180)");
}

TEST_F(GorumCheckTest, StationsCoverButtonsOrLeaveTheCanvas) {
    Write("levels/Level01.txt", Level("job_clerk", "SetStation(\"station_office\", \"380\", \"450\")\n"));
    ExpectProblem(
        "content/levels/Level01.txt: station \"station_office\" at (380, 450) covers the SETGOAL button");
    Write("levels/Level01.txt", Level("job_clerk", "SetStation(\"station_office\", \"-20\", \"300\")\n"));
    ExpectProblem(
        "content/levels/Level01.txt: station \"station_office\" at (-20, 300) reaches off the 800 x 600 "
        "canvas");
}

TEST_F(GorumCheckTest, ShownStationNotPlacedByTheLevel) {
    Write("levels/Level01.txt", Level("job_clerk", ""));
    ExpectProblem(
        "content/levels/Level01.txt: station \"station_office\" is shown but not placed by a SetStation "
        "line: it stands where an earlier level left it");
}

// Which of two files loads first is the file system's order; the later one is reported.
void ExpectDoubled(const std::string& output, const std::string& what, const std::string& a,
                   const std::string& b) {
    const std::string defined = " is already defined by ";
    EXPECT_TRUE(output.find(a + ": " + what + defined + b) != std::string::npos ||
                output.find(b + ": " + what + defined + a) != std::string::npos)
        << output;
}

TEST_F(GorumCheckTest, TagDefinedTwice) {
    Write("items/Diploma2.txt", "NAME=\"Diploma\"\nTAG=\"item_diploma\"\nSetItemType(\"NOMINAL\")\n");
    Write("levels/Level02.txt", Level("job_clerk", "SetStation(\"station_office\", \"420\", \"160\")\n"));
    const TCheckResult result = RunCheck(game.root.string());
    EXPECT_EQ(result.exitCode, 1);
    ExpectDoubled(result.output, "item tag \"item_diploma\"", "content/items/Diploma.txt",
                  "content/items/Diploma2.txt");
    ExpectDoubled(result.output, "level name \"01\"", "content/levels/Level01.txt",
                  "content/levels/Level02.txt");
}

TEST_F(GorumCheckTest, TagsThatNameNothing) {
    Write("actions/Exam.txt", "TAG=\"action_exam\"\nGiveItem(\"item_diplom\")\nGiveItem(\"item_diploma\")\n");
    ExpectProblem("content/actions/Exam.txt: GiveItem names \"item_diplom\", which is no item");
    Write("actions/Exam.txt", "TAG=\"action_exam\"\nTakeItem(\"item_x\")\nGiveItem(\"item_diploma\")\n");
    ExpectProblem("content/actions/Exam.txt: TakeItem names \"item_x\", which is no item");
    Fresh();
    Write("actions/Apply.txt",
          "TAG=\"action_jobapply_clerk\"\nRequireItem(\"item_dip\")\nGiveItem(\"job_clerk\")\n");
    ExpectProblem("content/actions/Apply.txt: RequireItem names \"item_dip\", which is no item");
    Fresh();
    Write("stations/Office.txt",
          Station("station_office", "Office", "action_jobapply_clerk") + "SetAction(\"action_aply\")\n");
    ExpectProblem("content/stations/Office.txt: SetAction names \"action_aply\", which is no action");
}

TEST_F(GorumCheckTest, ItemTypesAndJobs) {
    Write("items/Diploma.txt",
          "TAG=\"item_diploma\"\nSetIcon(\"media/items/Diploma.jpg\")\nSetItemType(\"Nominal\")\n");
    ExpectProblem(
        "content/items/Diploma.txt: item type \"Nominal\" is none of JOB, ASSET, NOMINAL and BUILD");
    Fresh();
    Write("items/Clerk.txt", "TAG=\"job_clerk\"\nSetIcon(\"media/items/Clerk.jpg\")\nSetItemType(\"JOB\")\n"
                             "LockAction(\"action_wrk\", \"action_quit\")\n");
    ExpectProblem(
        "content/items/Clerk.txt: LockAction names \"action_wrk\", which is no action: the job has no "
        "work to do");
    Write("items/Clerk.txt", "TAG=\"job_clerk\"\nSetIcon(\"media/items/Clerk.jpg\")\nSetItemType(\"JOB\")\n");
    ExpectProblem("content/items/Clerk.txt: job without a work action: no LockAction line");
}

TEST_F(GorumCheckTest, HomeUpgradeNeedsBothHomePictures) {
    Write("items/Manor.txt",
          "TAG=\"home_manor\"\nSetIcon(\"media/items/Manor.jpg\")\nSetItemType(\"BUILD\")\n");
    Write("actions/Buy.txt", "TAG=\"action_buy\"\nGiveItem(\"home_manor\")\n");
    Write("stations/Home.txt",
          Station("station_home", "Home", "action_buy") +
              "SetAlternate(\"media/stations/HomeManor.png\", \"100\", \"100\", \"0\", \"2\")\n");
    Write("levels/Level01.txt", Level("job_clerk", "SetStation(\"station_office\", \"420\", \"160\")\n"
                                                   "SetStation(\"station_home\", \"60\", \"330\")\n"
                                                   "AddAction(\"action_buy\")\n"));
    ExpectProblem(
        "content/stations/Home.txt: \"station_home\" needs two SetAlternate lines, for the manor and the "
        "castle: content/levels/Level01.txt offers a home upgrade");
}

TEST_F(GorumCheckTest, MissingTutorial) {
    std::filesystem::remove(game.root / "content/tut/Tutorial1.html");
    ExpectProblem("content/levels/Level01.txt: tutorial page \"content/tut/Tutorial1.html\" does not exist");
}

TEST_F(GorumCheckTest, StationPicturesMustExistAndHoldTheirFrames) {
    Write("stations/Office.txt", "SetImage(\"media/stations/Ofice.png\", \"100\", \"100\", \"0\", \"2\")\n"
                                 "TAG=\"station_office\"\nSetAction(\"action_jobapply_clerk\")\n");
    ExpectProblem("content/stations/Office.txt: media/stations/Ofice.png isn't valid!");
    ExpectProblem("media/stations/Ofice.png: missing");
    Write("stations/Office.txt", "SetImage(\"media/stations/Office.png\", \"100\", \"100\", \"0\", \"3\")\n"
                                 "TAG=\"station_office\"\nSetAction(\"action_jobapply_clerk\")\n");
    ExpectProblem("content/stations/Office.txt: LOG: Failed to load image: media/stations/Office.png");
    ExpectProblem("media/stations/Office.png: is 200 x 100, room for 2 frames of 100 x 100; the game cuts 3 "
                  "from frame 0");
}

TEST_F(GorumCheckTest, ProgramArtIsCheckedToo) {
    // The folder's own media replaces the shipped art; a button strip cut short fails as the game loads it.
    const std::filesystem::path shipped = std::string(GORUM_SOURCE_DIR) + "/media";
    const std::filesystem::path media = game.root / "media";
    std::filesystem::remove(media);
    std::filesystem::copy(shipped, media, std::filesystem::copy_options::recursive);
    std::filesystem::copy_file(media / "PlayerStats.png", media / "SetGoal.png",
                               std::filesystem::copy_options::overwrite_existing);
    ExpectProblem(
        "media/SetGoal.png: is 150 x 50, room for 0 frames of 100 x 75; the game cuts 3 from frame 0");
    std::filesystem::copy_file(shipped / "SetGoal.png", media / "SetGoal.png",
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::remove(media / "Slider.png");
    ExpectProblem("media/Slider.png: missing");
    std::filesystem::copy_file(shipped / "Slider.png", media / "Slider.png");
    // Named by the code but loaded only for an item without an icon of its own.
    std::filesystem::remove(media / "DefaultIcon.jpg");
    ExpectProblem("media/DefaultIcon.jpg: missing");
}

TEST_F(GorumCheckTest, ItemIconMustBeAFile) {
    Write("items/Diploma.txt",
          "TAG=\"item_diploma\"\nSetIcon(\"media/items/Diplom.jpg\")\nSetItemType(\"NOMINAL\")\n");
    ExpectProblem(
        "content/items/Diploma.txt: SetIcon names \"media/items/Diplom.jpg\", which is not a file: the "
        "default icon is shown");
}

// A tag or a file name may hold anything; printed raw, an escape sequence could erase or forge report
// lines, and a line break split one.
TEST_F(GorumCheckTest, ControlCharactersArePrintedAsEscapes) {
    Write("actions/Exam.txt",
          "NAME=\"Exam\"\nTAG=\"action_exam\"\nRequireSkill(\"Mental\", \"3\")\n"
          "GiveItem(\"item_diploma\")\nTakeItem(\"x\x1B[2K\x1B[1A\t\x7F\xC2\x9B\xFFy\")\n");
    ExpectProblem("content/actions/Exam.txt: TakeItem names \"x\\x1B[2K\\x1B[1A\\t\\x7F\\xC2\\x9B\\xFFy\", "
                  "which is no item");
    Write("items/Two\nlines\t\xC3\xA9.txt", "NAME=\"Two\"\nTAG=\"item_two\"\n");
    ExpectProblem(
        "content/items/Two\\nlines\\t\xC3\xA9.txt: no SetItemType line: the item is held as a plain object");
}

// The game loads only its own files: every address a page or a tutorial writes that leads elsewhere is
// named, whatever holds it, and so is a tutorial path out of content/tut.
TEST_F(GorumCheckTest, PagesPointingOutsideTheGameFolderOrOffTheMachine) {
    Write("html/MainMenu.html",
          "<a href=\"redirects\\levelnum01.html\">One</a> <a href=\"#levels\">Play</a>\n"
          "<a href='file:///etc/'>etc</a> <iframe src=https://example.org/></iframe>\n"
          "<script src=\"//cdn.example/x.js\"></script><form action=\"http://127.0.0.1:9/\"></form>\n"
          "<link rel=stylesheet href=\"../../../../../../etc/x.css\"><img srcset=\"a.png 1x, "
          "https://i.example/b.png 2x\">\n"
          "<div style=\"background: url('ftp://f.example/a.png')\"></div><a "
          "href=\"&#104;ttp://e.example/\">e</a>\n"
          "<style>@import \"https://c.example/i.css\";</style><a href=\"../tut/\">folder</a>\n"
          "<script>var socket = new WebSocket('ws://127.0.0.1:9/'); var note = 'Note: local';</script>\n"
          "<meta http-equiv=\"refresh\" content=\"5; url=https://r.example/\"><a "
          "href=\"Tutorial.html\">ok</a>\n");
    Write("html/Tutorial.html", "<p>Fine.</p>");
    Write("tut/Tutorial1.html", "<a href=\"Next.html\">next</a>");
    Write("tut/Next.html", "<img src=\"/etc/hosts\">");
    const TCheckResult result = RunCheck(game.root.string());
    EXPECT_EQ(result.exitCode, 1);
    const std::string menu = "content/html/MainMenu.html: ";
    const std::string off = " leads off the machine: the game loads only its own files\n";
    const std::string out = " leads outside the game folder: the game loads only its own files\n";
    for (const std::string& line :
         {menu + "a href \"file:///etc/\"" + out, menu + "iframe src \"https://example.org/\"" + off,
          menu + "script src \"//cdn.example/x.js\"" + off,
          menu + "form action \"http://127.0.0.1:9/\"" + off,
          menu + "link href \"../../../../../../etc/x.css\"" + out,
          menu + "img srcset \"https://i.example/b.png\"" + off,
          menu + "div style url \"ftp://f.example/a.png\"" + off, menu + "a href \"http://e.example/\"" + off,
          menu + "style import \"https://c.example/i.css\"" + off,
          menu + "script \"ws://127.0.0.1:9/\"" + off, menu + "meta refresh \"https://r.example/\"" + off,
          menu + "link \"../tut/\" leads to \"content/tut\", which is a folder, not a page\n",
          "content/tut/Next.html: img src \"/etc/hosts\"" + out})
        EXPECT_NE(result.output.find(line), std::string::npos) << "wanted: " << line << "got:\n"
                                                               << result.output;
    EXPECT_EQ(std::count(result.output.begin(), result.output.end(), '\n'), 13) << result.output;

    Fresh();
    Write("levels/Level01.txt",
          Level("job_clerk", "").replace(0, 0, "Tutorial(\"../../../../etc/passwd\")\n"));
    ExpectProblem(
        "content/levels/Level01.txt: tutorial page \"content/tut/../../../../etc/passwd\" leads outside "
        "content/tut/: the game shows no tutorial");
}

} // namespace
