// The prepared mesh as the scene uses it: faces turned outwards wherever a
// camera can see them, no degenerate faces, and hull normals in every octant
// for the encounter's target search.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "mesh_groups.h"
#include "ship/ship.h"

namespace {

struct V3 {
    double x, y, z;
};
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
V3 unit(V3 a)
{
    const double n = std::sqrt(dot(a, a));
    return {a.x / n, a.y / n, a.z / n};
}

class PreparedMesh : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetShipMesh();
        prepareMesh();
    }
    void TearDown() override { resetShipMesh(); }
};

struct Triangle {
    V3 p[3];
    V3 normal;  // the prepared face normal: the side the drawing order faces
    const char* group;
    int record;
};

// Every face where drawShip puts it, with the pods turned by podAngle.
std::vector<Triangle> shipTriangles(double podAngle)
{
    std::vector<Triangle> out;
    for (const FaceGroup& group : faceGroups(shipMesh)) {
        const bool podA = group.faces == shipMesh.podFacesA, podB = group.faces == shipMesh.podFacesB;
        const double angle = (podA ? podAngle : podB ? -podAngle : 0) * 3.14159265358979 / 180;
        const float* pivot = shipMesh.meshVertices[podA ? PodPivotA : PodPivotB];
        auto place = [&](int v) {
            const float* p = shipMesh.meshVertices[v];
            if (angle == 0)
                return V3{p[0], p[1], p[2]};
            const double y = p[1] - pivot[1], z = p[2] - pivot[2];
            return V3{p[0], pivot[1] + y * std::cos(angle) - z * std::sin(angle),
                      pivot[2] + y * std::sin(angle) + z * std::cos(angle)};
        };
        for (int i = 0; i < group.count; ++i) {
            Triangle t;
            for (int k = 0; k < 3; ++k)
                t.p[k] = place(cornerVertex(group.faces[i], k));
            // The same formula as the preparation, on the placed corners.
            const V3 u = t.p[1] - t.p[0], v = t.p[2] - t.p[1];
            t.normal = cross(v, u);
            t.group = group.name;
            t.record = i;
            out.push_back(t);
        }
    }
    return out;
}

// Looks at the ship along `d` through a grid of parallel rays and returns the
// faces that a ray meets first from behind.
std::vector<const Triangle*> backFacesSeenAlong(const std::vector<Triangle>& tris, V3 d)
{
    d = unit(d);
    const V3 helper = std::fabs(d.y) < 0.9 ? V3{0, 1, 0} : V3{1, 0, 0};
    const V3 e1 = unit(cross(helper, d)), e2 = cross(d, e1);
    constexpr int Grid = 90;
    constexpr int Bins = 30;
    struct Projected {
        double u[3], v[3], depth[3];
        double lo[2], hi[2];
    };
    std::vector<Projected> proj(tris.size());
    double lo[2] = {1e9, 1e9}, hi[2] = {-1e9, -1e9};
    for (size_t i = 0; i < tris.size(); ++i) {
        Projected& q = proj[i];
        q.lo[0] = q.lo[1] = 1e9;
        q.hi[0] = q.hi[1] = -1e9;
        for (int k = 0; k < 3; ++k) {
            q.u[k] = dot(tris[i].p[k], e1);
            q.v[k] = dot(tris[i].p[k], e2);
            q.depth[k] = dot(tris[i].p[k], d);
            q.lo[0] = std::min(q.lo[0], q.u[k]);
            q.hi[0] = std::max(q.hi[0], q.u[k]);
            q.lo[1] = std::min(q.lo[1], q.v[k]);
            q.hi[1] = std::max(q.hi[1], q.v[k]);
        }
        for (int a = 0; a < 2; ++a) {
            lo[a] = std::min(lo[a], q.lo[a]);
            hi[a] = std::max(hi[a], q.hi[a]);
        }
    }
    const double step[2] = {(hi[0] - lo[0]) / Grid, (hi[1] - lo[1]) / Grid};
    auto bin = [&](double value, int a) {
        return std::clamp(static_cast<int>((value - lo[a]) / (hi[a] - lo[a]) * Bins), 0, Bins - 1);
    };
    std::vector<std::vector<size_t>> bins(Bins * Bins);
    for (size_t i = 0; i < tris.size(); ++i)
        for (int bu = bin(proj[i].lo[0], 0); bu <= bin(proj[i].hi[0], 0); ++bu)
            for (int bv = bin(proj[i].lo[1], 1); bv <= bin(proj[i].hi[1], 1); ++bv)
                bins[static_cast<size_t>(bu * Bins + bv)].push_back(i);

    std::vector<const Triangle*> wrong;
    for (int gu = 0; gu < Grid; ++gu)
        for (int gv = 0; gv < Grid; ++gv) {
            // Off the lattice of the whole-number stored coordinates.
            const double u = lo[0] + (gu + 0.37) * step[0], v = lo[1] + (gv + 0.61) * step[1];
            double nearest = 1e9, nearestFront = 1e9;
            const Triangle* hit = nullptr;
            for (size_t i : bins[static_cast<size_t>(bin(u, 0) * Bins + bin(v, 1))]) {
                const Projected& q = proj[i];
                if (u < q.lo[0] || u > q.hi[0] || v < q.lo[1] || v > q.hi[1])
                    continue;
                const double area = (q.u[1] - q.u[0]) * (q.v[2] - q.v[0]) - (q.u[2] - q.u[0]) * (q.v[1] - q.v[0]);
                if (std::fabs(area) < 1e-12)
                    continue;  // seen edge-on
                const double w1 = ((u - q.u[0]) * (q.v[2] - q.v[0]) - (q.u[2] - q.u[0]) * (v - q.v[0])) / area;
                const double w2 = ((q.u[1] - q.u[0]) * (v - q.v[0]) - (u - q.u[0]) * (q.v[1] - q.v[0])) / area;
                const double w0 = 1 - w1 - w2;
                if (w0 < 0 || w1 < 0 || w2 < 0)
                    continue;
                const double depth = w0 * q.depth[0] + w1 * q.depth[1] + w2 * q.depth[2];
                const bool front = dot(tris[i].normal, d) < 0;
                if (front)
                    nearestFront = std::min(nearestFront, depth);
                if (depth < nearest) {
                    nearest = depth;
                    hit = &tris[i];
                }
            }
            // A back face counts only when no front face lies at its depth.
            if (hit && dot(hit->normal, d) >= 0 && nearestFront > nearest + 1e-4)
                wrong.push_back(hit);
        }
    return wrong;
}

std::vector<V3> viewDirections()
{
    std::vector<V3> dirs;
    for (int x = -1; x <= 1; ++x)
        for (int y = -1; y <= 1; ++y)
            for (int z = -1; z <= 1; ++z)
                if (x || y || z)
                    dirs.push_back({x + 0.013, y - 0.021, z + 0.017});
    std::mt19937 random(7);
    std::normal_distribution<double> gauss;
    for (int k = 0; k < 24; ++k)
        dirs.push_back({gauss(random), gauss(random), gauss(random)});
    return dirs;
}

void expectOnlyFrontFacesSeen(double podAngle)
{
    const std::vector<Triangle> tris = shipTriangles(podAngle);
    for (V3 d : viewDirections()) {
        const std::vector<const Triangle*> wrong = backFacesSeenAlong(tris, d);
        EXPECT_TRUE(wrong.empty()) << "looking along (" << d.x << ", " << d.y << ", " << d.z << ") at pods "
                                   << podAngle << ": " << wrong.size() << " rays meet a back face first, "
                                   << "e.g. " << wrong.front()->group << " record " << wrong.front()->record;
    }
}

TEST_F(PreparedMesh, EveryFaceSeenFromOutsideFacesTheCamera)
{
    expectOnlyFrontFacesSeen(0);
    expectOnlyFrontFacesSeen(40);
}

TEST_F(PreparedMesh, NoDegenerateFace)
{
    for (const FaceGroup& group : faceGroups(shipMesh))
        for (int i = 0; i < group.count; ++i) {
            const float* n = group.faces[i].normal;
            // Twice the area, in scene units squared: 0.01 is a sliver 0.1 x 0.2.
            EXPECT_GT(std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]), 0.01f) << group.name << " record " << i;
        }
}

// The encounter draws hull vertices until one's normal points into the
// octant of the direction to the cube; each octant needs a fair share.
TEST_F(PreparedMesh, HullNormalsCoverEveryOctant)
{
    int counts[8] = {};
    for (const auto& n : shipMesh.hullNormals) {
        const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        bool clear = length > 0;
        for (int axis = 0; axis < 3; ++axis)
            clear = clear && std::fabs(n[axis]) > 1e-3 * length;
        if (clear)
            ++counts[(n[0] > 0 ? 4 : 0) + (n[1] > 0 ? 2 : 0) + (n[2] > 0 ? 1 : 0)];
    }
    for (int octant = 0; octant < 8; ++octant)
        EXPECT_GE(counts[octant], 14) << "octant x" << (octant & 4 ? '+' : '-') << " y" << (octant & 2 ? '+' : '-')
                                      << " z" << (octant & 1 ? '+' : '-');
}

} // namespace
