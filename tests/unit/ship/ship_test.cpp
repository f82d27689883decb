// The mesh's vertex normals: the averages of the faces that use each vertex.
#include <gtest/gtest.h>

#include <tuple>

#include "ship/ship.h"

namespace {

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
