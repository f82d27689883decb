// The stored mesh: counts, layout, quoted rows and the invariants that the
// drawing, the encounter and the hull damage rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <set>
#include <tuple>
#include <vector>

#include "mesh_groups.h"

namespace {

const ShipMesh& stored = storedShipMesh;
constexpr float Any = 1e9f;

using Position = std::tuple<float, float, float>;
Position positionOf(int v) { return {stored.meshVertices[v][0], stored.meshVertices[v][1], stored.meshVertices[v][2]}; }

struct Box {
    float lo[3], hi[3];
};

bool inside(const MeshFace& f, const Box& box)
{
    for (int k = 0; k < 3; ++k)
        for (int axis = 0; axis < 3; ++axis) {
            const float c = stored.meshVertices[corner(f, k).vertex][axis];
            if (c < box.lo[axis] || c > box.hi[axis])
                return false;
        }
    return true;
}

auto fields(const MeshFace& f)
{
    return std::make_tuple(f.a, f.b, f.c, f.codeA, f.codeB, f.codeC, f.slot, f.sA, f.tA, f.sB, f.tB, f.sC, f.tC,
                           f.normal[0], f.normal[1], f.normal[2]);
}

std::vector<int> recordsWithMixedCodes(const MeshFace* faces, int count)
{
    std::vector<int> mixed;
    for (int i = 0; i < count; ++i)
        if (faces[i].codeA != faces[i].codeB || faces[i].codeB != faces[i].codeC)
            mixed.push_back(i);
    return mixed;
}

TEST(VertexTable, MirrorSymmetricWholeNumbersExceptTenYValues)
{
    std::multiset<Position> positions, mirrored;
    int fractional = 0;
    for (int v = 0; v < MeshVertexCount; ++v) {
        const auto [x, y, z] = positionOf(v);
        positions.insert({x, y, z});
        mirrored.insert({x, y, z == 0 ? 0.0f : -z});
        EXPECT_TRUE(x == std::floor(x) && z == std::floor(z)) << "vertex " << v;
        if (y != std::floor(y)) {
            EXPECT_TRUE(y == -8.5f || y == -9.35f) << "vertex " << v << " y " << y;
            ++fractional;
        }
    }
    EXPECT_EQ(positions, mirrored);
    EXPECT_EQ(fractional, 10);
}

TEST(QuotedRows, VerticesAndTheLinesAndLightsOnTheHull)
{
    const std::map<int, Position> rows = {{0, {89, 0, 0}},         {1, {89, -3, 0}},         {112, {26, 14, 0}},
                                          {183, {-70, -7, 18}},    {185, {-70, -7, -18}},    {195, {-105, -10, 0}},
                                          {355, {-62, -9.35f, -16}}};
    for (const auto& [index, position] : rows)
        EXPECT_EQ(positionOf(index), position) << "vertex " << index;
    const int ends[MeshLineCount][2] = {{96, 98}, {98, 100}, {100, 102}, {102, 104}, {104, 106},  {84, 86},
                                        {86, 88}, {88, 90},  {90, 92},   {92, 94},   {291, 161}, {161, 297}};
    for (int i = 0; i < MeshLineCount; ++i) {
        const MeshLine& l = stored.meshLines[i];
        EXPECT_EQ(std::make_tuple(l.from, l.to, l.codeFrom, l.codeTo), std::make_tuple(ends[i][0], ends[i][1], 3, 3))
            << "line " << i;
    }
    EXPECT_EQ(std::vector<int>(std::begin(stored.lightPoints), std::end(stored.lightPoints)),
              (std::vector<int>{0, 195, 112}));

    // The chains at y = 7 on either side, the one across the underside, all on the hull.
    const std::set<int> hull = verticesOf(faceGroups(stored)[0]);
    for (int k = 0; k < 6; ++k) {
        const auto [x, y, z] = positionOf(96 + 2 * k);
        EXPECT_TRUE(x == 60 - 10 * k && y == 7 && z < 0) << "vertex " << 96 + 2 * k;
        EXPECT_EQ(positionOf(84 + 2 * k), Position(x, y, -z)) << "vertex " << 84 + 2 * k;
    }
    for (int v : {291, 161, 297}) {
        const auto [x, y, z] = positionOf(v);
        EXPECT_TRUE(x == -10 && y >= -20 && y <= -17) << "vertex " << v;
    }
    for (const MeshLine& line : stored.meshLines)
        EXPECT_TRUE(hull.count(line.from) && hull.count(line.to));
    for (int v : stored.lightPoints)
        EXPECT_TRUE(hull.count(v));
}

TEST(QuotedRows, FaceRecords)
{
    const struct {
        const char* name;
        const MeshFace& stored;
        MeshFace quoted;  // a b c, codes, slot, sA tA sB tB sC tC; no normal yet
    } rows[] = {
        {"hull 0", stored.hullFaces[0], {0, 1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, {}}},
        {"hull 110", stored.hullFaces[110], {18, 20, 94, 10, 10, 10, 2, 0, 1, 1, 1, 0, 0, {}}},
        {"hull 121", stored.hullFaces[121], {78, 90, 80, 10, 10, 10, 1, 0.5f, 1, -0.05f, 0, 0.5f, 0, {}}},
        {"hull 479", stored.hullFaces[479], {336, 286, 335, 2, 0, 1, 0, 0, 0, 0, 0, 0, 0, {}}},
        {"under panel 0", stored.underPanelFaces[0], {81, 83, 93, 5, 5, 5, 0, 0, 0, 0, 0, 0, 0, {}}},
        {"pod A 58", stored.podFacesA[58], {241, 240, 347, 1, 1, 6, 0, 0, 0, 0, 0, 0, 0, {}}},
        {"pod B 58", stored.podFacesB[58], {220, 221, 338, 1, 1, 6, 0, 0, 0, 0, 0, 0, 0, {}}},
        {"rear panel 0", stored.rearPanelFaces[0], {251, 250, 252, 10, 10, 10, 3, 0, 0, 1, 0, 1.1f, 1, {}}},
        {"rear panel 1", stored.rearPanelFaces[1], {253, 251, 252, 10, 10, 10, 3, -0.1f, 1, 0, 0, 1.1f, 1, {}}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(fields(row.stored), fields(row.quoted)) << row.name;
}

TEST(FaceGroups, EveryVertexUsedSharedWithTheHullAndPivots)
{
    const auto groups = faceGroups(stored);
    const std::set<int> hull = verticesOf(groups[0]);
    std::set<int> all;
    for (const FaceGroup& group : groups)
        all.merge(verticesOf(group));
    EXPECT_TRUE(*all.begin() >= 0 && *all.rbegin() < MeshVertexCount);
    for (int v = 0; v < MeshVertexCount; ++v)
        EXPECT_EQ(all.count(v), 1u) << "vertex " << v << " is no face's corner";
    const size_t used[5] = {277, 16, 47, 47, 4}, sharedWithHull[5] = {277, 12, 8, 8, 4};
    for (size_t g = 0; g < groups.size(); ++g) {
        const std::set<int> vertices = verticesOf(groups[g]);
        EXPECT_EQ(vertices.size(), used[g]) << groups[g].name;
        std::vector<int> shared;
        std::set_intersection(vertices.begin(), vertices.end(), hull.begin(), hull.end(), std::back_inserter(shared));
        EXPECT_EQ(shared.size(), sharedWithHull[g]) << groups[g].name;
        for (size_t h = 1; h < g; ++h)
            for (int v : verticesOf(groups[h]))
                EXPECT_EQ(vertices.count(v), 0u) << groups[g].name << " and " << groups[h].name << " share " << v;
    }
    EXPECT_TRUE(verticesOf(groups[2]).count(PodPivotA) && hull.count(PodPivotA));
    EXPECT_TRUE(verticesOf(groups[3]).count(PodPivotB) && hull.count(PodPivotB));
}

TEST(FaceGroups, CornerCodesAndSlots)
{
    const std::map<int, int> pod = {{0, 176}, {1, 20}, {6, 13}, {2, 5}, {4, 5}};
    const std::map<int, int> codes[5] = {{{0, 1231}, {10, 210}, {1, 4}, {2, 4}}, {{5, 54}}, pod, pod, {{10, 6}}};
    const std::map<int, int> slots[5] = {{{0, 413}, {1, 4}, {2, 46}, {4, 20}}, {{0, 18}}, {{0, 73}}, {{0, 73}},
                                         {{3, 2}}};
    const auto groups = faceGroups(stored);
    for (size_t g = 0; g < groups.size(); ++g) {
        std::map<int, int> codeCount, slotCount;
        for (int i = 0; i < groups[g].count; ++i) {
            ++slotCount[groups[g].faces[i].slot];
            for (int k = 0; k < 3; ++k)
                ++codeCount[corner(groups[g].faces[i], k).code];
        }
        EXPECT_EQ(codeCount, codes[g]) << groups[g].name;
        EXPECT_EQ(slotCount, slots[g]) << groups[g].name;
    }
}

TEST(FaceGroups, TexturedFacesAndTheirCoordinates)
{
    const std::set<float> allowed = {-0.1f, -0.05f, 0.0f, 0.5f, 1.0f, 1.05f, 1.1f};
    for (const FaceGroup& group : faceGroups(stored))
        for (int i = 0; i < group.count; ++i) {
            const MeshFace& f = group.faces[i];
            const bool textured = f.codeA == 10 || f.codeB == 10 || f.codeC == 10;
            EXPECT_EQ(f.slot != 0, textured) << group.name << " record " << i;
            for (int k = 0; k < 3; ++k) {
                const Corner c = corner(f, k);
                if (textured)
                    EXPECT_TRUE(c.code == 10 && allowed.count(c.s) && allowed.count(c.t))
                        << group.name << " record " << i << " corner " << k;
                else
                    EXPECT_TRUE(c.s == 0 && c.t == 0) << group.name << " record " << i << " corner " << k;
            }
        }
}

TEST(Regions, PodsAndPanels)
{
    const Box podA = {{-95, -12, -38}, {-43, -5, -16}}, podB = {{-95, -12, 16}, {-43, -5, 38}};
    for (int i = 0; i < PodFaceCount; ++i) {
        EXPECT_TRUE(inside(stored.podFacesA[i], podA)) << "pod A record " << i;
        EXPECT_TRUE(inside(stored.podFacesB[i], podB)) << "pod B record " << i;
    }
    for (const MeshFace& f : stored.underPanelFaces)
        EXPECT_TRUE(inside(f, {{16, -5, -Any}, {64, -3, Any}}));
    for (const MeshFace& f : stored.rearPanelFaces)
        EXPECT_TRUE(inside(f, {{-90, -7, -8}, {-90, -2, 8}}));
}

TEST(Regions, TexturedBandsHalfOnEachSide)
{
    const struct {
        int slot;
        Box box;
        int perSide;
    } bands[] = {{2, {{-50, -Any, -Any}, {70, Any, Any}}, 23},
                 {4, {{-50, -10, -Any}, {0, -7, Any}}, 10},
                 {1, {{30, 7, -Any}, {40, 12, Any}}, 2}};
    for (const auto& band : bands) {
        int plus = 0, minus = 0;
        for (const MeshFace& f : stored.hullFaces)
            if (f.slot == band.slot) {
                EXPECT_TRUE(inside(f, band.box)) << "slot " << band.slot;
                const float z = stored.meshVertices[f.a][2] + stored.meshVertices[f.b][2] + stored.meshVertices[f.c][2];
                ++(z > 0 ? plus : minus);
            }
        EXPECT_EQ(plus, band.perSide) << "slot " << band.slot;
        EXPECT_EQ(minus, band.perSide) << "slot " << band.slot;
    }
}

// The only records whose corners differ in code: the pods' front caps and
// blue strips, and the belly light around vertex 286.
TEST(Regions, PodLightsAndBellyLight)
{
    const Box caps = {{-50, -Any, -Any}, {-43, Any, Any}}, strips = {{-90, -Any, -Any}, {-60, Any, Any}};
    const std::vector<int> lights = {18, 19, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68};
    for (const MeshFace* pod : {stored.podFacesA, stored.podFacesB}) {
        EXPECT_EQ(recordsWithMixedCodes(pod, PodFaceCount), lights);
        for (int r : lights) {
            const bool cap = r < 58;
            EXPECT_TRUE(inside(pod[r], cap ? caps : strips)) << "pod record " << r;
            for (int k = 0; k < 3; ++k) {
                const int code = corner(pod[r], k).code;
                EXPECT_TRUE(cap ? code == 0 || code == 2 || code == 4 : code == 1 || code == 6) << "pod record " << r;
            }
        }
    }
    EXPECT_EQ(recordsWithMixedCodes(stored.hullFaces, HullFaceCount), (std::vector<int>{479, 480, 481, 482}));
    EXPECT_EQ(positionOf(286), Position(4, -10, 0));
    for (int r = 479; r <= 482; ++r) {
        const MeshFace& f = stored.hullFaces[r];
        EXPECT_TRUE(f.a == 286 || f.b == 286 || f.c == 286) << "hull record " << r;
        EXPECT_EQ((std::multiset<int>{f.codeA, f.codeB, f.codeC}), (std::multiset<int>{0, 1, 2})) << "hull record " << r;
    }
}

} // namespace
