// Mesh preparation: scaling in place, face normals, vertex-normal averages.
#include <gtest/gtest.h>

#include <cstring>

#include "mesh_groups.h"
#include "ship/ship.h"

namespace {

class Preparation : public ::testing::Test {
protected:
    void SetUp() override { resetShipMesh(); }
    void TearDown() override { resetShipMesh(); }
};

MeshFace faceOf(int a, int b, int c)
{
    MeshFace f{};
    f.a = a;
    f.b = b;
    f.c = c;
    return f;
}

// The straightforward form: every vertex tests every record.
void referenceAverages(const MeshFace* faces, int count, float (*normals)[3])
{
    for (int i = 0; i < MeshVertexCount; ++i) {
        double sum[3] = {};
        int n = 0;
        for (int r = 0; r < count; ++r) {
            const MeshFace& f = faces[r];
            if (f.a != i && f.b != i && f.c != i)
                continue;
            for (int axis = 0; axis < 3; ++axis)
                sum[axis] += f.normal[axis];
            ++n;
        }
        if (n > 0)
            for (int axis = 0; axis < 3; ++axis)
                normals[i][axis] = static_cast<float>(sum[axis] / n);
    }
}

TEST_F(Preparation, ScalesEveryCoordinateByTheFloat015)
{
    prepareMesh();
    for (int v = 0; v < MeshVertexCount; ++v)
        for (int axis = 0; axis < 3; ++axis)
            ASSERT_EQ(shipMesh.meshVertices[v][axis], storedShipMesh.meshVertices[v][axis] * 0.15f)
                << "vertex " << v;
    EXPECT_EQ(shipMesh.meshVertices[0][0], 13.35f);
    // The hinges of the pods.
    EXPECT_FLOAT_EQ(shipMesh.meshVertices[PodPivotA][0], -10.5f);
    EXPECT_FLOAT_EQ(shipMesh.meshVertices[PodPivotA][1], -1.05f);
    EXPECT_FLOAT_EQ(shipMesh.meshVertices[PodPivotA][2], -2.7f);
    EXPECT_FLOAT_EQ(shipMesh.meshVertices[PodPivotB][2], 2.7f);
}

TEST_F(Preparation, ResetPutsBackTheStoredTables)
{
    prepareMesh();
    shipMesh.hullFaces[5].codeB = DamageMark;
    resetShipMesh();
    EXPECT_EQ(std::memcmp(&shipMesh, &storedShipMesh, sizeof(ShipMesh)), 0);
}

TEST_F(Preparation, FaceNormalIsTheReversedCrossProduct)
{
    // Corners counter-clockwise seen from +z in stored order: the normal
    // points to -z, the side from which c, b, a turn counter-clockwise.
    const float corners[3][3] = {{0, 0, 0}, {2, 0, 0}, {0, 3, 0}};
    std::memcpy(shipMesh.meshVertices[0], corners, sizeof corners);
    MeshFace f = faceOf(0, 1, 2);
    computeFaceNormal(f);
    EXPECT_EQ(f.normal[0], 0);
    EXPECT_EQ(f.normal[1], 0);
    EXPECT_EQ(f.normal[2], -6);  // twice the area, not of unit length

    resetShipMesh();
    prepareMesh();
    const float* n = shipMesh.hullFaces[0].normal;  // the nose, (0, 1, 2)
    EXPECT_NEAR(n[0], 0.675f, 1e-5f);
    EXPECT_NEAR(n[1], 0.0f, 1e-6f);
    EXPECT_NEAR(n[2], 0.27f, 1e-5f);
}

TEST_F(Preparation, WorkedExamplesOfTheVertexNormals)
{
    prepareMesh();
    const float* nose = shipMesh.hullNormals[0];  // five hull faces
    EXPECT_NEAR(nose[0], 0.585f, 1e-5f);
    EXPECT_NEAR(nose[1], 0.81f, 1e-5f);
    EXPECT_NEAR(nose[2], -0.054f, 1e-5f);
    const float* hinge = shipMesh.partNormals[PodPivotA];  // two faces of the pylon's top
    EXPECT_NEAR(hinge[0], 0.0f, 1e-6f);
    EXPECT_NEAR(hinge[1], 2.025f, 1e-5f);
    EXPECT_NEAR(hinge[2], 0.0f, 1e-6f);
}

TEST_F(Preparation, AveragesOnlyTheVerticesThatTheFacesUse)
{
    MeshFace faces[3] = {faceOf(1, 2, 3), faceOf(1, 3, 4), faceOf(5, 5, 6)};  // the last is degenerate
    const float normals[3][3] = {{2, 0, 0}, {0, 4, 0}, {0, 0, 0}};
    for (int i = 0; i < 3; ++i)
        std::memcpy(faces[i].normal, normals[i], sizeof normals[i]);
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

    // A degenerate record shortens the averages of its corners.
    faces[2] = faceOf(1, 1, 6);
    averageVertexNormals(faces, 3, table);
    EXPECT_FLOAT_EQ(table[1][0], 2.0f / 3);
    EXPECT_FLOAT_EQ(table[1][1], 4.0f / 3);

    averageVertexNormals(faces, 0, table);  // no records, nothing written
    EXPECT_EQ(table[0][0], 7);
}

TEST_F(Preparation, HullAndPartNormalsKeepTheirOwnVertices)
{
    prepareMesh();
    const auto groups = faceGroups(shipMesh);
    const std::set<int> hull = verticesOf(groups[0]);
    std::set<int> parts;
    for (size_t g = 1; g < groups.size(); ++g)
        for (int v : verticesOf(groups[g]))
            parts.insert(v);
    for (int v = 0; v < MeshVertexCount; ++v) {
        const float* h = shipMesh.hullNormals[v];
        const float* p = shipMesh.partNormals[v];
        EXPECT_EQ(hull.count(v) == 0, h[0] == 0 && h[1] == 0 && h[2] == 0) << "vertex " << v;
        EXPECT_EQ(parts.count(v) == 0, p[0] == 0 && p[1] == 0 && p[2] == 0) << "vertex " << v;
    }
    // The same averages as the straightforward nested loop.
    float hullReference[MeshVertexCount][3] = {}, partReference[MeshVertexCount][3] = {};
    referenceAverages(shipMesh.hullFaces, HullFaceCount, hullReference);
    for (size_t g = 1; g < groups.size(); ++g)
        referenceAverages(groups[g].faces, groups[g].count, partReference);
    EXPECT_EQ(std::memcmp(hullReference, shipMesh.hullNormals, sizeof hullReference), 0);
    EXPECT_EQ(std::memcmp(partReference, shipMesh.partNormals, sizeof partReference), 0);
}

} // namespace
