// Mesh preparation: scaling in place, face normals, vertex-normal averages,
// and what the prepared mesh must offer the encounter.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "mesh_groups.h"
#include "ship/ship.h"

namespace {

class Preparation : public ::testing::Test {
protected:
    void SetUp() override { resetShipMesh(); }
    void TearDown() override { resetShipMesh(); }
};

MeshFace faceOf(int a, int b, int c, float nx = 0, float ny = 0, float nz = 0)
{
    MeshFace f{};
    f.a = a, f.b = b, f.c = c;
    f.normal[0] = nx, f.normal[1] = ny, f.normal[2] = nz;
    return f;
}

float length(const float* n) { return std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]); }

TEST_F(Preparation, ScalesEveryCoordinateByTheFloat015AndResetUndoesIt)
{
    prepareMesh();
    for (int v = 0; v < MeshVertexCount; ++v)
        for (int axis = 0; axis < 3; ++axis)
            ASSERT_EQ(shipMesh.meshVertices[v][axis], storedShipMesh.meshVertices[v][axis] * 0.15f) << "vertex " << v;

    shipMesh.hullFaces[5].codeB = DamageMark;
    resetShipMesh();
    EXPECT_EQ(std::memcmp(&shipMesh, &storedShipMesh, sizeof(ShipMesh)), 0);
}

TEST_F(Preparation, FaceNormalIsVCrossU)
{
    // Counter-clockwise seen from +z in stored order a, b, c: the normal
    // points to -z, the side from which c, b, a turn counter-clockwise.
    const float corners[3][3] = {{0, 0, 0}, {2, 0, 0}, {0, 3, 0}};
    std::memcpy(shipMesh.meshVertices[0], corners, sizeof corners);
    MeshFace f = faceOf(0, 1, 2);
    computeFaceNormal(f);
    EXPECT_EQ(std::vector<float>(f.normal, f.normal + 3), (std::vector<float>{0, 0, -6}));  // twice the area
}

TEST_F(Preparation, WorkedExamples)
{
    prepareMesh();
    const float expected[3][3] = {{0.675f, 0, 0.27f}, {0.585f, 0.81f, -0.054f}, {0, 2.025f, 0}};
    const float* actual[3] = {shipMesh.hullFaces[0].normal, shipMesh.hullNormals[0], shipMesh.partNormals[PodPivotA]};
    const char* what[3] = {"hull record 0", "hull normal of vertex 0", "part normal of the pod A hinge"};
    for (int i = 0; i < 3; ++i)
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_NEAR(actual[i][axis], expected[i][axis], 1e-5f) << what[i] << ", axis " << axis;
}

TEST_F(Preparation, AveragesOnlyTheVerticesThatTheFacesUse)
{
    MeshFace faces[3] = {faceOf(1, 2, 3, 2, 0, 0), faceOf(1, 3, 4, 0, 4, 0), faceOf(5, 5, 6)};  // the last degenerate
    float table[MeshVertexCount][3];
    for (auto& entry : table)
        entry[0] = entry[1] = entry[2] = 7;  // left alone where no face counts
    averageVertexNormals(faces, 3, table);
    EXPECT_EQ(table[0][0], 7);
    EXPECT_EQ(table[1][0], 1);  // (2, 0, 0) and (0, 4, 0), halved
    EXPECT_EQ(table[1][1], 2);
    EXPECT_EQ(table[2][0], 2);
    EXPECT_EQ(table[4][1], 4);
    EXPECT_EQ(table[5][2], 0);  // the degenerate record counts once, with its zero normal
    EXPECT_EQ(table[7][2], 7);

    faces[2] = faceOf(1, 1, 6);  // and shortens the averages of its corners
    averageVertexNormals(faces, 3, table);
    EXPECT_FLOAT_EQ(table[1][0], 2.0f / 3);
    EXPECT_FLOAT_EQ(table[1][1], 4.0f / 3);
}

TEST_F(Preparation, HullNormalsFromTheHullPartNormalsFromTheOtherGroups)
{
    prepareMesh();
    const auto groups = faceGroups(shipMesh);
    float hull[MeshVertexCount][3] = {}, parts[MeshVertexCount][3] = {};
    averageVertexNormals(groups[0].faces, groups[0].count, hull);
    for (size_t g = 1; g < groups.size(); ++g)
        averageVertexNormals(groups[g].faces, groups[g].count, parts);
    EXPECT_EQ(std::memcmp(hull, shipMesh.hullNormals, sizeof hull), 0);
    EXPECT_EQ(std::memcmp(parts, shipMesh.partNormals, sizeof parts), 0);
}

TEST_F(Preparation, NoDegenerateFace)
{
    prepareMesh();
    for (const FaceGroup& group : faceGroups(shipMesh))
        for (int i = 0; i < group.count; ++i)  // twice the area: 0.01 is a sliver 0.1 x 0.2
            EXPECT_GT(length(group.faces[i].normal), 0.01f) << group.name << " record " << i;
}

// The encounter draws hull vertices until one's normal points into the
// octant of the direction to the cube; each octant needs a fair share.
TEST_F(Preparation, HullNormalsCoverEveryOctant)
{
    prepareMesh();
    int counts[8] = {};
    for (const auto& n : shipMesh.hullNormals)
        if (std::fabs(n[0]) > 1e-3f * length(n) && std::fabs(n[1]) > 1e-3f * length(n) &&
            std::fabs(n[2]) > 1e-3f * length(n))
            ++counts[(n[0] > 0 ? 4 : 0) + (n[1] > 0 ? 2 : 0) + (n[2] > 0 ? 1 : 0)];
    for (int octant = 0; octant < 8; ++octant)
        EXPECT_GE(counts[octant], 14) << "octant x" << (octant & 4 ? '+' : '-') << " y" << (octant & 2 ? '+' : '-')
                                      << " z" << (octant & 1 ? '+' : '-');
}

} // namespace
