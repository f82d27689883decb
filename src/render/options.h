// quelmar-render's command line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RenderOptions {
    int32_t startSeconds = 0;  // the scripted start; also the generator's seed
    bool startGiven = false;   // otherwise the wall clock's seconds
    int32_t elapsedSeconds = 0;  // the scene clock's reading at frame 0
    double fps = 60.0;
    int64_t frames = 600;
    int32_t width = 640;
    int32_t height = 480;
    std::string settingsFile;  // empty: the user's Quelmar.ini
    std::string pngDir;
    int64_t every = 0;            // with pngDir: every k-th frame (0: see `at`, else every frame)
    std::vector<int64_t> at;      // with pngDir: these frames only
    std::string traceFile;        // "-" for standard output
    bool forceEncounter = false;
    bool fixedView = false;       // --eye and --look: a fixed camera
    float eye[3] = {25, 0, 0};
    float look[3] = {0.5f, 0, 0};  // start an encounter at the end of the first Settle
    bool help = false;
};

// Parses argv. On a bad option returns false with one line in `error`.
bool parseRenderOptions(int argc, char** argv, RenderOptions& options, std::string& error);

// Whether frame k is written as a PNG.
bool wantsPng(const RenderOptions& options, int64_t frame);

extern const char* const RenderUsage;
