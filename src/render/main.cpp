// quelmar-render: the real scene offscreen on a scripted clock. Frame k is
// sampled on a ScriptedClock from S s at F frames a second, so a run is
// exactly repeatable.
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "backdrop/backdrop.h"
#include "common/posix/posix_host.h"
#include "common/posix/profile_file.h"
#include "common/shown_value.h"
#include "render/options.h"
#include "render/png_writer.h"
#include "render/trace.h"
#include "scene/scene.h"
#include "settings/settings.h"
#include "surface/offscreen/egl_surface.h"
#include "surface/surface.h"
#include "textures/textures.h"

namespace {

constexpr int ExitBadOptions = 2;
constexpr int ExitFailure = 1;

int fail(const std::string& message)
{
    std::fprintf(stderr, "quelmar-render: %s\n", message.c_str());
    return ExitFailure;
}

} // namespace

int main(int argc, char** argv)
{
    RenderOptions options;
    std::string error;
    if (!parseRenderOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "quelmar-render: %s\n", error.c_str());
        return ExitBadOptions;
    }
    if (options.help) {
        std::fputs(RenderUsage, stdout);
        return 0;
    }
    if (!options.startGiven)
        options.startSeconds = static_cast<int32_t>(std::time(nullptr));

    std::FILE* trace = nullptr;
    if (!options.traceFile.empty()) {
        trace = options.traceFile == "-" ? stdout : std::fopen(options.traceFile.c_str(), "w");
        if (!trace)
            return fail("cannot write the trace to " + shownValue(options.traceFile));
    }
    if (!options.pngDir.empty() && !makeDirectoryTree(options.pngDir))
        return fail("cannot create the folder " + shownValue(options.pngDir));

    if (!createOffscreenSurface(options.width, options.height, error))
        return fail(error);

    if (!options.settingsFile.empty())
        setProfilePath(options.settingsFile);
    loadSettings();

    ScriptedClock clock{{options.startSeconds, 0}, options.fps, {}};
    setScriptedFrame(clock, 0);
    installScriptedClock(&clock);
    forceNextEncounter = options.forceEncounter;
    camera.fixedView = options.fixedView;
    for (int axis = 0; axis < 3; ++axis) {
        camera.fixedEye[axis] = options.eye[axis];
        camera.fixedTarget[axis] = options.look[axis];
    }
    InitScene(options.width, options.height);
    // A late clock: the scene started elapsedSeconds before frame 0 (its
    // 32-bit seconds wrap around, as the clock's differences do).
    clock.start.seconds = static_cast<int32_t>(static_cast<uint32_t>(clock.start.seconds) +
                                               static_cast<uint32_t>(options.elapsedSeconds));

    std::vector<unsigned char> pixels;
    if (!options.pngDir.empty())
        pixels.resize(static_cast<size_t>(options.width) * options.height * 4);

    int status = 0;
    for (int64_t k = 0; k < options.frames && !hostQuit.requested; ++k) {
        setScriptedFrame(clock, k);
        drawFrame();
        if (trace)
            writeTraceLine(trace, k);
        if (wantsPng(options, k)) {
            readOffscreenPixels(options.width, options.height, pixels.data());
            char name[32];
            std::snprintf(name, sizeof name, "/frame-%06lld.png", static_cast<long long>(k));
            if (!writePng(options.pngDir + name, options.width, options.height, pixels.data(), error)) {
                status = fail(error);
                break;
            }
        }
    }
    if (hostQuit.requested && status == 0)
        status = ExitFailure;  // start-up reported its failure already
    if (trace && trace != stdout && std::fclose(trace) != 0)
        status = fail("cannot finish the trace file " + shownValue(options.traceFile));
    ReleaseScene();
    destroyOffscreenSurface();
    return status;
}
