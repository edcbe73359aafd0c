#pragma once
// The scratch folder of one fuzzing process, made its working directory: content/ with one folder per
// kind, media/ linked to the game's artwork, and the files each input is written to. Loaders see it as
// they see the game's own folder. Removed with everything in it when the process ends.

#include <cstddef>
#include <cstdint>
#include <string>

struct TFuzzFolder {
    // Creates the folder and enters it; every later call works inside it.
    static void Enter();
    // Runs the loader of earlier kinds on the game's own content, so that tags in fuzzed files resolve.
    static void LoadShipped(void (*load)());
    // One file of the given bytes, at the name given (relative to the folder); returns its path.
    static std::string Write(const std::string& name, const uint8_t* data, size_t size);
    // The input cut into files at each FileBreak, at most MaxFiles of them, as the only files of
    // content/<kind>; the files of the previous input are gone.
    static void WriteKind(const std::string& kind, const uint8_t* data, size_t size);

    static constexpr const char* FileBreak = "\n@@\n";
    static constexpr int MaxFiles = 8;
};
