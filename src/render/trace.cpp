#include "render/trace.h"

#include "backdrop/backdrop.h"
#include "common/random.h"
#include "scene/scene.h"
#include "ship/ship.h"

namespace {

// Builds one JSON object; floats printed so that they read back exactly.
class TraceLine {
public:
    explicit TraceLine(std::FILE* out) : out_(out) { std::fputc('{', out_); }
    ~TraceLine() { std::fputs("}\n", out_); }

    void field(const char* name, double value) { key(name); std::fprintf(out_, "%.9g", value); }
    void field(const char* name, int64_t value) { key(name); std::fprintf(out_, "%lld", static_cast<long long>(value)); }
    void field(const char* name, int32_t value) { field(name, static_cast<int64_t>(value)); }
    void field(const char* name, uint64_t value) { key(name); std::fprintf(out_, "%llu", static_cast<unsigned long long>(value)); }
    void field(const char* name, uint32_t value) { field(name, static_cast<uint64_t>(value)); }
    void field(const char* name, bool value) { key(name); std::fputs(value ? "true" : "false", out_); }
    void field(const char* name, const float (&v)[3])
    {
        key(name);
        std::fprintf(out_, "[%.9g,%.9g,%.9g]", v[0], v[1], v[2]);
    }
    void field(const char* name, const int32_t (&v)[3])
    {
        key(name);
        std::fprintf(out_, "[%d,%d,%d]", v[0], v[1], v[2]);
    }

private:
    void key(const char* name)
    {
        std::fprintf(out_, "%s\"%s\":", first_ ? "" : ",", name);
        first_ = false;
    }
    std::FILE* out_;
    bool first_ = true;
};

} // namespace

void writeTraceLine(std::FILE* out, int64_t frame)
{
    TraceLine line(out);
    line.field("frame", frame);
    line.field("T", static_cast<double>(SceneClock));
    line.field("randState", sceneRandom.state);
    line.field("randCalls", sceneRandom.calls);

    line.field("warpState", static_cast<int32_t>(warp.warpState));
    line.field("warpStateStart", static_cast<double>(warp.warpStateStart));
    line.field("warpWait", static_cast<double>(warp.warpWait));
    line.field("podAngle", static_cast<double>(warp.podAngle));
    line.field("shipStretch", static_cast<double>(warp.shipStretch));
    line.field("shipOffset", warp.shipOffset);
    line.field("shipTurn", warp.shipTurn);
    line.field("shipTurnTarget", warp.shipTurnTarget);
    line.field("flashScale", static_cast<double>(warp.flashScale));
    line.field("warpLineSpeed", static_cast<double>(warp.warpLineSpeed));
    line.field("warpLineStretch", static_cast<double>(warp.warpLineStretch));

    line.field("cameraSelect", camera.cameraSelect);
    line.field("cameraDistance", camera.cameraDistance);
    line.field("cameraWait", static_cast<double>(camera.cameraWait));
    line.field("cameraLastChange", static_cast<double>(camera.cameraLastChange));
    line.field("cameraEye", camera.cameraEye);
    line.field("cameraTarget", camera.cameraTarget);

    line.field("encounterMode", static_cast<int32_t>(encounter.encounterMode));
    line.field("encounterBase", encounter.encounterBase);
    line.field("cubePosition", encounter.cubePosition);
    line.field("energyLevel", static_cast<double>(encounter.energyLevel));
    line.field("lastEnergyChange", static_cast<double>(encounter.lastEnergyChange));

    const Beam& beam = encounter.beam;
    line.field("beamActive", beam.active);
    line.field("beamIncoming", beam.incoming);
    line.field("beamStartTime", static_cast<double>(beam.startTime));
    line.field("beamSource", beam.source);
    line.field("beamTarget", beam.target);
    line.field("beamVertex", beam.vertex);
    line.field("debrisActive", debrisActive);
    line.field("hullHits", debris.hullHits);
    line.field("panelOffset", overlay.panelOffset);
    line.field("forcedEncounter", encounterWasForced);
}
