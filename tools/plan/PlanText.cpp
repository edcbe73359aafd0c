#include "tools/plan/PlanText.hpp"

#include <cstdio>
#include <istream>
#include <ostream>
#include <sstream>

namespace {

constexpr int StandingLevel = MaxSkillLevel;

int SkillByName(const std::string& name) {
    for (int s = 0; s < SkillCount; ++s) {
        if (name == SkillNames[s]) return s;
    }
    return -1;
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first);
}

bool Starts(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

// The texts between square brackets, in order.
std::vector<std::string> Bracketed(const std::string& text) {
    std::vector<std::string> found;
    for (size_t open = text.find('['); open != std::string::npos; open = text.find('[', open + 1)) {
        const size_t close = text.find(']', open);
        if (close == std::string::npos) break;
        found.push_back(text.substr(open + 1, close - open - 1));
    }
    return found;
}

int NumberAfter(const std::string& text, const std::string& word) {
    const size_t at = text.find(word);
    return at == std::string::npos ? 0 : std::atoi(text.c_str() + at + word.size());
}

std::string SkillGoal(int skill, int level, int due) {
    return std::string(SkillNames[skill]) + " " + std::to_string(level) + " by week " + std::to_string(due);
}

std::string ItemGoal(const std::string& tag, int due) {
    return TItem::NameOfTag(tag) + " [" + tag + "] by week " + std::to_string(due);
}

// "Mental 3 by week 4" or "Diploma [item_diploma] by week 4".
TGoalStep GoalOf(TGoalStepKind kind, const std::string& text) {
    TGoalStep step;
    step.kind = kind;
    step.due = NumberAfter(text, "by week ");
    const std::vector<std::string> tags = Bracketed(text);
    if (!tags.empty()) {
        step.itemTag = tags.front();
        return step;
    }
    std::istringstream words(text);
    std::string name;
    words >> name >> step.level;
    step.skill = SkillByName(name);
    return step;
}

void ReadAfter(const std::string& text, TScriptWeek& week) {
    for (int s = 0; s < SkillCount; ++s) {
        const std::string name = std::string(SkillNames[s]) + " ";
        const size_t at = text.find(name);
        if (at == std::string::npos) continue;
        std::sscanf(text.c_str() + at + name.size(), "%d:%d", &week.levels[static_cast<size_t>(s)],
                    &week.points[static_cast<size_t>(s)]);
    }
    const size_t items = text.find("items: ");
    const size_t motivation = text.find("; motivation ");
    if (items != std::string::npos && motivation != std::string::npos)
        week.items = text.substr(items + 7, motivation - items - 7);
    if (motivation != std::string::npos) week.motivation = std::atof(text.c_str() + motivation + 13);
}

} // namespace

std::string TPlanText::ItemNames(const TPlayer& player) {
    std::string names;
    for (const TItem* item : player.inventory) {
        if (item == nullptr) continue;
        names += (names.empty() ? "" : ", ") + item->name;
    }
    return names.empty() ? "none" : names;
}

std::string TPlanText::DescribeState(const TPlayer& player) {
    std::string text;
    for (size_t s = 0; s < SkillCount; ++s) {
        text += std::string(s == 0 ? "" : ", ") + SkillNames[s] + " " + std::to_string(player.skillLevel[s]) +
                ":" + std::to_string(player.skillPoints[s]);
    }
    char motivation[32];
    std::snprintf(motivation, sizeof motivation, "%.2f", static_cast<double>(player.motivation));
    return text + "; items: " + ItemNames(player) + "; motivation " + motivation;
}

void TPlanText::Write(std::ostream& out, const TPlanWorld& world, const TPlan& plan) {
    const int length = world.Level()->Length;
    std::array<bool, SkillCount> standingExists{};
    int focusedStanding = -1;
    TPlanState before = world.Start();
    for (const TPlanWeek& week : plan.weeks) {
        const TTurnChoice& choice = week.choice;
        out << "Week " << before.week << ":\n";
        if (focusedStanding >= 0 && focusedStanding != choice.standing) {
            out << "  unfocus goal: " << SkillGoal(focusedStanding, StandingLevel, length) << "\n";
            focusedStanding = -1;
        }
        if (choice.standing >= 0 && choice.standing != focusedStanding) {
            const bool exists = standingExists[static_cast<size_t>(choice.standing)];
            out << (exists ? "  focus goal: " : "  new goal: ")
                << SkillGoal(choice.standing, StandingLevel, length) << (exists ? "\n" : ", focused\n");
            standingExists[static_cast<size_t>(choice.standing)] = true;
            focusedStanding = choice.standing;
        }
        const int due = std::min(before.week + 1, length);
        for (const int skill : choice.levelGoals) {
            out << "  new goal: "
                << SkillGoal(skill, before.player.skillLevel[static_cast<size_t>(skill)] + 1, due)
                << ", focused\n";
        }
        for (const std::string& tag : choice.itemGoals)
            out << "  new goal: " << ItemGoal(tag, due) << ", focused\n";
        if (choice.targetSet) {
            const TTarget& target = choice.target;
            out << "  new goal: "
                << (target.item != nullptr ? ItemGoal(target.item->tag, choice.targetDue)
                                           : SkillGoal(target.skill, target.level, choice.targetDue))
                << ", focused\n";
        }
        switch (choice.kind) {
        case TTurnKind::Station:
            out << "  action: " << choice.action->name << " [" << choice.action->tag << "] at "
                << choice.station->infoText.Title << " [" << choice.station->tag << "]\n";
            break;
        case TTurnKind::Work:
            out << "  action: work [" << choice.action->tag << "]\n";
            break;
        case TTurnKind::Quit:
            out << "  action: quit [" << (choice.action != nullptr ? choice.action->tag : "NULL") << "]\n";
            break;
        }
        out << "  after: " << DescribeState(week.after.player) << "\n";
        // A standing goal whose level was reached is gone: passed while focused, dropped while not.
        for (size_t s = 0; s < SkillCount; ++s) {
            if (week.after.player.skillLevel[s] < StandingLevel) continue;
            standingExists[s] = false;
            if (focusedStanding == static_cast<int>(s)) focusedStanding = -1;
        }
        before = week.after;
    }
}

TPlanScript TPlanText::Read(std::istream& in) {
    TPlanScript script;
    std::string line;
    while (std::getline(in, line)) {
        const std::string text = Trimmed(line);
        if (Starts(text, "Week ")) {
            script.weeks.emplace_back();
            script.weeks.back().week = std::atoi(text.c_str() + 5);
            continue;
        }
        if (Starts(text, "Won ")) script.won = true;
        if (script.weeks.empty()) continue;
        TScriptWeek& week = script.weeks.back();
        if (Starts(text, "new goal: ")) week.goals.push_back(GoalOf(TGoalStepKind::New, text.substr(10)));
        if (Starts(text, "focus goal: ")) week.goals.push_back(GoalOf(TGoalStepKind::Focus, text.substr(12)));
        if (Starts(text, "unfocus goal: "))
            week.goals.push_back(GoalOf(TGoalStepKind::Unfocus, text.substr(14)));
        if (Starts(text, "action: ")) {
            const std::vector<std::string> tags = Bracketed(text);
            week.kind = Starts(text, "action: work [")   ? TTurnKind::Work
                        : Starts(text, "action: quit [") ? TTurnKind::Quit
                                                         : TTurnKind::Station;
            if (!tags.empty()) week.actionTag = tags[0];
            if (tags.size() > 1) week.stationTag = tags[1];
        }
        if (Starts(text, "after: ")) ReadAfter(text, week);
    }
    return script;
}
