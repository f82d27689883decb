// quelmar-render as a whole program: its options, exit codes and PNG files.
// Its trace is checked by the long runs (tests/e2e/render).
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "render/options.h"
#include "support/temp_dir.h"

namespace {

// The exit code and the output (standard error and output together).
std::pair<int, std::string> render(const std::string& arguments)
{
    std::string output;
    FILE* pipe = popen((std::string(QUELMAR_RENDER) + " " + arguments + " 2>&1").c_str(), "r");
    char buffer[4096];
    for (size_t n; pipe && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    const int status = pipe ? pclose(pipe) : -1;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST(RenderOptions, BadOptionsGiveOneLineAndExitCodeTwo)
{
    const std::string long9 = std::string(10000, '9') + "x";  // a 10,000-character value
    for (const std::string& bad : std::vector<std::string>{
             "--frames", "--frames -1", "--fps 0", "--fps abc", "--width 0", "--height 99999", "--bogus", "--every 2",
             "--png /tmp/x --every 0", "--png /tmp/x --every 2 --at 1", "--at 1,x --png /tmp/x", "--eye 1,2",
             "--start-seconds 99999999999", "--fps=", "--help=1", "--fps 1e-300", "--fps 0.0099", "--fps 10001",
             "--fps nan", "--fps '12\n34'", "'--x\ty'", "--frames 1e3", "--elapsed -1", "--elapsed 1000000001",
             "--fps " + long9, "--bogus" + long9, "--png /tmp/x --at " + long9}) {
        const auto [status, output] = render(bad);
        EXPECT_EQ(status, 2) << bad;
        EXPECT_TRUE(output.rfind("quelmar-render: ", 0) == 0 && output.find('\n') == output.size() - 1 &&
                    output.size() < 200) << output.substr(0, 200);
    }
}

TEST(RenderOptions, ValuesAfterAnEqualsSignAndThePngSelection)
{
    const char* argv[] = {"quelmar-render", "--eye=-30,20.5,40", "--frames=7", "--look", "1,2,3"};
    RenderOptions options;
    std::string error;
    ASSERT_TRUE(parseRenderOptions(5, const_cast<char**>(argv), options, error)) << error;
    EXPECT_TRUE(options.eye[0] == -30 && options.eye[1] == 20.5f && options.frames == 7 && options.look[2] == 3);
    EXPECT_TRUE(options.fixedView);
    options.pngDir.push_back('x');  // not = "x": GCC 12 misreads it at -O3 (-Wrestrict)
    EXPECT_TRUE(wantsPng(options, 7));  // every frame by default
    options.every = 3;
    EXPECT_TRUE(wantsPng(options, 6) && !wantsPng(options, 4));
    options.every = 0;
    options.at = {2, 5};
    EXPECT_TRUE(wantsPng(options, 5) && !wantsPng(options, 3));
    options.pngDir.clear();
    EXPECT_FALSE(wantsPng(options, 5));
}

TEST(RenderPng, WritesTheChosenFramesAtTheirSizeIntoANewFolder)
{
    TempDir dir;
    const auto [status, output] = render("--start-seconds 1000 --frames 10 --width 40 --height 30 --settings "
                                         "/nonexistent.ini --png " + dir.path("out/deeper") + " --at 0,9");
    ASSERT_EQ(status, 0) << output;
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path("out/deeper")))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"frame-000000.png", "frame-000009.png"}));
    const std::string png = readText(dir.path("out/deeper/frame-000009.png"));
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_EQ(png.substr(16, 8), std::string("\0\0\0\x28\0\0\0\x1e", 8));  // 40 x 30, big-endian
}

} // namespace
