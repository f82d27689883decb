// The ship, in stored units (x towards the nose, y up, z across). The hull is
// a loft of rows running nose to stern on its +z half, mirrored, and closed by
// the nose, the belly light and the stern around the rear panel; the under
// panel is a grid of cells cut from its belly. Canopy, fin, mast, engines and
// wing roots are set into it, open where they sit inside. Each pod is a
// hexagonal body on a wedge-shaped pylon whose root is the hull's chine, the
// line that it turns about.
#include "ship_shape.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "mesh_builder.h"

namespace {

constexpr int VertexCount = 359;
constexpr size_t TableSize[GroupCount] = {483, 18, 73, 73, 2};

// Material codes and texture slots of the asset.
constexpr int Plain = 0, BlueGlow = 1, DarkRed = 2, AccentLine = 3, RedGlow = 4, PanelGrey = 5,
              DarkBlue = 6, Textured = 10;
constexpr int NameSlot = 1, WindowSlot = 2, MakerSlot = 3, ArrowSlot = 4;

// Vertex indices and records that the program and the scene rely on.
constexpr int NoseIndex = 0, NoseBaseIndex = 1, CheekIndex = 2, TopLightIndex = 112, KeelIndex = 161,
              HingeBIndex = 183, HingeAIndex = 185, TailIndex = 195, BellyLightIndex = 286,
              KeelLineIndex = 291, KeelLineMirrorIndex = 297, LowerRearIndex = 355;
constexpr int WindowCornerIndex = 18, WindowNextIndex = 20;  // hull record 110
constexpr int NameTopIndex = 78, NameBaseIndex = 80;         // hull record 121
constexpr int ChainPlusZ = 84, ChainMinusZ = 96;             // every second index, x = 60 back to 10
constexpr int LightSideIndex = 335, LightFrontIndex = 336;   // hull record 479
const int UnderPanelFirstIndex[3] = {81, 83, 93};
const int PodStripIndexA[3] = {241, 240, 347}, PodStripIndexB[3] = {221, 220, 338};
const int RearPanelIndex[4] = {250, 251, 252, 253};
constexpr int NoseRecord = 0, WindowRecord = 110, NameRecord = 121, BellyLightRecord = 479;
constexpr int PodStripRecord = 58;
const int PodCapRecords[4] = {18, 19, 56, 57};

// Stations of the pods' hinges on the chine; the pivot at -70 sits midway
// between its neighbours, so the pylon top around it is two equal faces.
const double HingeX[8] = {-52, -55, -58, -61, -70, -79, -83, -87};

std::vector<Vec> points(std::initializer_list<Vec> list) { return std::vector<Vec>(list); }

Row slice(const Row& row, size_t first, size_t end) { return Row(row.begin() + first, row.begin() + end); }

// ---- Where "inside" is, piece by piece -------------------------------------

Vec hullInside(Vec c) { return {c.x, c.x > 16 ? 1.0 : -4.0, 0}; }
Vec noseInside(Vec c) { return {c.x, -5, 0}; }
Vec sternInside(Vec c) { return {c.x + 20, c.y, 0}; }
Vec underPanelInside(Vec c) { return {c.x, c.y + 10, 0}; }
Vec rearPanelInside(Vec c) { return {c.x + 10, c.y, c.z}; }

// An add-on's faces look away from its axis line (y = axisY, z = axisZ)
// and, near its ends, away from its middle.
InsideOf axisInside(double axisY, double axisZ) { return [=](Vec c) { return Vec{c.x, axisY, axisZ}; }; }
InsideOf pointInside(Vec p) { return [=](Vec) { return p; }; }

struct Ship {
    MeshBuilder m;
    Row top, shoulder, windowBase, chine, lower, bottom, keelSide, keel;
    Row panelOuter, panelInner;  // the under panel's columns at z = 12 and z = 4
    int nose = 0, noseBase = 0, cheek = 0, noseRidge = 0, noseSide = 0, chin = 0;
    int lightFront = 0, light = 0, lightRear = 0, lightSide = 0;
    int noseFace = 0;
    std::vector<int> bellyLightFaces, nameFaces, windowFaces, arrowFaces;
};

// ---- Hull: rows of the +z half, front to back ------------------------------

void hullRows(Ship& s)
{
    MeshBuilder& m = s.m;
    s.nose = m.vertex(89, 0, 0);
    s.noseBase = m.vertex(89, -3, 0);
    s.cheek = m.vertex(85, 0, 10);

    s.noseRidge = m.vertex(81, 4, 0);
    s.noseSide = m.vertex(81, 1, 5);
    s.top = m.row(points({{81, 4, 0}, {70, 6, 0}, {60, 8, 0}, {50, 10, 0}, {40, 12, 0}, {30, 12, 0}, {20, 12, 0},
                          {10, 12, 0}, {0, 12, 0}, {-30, 11, 0}, {-60, 10, 0}, {-75, 9, 0}, {-90, 8, 0}}));
    s.shoulder = m.row(points({{85, 0, 10}, {78, 3, 10}, {70, 5, 11}, {60, 7, 11}, {50, 7, 12}, {40, 7, 12},
                               {30, 7, 13}, {20, 7, 13}, {10, 7, 14}, {0, 7, 14}, {-10, 7, 14}, {-20, 7, 15},
                               {-30, 7, 15}, {-40, 7, 15}, {-50, 7, 15}, {-60, 6, 15}, {-75, 6, 15},
                               {-90, 5, 14}}));
    s.windowBase = m.row(points({{85, 0, 10}, {70, 1, 12}, {60, 3, 12}, {50, 3, 13}, {40, 3, 13}, {30, 3, 14},
                                 {20, 3, 14}, {10, 3, 15}, {0, 3, 15}, {-10, 3, 15}, {-20, 3, 16},
                                 {-30, 3, 16}, {-40, 3, 16}, {-60, 2, 16}, {-90, 1, 15}}));
    std::vector<Vec> chine = {{85, 0, 10}, {70, -1, 13}, {60, -2, 14}, {50, -2, 14},
                              {40, -3, 15}, {30, -3, 15}, {20, -4, 16}, {10, -5, 16}, {0, -7, 17},
                              {-10, -7, 17}, {-20, -7, 18}, {-30, -7, 18}, {-40, -7, 18}, {-50, -7, 18}};
    for (double x : HingeX)
        chine.push_back({x, -7, 18});
    chine.push_back({-90, -7, 17});
    s.chine = m.row(chine);
    s.lower = m.row(points({{85, 0, 10}, {70, -3, 11}, {64, -3, 12}, {48, -4, 12}, {32, -4, 12}, {16, -5, 12},
                            {0, -10, 15}, {-10, -10, 15}, {-20, -10, 16}, {-30, -10, 16}, {-40, -10, 16},
                            {-50, -10, 16}, {-62, -9.35, 16}, {-74, -8.5, 16}, {-90, -9.35, 15}}));
    s.panelOuter = slice(s.lower, 2, 6);
    s.panelInner = m.row(points({{64, -3, 4}, {48, -5, 4}, {32, -5, 4}, {16, -5, 4}}));
    s.chin = m.vertex(74, -3, 0);
    s.lightFront = m.vertex(10, -7, 0);
    s.light = m.vertex(4, -10, 0);
    s.lightSide = m.vertex(4, -9, 5);
    s.lightRear = m.vertex(-2, -14, 0);
    s.bottom = m.row(points({{16, -5, 4}, {4, -9, 9}, {-10, -11, 10}, {-30, -11, 10}, {-50, -11, 10},
                             {-70, -11, 9}, {-90, -11, 8}}));
    s.keelSide = m.row(points({{4, -9, 5}, {-10, -17, 6}, {-30, -17, 6}, {-50, -16, 6}, {-70, -14, 5},
                               {-90, -12, 5}}));
    s.keel = m.row(points({{-2, -14, 0}, {-10, -20, 0}, {-30, -19, 0}, {-50, -18, 0}, {-70, -15, 0},
                           {-90, -13, 0}, {-105, -10, 0}}));
}

// The +z half's faces, including those that touch the centre plane.
void hullHalf(Ship& s)
{
    MeshBuilder& m = s.m;
    auto band = [&](const Row& upper, const Row& lower) { return m.strip(Hull, upper, lower, hullInside); };
    s.noseFace = m.triangle(Hull, s.nose, s.noseBase, s.cheek, hullInside);
    Row deckEdge = slice(s.shoulder, 1, s.shoulder.size());
    m.triangle(Hull, s.cheek, deckEdge.front(), s.noseSide, noseInside);
    deckEdge.insert(deckEdge.begin(), s.noseSide);
    s.nameFaces = band(s.top, deckEdge);
    s.windowFaces = band(s.shoulder, s.windowBase);
    band(s.windowBase, s.chine);
    s.arrowFaces = band(s.chine, s.lower);
    // The belly ahead of the under panel, then behind it down to the keel.
    band(slice(s.lower, 0, 3), {s.noseBase, s.chin, s.panelInner.front()});
    band(slice(s.lower, 5, s.lower.size()), s.bottom);
    m.triangle(Hull, s.panelInner.back(), s.lightFront, s.lightSide, hullInside);
    m.triangle(Hull, s.panelInner.back(), s.bottom[1], s.lightSide, hullInside);
    band(slice(s.bottom, 1, s.bottom.size()), s.keelSide);
    band(s.keelSide, s.keel);
}

// Faces that cross the centre plane, made once.
void hullCentre(Ship& s)
{
    MeshBuilder& m = s.m;
    const int front = s.panelInner.front(), back = s.panelInner.back();
    m.triangle(Hull, s.chin, front, m.vertex(mirrored(m.at(front))), hullInside);
    m.triangle(Hull, back, m.vertex(mirrored(m.at(back))), s.lightFront, hullInside);
    // The tip of the deck: on the +z side one face from the nose to the
    // ridge, on the -z side two, over the side point of the ridge.
    const int otherCheek = m.vertex(mirrored(m.at(s.cheek))), otherSide = m.vertex(mirrored(m.at(s.noseSide)));
    m.triangle(Hull, s.nose, s.cheek, s.noseRidge, noseInside);
    m.triangle(Hull, s.noseRidge, s.cheek, s.noseSide, noseInside);
    m.triangle(Hull, s.nose, s.noseRidge, otherSide, noseInside);
    m.triangle(Hull, s.nose, otherSide, otherCheek, noseInside);
}

// Four faces around the belly light: dark red fore and aft, blue glow at the
// sides, plain grey at the light itself.
void bellyLight(Ship& s)
{
    MeshBuilder& m = s.m;
    const int otherSide = m.vertex(mirrored(m.at(s.lightSide)));
    const int rim[5] = {s.lightFront, s.lightSide, s.lightRear, otherSide, s.lightFront};
    for (int k = 0; k < 4; ++k) {
        const int f = m.triangle(Hull, s.light, rim[k], rim[k + 1], hullInside);
        for (Corner& c : m.faces[Hull][static_cast<size_t>(f)].corner)
            c.code = c.vertex == s.light ? Plain
                     : (c.vertex == s.lightFront || c.vertex == s.lightRear) ? DarkRed
                                                                              : BlueGlow;
        s.bellyLightFaces.push_back(f);
    }
}

// The stern's +z half around the rear panel.
void sternHalf(Ship& s, int panelTop, int panelBottom)
{
    MeshBuilder& m = s.m;
    const int top = s.top.back(), shoulder = s.shoulder.back(), window = s.windowBase.back();
    const int chine = s.chine.back(), lower = s.lower.back(), bottom = s.bottom.back();
    const int keelSide = s.keelSide.back(), tail = s.keel.back();
    const int tris[8][3] = {{top, shoulder, panelTop},       {shoulder, window, panelTop},
                            {window, panelBottom, panelTop},  {window, chine, panelBottom},
                            {chine, lower, panelBottom},      {lower, bottom, panelBottom},
                            {bottom, keelSide, panelBottom},  {keelSide, tail, panelBottom}};
    for (const auto& t : tris)
        m.triangle(Hull, t[0], t[1], t[2], sternInside);
}

// ---- Superstructure: pieces set into the hull, open where they sit ---------

// The bridge canopy on the ridge; its front top is the top light.
void canopy(MeshBuilder& m)
{
    // Its front stays behind the name plate on the deck (x = 30..40).
    const int front = m.vertex(30, 11, 0), back = m.vertex(2, 11, 0);
    const Row crown = {front, m.vertex(26, 14, 0), m.vertex(12, 14, 0), back};
    const Row side = {front, m.vertex(24, 13, 3), m.vertex(12, 13, 4), back};
    const Row base = {front, m.vertex(26, 10, 5), m.vertex(12, 9, 6), back};
    const size_t first = m.faces[Hull].size();
    m.strip(Hull, crown, side, axisInside(9, 0));
    m.strip(Hull, side, base, axisInside(9, 0));
    m.mirror(Hull, static_cast<int>(first), static_cast<int>(m.faces[Hull].size()), Hull);
}

// A swept dorsal fin over the stern.
void dorsalFin(MeshBuilder& m)
{
    const int leading = m.vertex(-38, 10, 0), trailing = m.vertex(-88, 7, 0);
    const int sideBase = m.vertex(-62, 9, 2);
    const int tipFront = m.vertex(-74, 17, 0), tipBack = m.vertex(-86, 17, 0);
    const size_t first = m.faces[Hull].size();
    const InsideOf inside = [](Vec c) { return Vec{c.x, c.y, 0}; };  // a thin blade: sideways
    m.strip(Hull, {leading, tipFront, tipBack}, {leading, sideBase, trailing}, inside);
    m.mirror(Hull, static_cast<int>(first), static_cast<int>(m.faces[Hull].size()), Hull);
}

// An engine bell on the stern (+z side; the caller mirrors it).
void engine(MeshBuilder& m)
{
    // A hexagon about (y, z) = (2, 8): corners at +-h up and down, the side
    // corners at +-h/2 and +-r across.
    auto ring = [&](double x, double r, double h) {
        const double y = 2, z = 8, half = h / 2;
        return Row{m.vertex(x, y + h, z), m.vertex(x, y + half, z + r), m.vertex(x, y - half, z + r),
                   m.vertex(x, y - h, z), m.vertex(x, y - half, z - r), m.vertex(x, y + half, z - r)};
    };
    const std::vector<Row> rings = {ring(-86, 3, 4), ring(-94, 3, 4), ring(-99, 4, 6)};
    m.tube(Hull, rings, axisInside(2, 8));
    m.cap(Hull, rings.back(), pointInside({-90, 2, 8}));
}

// A swept wing root along the chine, leading back into the pod (+z side).
void wing(MeshBuilder& m)
{
    const Row rootTop = m.row(points({{10, -4, 15}, {-10, -6, 16}, {-30, -6, 17}, {-50, -6, 17}}));
    const Row edge = m.row(points({{10, -5, 15}, {-10, -7, 20}, {-30, -7, 23}, {-50, -7, 25}}));
    const Row rootBottom = m.row(points({{10, -6, 13}, {-10, -8, 16}, {-30, -8, 17}, {-50, -8, 17}}));
    m.strip(Hull, rootTop, edge, [](Vec c) { return Vec{c.x, c.y - 10, c.z}; });
    m.strip(Hull, edge, rootBottom, [](Vec c) { return Vec{c.x, c.y + 10, c.z}; });
    m.triangle(Hull, rootTop.front(), edge.front(), rootBottom.front(), pointInside({0, -6, 14}));
    m.triangle(Hull, rootTop.back(), edge.back(), rootBottom.back(), pointInside({-40, -7, 17}));
}

// A short mast behind the canopy.
void mast(MeshBuilder& m)
{
    const int front = m.vertex(6, 11, 0), left = m.vertex(-2, 11, 1), right = m.vertex(-2, 11, -1);
    const int tip = m.vertex(-4, 16, 0);
    const InsideOf inside = pointInside({-0.5, 12.25, 0});  // its centroid
    m.triangle(Hull, front, left, tip, inside);
    m.triangle(Hull, front, tip, right, inside);
    m.triangle(Hull, left, right, tip, inside);
}

// ---- Texture bands ---------------------------------------------------------

bool allWithin(const MeshBuilder& m, const Face& f, double xMin, double xMax)
{
    for (const Corner& c : f.corner)
        if (m.at(c.vertex).x < xMin || m.at(c.vertex).x > xMax)
            return false;
    return true;
}

double frontX(const MeshBuilder& m, const Face& f)
{
    double x = m.at(f.corner[0].vertex).x;
    for (const Corner& c : f.corner)
        x = std::max(x, m.at(c.vertex).x);
    return x;
}

// Textures a band's faces within x = xMin..xMax: t = 0 on the upper row, 1 on
// the lower; s from each corner's x and the face's front x.
template <typename SOf>
void texture(MeshBuilder& m, const std::vector<int>& faces, const Row& upper, int slot, double xMin, double xMax,
             SOf sOf)
{
    const std::set<int> upperRow(upper.begin(), upper.end());
    for (int f : faces) {
        Face& face = m.faces[Hull][static_cast<size_t>(f)];
        if (!allWithin(m, face, xMin, xMax))
            continue;
        face.slot = slot;
        const double front = frontX(m, face);
        for (Corner& c : face.corner) {
            c.code = Textured;
            c.t = upperRow.count(c.vertex) ? 0 : 1;
            c.s = sOf(m.at(c.vertex), front);
        }
    }
}

// The name plate on the deck at x = 30..40: one picture across both halves,
// its middle on the ridge, its top edge aft.
void nameplate(MeshBuilder& m, const std::vector<int>& halfFaces, int halfCount)
{
    for (int half : halfFaces)
        for (int f : {half, half + halfCount}) {
            Face& face = m.faces[Hull][static_cast<size_t>(f)];
            if (!allWithin(m, face, 30, 40))
                continue;
            face.slot = NameSlot;
            for (Corner& c : face.corner) {
                const Vec p = m.at(c.vertex);
                c.code = Textured;
                c.s = p.z > 0 ? -0.05 : p.z < 0 ? 1.05 : 0.5;
                c.t = (p.x - 30) / 10;
            }
        }
}

// ---- Pods ------------------------------------------------------------------

// Pod A hangs on the -z side; w is the distance out from the centre plane.
Vec podPoint(double x, double y, double w) { return {x, y, -w}; }

constexpr double PodAxisY = -8.5, PodAxisW = 31;
Vec podInside(Vec c) { return {c.x, PodAxisY, -PodAxisW}; }
Vec podFrontInside(Vec c) { return {c.x - 10, PodAxisY, -PodAxisW}; }
Vec podRearInside(Vec c) { return {c.x + 10, PodAxisY, -PodAxisW}; }
Vec pylonInside(Vec c) { return {c.x, -8, -22}; }

struct Pod {
    std::vector<int> strip, cap;
};

Row podRow(MeshBuilder& m, std::initializer_list<Vec> xyw)
{
    Row row;
    for (const Vec& p : xyw)
        row.push_back(m.vertex(podPoint(p.x, p.y, p.z)));
    return row;
}

// The six corners of a hexagonal section of the pod, from the top inside.
struct PodRing {
    int topIn, topOut, midOut, bottomOut, bottomIn, midIn;
};
PodRing ringFront(const std::vector<Row>& rows)
{
    return {rows[0].front(), rows[1].front(), rows[2].front(), rows[3].front(), rows[4].front(), rows[5].front()};
}
PodRing ringBack(const std::vector<Row>& rows)
{
    return {rows[0].back(), rows[1].back(), rows[2].back(), rows[3].back(), rows[4].back(), rows[5].back()};
}

Pod podA(MeshBuilder& m)
{
    Pod pod;
    // Rows around the section: top in, top out, middle out, bottom out,
    // bottom in, middle in.
    const std::vector<Row> rows = {
        podRow(m, {{-43, -6, 28}, {-60, -5, 27}, {-80, -5, 27}, {-95, -6, 28}}),
        podRow(m, {{-43, -6, 34}, {-60, -5, 35}, {-75, -5, 35}, {-90, -5, 35}, {-95, -6, 34}}),
        podRow(m, {{-46, -8.5, 37}, {-60, -8, 38}, {-70, -8, 38}, {-80, -8, 38}, {-90, -8, 38}, {-95, -8, 36}}),
        podRow(m, {{-50, -11, 34}, {-60, -12, 35}, {-70, -12, 35}, {-80, -12, 35}, {-90, -12, 35}, {-95, -11, 34}}),
        podRow(m, {{-50, -11, 28}, {-65, -12, 27}, {-80, -12, 27}, {-90, -12, 27}, {-95, -11, 28}}),
        podRow(m, {{-46, -8.5, 25}, {-65, -8, 24}, {-80, -8, 24}, {-95, -8, 26}}),
    };
    for (size_t k = 0; k < rows.size(); ++k) {
        const std::vector<int> made = m.strip(PodA, rows[k], rows[(k + 1) % rows.size()], podInside);
        if (k == 1 || k == 2)  // the outer side: the blue strip within x = -90..-60
            for (int f : made)
                if (allWithin(m, m.faces[PodA][static_cast<size_t>(f)], -90, -60))
                    pod.strip.push_back(f);
    }
    // The raked intake at the front, red; the flat rear.
    const PodRing f = ringFront(rows), b = ringBack(rows);
    const int front[4][3] = {{f.topIn, f.topOut, f.midOut},
                             {f.topIn, f.midOut, f.midIn},
                             {f.midIn, f.midOut, f.bottomOut},
                             {f.midIn, f.bottomOut, f.bottomIn}};
    for (const auto& t : front)
        pod.cap.push_back(m.triangle(PodA, t[0], t[1], t[2], podFrontInside));
    const int back[4][3] = {{b.topIn, b.topOut, b.midOut},
                            {b.topIn, b.midOut, b.midIn},
                            {b.midIn, b.midOut, b.bottomOut},
                            {b.midIn, b.bottomOut, b.bottomIn}};
    for (const auto& t : back)
        m.triangle(PodA, t[0], t[1], t[2], podRearInside);

    // The pylon: a wedge from the hinge on the hull's chine into the pod.
    Row hinge;
    for (double x : HingeX)
        hinge.push_back(m.vertex(x, -7, -18));
    const Row pylonTop = podRow(m, {{-52, -7, 28}, {-70, -7, 28}, {-87, -7, 28}});
    const Row pylonBottom = podRow(m, {{-52, -10, 27}, {-59, -10, 27}, {-66, -10, 27}, {-73, -10, 27},
                                       {-80, -10, 27}, {-87, -10, 27}});
    const int pivot = hinge[4], opposite = pylonTop[1];
    m.strip(PodA, slice(hinge, 0, 4), slice(pylonTop, 0, 2), pylonInside);
    m.triangle(PodA, hinge[3], pivot, opposite, pylonInside);
    m.triangle(PodA, pivot, hinge[5], opposite, pylonInside);
    m.strip(PodA, slice(hinge, 5, 8), slice(pylonTop, 1, 3), pylonInside);
    m.strip(PodA, {hinge.front(), hinge.back()}, pylonBottom, pylonInside);
    m.triangle(PodA, hinge.front(), pylonTop.front(), pylonBottom.front(), pointInside({-70, -8, -22}));
    m.triangle(PodA, hinge.back(), pylonTop.back(), pylonBottom.back(), pointInside({-70, -8, -22}));
    return pod;
}

// Codes of pod A: the intake glows red (4) into dark red (2); the outer strip
// glows blue (1) along its middle row into dark blue (6).
void podCodes(MeshBuilder& m, const Pod& pod)
{
    // Intake corners: middle out and top out and bottom in red, middle in and
    // bottom out dark red, top in plain.
    for (int f : pod.cap) {
        for (Corner& c : m.faces[PodA][static_cast<size_t>(f)].corner) {
            const Vec p = m.at(c.vertex);
            const double w = -p.z;
            if (p.y == -6 && w == 28)
                c.code = Plain;
            else if ((p.y == -8.5 && w == 37) || (p.y == -6 && w == 34) || (p.y == -11 && w == 28))
                c.code = RedGlow;
            else
                c.code = DarkRed;
        }
    }
    // The strip: blue along the middle row, dark blue above and below it; on
    // the lower facet the back corner of each dark edge glows as well, so
    // that the strip's lower edge shows as a run of lights.
    for (int f : pod.strip) {
        Face& face = m.faces[PodA][static_cast<size_t>(f)];
        int dark = 0;
        bool lowerFacet = true;
        for (Corner& c : face.corner) {
            const double y = m.at(c.vertex).y;
            c.code = y == -8 ? BlueGlow : DarkBlue;
            dark += c.code == DarkBlue;
            lowerFacet = lowerFacet && y != -5;
        }
        if (dark == 2 && lowerFacet) {
            Corner* back = nullptr;
            for (Corner& c : face.corner)
                if (c.code == DarkBlue && (!back || m.at(c.vertex).x < m.at(back->vertex).x))
                    back = &c;
            back->code = BlueGlow;
        }
    }
}

// ---- Statistics ------------------------------------------------------------

void printStats(const MeshBuilder& m)
{
    for (int g = 0; g < GroupCount; ++g) {
        std::set<int> used;
        int codes[16] = {};
        for (const Face& f : m.faces[g])
            for (const Corner& c : f.corner) {
                used.insert(c.vertex);
                ++codes[c.code < 16 ? c.code : 15];
            }
        std::fprintf(stderr, "%-6s %4zu faces (want %3zu), %4zu vertices, codes", GroupNames[g], m.faces[g].size(),
                     TableSize[g], used.size());
        for (int c = 0; c < 16; ++c)
            if (codes[c])
                std::fprintf(stderr, " %d:%d", c, codes[c]);
        std::fprintf(stderr, "\n");
    }
    std::fprintf(stderr, "vertices %zu (want %d)\n", m.positions.size(), VertexCount);
}

// ---- Fixed indices and records ---------------------------------------------

int faceWith(const MeshBuilder& m, Group group, const std::vector<int>& among, std::initializer_list<int> corners)
{
    for (int f : among) {
        int found = 0;
        for (const Corner& c : m.faces[group][static_cast<size_t>(f)].corner)
            for (int v : corners)
                found += c.vertex == v;
        if (found == 3)
            return f;
    }
    std::fprintf(stderr, "quelmar-shipgen: a fixed record is missing\n");
    std::abort();
}

// Pod A's intake at records 18, 19, 56, 57 and its blue strip at 58 to 68,
// record 58 a face with two blue corners first.
void fixPodRecords(MeshBuilder& m, const Pod& pod)
{
    for (size_t k = 0; k < pod.cap.size(); ++k)
        m.faces[PodA][static_cast<size_t>(pod.cap[k])].record = PodCapRecords[k];
    int next = PodStripRecord + 1;
    bool first = true;
    for (int f : pod.strip) {
        Face& face = m.faces[PodA][static_cast<size_t>(f)];
        int blue = 0, dark = 0;
        for (int k = 0; k < 3; ++k) {
            blue += face.corner[static_cast<size_t>(k)].code == BlueGlow;
            if (face.corner[static_cast<size_t>(k)].code == DarkBlue)
                dark = k;
        }
        if (first && blue == 2) {
            m.fixRecord(PodA, f, PodStripRecord, face.corner[static_cast<size_t>((dark + 1) % 3)].vertex);
            first = false;
        } else {
            face.record = next++;
        }
    }
}

// The hull's named vertices and records.
void fixHull(Ship& s)
{
    MeshBuilder& m = s.m;
    auto atX = [&](const Row& row, double x) {
        for (int v : row)
            if (m.at(v).x == x)
                return v;
        std::fprintf(stderr, "quelmar-shipgen: no vertex at x = %g\n", x);
        std::abort();
    };
    m.fix(s.nose, NoseIndex);
    m.fix(s.noseBase, NoseBaseIndex);
    m.fix(s.cheek, CheekIndex);
    for (int k = 0; k < 6; ++k) {
        const int v = atX(s.shoulder, 60 - 10 * k);
        m.fix(v, ChainPlusZ + 2 * k);
        m.fix(m.vertex(mirrored(m.at(v))), ChainMinusZ + 2 * k);
    }
    const int windowCorner = atX(s.windowBase, 10), windowNext = atX(s.windowBase, 0);
    m.fix(windowCorner, WindowCornerIndex);
    m.fix(windowNext, WindowNextIndex);
    const int nameTop = atX(s.top, 40), nameBase = atX(s.top, 30);
    m.fix(nameTop, NameTopIndex);
    m.fix(nameBase, NameBaseIndex);
    m.fix(m.vertex(26, 14, 0), TopLightIndex);
    m.fix(m.vertex(-10, -20, 0), KeelIndex);
    m.fix(m.vertex(-70, -7, 18), HingeBIndex);
    m.fix(m.vertex(-70, -7, -18), HingeAIndex);
    m.fix(m.vertex(-105, -10, 0), TailIndex);
    m.fix(s.light, BellyLightIndex);
    m.fix(s.lightSide, LightSideIndex);
    m.fix(s.lightFront, LightFrontIndex);
    m.fix(m.vertex(-10, -17, 6), KeelLineIndex);
    m.fix(m.vertex(-10, -17, -6), KeelLineMirrorIndex);
    m.fix(m.vertex(-62, -9.35, -16), LowerRearIndex);

    m.fixRecord(Hull, s.noseFace, NoseRecord, s.nose);
    m.fixRecord(Hull, faceWith(m, Hull, s.windowFaces, {windowCorner, windowNext, atX(s.shoulder, 10)}), WindowRecord,
                windowCorner);
    m.fixRecord(Hull, faceWith(m, Hull, s.nameFaces, {nameTop, nameBase, atX(s.shoulder, 30)}), NameRecord, nameTop);
    int next = BellyLightRecord + 1;
    for (int f : s.bellyLightFaces) {
        bool front = false, side = false;
        for (const Corner& c : m.faces[Hull][static_cast<size_t>(f)].corner) {
            front |= c.vertex == s.lightFront;
            side |= c.vertex == s.lightSide;
        }
        if (front && side)
            m.fixRecord(Hull, f, BellyLightRecord, s.lightFront);
        else
            m.faces[Hull][static_cast<size_t>(f)].record = next++;
    }
}

} // namespace

bool buildShipAsset(std::string& text, std::string& error, bool stats)
{
    Ship s;
    MeshBuilder& m = s.m;
    hullRows(s);
    hullHalf(s);
    auto windowS = [](Vec p, double front) { return (front - p.x) / 10; };
    auto arrowS = [](Vec p, double front) { return 1 - (front - p.x) / 10; };
    texture(m, s.windowFaces, s.shoulder, WindowSlot, -50, 70, windowS);
    texture(m, s.arrowFaces, s.chine, ArrowSlot, -50, 0, arrowS);
    const int halfCount = static_cast<int>(m.faces[Hull].size());
    m.mirror(Hull, 0, halfCount, Hull);
    nameplate(m, s.nameFaces, halfCount);
    hullCentre(s);
    bellyLight(s);

    // Under panel: three columns of three cells.
    auto mirrorRow = [&](const Row& row) {
        Row r;
        for (int v : row)
            r.push_back(m.vertex(mirrored(m.at(v))));
        return r;
    };
    const Row outerMirror = mirrorRow(s.panelOuter), innerMirror = mirrorRow(s.panelInner);
    m.strip(UnderPanel, s.panelOuter, s.panelInner, underPanelInside);
    m.strip(UnderPanel, s.panelInner, innerMirror, underPanelInside);
    m.strip(UnderPanel, innerMirror, outerMirror, underPanelInside);
    for (Face& f : m.faces[UnderPanel])
        for (Corner& c : f.corner)
            c.code = PanelGrey;

    // Rear panel and the stern around it.
    const int panelTop = m.vertex(-90, -2, 8), panelTopMirror = m.vertex(-90, -2, -8);
    const int panelBottom = m.vertex(-90, -7, 8), panelBottomMirror = m.vertex(-90, -7, -8);
    const int sternStart = static_cast<int>(m.faces[Hull].size());
    sternHalf(s, panelTop, panelBottom);
    m.mirror(Hull, sternStart, static_cast<int>(m.faces[Hull].size()), Hull);
    m.triangle(Hull, s.top.back(), panelTop, panelTopMirror, sternInside);
    m.triangle(Hull, s.keel.back(), panelBottom, panelBottomMirror, sternInside);
    m.triangle(RearPanel, panelTopMirror, panelTop, panelBottom, rearPanelInside);
    m.triangle(RearPanel, panelBottomMirror, panelTopMirror, panelBottom, rearPanelInside);

    // Superstructure.
    canopy(m);
    dorsalFin(m);
    mast(m);
    for (auto piece : {engine, wing}) {
        const int first = static_cast<int>(m.faces[Hull].size());
        piece(m);
        m.mirror(Hull, first, static_cast<int>(m.faces[Hull].size()), Hull);
    }

    // Pods: A built and its records settled, then B as its mirror image,
    // record by record.
    const Pod pod = podA(m);
    podCodes(m, pod);
    fixPodRecords(m, pod);
    m.settleRecords(PodA);
    m.mirror(PodA, 0, static_cast<int>(m.faces[PodA].size()), PodB);
    m.settleRecords(PodB);
    const Face& strip = m.faces[PodA][PodStripRecord];
    for (int k = 0; k < 3; ++k) {
        const int v = strip.corner[static_cast<size_t>(k)].vertex;
        m.fix(v, PodStripIndexA[k]);
        m.fix(m.vertex(mirrored(m.at(v))), PodStripIndexB[k]);
    }

    fixHull(s);
    Face& panelFirst = m.faces[UnderPanel].front();
    panelFirst.record = 0;
    for (int k = 0; k < 3; ++k)
        m.fix(panelFirst.corner[static_cast<size_t>(k)].vertex, UnderPanelFirstIndex[k]);
    const int rearCorners[4] = {panelTop, panelTopMirror, panelBottom, panelBottomMirror};
    const double rearS[4] = {1, 0, 1.1, -0.1}, rearT[4] = {0, 0, 1, 1};
    for (int k = 0; k < 4; ++k)
        m.fix(rearCorners[k], RearPanelIndex[k]);
    for (Face& f : m.faces[RearPanel]) {
        f.slot = MakerSlot;
        for (Corner& c : f.corner)
            for (int k = 0; k < 4; ++k)
                if (c.vertex == rearCorners[k]) {
                    c.code = Textured;
                    c.s = rearS[k];
                    c.t = rearT[k];
                }
    }

    if (stats)
        printStats(m);
    for (int g = 0; g < GroupCount; ++g)
        if (m.faces[g].size() != TableSize[g]) {
            error = std::string(GroupNames[g]) + " has " + std::to_string(m.faces[g].size()) + " faces, not " +
                    std::to_string(TableSize[g]);
            return false;
        }
    MeshTables tables;
    if (!finishTables(m, VertexCount, tables, error))
        return false;
    std::vector<LineRecord> lines;
    for (int chain : {ChainMinusZ, ChainPlusZ})
        for (int k = 0; k < 5; ++k)
            lines.push_back({chain + 2 * k, chain + 2 * k + 2, AccentLine, AccentLine});
    lines.push_back({KeelLineIndex, KeelIndex, AccentLine, AccentLine});
    lines.push_back({KeelIndex, KeelLineMirrorIndex, AccentLine, AccentLine});
    text = assetText(tables, lines, {NoseIndex, TailIndex, TopLightIndex});
    return true;
}
