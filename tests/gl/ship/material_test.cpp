// The material palette in a real context: what setMaterial leaves in GL's
// state, and that it leaves the state alone when the code is current.
#include <gtest/gtest.h>

#include <array>

#include "gl/gl_context.h"
#include "ship/ship.h"

namespace {

using Rgba = std::array<float, 4>;

void expectState(const Rgba& emission, const Rgba& colour, int code)
{
    Rgba actualEmission{}, actualColour{};
    glGetMaterialfv(GL_FRONT, GL_EMISSION, actualEmission.data());
    glGetFloatv(GL_CURRENT_COLOR, actualColour.data());
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(actualEmission[i], emission[i], 1e-6f) << "emission of code " << code << ", component " << i;
        EXPECT_NEAR(actualColour[i], colour[i], 1e-6f) << "colour of code " << code << ", component " << i;
    }
}

TEST(Palette, EachCodeSetsItsEmissionAndColour)
{
    startTestScene();
    const Rgba black = {0, 0, 0, 1}, red = {0.5f, 0, 0, 1}, blue = {0, 0, 0.5f, 1}, white = {1, 1, 1, 1};
    const Rgba green = {0, 1, 0, 0.5f}, grey = {0.5f, 0.5f, 0.5f, 0.5f};
    const struct {
        int code;
        Rgba emission, colour;
    } rows[] = {
        {1, blue, {0, 0, 0.5f, 1}},              {2, black, {0.25f, 0, 0, 1}},
        {3, black, {0, 0, 0, 0.5f}},             {4, red, {0.5f, 0, 0, 0.5f}},
        {5, black, {0.49f, 0.49f, 0.49f, 0.5f}}, {6, black, {0, 0, 0.25f, 0.5f}},
        {7, black, {0.25f, 0.25f, 0.25f, 0.5f}}, {8, white, {1, 1, 1, 1}},
        {9, black, {0.75f, 0.75f, 0.75f, 1}},    {10, black, grey},
        {11, green, {0, 1, 0, 0.5f}},            {12, red, {0.5f, 0.5f, 0, 0.5f}},
        {13, black, {0.25f, 0.25f, 1, 0.25f}},   {14, grey, {0.5f, 0.5f, 0.5f, 0.35f}},
        {0, black, grey},                        {15, black, grey},  // any other code: plain grey
        {-1, black, grey},
    };
    for (const auto& row : rows) {
        setMaterial(row.code);
        EXPECT_EQ(currentMaterial, row.code);
        expectState(row.emission, row.colour, row.code);
    }
}

TEST(Palette, OnlyAChangeOfCodeIssuesCalls)
{
    startTestScene();
    currentMaterial = NoMaterial;
    const Rgba direct = {0.1f, 0.2f, 0.3f, 0.4f}, otherEmission = {0.2f, 0.2f, 0.2f, 1};
    Rgba emission{};
    glGetMaterialfv(GL_FRONT, GL_EMISSION, emission.data());
    glColor4fv(direct.data());
    setMaterial(NoMaterial);  // current at start
    expectState(emission, direct, NoMaterial);

    setMaterial(RedGlow);
    glMaterialfv(GL_FRONT, GL_EMISSION, otherEmission.data());
    glColor4fv(direct.data());
    setMaterial(RedGlow);  // still current: the direct changes stay
    expectState(otherEmission, direct, RedGlow);

    setMaterial(DarkRed);
    setMaterial(RedGlow);  // a change back applies the row again
    expectState({0.5f, 0, 0, 1}, {0.5f, 0, 0, 0.5f}, RedGlow);
}

} // namespace
