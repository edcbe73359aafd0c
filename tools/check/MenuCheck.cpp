// The menu pages, from the main menu through every local page it links to: each level must have a link,
// each level link must name a level, and no link may lead to a missing page. A link leads where the HTML
// view would report it to (backslashes kept), read by the menu watch's own level-link rule.
#include "platform/LinkLocation.hpp"
#include "platform/Platform.hpp"
#include "shell/Level.hpp"
#include "shell/LevelLink.hpp"
#include "tools/check/CheckReport.hpp"
#include "tools/check/Checks.hpp"
#include "tools/check/ContentLines.hpp"
#include "tools/check/ContentRun.hpp"
#include "tools/check/PageRefs.hpp"
#include "tools/check/PageTarget.hpp"

#include <deque>
#include <set>

namespace {

// The links of the page: the href of each of its tags.
std::vector<std::string> Links(const std::string& path) {
    std::vector<std::string> links;
    for (const TPageRef& ref : PageRefs(FileText(path))) {
        if (ref.where.ends_with(" href")) links.push_back(ref.address);
    }
    return links;
}

struct TMenuWalk {
    TCheckReport& report;
    std::string root = CurrentDirectory() + "/";
    std::set<std::string> linkedLevels{};
    std::set<std::string> seenPages{};
    std::deque<std::string> pages{};

    void Visit(const std::string& page) {
        for (const std::string& href : Links(page)) {
            if (href.empty() || href.starts_with("#") || href.starts_with("javascript:")) continue;
            const std::string location = FollowedLink(root + page, href);
            const TTarget target = PageTarget(root, page, href);
            if (const std::optional<std::string> name = LevelLinkName(location)) {
                linkedLevels.insert(*name);
                if (TLevel::FindByName(*name) == nullptr)
                    report.Add(page, "link " + Quoted(href) + " names level " + Quoted(*name) +
                                         ", which no level has");
            } else if (href.find("redirects") != std::string::npos) {
                report.Add(page, "link " + Quoted(href) +
                                     " starts no level: the game reads a level link only as \"redirects\\\" "
                                     "followed by the name as its 19th and 20th characters");
            }
            // Links out of the game folder are the page check's to name.
            if (target.reach != TReach::Game) continue;
            const std::string& file = target.file;
            const int kind = FileKind(file);
            if (kind != 1) {
                report.Add(page,
                           "link " + Quoted(href) + " leads to " + Quoted(file) +
                               (kind == 2 ? ", which is a folder, not a page" : ", which does not exist"));
            } else if (file.starts_with("content/html/") && file.ends_with(".html") &&
                       !LevelLinkName(location) && seenPages.insert(file).second) {
                pages.push_back(file);
            }
        }
    }
};

} // namespace

void CheckMenuLinks(const TContentRun& run, TCheckReport& report) {
    if (FileKind(MainMenuPage) != 1) {
        report.Add(MainMenuPage, "missing: the game opens it at start-up");
        return;
    }
    TMenuWalk walk{report};
    walk.seenPages.insert(MainMenuPage);
    walk.pages.push_back(MainMenuPage);
    while (!walk.pages.empty()) {
        const std::string page = walk.pages.front();
        walk.pages.pop_front();
        walk.Visit(page);
    }
    for (const auto& level : LevelRegistry) {
        if (level->Name.size() == 2 && walk.linkedLevels.count(level->Name) == 0)
            report.Add(run.FileOf(level.get()), "no menu page links to level " + Quoted(level->Name));
    }
}
