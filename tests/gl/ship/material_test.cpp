// The material palette in a real context: what setMaterial leaves in GL's
// state, and that it leaves the state alone when the code is current.
#include <gtest/gtest.h>

#include <array>

#include "gl/gl_context.h"
#include "ship/ship.h"

namespace {

using Rgba = std::array<float, 4>;

Rgba emission()
{
    Rgba value{};
    glGetMaterialfv(GL_FRONT, GL_EMISSION, value.data());
    return value;
}

Rgba colour()
{
    Rgba value{};
    glGetFloatv(GL_CURRENT_COLOR, value.data());
    return value;
}

void expectRgba(const Rgba& actual, const Rgba& expected, const char* what, int code)
{
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(actual[static_cast<size_t>(i)], expected[static_cast<size_t>(i)], 1e-6f)
            << what << " of code " << code << ", component " << i;
}

class Palette : public ::testing::Test {
protected:
    void SetUp() override
    {
        startTestScene();
        currentMaterial = NoMaterial;
    }
};

TEST_F(Palette, EachCodeSetsItsEmissionAndColour)
{
    const Rgba black = {0, 0, 0, 1}, red = {0.5f, 0, 0, 1}, blue = {0, 0, 0.5f, 1}, white = {1, 1, 1, 1};
    const Rgba green = {0, 1, 0, 0.5f}, grey = {0.5f, 0.5f, 0.5f, 0.5f};
    struct Row {
        int code;
        Rgba emission, colour;
    };
    const Row rows[] = {
        {1, blue, {0, 0, 0.5f, 1}},          {2, black, {0.25f, 0, 0, 1}},
        {3, black, {0, 0, 0, 0.5f}},         {4, red, {0.5f, 0, 0, 0.5f}},
        {5, black, {0.49f, 0.49f, 0.49f, 0.5f}}, {6, black, {0, 0, 0.25f, 0.5f}},
        {7, black, {0.25f, 0.25f, 0.25f, 0.5f}}, {8, white, {1, 1, 1, 1}},
        {9, black, {0.75f, 0.75f, 0.75f, 1}}, {10, black, {0.5f, 0.5f, 0.5f, 0.5f}},
        {11, green, {0, 1, 0, 0.5f}},        {12, red, {0.5f, 0.5f, 0, 0.5f}},
        {13, black, {0.25f, 0.25f, 1, 0.25f}}, {14, grey, {0.5f, 0.5f, 0.5f, 0.35f}},
        // Any other code: the plain grey row.
        {0, black, grey},                    {15, black, grey},
        {-1, black, grey},
    };
    for (const Row& row : rows) {
        setMaterial(row.code);
        EXPECT_EQ(currentMaterial, row.code);
        expectRgba(emission(), row.emission, "emission", row.code);
        expectRgba(colour(), row.colour, "colour", row.code);
    }
}

TEST_F(Palette, TheCurrentCodeIssuesNoCalls)
{
    // 999 is current at start: nothing happens.
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    setMaterial(NoMaterial);
    expectRgba(colour(), {0.1f, 0.2f, 0.3f, 0.4f}, "colour", NoMaterial);

    setMaterial(RedGlow);
    const GLfloat otherEmission[4] = {0.2f, 0.2f, 0.2f, 1};
    glMaterialfv(GL_FRONT, GL_EMISSION, otherEmission);
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    setMaterial(RedGlow);  // still current: the direct changes stay
    expectRgba(colour(), {0.1f, 0.2f, 0.3f, 0.4f}, "colour", RedGlow);
    expectRgba(emission(), {0.2f, 0.2f, 0.2f, 1}, "emission", RedGlow);

    setMaterial(DarkRed);
    setMaterial(RedGlow);  // a change back applies the row again
    expectRgba(colour(), {0.5f, 0, 0, 0.5f}, "colour", RedGlow);
    expectRgba(emission(), {0.5f, 0, 0, 1}, "emission", RedGlow);
}

} // namespace
