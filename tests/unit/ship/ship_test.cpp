// The stored mesh's invariants that the drawing, the encounter and the hull
// damage rely on, and its preparation: scaling, face and vertex normals.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <tuple>

#include "mesh_groups.h"
#include "ship/ship.h"

namespace {

const ShipMesh& stored = storedShipMesh;

TEST(StoredMesh, MirrorSymmetricEveryVertexUsedGroupsApartAndTexturedFacesSlotted)
{
    std::multiset<std::tuple<float, float, float>> positions, mirrored;
    for (const auto& v : stored.meshVertices) {
        positions.insert({v[0], v[1], v[2]});
        mirrored.insert({v[0], v[1], v[2] == 0 ? 0.0f : -v[2]});
    }
    EXPECT_EQ(positions, mirrored);
    const auto groups = faceGroups(stored);
    const std::set<int> hull = verticesOf(groups[0]);
    std::set<int> all;
    for (size_t g = 0; g < groups.size(); ++g) {
        const std::set<int> vertices = verticesOf(groups[g]);
        for (size_t h = 1; h < g; ++h)  // the parts share vertices with the hull only
            for (int v : verticesOf(groups[h]))
                EXPECT_EQ(vertices.count(v), 0u) << groups[g].name << " and " << groups[h].name << " share " << v;
        all.insert(vertices.begin(), vertices.end());
        for (int i = 0; i < groups[g].count; ++i) {
            const MeshFace& f = groups[g].faces[i];
            const bool textured = f.codeA == TexturedGrey || f.codeB == TexturedGrey || f.codeC == TexturedGrey;
            EXPECT_EQ(f.slot != 0, textured) << groups[g].name << " record " << i;
            for (int k = 0; k < 3; ++k)
                EXPECT_TRUE(textured || (corner(f, k).s == 0 && corner(f, k).t == 0)) << groups[g].name << " " << i;
        }
    }
    EXPECT_TRUE(all.size() == MeshVertexCount && *all.begin() == 0 && *all.rbegin() == MeshVertexCount - 1);
    EXPECT_TRUE(verticesOf(groups[2]).count(PodPivotA) && verticesOf(groups[3]).count(PodPivotB));
    EXPECT_TRUE(hull.count(PodPivotA) && hull.count(PodPivotB));
    for (const MeshLine& line : stored.meshLines)
        EXPECT_TRUE(hull.count(line.from) && hull.count(line.to));
    for (int v : stored.lightPoints)
        EXPECT_TRUE(hull.count(v));
}

TEST(Preparation, ScalesByTheFloat015WithHandWorkedNormalsAndResetUndoesIt)
{
    resetShipMesh();
    prepareMesh();
    for (int v = 0; v < MeshVertexCount; ++v)
        for (int axis = 0; axis < 3; ++axis)
            ASSERT_EQ(shipMesh.meshVertices[v][axis], stored.meshVertices[v][axis] * 0.15f) << v;
    const float expected[3][3] = {{0.675f, 0, 0.27f}, {0.585f, 0.81f, -0.054f}, {0, 2.025f, 0}};
    const float* actual[3] = {shipMesh.hullFaces[0].normal, shipMesh.hullNormals[0], shipMesh.partNormals[PodPivotA]};
    for (int i = 0; i < 3; ++i)
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_NEAR(actual[i][axis], expected[i][axis], 1e-5f) << "normal " << i << ", axis " << axis;

    // No sliver (twice the area below 0.01); hull normals into every octant,
    // where the encounter looks for a vertex facing the cube.
    for (const FaceGroup& group : faceGroups(shipMesh))
        for (int i = 0; i < group.count; ++i)
            EXPECT_GT(std::hypot(group.faces[i].normal[0], group.faces[i].normal[1], group.faces[i].normal[2]), 0.01f)
                << group.name << " record " << i;
    int octants[8] = {};
    for (const auto& n : shipMesh.hullNormals) {
        const float small = 1e-3f * std::hypot(n[0], n[1], n[2]);
        if (std::fabs(n[0]) > small && std::fabs(n[1]) > small && std::fabs(n[2]) > small)
            ++octants[(n[0] > 0 ? 4 : 0) + (n[1] > 0 ? 2 : 0) + (n[2] > 0 ? 1 : 0)];
    }
    for (int octant : octants)
        EXPECT_GE(octant, 14);

    shipMesh.hullFaces[5].codeB = DamageMark;
    resetShipMesh();
    EXPECT_EQ(std::memcmp(&shipMesh, &stored, sizeof(ShipMesh)), 0);
}

TEST(Preparation, AveragesOnlyTheVerticesThatTheFacesUseCountingRepeatedCorners)
{
    MeshFace faces[3] = {};
    const int corners[3][3] = {{1, 2, 3}, {1, 3, 4}, {5, 5, 6}};  // the last degenerate, its normal zero
    for (int i = 0; i < 3; ++i)
        std::tie(faces[i].a, faces[i].b, faces[i].c) = std::tie(corners[i][0], corners[i][1], corners[i][2]);
    faces[0].normal[0] = 2;
    faces[1].normal[1] = 4;
    float table[MeshVertexCount][3];
    for (auto& entry : table)
        entry[0] = entry[1] = entry[2] = 7;  // left alone where no face counts
    averageVertexNormals(faces, 3, table);
    EXPECT_EQ(std::make_tuple(table[0][0], table[1][0], table[1][1], table[2][0], table[4][1], table[5][2], table[7][2]),
              std::make_tuple(7.0f, 1.0f, 2.0f, 2.0f, 4.0f, 0.0f, 7.0f));
    faces[2].a = faces[2].b = 1;  // and shortens the averages of its corners
    averageVertexNormals(faces, 3, table);
    EXPECT_FLOAT_EQ(table[1][0], 2.0f / 3);
}

} // namespace
