// quelmar-render as a whole program: options, the scripted clock, the trace
// and the PNG files.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "render/options.h"
#include "support/temp_dir.h"

namespace {

struct RenderRun {
    int status;
    std::string output;  // standard error and output together
};

RenderRun render(const std::string& arguments)
{
    const std::string command = std::string(QUELMAR_RENDER) + " " + arguments + " 2>&1";
    RenderRun run{-1, ""};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.output.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        out.push_back(text.substr(start, end - start));
    return out;
}

// The number after "name": in one trace line.
double number(const std::string& line, const std::string& name)
{
    const size_t at = line.find("\"" + name + "\":");
    if (at == std::string::npos)
        return NAN;
    return std::strtod(line.c_str() + at + name.size() + 3, nullptr);
}

TEST(RenderOptions, BadOptionsGiveOneLineAndExitCodeTwo)
{
    for (const char* bad : {"--frames", "--frames -1", "--fps 0", "--fps abc", "--width 0",
                            "--height 99999", "--bogus", "--every 2", "--png /tmp/x --every 0",
                            "--png /tmp/x --every 2 --at 1", "--at 1,x --png /tmp/x", "--eye 1,2",
                            "--start-seconds 99999999999", "--fps=", "--help=1"}) {
        const RenderRun run = render(bad);
        EXPECT_EQ(run.status, 2) << bad;
        EXPECT_EQ(lines(run.output).size(), 1u) << bad << ": " << run.output;
        EXPECT_EQ(run.output.rfind("quelmar-render: ", 0), 0u) << run.output;
    }
}

TEST(RenderOptions, ValuesMayFollowAnEqualsSign)
{
    const char* argv[] = {"quelmar-render", "--eye=-30,20.5,40", "--frames=7", "--look", "1,2,3"};
    RenderOptions options;
    std::string error;
    ASSERT_TRUE(parseRenderOptions(5, const_cast<char**>(argv), options, error)) << error;
    EXPECT_EQ(options.eye[0], -30.0f);
    EXPECT_EQ(options.eye[1], 20.5f);
    EXPECT_EQ(options.frames, 7);
    EXPECT_EQ(options.look[2], 3.0f);
    EXPECT_TRUE(options.fixedView);
}

TEST(RenderOptions, PngSelection)
{
    RenderOptions options;
    options.pngDir = "x";
    EXPECT_TRUE(wantsPng(options, 7));  // every frame by default
    options.every = 3;
    EXPECT_TRUE(wantsPng(options, 0));
    EXPECT_FALSE(wantsPng(options, 4));
    EXPECT_TRUE(wantsPng(options, 6));
    options.every = 0;
    options.at = {2, 5};
    EXPECT_TRUE(wantsPng(options, 5));
    EXPECT_FALSE(wantsPng(options, 3));
    options.pngDir.clear();
    EXPECT_FALSE(wantsPng(options, 5));
}

TEST(RenderTrace, OneObjectPerFrameOnTheScriptedClock)
{
    TempDir dir;
    const std::string trace = dir.path("trace.jsonl");
    const RenderRun run = render("--start-seconds 1000000 --fps 30 --frames 100 --width 64 --height 48 "
                           "--settings /nonexistent.ini --trace " + trace);
    ASSERT_EQ(run.status, 0) << run.output;
    const std::vector<std::string> frames = lines(readText(trace));
    ASSERT_EQ(frames.size(), 100u);
    for (size_t k = 0; k < frames.size(); ++k) {
        const std::string& line = frames[k];
        ASSERT_EQ(line.front(), '{');
        ASSERT_EQ(line.back(), '}');
        EXPECT_EQ(number(line, "frame"), static_cast<double>(k));
        // Frame k at S + round(k * 1000 / 30) ms.
        const double ms = std::round(k * 1000.0 / 30);
        EXPECT_NEAR(number(line, "T"), ms / 1000, 1e-6) << k;
        for (const char* field :
             {"randState", "randCalls", "warpState", "warpStateStart", "warpWait", "podAngle",
              "shipStretch", "flashScale", "warpLineSpeed", "warpLineStretch", "cameraWait",
              "cameraLastChange", "encounterMode", "energyLevel", "lastEnergyChange"})
            EXPECT_FALSE(std::isnan(number(line, field))) << field;
        for (const char* vector : {"shipOffset", "shipTurn", "shipTurnTarget", "cameraSelect",
                                   "cameraDistance", "cameraEye", "cameraTarget", "encounterBase",
                                   "cubePosition"})
            EXPECT_NE(line.find(std::string("\"") + vector + "\":["), std::string::npos) << vector;
    }
    // The camera draws three jitter numbers a frame after the first placement.
    EXPECT_EQ(number(frames[2], "randCalls") - number(frames[1], "randCalls"), 3);
}

TEST(RenderTrace, RepeatableAndSeededByTheStart)
{
    TempDir dir;
    const std::string common = "--fps 60 --frames 200 --width 32 --height 32 --settings /nonexistent.ini";
    ASSERT_EQ(render("--start-seconds 5000 " + common + " --trace " + dir.path("a")).status, 0);
    ASSERT_EQ(render("--start-seconds 5000 " + common + " --trace " + dir.path("b")).status, 0);
    ASSERT_EQ(render("--start-seconds 5001 " + common + " --trace " + dir.path("c")).status, 0);
    EXPECT_EQ(readText(dir.path("a")), readText(dir.path("b")));
    EXPECT_NE(readText(dir.path("a")), readText(dir.path("c")));
}

TEST(RenderTrace, SettingsFileIsRead)
{
    TempDir dir;
    writeText(dir.path("s.ini"), "[Quelmar 3D ScreenSaver]\nWarp Pause=30\n");
    // A warp pause of 30 draws waits of 7.5 to 36.5 s: see it on leaving Cruise at 20 s.
    ASSERT_EQ(render("--start-seconds 7 --fps 10 --frames 202 --width 16 --height 16 --settings " +
                     dir.path("s.ini") + " --trace " + dir.path("t"))
                  .status,
              0);
    const std::vector<std::string> frames = lines(readText(dir.path("t")));
    ASSERT_EQ(frames.size(), 202u);
    EXPECT_EQ(number(frames[201], "warpState"), 1);
    const double wait = number(frames[201], "warpWait");
    EXPECT_GE(wait, 7.5);
    EXPECT_LE(wait, 36.5);
}

TEST(RenderPng, WritesTheChosenFramesAtTheirSize)
{
    TempDir dir;
    const RenderRun run = render("--start-seconds 1000 --frames 10 --width 40 --height 30 --settings "
                           "/nonexistent.ini --png " + dir.path("out/deeper") + " --at 0,9");
    ASSERT_EQ(run.status, 0) << run.output;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path("out/deeper")))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    ASSERT_EQ(names, (std::vector<std::string>{"frame-000000.png", "frame-000009.png"}));
    const std::string png = readText(dir.path("out/deeper/frame-000009.png"));
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    // Width and height in the header, big-endian.
    auto be32 = [&](size_t at) {
        return (static_cast<unsigned char>(png[at]) << 24) | (static_cast<unsigned char>(png[at + 1]) << 16) |
               (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
    };
    EXPECT_EQ(be32(16), 40);
    EXPECT_EQ(be32(20), 30);
}

} // namespace
