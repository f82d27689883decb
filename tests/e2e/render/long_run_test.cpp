// quelmar-render over long runs of scene time, its trace checked line by line:
// 50,000 frames in range, and 3,000 frames exactly as the committed trace.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

// The numbers of field `name` in one trace line: one, or three for a vector.
std::vector<double> field(const std::string& line, const std::string& name)
{
    std::vector<double> out;
    size_t at = line.find("\"" + name + "\":");
    if (at == std::string::npos)
        return out;
    at += name.size() + 3;
    const bool vector = line[at] == '[';
    const char* p = line.c_str() + at + (vector ? 1 : 0);
    for (int i = 0; i < (vector ? 3 : 1); ++i) {
        char* end = nullptr;
        out.push_back(std::strtod(p, &end));
        p = end + 1;
    }
    return out;
}

void expectWithin(const std::string& line, const std::string& name, double low, double high)
{
    const std::vector<double> values = field(line, name);
    ASSERT_FALSE(values.empty()) << name;
    for (double v : values) {
        EXPECT_GE(v, low) << name << " in " << line.substr(0, 40);
        EXPECT_LE(v, high) << name << " in " << line.substr(0, 40);
    }
}

// 50,000 frames (almost 14 minutes of scene time at 60 fps) with an encounter
// forced at the end of the first jump: every value of every frame stays in
// its range, nothing turns into NaN, and the hull gets hit.
TEST(LongRun, StaysInRangeAndHitsTheHull)
{
    TempDir dir;
    writeText(dir.path("s.ini"), "[Quelmar 3D ScreenSaver]\nWarp Pause=360\n");
    const std::string trace = dir.path("trace.jsonl");
    const std::string command = std::string(QUELMAR_RENDER) +
                                " --start-seconds 1000000 --fps 60 --frames 50000 --width 32 --height 24"
                                " --encounter --settings " + dir.path("s.ini") + " --trace " + trace;
    ASSERT_EQ(std::system(command.c_str()), 0);

    std::ifstream in(trace);
    std::string line;
    long frames = 0, encounterFrames = 0;
    double lastT = -1, lastHits = 0;
    while (std::getline(in, line)) {
        ++frames;
        ASSERT_EQ(line.find("nan"), std::string::npos) << line;
        ASSERT_EQ(line.find("inf"), std::string::npos) << line;
        const double t = field(line, "T")[0];
        EXPECT_GT(t, lastT);
        lastT = t;
        expectWithin(line, "warpState", 0, 6);
        expectWithin(line, "encounterMode", 0, 2);
        expectWithin(line, "podAngle", 0, 40);
        expectWithin(line, "shipStretch", 0, 10);
        expectWithin(line, "flashScale", 0, 0.75);
        expectWithin(line, "warpLineSpeed", 0.1, 0.5);
        expectWithin(line, "warpLineStretch", 0.05, 1);
        expectWithin(line, "cameraSelect", 0, 5);
        expectWithin(line, "cameraDistance", 10, 39);
        expectWithin(line, "cameraEye", -40, 40);
        expectWithin(line, "energyLevel", -1, 1.0015);
        expectWithin(line, "panelOffset", -65, 10);
        expectWithin(line, "beamVertex", 0, 358);
        expectWithin(line, "encounterBase", -75, 74);
        const double hits = field(line, "hullHits")[0];
        EXPECT_GE(hits, lastHits);
        lastHits = hits;
        if (field(line, "encounterMode")[0] != 0) {
            ++encounterFrames;
            expectWithin(line, "cubePosition", -225, 225);
        } else {
            EXPECT_EQ(field(line, "cubePosition")[0], 999);
        }
    }
    EXPECT_EQ(frames, 50000);
    EXPECT_GT(encounterFrames, 5000);
    EXPECT_GT(lastHits, 0);
}

// The output of a shell command.
std::string commandOutput(const std::string& command)
{
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[65536];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

// 100 s at 30 fps, warps and placements every 7.5 to 36.5 s, an encounter
// forced: its approach, beams both ways, the turn, the encounter view and its
// end. Every field of every frame must match the committed trace, so a draw
// taken in another order, or a step run in another order, fails here. Written
// anew by scripts/update-goldens.sh.
TEST(GoldenTrace, EveryFieldOfEveryFrameAsCommitted)
{
    TempDir dir;
    writeText(dir.path("s.ini"), "[Quelmar 3D ScreenSaver]\nWarp Pause=30\nCamera Pause=30\n");
    const std::string trace = dir.path("trace.jsonl");
    const std::string command = std::string(QUELMAR_RENDER) +
                                " --start-seconds 1000007 --fps 30 --frames 3000 --width 32 --height 24"
                                " --encounter --settings " + dir.path("s.ini") + " --trace " + trace;
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string golden = std::string(QUELMAR_SOURCE_DIR) + "/tests/e2e/render/golden/trace.jsonl.gz";
    const char* update = std::getenv("QUELMAR_UPDATE_GOLDENS");
    if (update && *update == '1') {
        ASSERT_EQ(std::system(("gzip -9 -n -c " + trace + " > " + golden).c_str()), 0);
        return;
    }
    const std::string committed = commandOutput("gzip -d -c " + golden);
    ASSERT_FALSE(committed.empty()) << "no golden trace " << golden << " (run scripts/update-goldens.sh)";
    std::ifstream actual(trace);
    std::istringstream expected(committed);
    std::string got, want;
    long frame = 0;
    while (std::getline(expected, want)) {
        ASSERT_TRUE(std::getline(actual, got)) << "the trace ends at frame " << frame;
        if (got != want) {
            const size_t at = std::mismatch(got.begin(), got.end(), want.begin(), want.end()).first - got.begin();
            const size_t key = got.rfind(",\"", at);
            FAIL() << "frame " << frame << " differs from " << golden << " at\n  got  "
                   << got.substr(key, 90) << "\n  want " << want.substr(key, 90);
        }
        ++frame;
    }
    EXPECT_EQ(frame, 3000);
    EXPECT_FALSE(std::getline(actual, got));
}

} // namespace
