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

#include <deque>
#include <set>

namespace {

const std::string MainMenuPage = "content/html/MainMenu.html";

// The values of the page's href attributes, quoted with either mark.
std::vector<std::string> Links(const std::string& path) {
    const std::string html = FileText(path);
    std::vector<std::string> links;
    for (size_t at = html.find("href="); at != std::string::npos; at = html.find("href=", at + 5)) {
        const size_t open = at + 5;
        if (open >= html.size() || (html[open] != '"' && html[open] != '\'')) continue;
        const size_t close = html.find(html[open], open + 1);
        if (close == std::string::npos) break;
        links.push_back(html.substr(open + 1, close - open - 1));
    }
    return links;
}

// The file a followed local link opens, relative to the game folder when it lies inside it; "" for
// anything that is not a local file (a web address, a script, an anchor on the same page).
std::string LocalFile(const std::string& location, const std::string& root) {
    std::string uri = LoadableUri(location);
    if (!uri.starts_with("file://")) return "";
    std::string path = uri.substr(7);
    path = path.substr(0, path.find_first_of("#?"));
    return path.starts_with(root) ? path.substr(root.size()) : path;
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
            const std::string file = LocalFile(location, root);
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
            if (file.empty()) continue;
            if (FileKind(file) != 1) {
                report.Add(page,
                           "link " + Quoted(href) + " leads to " + Quoted(file) + ", which does not exist");
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
