#pragma once
// A seeded player who knows nothing of the rules: it plays the running game only through what a real
// machine delivers (pointer moves, presses and releases on the canvas, panel buttons, menu links), one
// frame tick at a time, on the headless backend. The same seed plays the same game.

#include "platform/Platform.hpp"

#include <cstdint>
#include <deque>
#include <map>
#include <random>
#include <string>
#include <vector>

// What a run got through, so that a quiet monkey shows as one.
struct TMonkeyCounts {
    std::map<std::string, long> levelStarts; // by level name
    long weeks = 0;
    long finals = 0;
    long panelPresses = 0;
    long holds = 0;
    long drags = 0;
};

class TMonkey {
  public:
    explicit TMonkey(uint64_t seed);

    // Starts the game on the headless backend, content read from the working directory; once per process.
    static void StartGame();
    // One frame: this tick's input, the clock one frame period on, the main loop run until it waits.
    void Tick();
    const TMonkeyCounts& Counts() const { return counts; }
    // The last inputs given, oldest first, one a line with its tick: what led up to a failure.
    std::string RecentInputs() const;

  private:
    // One input of a planned gesture; gadgets are never planned ahead, they may be gone by then.
    struct TInput {
        int id = 0; // MouseMove, MouseDown or MouseUp
        int x = 0;
        int y = 0;
        int button = 0;
    };
    using TStep = std::vector<TInput>;

    std::mt19937_64 random;
    std::deque<TStep> plan; // one step a tick
    std::vector<std::string> levelLinks;
    std::vector<std::string> linkDeck; // the links not yet followed in this round
    TMonkeyCounts counts;
    bool worldWasHidden = true;
    int lastWeek = 1;
    std::string lastPromptKind;
    long tick = 0;
    std::deque<std::string> recent;

    void Note(const std::string& input);

    int Below(int n);
    bool Chance(double p);
    void Choose();
    void OnMenuPage();
    bool PressPanelButton();
    void PlanGesture();
    void PointSomewhere(int& x, int& y);
    void Count();
};
