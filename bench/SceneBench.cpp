// The game's own work on the headless backend, where no drawing costs anything: the world tick in the
// busiest scene as a share of the frame budget, and the memory a long run of weeks leaves behind. With a
// path it also writes the scene's frame as a draw list for the frame bench's minimal GL program.
// Usage: scene_bench [RUNS] [DRAW_LIST_PATH]

#include "bench/Measure.hpp"

#include "bench/BusyScene.hpp"
#include "bench/DrawList.hpp"

#include "panels/GlobalGadgets.hpp"
#include "panels/Prompt.hpp"
#include "panels/StatsPanel.hpp"
#include "platform/FontData.hpp"
#include "platform/ImageData.hpp"
#include "platform/headless/Headless.hpp"
#include "rules/Action.hpp"
#include "rules/Goal.hpp"
#include "rules/Player.hpp"
#include "scene/Layer.hpp"
#include "shell/Level.hpp"
#include "shell/ScreenFlow.hpp"
#include "shell/WorldTick.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr double BudgetMs = 1000.0 / 60.0;
constexpr int TicksPerRun = 2000;
constexpr int Weeks = 10000;

// Mean milliseconds of one WorldTick, the clock moving a frame each time as the timer would.
double TickMs() {
    uint64_t clock = Milliseconds();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < TicksPerRun; ++i) {
        clock += 16;
        HeadlessSetClock(clock);
        WorldTick();
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() /
           TicksPerRun;
}

// The draw calls of one frame of the scene, in the form the minimal GL program replays.
TDrawList RecordFrame() {
    HeadlessClearDrawCalls();
    TLayer::RenderAll();
    TDrawList list;
    std::map<std::pair<const void*, int>, int> known; // (image or font, frame or code point) -> index
    const auto add = [&](const void* owner, int part, TListImage image) {
        const auto [at, fresh] =
            known.emplace(std::make_pair(owner, part), static_cast<int>(list.images.size()));
        if (fresh) list.images.push_back(std::move(image));
        return at->second;
    };
    for (const TDrawCall& call : HeadlessDrawCalls()) {
        TListDraw draw;
        draw.blend = call.state.blend;
        draw.r = static_cast<uint8_t>(call.state.r);
        draw.g = static_cast<uint8_t>(call.state.g);
        draw.b = static_cast<uint8_t>(call.state.b);
        draw.x0 = call.x;
        draw.y0 = call.y;
        switch (call.kind) {
        case TDrawKind::Image: {
            TListImage image;
            image.width = call.image->width;
            image.height = call.image->height;
            image.filtered = (call.image->flags & ImageFiltered) != 0;
            image.pixels = call.image->pixels[static_cast<size_t>(call.frame)];
            draw.image = add(call.image.get(), call.frame, std::move(image));
            draw.x1 = call.x + call.w * call.state.scaleX;
            draw.y1 = call.y + call.h * call.state.scaleY;
            list.draws.push_back(draw);
            break;
        }
        case TDrawKind::Rect:
        case TDrawKind::Oval:
            draw.shape = call.kind == TDrawKind::Oval ? TListShape::Oval : TListShape::Quad;
            draw.x1 = call.x + call.w;
            draw.y1 = call.y + call.h;
            list.draws.push_back(draw);
            break;
        case TDrawKind::Line:
            draw.shape = TListShape::Line;
            draw.x1 = call.w;
            draw.y1 = call.h;
            list.draws.push_back(draw);
            break;
        case TDrawKind::Text: {
            // Laid out as the renderer lays it out: one coverage quad a glyph.
            TFontData* font = ActiveFont(call.state.font);
            if (font == nullptr) break;
            if (draw.blend == BlendMasked || draw.blend == BlendSolid) draw.blend = BlendAlpha;
            int pen = static_cast<int>(std::lround(call.x));
            const int baseline = static_cast<int>(std::lround(call.y)) + font->ascent;
            for (char32_t code : DecodeUtf8(call.text)) {
                const TGlyph& glyph = font->Glyph(code);
                if (!glyph.coverage.empty()) {
                    TListImage image;
                    image.width = glyph.width;
                    image.height = glyph.height;
                    image.coverage = true;
                    image.pixels = glyph.coverage;
                    TListDraw quad = draw;
                    quad.image = add(font, static_cast<int>(code), std::move(image));
                    quad.x0 = static_cast<float>(pen + glyph.left);
                    quad.y0 = static_cast<float>(baseline - glyph.top);
                    quad.x1 = quad.x0 + static_cast<float>(glyph.width);
                    quad.y1 = quad.y0 + static_cast<float>(glyph.height);
                    list.draws.push_back(quad);
                }
                pen += glyph.advance;
            }
            break;
        }
        default:
            break;
        }
    }
    return list;
}

// Plays weeks level after level, every goal reported and every panel closed as a player would, and
// returns how much the resident size grew after the first tenth of them.
double WeeksGrowthMb() {
    long settled = 0;
    int week = 0;
    while (week < Weeks) {
        for (const auto& level : LevelRegistry) {
            level->Start();
            TPrompt::Close();
            TGoal::CreateSkillGoal(week % 5, 3);
            TGoal::CreateItemGoal(level->ItemGoal);
            for (int w = 0; w < level->Length && week < Weeks; ++w, ++week) {
                TAction* action = nullptr;
                for (const std::string& tag : level->ActionTags) {
                    TAction* candidate = TAction::FindByTag(tag);
                    if (candidate != nullptr && candidate->CanRun() != 0 &&
                        (action == nullptr || (week + w) % 3 == 0))
                        action = candidate;
                }
                TPlayer::DoWeek(action, true);
                HeadlessClearDrawCalls(); // the backend's record of drawing is not the game's memory
                CloseStatsPanel();
                while (PanelLocked)
                    TPrompt::Close();
                if (week == Weeks / 10) settled = ResidentKb();
            }
        }
    }
    return static_cast<double>(ResidentKb() - settled) / 1024.0;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    BuildBusyScene();
    if (argc > 2 && !RecordFrame().Write(argv[2])) {
        std::fprintf(stderr, "scene_bench: cannot write %s\n", argv[2]);
        return 1;
    }
    std::vector<double> ticks;
    for (int i = 0; i < runs; ++i)
        ticks.push_back(TickMs());
    std::printf("WorldTick in the busiest scene: %.3f %% of the frame budget (<= 0.5 %%)\n",
                100.0 * Median(ticks) / BudgetMs);
    std::printf("memory growth after %d weeks: %.2f MB (<= 1 MB)\n", Weeks, WeeksGrowthMb());
    return 0;
}
