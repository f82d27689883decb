#include "render/options.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "common/shown_value.h"

const char* const RenderUsage =
    "usage: quelmar-render [options]\n"
    "  --start-seconds S   scripted start, seconds since 1970 (seeds the scene; default: now)\n"
    "  --fps F             frames per second of scene time, 0.01 to 10000 (default 60)\n"
    "  --elapsed S         the scene clock starts S whole seconds late, up to 1000000000 (default 0)\n"
    "  --frames N          frames to draw (default 600)\n"
    "  --width W --height H  size in pixels (default 640 x 480)\n"
    "  --settings FILE     settings file to read (default: the user's Quelmar.ini)\n"
    "  --png DIR           write frames as DIR/frame-NNNNNN.png\n"
    "  --every K           with --png: every K-th frame (default: every frame)\n"
    "  --at I,J,...        with --png: only these frames\n"
    "  --trace FILE        one JSON object per frame (- for standard output)\n"
    "  --encounter         start an encounter at the end of the first warp\n"
    "  --eye X,Y,Z         fixed camera position (with --look; default 25,0,0)\n"
    "  --look X,Y,Z        fixed look-at point (default 0.5,0,0)\n"
    "Any option's value may also follow an equals sign: --eye=-30,20,40\n";

namespace {

// Frame k is sampled k * 1000 / fps ms after the start: within these bounds
// and --frames' own that stays far inside 64 bits.
constexpr double MinFps = 0.01;
constexpr double MaxFps = 10000;
constexpr int64_t MaxElapsedSeconds = 1000000000;  // 31 years

bool parseInteger(const char* text, int64_t minimum, int64_t maximum, int64_t& out)
{
    if (!text || !*text)
        return false;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || value < minimum || value > maximum)
        return false;
    out = value;
    return true;
}

bool parseList(const char* text, std::vector<int64_t>& out)
{
    std::string item;
    for (const char* p = text;; ++p) {
        if (*p == ',' || *p == '\0') {
            int64_t value = 0;
            if (!parseInteger(item.c_str(), 0, INT64_MAX, value))
                return false;
            out.push_back(value);
            item.clear();
            if (*p == '\0')
                return true;
        } else {
            item += *p;
        }
    }
}

bool parseVector(const char* text, float (&out)[3])
{
    char* end = nullptr;
    const char* p = text;
    for (int axis = 0; axis < 3; ++axis) {
        out[axis] = std::strtof(p, &end);
        if (end == p || !std::isfinite(out[axis]))
            return false;
        if (axis < 2 && *end != ',')
            return false;
        p = end + (axis < 2 ? 1 : 0);
    }
    return *end == '\0';
}

} // namespace

bool parseRenderOptions(int argc, char** argv, RenderOptions& options, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        std::string inlineValue;  // --name=value, so that values may start with '-'
        const size_t equals = name.find('=');
        const bool hasInlineValue = name.rfind("--", 0) == 0 && equals != std::string::npos;
        if (hasInlineValue) {
            inlineValue = name.substr(equals + 1);
            name.resize(equals);
        }
        if (hasInlineValue && (name == "--help" || name == "--encounter")) {
            error = "option " + shownValue(name) + " takes no value";
            return false;
        }
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (name == "--encounter") {
            options.forceEncounter = true;
            continue;
        }
        const bool takesValue = name == "--start-seconds" || name == "--elapsed" || name == "--fps" ||
                                name == "--frames" || name == "--width" || name == "--height" || name == "--settings" ||
                                name == "--png" || name == "--every" || name == "--at" ||
                                name == "--trace" || name == "--eye" || name == "--look";
        if (!takesValue) {
            error = "unknown option '" + shownValue(name) + "' (try --help)";
            return false;
        }
        if (!hasInlineValue && i + 1 >= argc) {
            error = "option " + shownValue(name) + " needs a value";
            return false;
        }
        const char* value = hasInlineValue ? inlineValue.c_str() : argv[++i];
        int64_t number = 0;
        bool ok = true;
        if (name == "--start-seconds") {
            ok = parseInteger(value, INT32_MIN, INT32_MAX, number);
            options.startSeconds = static_cast<int32_t>(number);
            options.startGiven = true;
        } else if (name == "--elapsed") {
            ok = parseInteger(value, 0, MaxElapsedSeconds, number);
            options.elapsedSeconds = static_cast<int32_t>(number);
        } else if (name == "--fps") {
            char* end = nullptr;
            options.fps = std::strtod(value, &end);
            ok = *value && *end == '\0' && options.fps >= MinFps && options.fps <= MaxFps;  // false for NaN too
        } else if (name == "--frames") {
            ok = parseInteger(value, 0, INT64_C(1) << 40, options.frames);
        } else if (name == "--width" || name == "--height") {
            ok = parseInteger(value, 1, 16384, number);
            (name == "--width" ? options.width : options.height) = static_cast<int32_t>(number);
        } else if (name == "--settings") {
            options.settingsFile = value;
            ok = *value != '\0';
        } else if (name == "--png") {
            options.pngDir = value;
            ok = *value != '\0';
        } else if (name == "--every") {
            ok = parseInteger(value, 1, INT64_MAX, options.every);
        } else if (name == "--at") {
            ok = parseList(value, options.at);
        } else if (name == "--eye" || name == "--look") {
            ok = parseVector(value, name == "--eye" ? options.eye : options.look);
            options.fixedView = true;
        } else if (name == "--trace") {
            options.traceFile = value;
            ok = *value != '\0';
        }
        if (!ok) {
            error = "bad value '" + shownValue(value) + "' for " + name;
            return false;
        }
    }
    if ((options.every || !options.at.empty()) && options.pngDir.empty()) {
        error = "--every and --at need --png DIR";
        return false;
    }
    if (options.every && !options.at.empty()) {
        error = "use either --every or --at, not both";
        return false;
    }
    return true;
}

bool wantsPng(const RenderOptions& options, int64_t frame)
{
    if (options.pngDir.empty())
        return false;
    if (!options.at.empty()) {
        for (int64_t k : options.at)
            if (k == frame)
                return true;
        return false;
    }
    return options.every == 0 || frame % options.every == 0;
}
