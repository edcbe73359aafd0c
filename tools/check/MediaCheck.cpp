// Every picture the game loaded while it started up, loaded its content and started each level: it must
// exist, decode, and hold the frames it is cut into. The program's own art is named by its file; art a
// content file names is reported against the picture too, and the content file's log lines say who used it.
#include "platform/Platform.hpp"
#include "tools/check/CheckReport.hpp"
#include "tools/check/Checks.hpp"
#include "tools/check/ContentRun.hpp"

#include <set>
#include <tuple>

namespace {

std::string Size(int w, int h) {
    return std::to_string(w) + " x " + std::to_string(h);
}

// Why a load failed, from the file and the cut asked for.
std::string FailureReason(const TImageRequest& r) {
    const int kind = FileKind(r.path);
    if (kind == 0) return "missing";
    if (kind == 2) return "is a folder, not a picture";
    const TImage whole = LoadImage(r.path, 0);
    if (whole == nullptr) return "does not decode as a picture";
    if (r.cut != TImageCut::Frames) return "cannot be loaded";
    const int w = ImageWidth(whole);
    const int h = ImageHeight(whole);
    if (r.frameWidth <= 0 || r.frameHeight <= 0 || r.count < 1 || r.first < 0)
        return "is cut into " + Size(r.frameWidth, r.frameHeight) + " frames from frame " +
               std::to_string(r.first) + " for " + std::to_string(r.count) + ", which cannot be";
    const int frames = (w / r.frameWidth) * (h / r.frameHeight);
    return "is " + Size(w, h) + ", room for " + std::to_string(frames) + " frames of " +
           Size(r.frameWidth, r.frameHeight) + "; the game cuts " + std::to_string(r.count) + " from frame " +
           std::to_string(r.first);
}

// A strip that loads but is not a whole number of frames: its frames are drawn off-centre.
std::string Leftover(const TImageRequest& r) {
    if (r.cut != TImageCut::Frames) return "";
    const TImage whole = LoadImage(r.path, 0);
    const int w = ImageWidth(whole);
    const int h = ImageHeight(whole);
    if (w % r.frameWidth == 0 && h % r.frameHeight == 0) return "";
    return "is " + Size(w, h) + ", not a whole number of the " + Size(r.frameWidth, r.frameHeight) +
           " frames the game cuts it into";
}

} // namespace

void CheckMedia(const TContentRun& run, TCheckReport& report) {
    std::set<std::tuple<std::string, int, int, int, int, int>> seen;
    for (const TImageRequest& r : run.images) {
        if (!seen.insert({r.path, static_cast<int>(r.cut), r.frameWidth, r.frameHeight, r.first, r.count})
                 .second)
            continue;
        const std::string problem = r.loaded ? Leftover(r) : FailureReason(r);
        if (!problem.empty()) report.Add(r.path, problem);
    }
}
