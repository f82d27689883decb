// Whole frames on a real context: the state InitScene sets and every frame
// leaves behind, empty windows, the warp's streaks, the overlay's bar and the
// encounter's golden frames.
#include <algorithm>
#include <cmath>

#include "backdrop/backdrop.h"
#include "scene/scene.h"
#include "settings/settings.h"
#include "ship/ship.h"
#include "support/gl_fixture.h"
#include "surface/surface.h"

namespace {

void expectPerspective(double aspect)
{
    const auto m = glMatrix(GL_PROJECTION_MATRIX);
    const double f = 1 / std::tan(22.5 * 3.141592653589793 / 180);
    EXPECT_NEAR(m[0] * aspect / f, 1, 1e-6);  // a float matrix: relative
    EXPECT_NEAR(m[5], f, 1e-5);
    EXPECT_NEAR(m[10], -301.0 / 299.0, 1e-5);
    EXPECT_NEAR(m[14], -600.0 / 299.0, 1e-5);
}

TEST(StartupState, DepthShadingPerspectiveOneHeadlightAndLinearFogSetUpButOff)
{
    startTestScene();
    for (GLenum on : {GL_DEPTH_TEST, GL_COLOR_MATERIAL, GL_NORMALIZE, GL_LINE_SMOOTH, GL_LIGHTING, GL_LIGHT0})
        EXPECT_TRUE(glEnabled(on)) << on;
    EXPECT_FALSE(glEnabled(GL_LIGHT1) || glEnabled(GL_FOG));
    for (const auto& [name, value] : {std::pair<GLenum, GLint>{GL_DEPTH_FUNC, GL_LESS}, {GL_SHADE_MODEL, GL_SMOOTH},
                                      {GL_MATRIX_MODE, GL_MODELVIEW}, {GL_COLOR_MATERIAL_FACE, GL_FRONT_AND_BACK},
                                      {GL_COLOR_MATERIAL_PARAMETER, GL_AMBIENT_AND_DIFFUSE}, {GL_FOG_MODE, GL_LINEAR}})
        EXPECT_EQ(glInteger(name), value) << name;
    expectPerspective(static_cast<double>(TestWidth) / TestHeight);
    const struct { GLenum light, name; GLfloat want[4]; } vectors[] = {
        {0, GL_COLOR_CLEAR_VALUE, {0, 0, 0, 0}}, {0, GL_DEPTH_CLEAR_VALUE, {1}}, {0, GL_FOG_COLOR, {0, 0, 0, 1}},
        {0, GL_FOG_DENSITY, {0.5f}}, {0, GL_FOG_START, {290}}, {0, GL_FOG_END, {300}},
        {GL_LIGHT0, GL_AMBIENT, {0, 0, 0, 1}}, {GL_LIGHT0, GL_DIFFUSE, {1, 1, 1, 1}},
        {GL_LIGHT0, GL_SPECULAR, {1, 1, 1, 1}}, {GL_LIGHT0, GL_POSITION, {0, 0, 10, 1}}};  // eye coordinates
    for (const auto& c : vectors) {
        GLfloat v[4] = {};
        c.light ? glGetLightfv(c.light, c.name, v) : glGetFloatv(c.name, v);
        EXPECT_TRUE(std::equal(v, v + 4, c.want)) << c.name << ": " << v[0] << " " << v[1] << " " << v[2] << " " << v[3];
    }
}

TEST(ResizeScene, EmptyWindowsProjectAsOnePixelWithoutErrors)
{
    startTestScene();
    for (const auto& [width, height] : {std::pair{200, 0}, {0, 100}, {0, 0}, {320, 0}}) {
        SCOPED_TRACE(testing::Message() << width << "x" << height);
        const float w = static_cast<float>(std::max(width, 1)), h = static_cast<float>(std::max(height, 1));
        SetupGlState(width, height);
        expectPerspective(w / h);
        ResizeScene(width, height);
        frame(3);  // the frames keep the new size
        const auto ortho = glMatrix(GL_PROJECTION_MATRIX);  // the overlay's
        EXPECT_FLOAT_EQ(static_cast<float>(ortho[0]), 2 / w);
        EXPECT_FLOAT_EQ(static_cast<float>(ortho[5]), 2 / h);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_TRUE(viewport[2] == width && viewport[3] == h);
        ResizeView(width, height);
        EXPECT_EQ(glInteger(GL_MATRIX_MODE), GL_MODELVIEW);
        expectPerspective(w / h);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

TEST(Frame, StreaksOnlyInWarpAndDropOut)
{
    const auto colouredPixels = [] {  // blue clearly over red, or red and green clearly over blue
        const std::vector<Pixel> f = readFrame();
        return std::count_if(f.begin(), f.end(), [](const Pixel& p) {
            return p.b > p.r + 40 || (p.r > p.b + 40 && p.g > p.b + 40);
        });
    };
    startTestScene();
    const float eye[3] = {0, 30, 0}, target[3] = {-1, 30, 0};  // above the ship, looking down the stream
    lookFrom(eye, target);
    frame(2);
    EXPECT_EQ(colouredPixels(), 0);
    warp.warpWait = 1e9f;
    for (const WarpState state : {InWarp, DropOut}) {
        warp.warpState = state;
        warp.warpStateStart = SceneClock;  // the drop-out's first moments
        frame(2);
        EXPECT_GT(colouredPixels(), 100) << state;
    }
}

// The bar over the panel (at x 10), against the frame without one: its
// extent, and green or red where it is not yellow.
TEST(Overlay, EnergyBarHeightAndColourFollowTheEnergy)
{
    startTestScene();
    settings.activeStarCount = settings.activeWarpLineCount = 0;
    const float eye[3] = {0, 0, 60}, target[3] = {0, 0, 120};  // facing away from the ship: only the overlay shows
    lookFrom(eye, target);
    const auto barAt = [](float energy) {
        overlay.panelOffset = 9;  // moves to 10 in this frame
        encounter.lastEnergyChange = SceneClock + 1;
        encounter.energyLevel = energy;
        frame();
        return readFrame();
    };
    const std::vector<Pixel> none = barAt(-0.5f);
    const int foot = TestHeight - 152;
    const struct { float energy; int top; bool green, red; } cases[] = {  // top -1: no bar
        {1.0f, foot + 118, true, false}, {0.5f, foot + 59, false, false}, {0.1f, foot + 11, false, true},
        {0.0f, -1, false, false}};
    for (const auto& c : cases) {
        const std::vector<Pixel> with = barAt(c.energy);
        int lowest = 1 << 30, highest = -1, left = 1 << 30, right = -1, greener = 0, redder = 0;
        for (size_t i = 0; i < with.size(); ++i) {
            const Pixel &a = with[i], &b = none[i];
            if (a.r == b.r && a.g == b.g && a.b == b.b)
                continue;
            const int x = static_cast<int>(i) % TestWidth, y = static_cast<int>(i) / TestWidth;
            lowest = std::min(lowest, y), highest = std::max(highest, y);
            left = std::min(left, x), right = std::max(right, x);
            greener += a.g - b.g > a.r - b.r + 20;
            redder += a.r - b.r > a.g - b.g + 20;
        }
        EXPECT_NEAR(highest, c.top, c.energy == 0.5f ? 1 : 0) << c.energy;  // 59.5 rows at half
        EXPECT_TRUE(c.top < 0 || (lowest == foot && left == 12 && right == 12 + 27)) << c.energy;
        EXPECT_TRUE(c.green ? greener > 28 * 119 / 2 : greener == 0) << c.energy;
        EXPECT_EQ(redder > 0, c.red) << c.energy;
    }
}

TEST(Encounter, GoldenFramesOfTheApproachTheBeamWithTheBubbleTheBurstAndThePanel)
{
    const struct { const char* golden; float eye[3], target[3], cube[3]; void (*set)(); } views[] = {
        {"encounter_cube_approach", {-20, 15, 30}, {30, 10, -40}, {0, 0, 0}, [] {
             encounter.encounterMode = Approach;
             const float base[3] = {45, 20, -60};
             for (int axis = 0; axis < 3; ++axis)
                 encounter.encounterStart[axis] = 2 * (encounter.encounterBase[axis] = base[axis]);
             warp.warpStateStart = SceneClock - 6;  // part of the way in
             frame();
         }},
        {"encounter_beam_bubble", {-10, 25, 35}, {10, 0, -5}, {60, 10, -40}, [] {
             frame();
             encounter.beam = {true, true, SceneClock, {60, 10, -40}, {}, 112};
             std::copy_n(shipMesh.meshVertices[112], 3, encounter.beam.target);
             encounter.energyLevel = 0.9f;
         }},
        {"encounter_debris", {-4, 8, 14}, {3, 1, 0}, {60, 10, -40}, [] { frame(), hitHull(112), frame(11); }},
        {"overlay_panel", {25, 5, 10}, {0.5f, 0, 0}, {0, 0, 0}, [] {
             encounter.encounterMode = NoEncounter;
             encounter.energyLevel = 0.6f;
             encounter.lastEnergyChange = SceneClock;
             overlay.panelOffset = 9;
         }},
    };
    for (const auto& v : views) {
        startTestScene();
        warp.warpWait = 1e9f;
        encounter.encounterMode = Standoff;
        std::copy_n(v.cube, 3, encounter.cubePosition);
        encounter.lastEnergyChange = -100;  // the panel hidden
        lookFrom(v.eye, v.target);
        v.set();
        frame();
        EXPECT_TRUE(matchesGolden(v.golden));
    }
}

} // namespace
