// Drawing the ship in a real context: what reaches GL, checked through
// feedback mode, and what lands in the frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "backdrop/backdrop.h"
#include "gl/gl_context.h"
#include "gl/ship/ship_view.h"
#include "scene/scene.h"
#include "settings/settings.h"
#include "ship/ship.h"
#include "textures/textures.h"

namespace {

constexpr float Tolerance = 2e-3f;

class ShipDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        startTestScene();
        SceneClock = 1.5f;  // light points off unless a test wants them
        warp.podAngle = 0;
    }
    void TearDown() override
    {
        for (uint32_t& name : TextureNames)
            name = 0;
        glDeleteTextures(1, &testTexture);
        camera = {};
        glLoadIdentity();  // the next scene start places its light under this matrix
    }

    // A 1 x 1 texture of one colour, in place of every ship slot.
    void bindTestTexture(unsigned char r, unsigned char g, unsigned char b)
    {
        const unsigned char pixel[4] = {r, g, b, 255};
        glGenTextures(1, &testTexture);
        glBindTexture(GL_TEXTURE_2D, testTexture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        for (int slot = 1; slot <= 4; ++slot)
            TextureNames[slot] = testTexture;
    }

    GLuint testTexture = 0;
};

void expectAt(const FeedbackVertex& v, const float* p, const char* what)
{
    EXPECT_NEAR(v.x, p[0], Tolerance) << what;
    EXPECT_NEAR(v.y, p[1], Tolerance) << what;
    EXPECT_NEAR(v.z, p[2], 20 * Tolerance) << what;
}

const float* vertexAt(int v) { return shipMesh.meshVertices[v]; }

bool near(const FeedbackVertex& v, const float* p)
{
    return std::fabs(v.x - p[0]) < Tolerance && std::fabs(v.y - p[1]) < Tolerance &&
           std::fabs(v.z - p[2]) < 20 * Tolerance;
}

// Feedback keeps a polygon's cyclic order but may start it at any corner.
void expectCycle(const FeedbackPrimitive& polygon, const float* const (&corners)[3], const char* what)
{
    ASSERT_EQ(polygon.vertices.size(), 3u) << what;
    for (size_t start = 0; start < 3; ++start)
        if (near(polygon.vertices[start], corners[0])) {
            expectAt(polygon.vertices[(start + 1) % 3], corners[1], what);
            expectAt(polygon.vertices[(start + 2) % 3], corners[2], what);
            return;
        }
    ADD_FAILURE() << what << ": no corner at (" << corners[0][0] << ", " << corners[0][1] << ", " << corners[0][2]
                  << ")";
}

TEST_F(ShipDrawing, FacesGoOutCornerCFirst)
{
    feedbackView();
    const auto drawn = feedbackOf([] { drawFaces(shipMesh.hullFaces, 2, shipMesh.hullNormals); });
    const auto polygons = primitivesOf(drawn, GL_POLYGON_TOKEN);
    ASSERT_EQ(polygons.size(), 2u);
    for (int r = 0; r < 2; ++r) {
        const MeshFace& f = shipMesh.hullFaces[r];
        expectCycle(polygons[static_cast<size_t>(r)], {vertexAt(f.c), vertexAt(f.b), vertexAt(f.a)}, "c, b, a");
    }
    EXPECT_TRUE(feedbackOf([] { drawFaces(shipMesh.hullFaces, 0, shipMesh.hullNormals); }).empty());
}

TEST_F(ShipDrawing, WholeShipOneFaceAPolygonThenLinesAndBlinkingLights)
{
    feedbackView();
    const int faces = HullFaceCount + UnderPanelFaceCount + 2 * PodFaceCount + RearPanelFaceCount;
    const GLint depth = glInteger(GL_MODELVIEW_STACK_DEPTH);
    const auto drawn = feedbackOf(drawShip);
    EXPECT_EQ(primitivesOf(drawn, GL_POLYGON_TOKEN).size(), static_cast<size_t>(faces));
    EXPECT_EQ(primitivesOf(drawn, GL_LINE_TOKEN).size(), static_cast<size_t>(MeshLineCount));
    EXPECT_TRUE(primitivesOf(drawn, GL_POINT_TOKEN).empty());  // T = 1.5
    EXPECT_EQ(glInteger(GL_MODELVIEW_STACK_DEPTH), depth);
    EXPECT_FALSE(glEnabled(GL_BLEND));
    EXPECT_EQ(glInteger(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(glInteger(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);

    // On in every whole second that is a multiple of 3, counted toward zero,
    // at any size of T.
    const struct {
        float t;
        bool on;
    } times[] = {{0, true},     {0.999f, true},  {1, false},        {2.9f, false},   {3.2f, true},
                 {-0.5f, true}, {-1.5f, false},  {3e9f, true},      {1e10f, false},  {-3e9f, true}};
    for (const auto& time : times) {
        SceneClock = time.t;
        const auto points = primitivesOf(feedbackOf(drawShip), GL_POINT_TOKEN);
        ASSERT_EQ(points.size(), time.on ? 3u : 0u) << "T = " << time.t;
        if (time.on)
            for (int k = 0; k < 3; ++k)
                expectAt(points[static_cast<size_t>(k)].vertices[0], vertexAt(shipMesh.lightPoints[k]), "light");
    }
}

TEST_F(ShipDrawing, ThePodsSwingUpAboutTheirHinges)
{
    feedbackView();
    warp.podAngle = 40;
    const auto polygons = feedbackOf(drawShip);
    const auto faces = primitivesOf(polygons, GL_POLYGON_TOKEN);
    const size_t podA = HullFaceCount + UnderPanelFaceCount, podB = podA + PodFaceCount;
    const double angle = 40 * 3.14159265358979 / 180;
    for (int r = 0; r < PodFaceCount; r += 9)
        for (const auto& [first, table, pivotVertex, sign] :
             {std::make_tuple(podA, shipMesh.podFacesA, PodPivotA, 1.0),
              std::make_tuple(podB, shipMesh.podFacesB, PodPivotB, -1.0)}) {
            const MeshFace& f = table[r];
            const float* pivot = vertexAt(pivotVertex);
            const int corners[3] = {f.c, f.b, f.a};
            float expected[3][3];
            for (int k = 0; k < 3; ++k) {
                const float* p = vertexAt(corners[k]);
                const double y = p[1] - pivot[1], z = p[2] - pivot[2], a = sign * angle;
                expected[k][0] = p[0];
                expected[k][1] = static_cast<float>(pivot[1] + y * std::cos(a) - z * std::sin(a));
                expected[k][2] = static_cast<float>(pivot[2] + y * std::sin(a) + z * std::cos(a));
            }
            expectCycle(faces[first + static_cast<size_t>(r)], {expected[0], expected[1], expected[2]}, "pod corner");
        }
    // A point one unit outboard of a hinge rises to sin 40 and moves in to cos 40.
    const float* hingeA = vertexAt(PodPivotA);
    glLoadIdentity();
    glTranslatef(hingeA[0], hingeA[1], hingeA[2]);
    glRotatef(warp.podAngle, 1, 0, 0);
    const float outboard[3] = {0, 0, -1};
    const auto moved = primitivesOf(feedbackOf([&] {
                                        glBegin(GL_POINTS);
                                        glVertex3fv(outboard);
                                        glEnd();
                                    }),
                                    GL_POINT_TOKEN);
    ASSERT_EQ(moved.size(), 1u);
    const float expected[3] = {hingeA[0], hingeA[1] + std::sin(40 * 3.14159265f / 180),
                               hingeA[2] - std::cos(40 * 3.14159265f / 180)};
    expectAt(moved[0].vertices[0], expected, "outboard point");
}

TEST_F(ShipDrawing, LinesSitJustOffTheHullAwayFromTheMiddlePlane)
{
    feedbackView();
    const auto lines = primitivesOf(feedbackOf([] { drawMeshLines(shipMesh.meshLines, MeshLineCount); }),
                                    GL_LINE_TOKEN);
    ASSERT_EQ(lines.size(), static_cast<size_t>(MeshLineCount));
    for (int i = 0; i < MeshLineCount; ++i) {
        const int ends[2] = {shipMesh.meshLines[i].from, shipMesh.meshLines[i].to};
        for (int k = 0; k < 2; ++k) {
            const float* p = vertexAt(ends[k]);
            const float lifted[3] = {p[0], p[1] > 0 ? p[1] + 0.05f : p[1] - 0.05f, p[2]};
            expectAt(lines[static_cast<size_t>(i)].vertices[static_cast<size_t>(k)], lifted, "line end");
        }
    }
    EXPECT_EQ(glInteger(GL_LINE_WIDTH), 3);
    // An end with y exactly 0 goes down: the nose.
    const MeshLine toNose = {0, 112, AccentLine, AccentLine};
    const auto nose = primitivesOf(feedbackOf([&] { drawMeshLines(&toNose, 1); }), GL_LINE_TOKEN);
    ASSERT_EQ(nose.size(), 1u);
    EXPECT_NEAR(nose[0].vertices[0].y, -0.05f, Tolerance);
}

TEST_F(ShipDrawing, AFaceWithOneTexturedCornerIsTexturedWhole)
{
    feedbackView();
    bindTestTexture(255, 0, 0);
    MeshFace face = shipMesh.hullFaces[0];
    face.codeB = TexturedGrey;
    face.slot = 2;
    face.sA = 0.1f, face.tA = 0.2f, face.sB = 0.3f, face.tB = 0.4f, face.sC = 0.5f, face.tC = 0.6f;
    glTexCoord2f(7, 7);
    settings.textureDetail = 1;
    const auto textured = primitivesOf(feedbackOf([&] { drawFaces(&face, 1, shipMesh.hullNormals); }),
                                       GL_POLYGON_TOKEN);
    ASSERT_EQ(textured.size(), 1u);
    const int corners[3] = {face.c, face.b, face.a};
    const float st[3][2] = {{0.5f, 0.6f}, {0.3f, 0.4f}, {0.1f, 0.2f}};
    for (const FeedbackVertex& v : textured[0].vertices)
        for (int k = 0; k < 3; ++k)
            if (near(v, vertexAt(corners[k]))) {
                EXPECT_FLOAT_EQ(v.s, st[k][0]);
                EXPECT_FLOAT_EQ(v.t, st[k][1]);
            }
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), static_cast<GLint>(TextureNames[2]));
    EXPECT_FALSE(glEnabled(GL_TEXTURE_2D));

    // Without texture detail nothing about textures is issued.
    glTexCoord2f(7, 7);
    settings.textureDetail = 0;
    const auto plain = primitivesOf(feedbackOf([&] { drawFaces(&face, 1, shipMesh.hullNormals); }),
                                    GL_POLYGON_TOKEN);
    ASSERT_EQ(plain.size(), 1u);
    for (const FeedbackVertex& v : plain[0].vertices)
        EXPECT_TRUE(v.s == 7 && v.t == 7);
}

TEST_F(ShipDrawing, TheFirstCornerIsColouredEvenAfterDirectColourChanges)
{
    feedbackView();
    setMaterial(PlainGrey);
    glColor4f(1, 0, 1, 1);  // someone else's colour, unknown to the palette
    const auto faces = primitivesOf(feedbackOf(drawShip), GL_POLYGON_TOKEN);
    ASSERT_FALSE(faces.empty());
    const FeedbackVertex& first = faces[0].vertices[0];  // hull record 0, code 0
    EXPECT_NEAR(first.g, first.r, 1e-4f);
    EXPECT_NEAR(first.b, first.r, 1e-4f);
}

// ---- Pixels ------------------------------------------------------------------

TEST_F(ShipDrawing, TheShipFillsTheMiddleOfAFrameLookingAtIt)
{
    camera.fixedView = true;
    const float eyes[3][3] = {{30, 10, 20}, {-25, 5, -20}, {5, -30, 10}};
    for (const auto& eye : eyes) {
        for (int axis = 0; axis < 3; ++axis) {
            camera.fixedEye[axis] = eye[axis];
            camera.fixedTarget[axis] = 0;
        }
        setClock(1000001, 500000);
        drawFrame();
        const Pixel centre = readPixel(TestWidth / 2, TestHeight / 2);
        EXPECT_GT(std::max({centre.r, centre.g, centre.b}), 40) << "eye " << eye[0] << ", " << eye[1] << ", "
                                                                 << eye[2];
    }
}

// The highest lit row in the columns left and right of the hull.
int topOfPods()
{
    const std::vector<Pixel> frame = readFrame();
    for (int y = TestHeight - 1; y >= 0; --y)
        for (int x = 0; x < TestWidth; ++x) {
            if (std::abs(x - TestWidth / 2) < TestWidth / 6)
                continue;
            const Pixel& p = frame[static_cast<size_t>(y * TestWidth + x)];
            if (std::max({p.r, p.g, p.b}) > 8)
                return y;
        }
    return -1;
}

TEST_F(ShipDrawing, PodsAtFortyDegreesRiseInTheFrame)
{
    // From straight behind, the pods are the only parts far out to the sides.
    drawShipFrom(-30, 0, 0, 0, 0, 0);
    const int down = topOfPods();
    warp.podAngle = 40;
    drawShipFrom(-30, 0, 0, 0, 0, 0);
    const int up = topOfPods();
    ASSERT_GT(down, 0);
    EXPECT_GT(up, down + 10);
}

TEST_F(ShipDrawing, TexturedFacesShowGreyWithoutTextureDetail)
{
    bindTestTexture(255, 0, 0);
    // The middle of the name plate, hull record 121, seen from above and ahead.
    const MeshFace& plate = shipMesh.hullFaces[121];
    float centre[3] = {};
    for (int v : {plate.a, plate.b, plate.c})
        for (int axis = 0; axis < 3; ++axis)
            centre[axis] += vertexAt(v)[axis] / 3;
    auto pixelOnPlate = [&] {
        drawShipFrom(centre[0] + 6, centre[1] + 12, centre[2] + 2, centre[0], centre[1], centre[2]);
        GLdouble modelview[16], projection[16], x, y, z;
        GLint viewport[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        gluProject(centre[0], centre[1], centre[2], modelview, projection, viewport, &x, &y, &z);
        return readPixel(static_cast<int>(x), static_cast<int>(y));
    };
    settings.textureDetail = 0;
    const Pixel grey = pixelOnPlate();
    EXPECT_GT(grey.r, 30);
    EXPECT_NEAR(grey.g, grey.r, 2);
    EXPECT_NEAR(grey.b, grey.r, 2);

    settings.textureDetail = 2;
    const Pixel red = pixelOnPlate();
    EXPECT_GT(red.r, 30);
    EXPECT_LT(red.g, 3);
    EXPECT_LT(red.b, 3);
}

TEST_F(ShipDrawing, CullingBackFacesRemovesNothingVisible)
{
    // Every face a camera sees is turned towards it, so dropping the faces
    // turned away leaves the frame as it was, but for single pixels on
    // silhouettes, where a face folding away ties in depth with its front
    // neighbour. A face turned the wrong way shows as a patch instead.
    const float eyes[][3] = {{30, 0, 0},   {-30, 0, 0}, {0, 30, 0.1f}, {0, -30, 0.1f}, {0, 0, 30},
                             {0, 0, -30},  {20, 15, 20}, {-20, -15, 20}, {-18, 12, -24}, {15, -20, -18}};
    for (const float podAngle : {0.0f, 40.0f}) {
        warp.podAngle = podAngle;
        for (const auto& eye : eyes) {
            drawShipFrom(eye[0], eye[1], eye[2], 0, 0, 0);
            const std::vector<Pixel> all = readFrame();
            glEnable(GL_CULL_FACE);
            glCullFace(GL_BACK);
            glFrontFace(GL_CCW);
            drawShipFrom(eye[0], eye[1], eye[2], 0, 0, 0);
            glDisable(GL_CULL_FACE);
            const std::vector<Pixel> culled = readFrame();
            auto differs = [&](int x, int y) {
                const size_t i = static_cast<size_t>(y * TestWidth + x);
                return all[i].r != culled[i].r || all[i].g != culled[i].g || all[i].b != culled[i].b;
            };
            int patches = 0, lit = 0;
            for (int y = 0; y + 1 < TestHeight; ++y)
                for (int x = 0; x + 1 < TestWidth; ++x) {
                    patches += differs(x, y) && differs(x + 1, y) && differs(x, y + 1) && differs(x + 1, y + 1);
                    const Pixel& p = all[static_cast<size_t>(y * TestWidth + x)];
                    lit += std::max({p.r, p.g, p.b}) > 8;
                }
            EXPECT_GT(lit, 1000);
            EXPECT_EQ(patches, 0) << "eye " << eye[0] << ", " << eye[1] << ", " << eye[2] << ", pods at " << podAngle;
        }
    }
}

} // namespace
