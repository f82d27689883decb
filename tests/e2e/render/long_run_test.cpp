// quelmar-render over long runs of scene time, its trace checked line by line:
// 50,000 frames in range, and 3,000 frames exactly as the committed trace.
#include <gtest/gtest.h>

#include <cmath>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

std::vector<std::string> linesOf(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Runs the renderer with an encounter forced at the end of the first jump; the trace's lines.
std::vector<std::string> traceOf(const std::string& settings, const std::string& arguments)
{
    TempDir dir;
    writeText(dir.path("s.ini"), "[Quelmar 3D ScreenSaver]\n" + settings);
    const std::string command = std::string(QUELMAR_RENDER) + " --width 32 --height 24 --encounter " + arguments +
                                " --settings " + dir.path("s.ini") + " --trace " + dir.path("t");
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return linesOf(readText(dir.path("t")));
}

// The numbers of field `name` in one trace line: one, or three for a vector.
std::vector<double> field(const std::string& line, const std::string& name)
{
    size_t at = line.find("\"" + name + "\":");
    if (at == std::string::npos)
        return {};
    const bool vector = line[at += name.size() + 3] == '[';
    const char* p = line.c_str() + at + vector;
    std::vector<double> out;
    for (int i = 0; i < (vector ? 3 : 1); ++i, ++p)
        out.push_back(std::strtod(p, const_cast<char**>(&p)));
    return out;
}

// 50,000 frames: every value of every frame stays in its range, nothing turns
// into NaN, time runs forward, and more than `minEncounter` are in an encounter.
void expectLongRun(const std::string& settings, const std::string& arguments, long minEncounter, bool hullHit)
{
    const std::vector<std::string> lines = traceOf(settings, arguments + " --start-seconds 1000000 --frames 50000");
    const struct { const char* name; double low, high; } ranges[] = {
        {"warpState", 0, 6}, {"encounterMode", 0, 2}, {"podAngle", 0, 40}, {"shipStretch", 0, 10},
        {"flashScale", 0, 0.75}, {"warpLineSpeed", 0.1, 0.5}, {"warpLineStretch", 0.05, 1}, {"cameraSelect", 0, 5},
        {"cameraDistance", 10, 39}, {"cameraEye", -40, 40}, {"energyLevel", -1, 1.0015}, {"panelOffset", -65, 10},
        {"beamVertex", 0, 358}, {"encounterBase", -75, 74}};
    long encounterFrames = 0;
    double lastT = -1, lastHits = 0;
    for (const std::string& line : lines) {
        ASSERT_TRUE(line.find("nan") == std::string::npos && line.find("inf") == std::string::npos) << line;
        for (const auto& r : ranges)
            for (double v : field(line, r.name))
                ASSERT_TRUE(v >= r.low && v <= r.high) << r.name << " " << v << " in " << line.substr(0, 40);
        const double t = field(line, "T").at(0), hits = field(line, "hullHits").at(0);
        const bool rebased = lastT - t > 299 && std::fmod(lastT - t, 300) > 299;  // whole 300 s steps back, less a gap
        ASSERT_TRUE((t > lastT || rebased) && hits >= lastHits) << line.substr(0, 40);
        lastT = t, lastHits = hits;
        const double cube = field(line, "cubePosition").at(0);
        const bool encounter = field(line, "encounterMode").at(0) != 0;
        encounterFrames += encounter;
        ASSERT_TRUE(encounter ? cube >= -225 && cube <= 225 : cube == 999) << cube;
    }
    EXPECT_EQ(lines.size(), 50000u);
    EXPECT_GT(encounterFrames, minEncounter);
    EXPECT_TRUE(lastHits > 0 || !hullHit);
}

// Almost 14 minutes of scene time at 60 fps: the hull gets hit.
TEST(LongRun, StaysInRangeAndHitsTheHull) { expectLongRun("Warp Pause=360\n", "--fps 60", 5000, true); }

// Eleven hours in frames 0.8 s apart, each one late for every step of the
// scene (no beam hits the hull at this rate); the sanitized tree runs it.
TEST(LongRun, LateFramesStayInRange) { expectLongRun("", "--width 160 --height 120 --fps 1.25", 0, false); }

// A clock started 7 days, 2^24 s or 10 years late: 20,000 frames at 60 fps give 20,000
// readings, the energy drained in the encounter regenerates, the warps come round again (cruises).
class LateClock : public ::testing::TestWithParam<int> {};
TEST_P(LateClock, KeepsMillisecondsEnergyAndWarps)
{
    const std::vector<std::string> lines = traceOf("BG Stars=100\nWarp Lines=100\nWarp Pause=30\nCamera Pause=30\n",
        "--start-seconds 1000007 --fps 60 --frames 20000 --elapsed " + std::to_string(GetParam()));
    std::set<double> readings;
    double lowest = 1, regained = 0, energy = 1, state = 0, cruises = 0;
    for (const std::string& line : lines) {
        readings.insert(field(line, "T").at(0));
        const double e = field(line, "energyLevel").at(0), s = field(line, "warpState").at(0);
        regained += lowest < 1 && e > energy ? e - energy : 0;
        lowest = std::min(lowest, energy = e);
        cruises += s == 0 && state != 0, state = s;
    }
    EXPECT_TRUE(readings.size() == 20000 && lowest < 0.9 && regained > 0.01 && cruises >= 3)
        << readings.size() << " clock readings; energy down to " << lowest << ", regained " << regained << "; " << cruises;
}
INSTANTIATE_TEST_SUITE_P(Starts, LateClock, ::testing::Values(604800, 1 << 24, 315360000));

// 100 s at 30 fps, warps and placements every 7.5 to 36.5 s, an encounter:
// its approach, beams both ways, the turn, the encounter view and its end.
// Every field of every frame must match the committed trace, so a draw taken
// in another order, or a step run in another order, fails here. Written anew
// by scripts/update-goldens.sh.
TEST(GoldenTrace, EveryFieldOfEveryFrameAsCommitted)
{
    const std::vector<std::string> lines =
        traceOf("Warp Pause=30\nCamera Pause=30\n", "--start-seconds 1000007 --fps 30 --frames 3000");
    const std::string golden = std::string(QUELMAR_SOURCE_DIR) + "/tests/e2e/render/golden/trace.jsonl";
    const char* update = std::getenv("QUELMAR_UPDATE_GOLDENS");
    if (update && *update == '1') {
        std::string text;
        for (const std::string& line : lines)
            text += line + '\n';
        writeText(golden, text);
        ASSERT_EQ(std::system(("gzip -9 -n -f " + golden).c_str()), 0);
        return;
    }
    TempDir dir;
    ASSERT_EQ(std::system(("gzip -d -c " + golden + ".gz > " + dir.path("want")).c_str()), 0);
    const std::vector<std::string> want = linesOf(readText(dir.path("want")));
    ASSERT_TRUE(want.size() == 3000 && lines.size() == 3000) << want.size() << " frames committed, " << lines.size();
    for (size_t frame = 0; frame < want.size(); ++frame)
        ASSERT_EQ(lines[frame], want[frame]) << "frame " << frame << " differs from " << golden << ".gz";
}

} // namespace
