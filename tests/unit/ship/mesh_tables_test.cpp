// The stored mesh: counts, layout, named rows and the invariants that the
// drawing, the encounter and the hull damage rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>
#include <tuple>
#include <vector>

#include "mesh_groups.h"
#include "ship/mesh.h"

namespace {

const ShipMesh& stored = storedShipMesh;

using Position = std::tuple<float, float, float>;

Position positionOf(int v)
{
    const float* p = stored.meshVertices[v];
    return {p[0], p[1], p[2]};
}

bool isWhole(float value) { return value == std::floor(value); }

struct Box {
    float lo[3], hi[3];
};

bool inside(const Box& box, int v)
{
    for (int axis = 0; axis < 3; ++axis) {
        const float c = stored.meshVertices[v][axis];
        if (c < box.lo[axis] || c > box.hi[axis])
            return false;
    }
    return true;
}

bool faceInside(const MeshFace& f, const Box& box) { return inside(box, f.a) && inside(box, f.b) && inside(box, f.c); }

float centroidZ(const MeshFace& f)
{
    return stored.meshVertices[f.a][2] + stored.meshVertices[f.b][2] + stored.meshVertices[f.c][2];
}

bool textured(const MeshFace& f) { return f.codeA == 10 || f.codeB == 10 || f.codeC == 10; }

bool mixed(const MeshFace& f) { return f.codeA != f.codeB || f.codeB != f.codeC; }

// ---- The vertex table ------------------------------------------------------

TEST(VertexTable, EveryIndexInRangeAndEveryVertexAFaceCorner)
{
    std::vector<int> uses(MeshVertexCount, 0);
    for (const FaceGroup& group : faceGroups(stored))
        for (int i = 0; i < group.count; ++i)
            for (int k = 0; k < 3; ++k) {
                const int v = cornerVertex(group.faces[i], k);
                ASSERT_GE(v, 0) << group.name << " record " << i;
                ASSERT_LT(v, MeshVertexCount) << group.name << " record " << i;
                ++uses[static_cast<size_t>(v)];
            }
    for (int v = 0; v < MeshVertexCount; ++v)
        EXPECT_GT(uses[static_cast<size_t>(v)], 0) << "vertex " << v << " is no face's corner";
    for (const MeshLine& line : stored.meshLines) {
        EXPECT_TRUE(line.from >= 0 && line.from < MeshVertexCount);
        EXPECT_TRUE(line.to >= 0 && line.to < MeshVertexCount);
    }
    for (int v : stored.lightPoints)
        EXPECT_TRUE(v >= 0 && v < MeshVertexCount);
}

TEST(VertexTable, PositionsMapOntoThemselvesUnderZMirror)
{
    std::multiset<Position> positions, mirrored;
    for (int v = 0; v < MeshVertexCount; ++v) {
        const auto [x, y, z] = positionOf(v);
        positions.insert({x, y, z});
        mirrored.insert({x, y, z == 0 ? 0.0f : -z});
    }
    EXPECT_EQ(positions, mirrored);
}

TEST(VertexTable, WholeNumbersExceptTenYValues)
{
    int special = 0;
    for (int v = 0; v < MeshVertexCount; ++v) {
        const auto [x, y, z] = positionOf(v);
        EXPECT_TRUE(isWhole(x)) << "vertex " << v;
        EXPECT_TRUE(isWhole(z)) << "vertex " << v;
        if (!isWhole(y)) {
            EXPECT_TRUE(y == -8.5f || y == -9.35f) << "vertex " << v << " y " << y;
            ++special;
        }
    }
    EXPECT_EQ(special, 10);
}

TEST(VertexTable, ExtentsAlongEachAxis)
{
    float lo[3] = {1e9f, 1e9f, 1e9f}, hi[3] = {-1e9f, -1e9f, -1e9f};
    for (const auto& p : stored.meshVertices)
        for (int axis = 0; axis < 3; ++axis) {
            lo[axis] = std::min(lo[axis], p[axis]);
            hi[axis] = std::max(hi[axis], p[axis]);
        }
    EXPECT_EQ(lo[0], -105);
    EXPECT_EQ(hi[0], 89);
    EXPECT_EQ(lo[1], -20);
    EXPECT_EQ(hi[1], 17);
    EXPECT_EQ(lo[2], -38);
    EXPECT_EQ(hi[2], 38);
}

TEST(VertexTable, QuotedRows)
{
    const std::map<int, Position> rows = {
        {0, {89, 0, 0}},     {1, {89, -3, 0}},      {112, {26, 14, 0}},           {183, {-70, -7, 18}},
        {185, {-70, -7, -18}}, {195, {-105, -10, 0}}, {355, {-62, -9.35f, -16}},
    };
    for (const auto& [index, position] : rows)
        EXPECT_EQ(positionOf(index), position) << "vertex " << index;
}

// ---- Face groups -----------------------------------------------------------

TEST(FaceGroups, VerticesUsedAndSharedWithTheHull)
{
    const auto groups = faceGroups(stored);
    const std::set<int> hull = verticesOf(groups[0]);
    const size_t used[5] = {277, 16, 47, 47, 4};
    const size_t sharedWithHull[5] = {277, 12, 8, 8, 4};
    for (size_t g = 0; g < groups.size(); ++g) {
        const std::set<int> vertices = verticesOf(groups[g]);
        EXPECT_EQ(vertices.size(), used[g]) << groups[g].name;
        std::vector<int> shared;
        std::set_intersection(vertices.begin(), vertices.end(), hull.begin(), hull.end(), std::back_inserter(shared));
        EXPECT_EQ(shared.size(), sharedWithHull[g]) << groups[g].name;
        for (size_t h = 1; h < g; ++h) {
            const std::set<int> other = verticesOf(groups[h]);
            for (int v : vertices)
                EXPECT_EQ(other.count(v), 0u) << groups[g].name << " and " << groups[h].name << " share " << v;
        }
    }
    EXPECT_TRUE(verticesOf(groups[2]).count(PodPivotA) && hull.count(PodPivotA));
    EXPECT_TRUE(verticesOf(groups[3]).count(PodPivotB) && hull.count(PodPivotB));
}

TEST(FaceGroups, CodeCountsPerGroup)
{
    const std::map<int, int> expected[5] = {
        {{0, 1231}, {10, 210}, {1, 4}, {2, 4}},
        {{5, 54}},
        {{0, 176}, {1, 20}, {6, 13}, {2, 5}, {4, 5}},
        {{0, 176}, {1, 20}, {6, 13}, {2, 5}, {4, 5}},
        {{10, 6}},
    };
    const auto groups = faceGroups(stored);
    for (size_t g = 0; g < groups.size(); ++g) {
        std::map<int, int> corners;
        for (int i = 0; i < groups[g].count; ++i)
            for (int k = 0; k < 3; ++k)
                ++corners[cornerCode(groups[g].faces[i], k)];
        EXPECT_EQ(corners, expected[g]) << groups[g].name;
    }
}

TEST(FaceGroups, SlotsAndTextureCoordinates)
{
    const std::set<float> allowed = {-0.1f, -0.05f, 0.0f, 0.5f, 1.0f, 1.05f, 1.1f};
    std::map<int, int> hullSlots;
    for (const FaceGroup& group : faceGroups(stored))
        for (int i = 0; i < group.count; ++i) {
            const MeshFace& f = group.faces[i];
            if (textured(f)) {
                EXPECT_TRUE(f.codeA == 10 && f.codeB == 10 && f.codeC == 10) << group.name << " record " << i;
                EXPECT_NE(f.slot, 0) << group.name << " record " << i;
                for (int k = 0; k < 3; ++k) {
                    EXPECT_EQ(allowed.count(cornerS(f, k)), 1u) << group.name << " record " << i;
                    EXPECT_EQ(allowed.count(cornerT(f, k)), 1u) << group.name << " record " << i;
                }
            } else {
                EXPECT_EQ(f.slot, 0) << group.name << " record " << i;
                for (int k = 0; k < 3; ++k)
                    EXPECT_TRUE(cornerS(f, k) == 0 && cornerT(f, k) == 0) << group.name << " record " << i;
            }
        }
    for (const MeshFace& f : stored.hullFaces)
        ++hullSlots[f.slot];
    EXPECT_EQ(hullSlots, (std::map<int, int>{{0, 413}, {1, 4}, {2, 46}, {4, 20}}));
    for (const MeshFace& f : stored.rearPanelFaces)
        EXPECT_EQ(f.slot, 3);
}

TEST(FaceGroups, MixedCodesOnlyAtTheBellyLightAndThePodLights)
{
    std::vector<int> hullMixed;
    for (int i = 0; i < HullFaceCount; ++i)
        if (mixed(stored.hullFaces[i]))
            hullMixed.push_back(i);
    EXPECT_EQ(hullMixed, (std::vector<int>{479, 480, 481, 482}));
    const std::vector<int> podLights = {18, 19, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68};
    for (const MeshFace* pod : {stored.podFacesA, stored.podFacesB}) {
        std::vector<int> podMixed;
        for (int i = 0; i < PodFaceCount; ++i)
            if (mixed(pod[i]))
                podMixed.push_back(i);
        EXPECT_EQ(podMixed, podLights);
    }
}

// ---- Quoted records ----------------------------------------------------------

struct QuotedFace {
    int a, b, c, codeA, codeB, codeC, slot;
    float sA, tA, sB, tB, sC, tC;
};

void expectRecord(const MeshFace& f, const QuotedFace& q, const char* what)
{
    EXPECT_EQ(std::make_tuple(f.a, f.b, f.c), std::make_tuple(q.a, q.b, q.c)) << what;
    EXPECT_EQ(std::make_tuple(f.codeA, f.codeB, f.codeC, f.slot), std::make_tuple(q.codeA, q.codeB, q.codeC, q.slot))
        << what;
    EXPECT_EQ(std::make_tuple(f.sA, f.tA, f.sB, f.tB, f.sC, f.tC), std::make_tuple(q.sA, q.tA, q.sB, q.tB, q.sC, q.tC))
        << what;
    EXPECT_TRUE(f.normal[0] == 0 && f.normal[1] == 0 && f.normal[2] == 0) << what;
}

TEST(QuotedRecords, Faces)
{
    expectRecord(stored.hullFaces[0], {0, 1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "hull 0");
    expectRecord(stored.hullFaces[110], {18, 20, 94, 10, 10, 10, 2, 0, 1, 1, 1, 0, 0}, "hull 110");
    expectRecord(stored.hullFaces[121], {78, 90, 80, 10, 10, 10, 1, 0.5f, 1, -0.05f, 0, 0.5f, 0}, "hull 121");
    expectRecord(stored.hullFaces[479], {336, 286, 335, 2, 0, 1, 0, 0, 0, 0, 0, 0, 0}, "hull 479");
    expectRecord(stored.underPanelFaces[0], {81, 83, 93, 5, 5, 5, 0, 0, 0, 0, 0, 0, 0}, "under panel 0");
    expectRecord(stored.podFacesA[58], {241, 240, 347, 1, 1, 6, 0, 0, 0, 0, 0, 0, 0}, "pod A 58");
    expectRecord(stored.podFacesB[58], {220, 221, 338, 1, 1, 6, 0, 0, 0, 0, 0, 0, 0}, "pod B 58");
    expectRecord(stored.rearPanelFaces[0], {251, 250, 252, 10, 10, 10, 3, 0, 0, 1, 0, 1.1f, 1}, "rear panel 0");
    expectRecord(stored.rearPanelFaces[1], {253, 251, 252, 10, 10, 10, 3, -0.1f, 1, 0, 0, 1.1f, 1}, "rear panel 1");
}

TEST(QuotedRecords, LinesAndLightPoints)
{
    const int ends[12][2] = {{96, 98}, {98, 100}, {100, 102}, {102, 104}, {104, 106}, {84, 86},
                             {86, 88}, {88, 90},  {90, 92},   {92, 94},   {291, 161}, {161, 297}};
    for (int i = 0; i < MeshLineCount; ++i) {
        const MeshLine& line = stored.meshLines[i];
        EXPECT_EQ(std::make_tuple(line.from, line.to, line.codeFrom, line.codeTo),
                  std::make_tuple(ends[i][0], ends[i][1], 3, 3))
            << "line " << i;
    }
    EXPECT_EQ(std::vector<int>(std::begin(stored.lightPoints), std::end(stored.lightPoints)),
              (std::vector<int>{0, 195, 112}));
}

// ---- Where things are ----------------------------------------------------------

TEST(Regions, LinesRunAlongTheHull)
{
    const std::set<int> hull = verticesOf(faceGroups(stored)[0]);
    for (int k = 0; k < 6; ++k) {
        const auto minusZ = positionOf(96 + 2 * k), plusZ = positionOf(84 + 2 * k);
        EXPECT_EQ(std::get<0>(minusZ), 60 - 10 * k);
        EXPECT_EQ(std::get<1>(minusZ), 7);
        EXPECT_LT(std::get<2>(minusZ), 0);
        EXPECT_EQ(std::get<0>(plusZ), 60 - 10 * k);
        EXPECT_EQ(std::get<1>(plusZ), 7);
        EXPECT_EQ(std::get<2>(plusZ), -std::get<2>(minusZ));
    }
    for (int v : {291, 161, 297}) {
        EXPECT_EQ(std::get<0>(positionOf(v)), -10) << "vertex " << v;
        EXPECT_LE(std::get<1>(positionOf(v)), -17) << "vertex " << v;
        EXPECT_GE(std::get<1>(positionOf(v)), -20) << "vertex " << v;
    }
    for (const MeshLine& line : stored.meshLines)
        EXPECT_TRUE(hull.count(line.from) && hull.count(line.to));
    for (int v : stored.lightPoints)
        EXPECT_TRUE(hull.count(v));
}

TEST(Regions, PodsPanelsAndTheirMirrors)
{
    const Box podA = {{-95, -12, -38}, {-43, -5, -16}};
    const Box podB = {{-95, -12, 16}, {-43, -5, 38}};
    const Box underPanel = {{16, -5, -1e9f}, {64, -3, 1e9f}};
    const Box rearPanel = {{-90, -7, -8}, {-90, -2, 8}};
    for (int i = 0; i < PodFaceCount; ++i) {
        EXPECT_TRUE(faceInside(stored.podFacesA[i], podA)) << "pod A record " << i;
        EXPECT_TRUE(faceInside(stored.podFacesB[i], podB)) << "pod B record " << i;
        // Record by record, pod B is pod A's mirror image.
        std::multiset<Position> a, b;
        for (int k = 0; k < 3; ++k) {
            const auto [x, y, z] = positionOf(cornerVertex(stored.podFacesA[i], k));
            a.insert({x, y, -z});
            b.insert(positionOf(cornerVertex(stored.podFacesB[i], k)));
        }
        EXPECT_EQ(a, b) << "pod record " << i;
    }
    for (const MeshFace& f : stored.underPanelFaces)
        EXPECT_TRUE(faceInside(f, underPanel));
    for (const MeshFace& f : stored.rearPanelFaces)
        EXPECT_TRUE(faceInside(f, rearPanel));
}

TEST(Regions, TexturedBandsHalfOnEachSide)
{
    struct Band {
        int slot;
        Box box;
        int perSide;
    };
    const Band bands[] = {{2, {{-50, -1e9f, -1e9f}, {70, 1e9f, 1e9f}}, 23},
                          {4, {{-50, -10, -1e9f}, {0, -7, 1e9f}}, 10},
                          {1, {{30, 7, -1e9f}, {40, 12, 1e9f}}, 2}};
    for (const Band& band : bands) {
        int plus = 0, minus = 0;
        for (const MeshFace& f : stored.hullFaces) {
            if (f.slot != band.slot)
                continue;
            EXPECT_TRUE(faceInside(f, band.box)) << "slot " << band.slot;
            (centroidZ(f) > 0 ? plus : minus) += 1;
        }
        EXPECT_EQ(plus, band.perSide) << "slot " << band.slot;
        EXPECT_EQ(minus, band.perSide) << "slot " << band.slot;
    }
}

TEST(Regions, PodLightsAndBellyLight)
{
    const Box intake = {{-50, -1e9f, -1e9f}, {-43, 1e9f, 1e9f}};
    const Box strip = {{-90, -1e9f, -1e9f}, {-60, 1e9f, 1e9f}};
    for (const MeshFace* pod : {stored.podFacesA, stored.podFacesB}) {
        for (int r : {18, 19, 56, 57}) {
            EXPECT_TRUE(faceInside(pod[r], intake)) << "intake record " << r;
            for (int k = 0; k < 3; ++k)
                EXPECT_TRUE(cornerCode(pod[r], k) == 2 || cornerCode(pod[r], k) == 4 || cornerCode(pod[r], k) == 0);
        }
        for (int r = 58; r <= 68; ++r) {
            EXPECT_TRUE(faceInside(pod[r], strip)) << "strip record " << r;
            for (int k = 0; k < 3; ++k)
                EXPECT_TRUE(cornerCode(pod[r], k) == 1 || cornerCode(pod[r], k) == 6) << "strip record " << r;
        }
    }
    EXPECT_EQ(positionOf(286), Position(4, -10, 0));
    for (int r = 479; r <= 482; ++r) {
        const MeshFace& f = stored.hullFaces[r];
        EXPECT_TRUE(f.a == 286 || f.b == 286 || f.c == 286) << "hull record " << r;
        std::multiset<int> codes = {f.codeA, f.codeB, f.codeC};
        EXPECT_EQ(codes, (std::multiset<int>{0, 1, 2})) << "hull record " << r;
    }
}

} // namespace
