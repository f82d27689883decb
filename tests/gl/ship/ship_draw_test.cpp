// The ship in a real context: the material palette, what reaches GL (read
// back through feedback mode) and the committed golden frames.
#include <array>
#include <cmath>
#include <vector>

#include "backdrop/backdrop.h"
#include "scene/scene.h"
#include "settings/settings.h"
#include "ship/ship.h"
#include "support/gl_fixture.h"
#include "surface/surface.h"
#include "textures/textures.h"

namespace {

// The five face groups of a ShipMesh as one list, and a face's corners by number.
struct FaceGroup {
    const char* name;
    const MeshFace* faces;
    int count;
};

std::array<FaceGroup, 5> faceGroups(const ShipMesh& mesh)
{
    return {{{"hull", mesh.hullFaces, HullFaceCount},
             {"under panel", mesh.underPanelFaces, UnderPanelFaceCount},
             {"pod A", mesh.podFacesA, PodFaceCount},
             {"pod B", mesh.podFacesB, PodFaceCount},
             {"rear panel", mesh.rearPanelFaces, RearPanelFaceCount}}};
}

struct Corner {
    int vertex;
    float s, t;
};

Corner corner(const MeshFace& f, int k)
{
    return k == 0 ? Corner{f.a, f.sA, f.tA} : k == 1 ? Corner{f.b, f.sB, f.tB} : Corner{f.c, f.sC, f.tC};
}

constexpr float BoxX = 20, BoxY = 15, BoxZ = 50;  // what the feedback view shows, in object units
constexpr float Tolerance = 2e-3f;

struct Vertex { float x, y, z, r, g, b, a, s, t; };
using Primitive = std::vector<Vertex>;
struct Feedback { std::vector<Primitive> polygons, lines, points; };

// Runs `draw` in feedback mode under an orthographic view of the box, with
// an identity modelview: the vertices come back in object coordinates.
template <typename Draw>
Feedback feedbackOf(Draw draw)
{
    static std::vector<GLfloat> buffer(1 << 20);
    glViewport(0, 0, TestWidth, TestHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-BoxX, BoxX, -BoxY, BoxY, -BoxZ, BoxZ);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const size_t count = static_cast<size_t>(glRenderMode(GL_RENDER));
    Feedback out;
    for (size_t i = 0; i < count;) {
        const auto token = static_cast<GLenum>(buffer[i++]);
        const bool polygon = token == GL_POLYGON_TOKEN, point = token == GL_POINT_TOKEN;  // else a line
        std::vector<Primitive>& list = polygon ? out.polygons : point ? out.points : out.lines;
        const int vertices = polygon ? static_cast<int>(buffer[i++]) : point ? 1 : 2;
        list.emplace_back();
        for (int k = 0; k < vertices; ++k, i += 11) {  // x y z, r g b a, s t r q
            const GLfloat* v = &buffer[i];
            list.back().push_back({v[0] / TestWidth * 2 * BoxX - BoxX, v[1] / TestHeight * 2 * BoxY - BoxY,
                                   (0.5f - v[2]) * 2 * BoxZ, v[3], v[4], v[5], v[6], v[7], v[8]});
        }
    }
    return out;
}

// At mesh vertex `index`, raised by `dy`.
bool at(const Vertex& v, int index, float dy = 0)
{
    const float* p = shipMesh.meshVertices[index];
    return std::fabs(v.x - p[0]) < Tolerance && std::fabs(v.y - p[1] - dy) < Tolerance &&
           std::fabs(v.z - p[2]) < 20 * Tolerance;
}

// Feedback keeps a polygon's cyclic order but may start it at any corner.
bool drawnCBA(const Primitive& polygon, const MeshFace& f)
{
    for (size_t start = 0; start < 3 && polygon.size() == 3; ++start)
        if (at(polygon[start], f.c))
            return at(polygon[(start + 1) % 3], f.b) && at(polygon[(start + 2) % 3], f.a);
    return false;
}

using Rgba = std::array<float, 4>;

Rgba emission() { Rgba e{}; return glGetMaterialfv(GL_FRONT, GL_EMISSION, e.data()), e; }
Rgba colour() { Rgba c{}; return glGetFloatv(GL_CURRENT_COLOR, c.data()), c; }

// The glowing codes' emission, plain grey for a code without a row, and a
// code already current issues no calls.
TEST(Palette, GlowsAndUnknownCodesAndOnlyChangesReachGl)
{
    startTestScene();
    const Rgba black = {0, 0, 0, 1}, red = {0.5f, 0, 0, 1}, grey = {0.5f, 0.5f, 0.5f, 0.5f};
    const struct { int code; Rgba emission, colour; } rows[] = {
        {1, {0, 0, 0.5f, 1}, {0, 0, 0.5f, 1}}, {4, red, {0.5f, 0, 0, 0.5f}}, {8, {1, 1, 1, 1}, {1, 1, 1, 1}},
        {11, {0, 1, 0, 0.5f}, {0, 1, 0, 0.5f}}, {12, red, {0.5f, 0.5f, 0, 0.5f}}, {14, grey, {0.5f, 0.5f, 0.5f, 0.35f}},
        {0, black, grey}, {15, black, grey}, {-1, black, grey}};
    for (const auto& row : rows) {
        setMaterial(row.code);
        EXPECT_EQ(currentMaterial, row.code);
        EXPECT_EQ(emission(), row.emission) << row.code;
        EXPECT_EQ(colour(), row.colour) << row.code;
    }
    const Rgba direct = {0.1f, 0.2f, 0.3f, 0.4f};
    setMaterial(RedGlow);
    glMaterialfv(GL_FRONT, GL_EMISSION, direct.data());
    glColor4fv(direct.data());
    setMaterial(RedGlow);  // still current: the direct changes stay
    EXPECT_TRUE(emission() == direct && colour() == direct);
}

TEST(ShipDrawing, EveryFaceCornersCBAThenLinesThenBlinkingLights)
{
    startTestScene();
    SceneClock = 1.5f;  // light points off
    setMaterial(PlainGrey);
    glColor4f(1, 0, 1, 1);  // someone else's colour, unknown to the palette
    const GLint depth = glInteger(GL_MODELVIEW_STACK_DEPTH);
    const Feedback drawn = feedbackOf(drawShip);
    EXPECT_EQ(glInteger(GL_MODELVIEW_STACK_DEPTH), depth);
    EXPECT_FALSE(glEnabled(GL_BLEND));
    EXPECT_EQ(glInteger(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(glInteger(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(glInteger(GL_LINE_WIDTH), 3);

    // One polygon a face, group after group; with the pods down their pivots cancel.
    ASSERT_EQ(drawn.polygons.size(),
              static_cast<size_t>(HullFaceCount + UnderPanelFaceCount + 2 * PodFaceCount + RearPanelFaceCount));
    const Vertex& first = drawn.polygons[0][0];  // hull record 0, code 0: grey, however the colour was left
    EXPECT_TRUE(std::fabs(first.g - first.r) < 1e-4f && std::fabs(first.b - first.r) < 1e-4f);
    size_t polygon = 0;
    for (const FaceGroup& group : faceGroups(shipMesh))
        for (int i = 0; i < group.count; ++i)
            EXPECT_TRUE(drawnCBA(drawn.polygons[polygon++], group.faces[i])) << group.name << " record " << i;

    // Lines lifted 0.05 off the hull, away from the y = 0 plane.
    ASSERT_EQ(drawn.lines.size(), static_cast<size_t>(MeshLineCount));
    for (size_t i = 0; i < drawn.lines.size(); ++i)
        for (size_t k = 0; k < 2; ++k) {
            const int end = k == 0 ? shipMesh.meshLines[i].from : shipMesh.meshLines[i].to;
            const float lift = shipMesh.meshVertices[end][1] > 0 ? 0.05f : -0.05f;
            EXPECT_TRUE(at(drawn.lines[i][k], end, lift)) << "line " << i << " end " << k;
        }

    // Light points in every whole second that is a multiple of 3, counted
    // toward zero, at any size of T.
    for (const auto& [t, on] : {std::pair{0.0f, true}, {0.999f, true}, {1.0f, false}, {1.5f, false}, {2.9f, false},
                                {3.2f, true}, {-0.5f, true}, {-1.5f, false}, {3e9f, true}, {1e10f, false},
                                {-3e9f, true}}) {
        SceneClock = t;
        const Feedback lit = feedbackOf(drawShip);
        ASSERT_EQ(lit.points.size(), on ? 3u : 0u) << "T = " << t;
        for (size_t k = 0; k < lit.points.size(); ++k)
            EXPECT_TRUE(at(lit.points[k][0], shipMesh.lightPoints[k])) << "light point " << k;
    }
}

TEST(ShipDrawing, AFaceWithOneTexturedCornerIsTexturedWhole)
{
    startTestScene();
    MeshFace face = shipMesh.hullFaces[0];
    face.codeB = TexturedGrey;
    face.slot = 2;
    face.sA = 0.1f, face.tA = 0.2f, face.sB = 0.3f, face.tB = 0.4f, face.sC = 0.5f, face.tC = 0.6f;
    for (const int detail : {1, 0}) {
        settings.textureDetail = detail;
        glTexCoord2f(7, 7);
        const Feedback drawn = feedbackOf([&] { drawFaces(&face, 1, shipMesh.hullNormals); });
        ASSERT_EQ(drawn.polygons.size(), 1u);
        ASSERT_TRUE(drawnCBA(drawn.polygons[0], face));
        for (const Vertex& v : drawn.polygons[0])
            for (int k = 0; k < 3; ++k)
                if (at(v, corner(face, k).vertex)) {  // without texture detail no coordinates are issued
                    const float s = detail ? corner(face, k).s : 7, t = detail ? corner(face, k).t : 7;
                    EXPECT_TRUE(std::fabs(v.s - s) < 1e-6f && std::fabs(v.t - t) < 1e-6f)
                        << "corner " << k << " at detail " << detail;
                }
        EXPECT_FALSE(glEnabled(GL_TEXTURE_2D));
    }
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), static_cast<GLint>(TextureNames[2]));
}

TEST(ShipDrawing, GoldenFramesFromThreePlacements)
{
    const struct { const char* golden; float eye[3], podAngle; } placements[] = {
        {"ship_three_quarter", {22, 11, 18}, 0}, {"ship_below_behind", {-20, -14, -16}, 0},
        {"ship_side_pods_up", {2, 3, 32}, 40}};
    for (const auto& placement : placements) {
        startTestScene();
        settings.textureDetail = 0;  // the frames show the mesh, not the pictures
        SceneClock = 0.5f;           // light points on
        warp.podAngle = placement.podAngle;
        const float origin[3] = {0, 0, 0};
        drawShipAlone(placement.eye, origin);
        EXPECT_TRUE(matchesGolden(placement.golden));
    }
}

} // namespace
