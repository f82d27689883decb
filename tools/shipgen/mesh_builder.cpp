#include "mesh_builder.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <tuple>

const char* const GroupNames[GroupCount] = {"hull", "under", "podA", "podB", "rear"};

Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec operator*(Vec a, double k) { return {a.x * k, a.y * k, a.z * k}; }
double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec mirrored(Vec p) { return {p.x, p.y, -p.z}; }

int MeshBuilder::vertex(Vec p)
{
    for (size_t i = 0; i < positions.size(); ++i)
        if (positions[i].x == p.x && positions[i].y == p.y && positions[i].z == p.z)
            return static_cast<int>(i);
    positions.push_back(p);
    fixedIndex.push_back(-1);
    return static_cast<int>(positions.size() - 1);
}

Row MeshBuilder::row(const std::vector<Vec>& points)
{
    Row r;
    for (const Vec& p : points)
        r.push_back(vertex(p));
    return r;
}

void MeshBuilder::fix(int v, int index) { fixedIndex[static_cast<size_t>(v)] = index; }

Vec MeshBuilder::normal(const Face& face) const
{
    const Vec pa = at(face.corner[0].vertex), pb = at(face.corner[1].vertex), pc = at(face.corner[2].vertex);
    const Vec u = pb - pa, v = pc - pb;
    return {u.z * v.y - u.y * v.z, u.x * v.z - u.z * v.x, u.y * v.x - u.x * v.y};
}

Vec MeshBuilder::centroid(const Face& face) const
{
    return (at(face.corner[0].vertex) + at(face.corner[1].vertex) + at(face.corner[2].vertex)) * (1.0 / 3);
}

int MeshBuilder::triangle(Group group, int a, int b, int c, const InsideOf& inside)
{
    if (a == b || b == c || a == c)
        return -1;
    Face face;
    face.corner[0].vertex = a;
    face.corner[1].vertex = b;
    face.corner[2].vertex = c;
    const Vec centre = centroid(face);
    if (dot(normal(face), centre - inside(centre)) < 0)
        std::swap(face.corner[1], face.corner[2]);
    faces[group].push_back(face);
    return static_cast<int>(faces[group].size() - 1);
}

std::vector<int> MeshBuilder::strip(Group group, const Row& upper, const Row& lower, const InsideOf& inside)
{
    std::vector<int> made;
    size_t i = 0, j = 0;
    while (i + 1 < upper.size() || j + 1 < lower.size()) {
        bool advanceUpper;
        if (i + 1 == upper.size())
            advanceUpper = false;
        else if (j + 1 == lower.size())
            advanceUpper = true;
        else
            advanceUpper = at(upper[i + 1]).x > at(lower[j + 1]).x;
        const int f = advanceUpper ? triangle(group, upper[i], lower[j], upper[i + 1], inside)
                                   : triangle(group, upper[i], lower[j], lower[j + 1], inside);
        if (f >= 0)
            made.push_back(f);
        (advanceUpper ? i : j) += 1;
    }
    return made;
}

std::vector<int> MeshBuilder::fan(Group group, int centre, const Row& rim, const InsideOf& inside)
{
    std::vector<int> made;
    for (size_t k = 0; k + 1 < rim.size(); ++k) {
        const int f = triangle(group, centre, rim[k], rim[k + 1], inside);
        if (f >= 0)
            made.push_back(f);
    }
    return made;
}

std::vector<int> MeshBuilder::cap(Group group, const Row& ring, const InsideOf& inside)
{
    return fan(group, ring.front(), Row(ring.begin() + 1, ring.end()), inside);
}

std::vector<int> MeshBuilder::tube(Group group, const std::vector<Row>& rings, const InsideOf& inside)
{
    std::vector<int> made;
    for (size_t k = 0; k + 1 < rings.size(); ++k) {
        const Row& front = rings[k];
        const Row& back = rings[k + 1];
        for (size_t i = 0; i < front.size(); ++i) {
            const size_t j = (i + 1) % front.size();
            for (int f : {triangle(group, front[i], back[i], back[j], inside),
                          triangle(group, front[i], back[j], front[j], inside)})
                if (f >= 0)
                    made.push_back(f);
        }
    }
    return made;
}

void MeshBuilder::mirror(Group from, int first, int end, Group to)
{
    for (int k = first; k < end; ++k) {
        Face face = faces[from][static_cast<size_t>(k)];
        face.record = -1;
        std::swap(face.corner[0], face.corner[1]);
        for (Corner& corner : face.corner)
            corner.vertex = vertex(mirrored(at(corner.vertex)));
        faces[to].push_back(face);
    }
}

void MeshBuilder::rotateToFront(Group group, int f, int v)
{
    Face& face = faces[group][static_cast<size_t>(f)];
    for (int turn = 0; turn < 3 && face.corner[0].vertex != v; ++turn)
        face.corner = {face.corner[1], face.corner[2], face.corner[0]};
}

void MeshBuilder::fixRecord(Group group, int f, int record, int v)
{
    rotateToFront(group, f, v);
    faces[group][static_cast<size_t>(f)].record = record;
}

namespace {

// Fixed records at their places, the others in order in the free places.
bool recordOrder(const std::vector<Face>& source, std::vector<Face>& out, std::string& error)
{
    out.assign(source.size(), Face{});
    std::vector<bool> filled(source.size(), false);
    for (const Face& face : source) {
        if (face.record < 0)
            continue;
        const auto record = static_cast<size_t>(face.record);
        if (record >= source.size() || filled[record]) {
            error = "record " + std::to_string(face.record) + " fixed twice or out of the table";
            return false;
        }
        out[record] = face;
        filled[record] = true;
    }
    size_t slot = 0;
    for (const Face& face : source) {
        if (face.record >= 0)
            continue;
        while (filled[slot])
            ++slot;
        out[slot] = face;
        filled[slot] = true;
    }
    return true;
}

} // namespace

void MeshBuilder::settleRecords(Group group)
{
    std::vector<Face> ordered;
    std::string error;
    if (!recordOrder(faces[group], ordered, error))
        return;  // finishTables reports it
    for (size_t r = 0; r < ordered.size(); ++r)
        ordered[r].record = static_cast<int>(r);
    faces[group] = ordered;
}

bool finishTables(const MeshBuilder& builder, int vertexCount, MeshTables& tables, std::string& error)
{
    const int made = static_cast<int>(builder.positions.size());
    if (made != vertexCount) {
        error = "made " + std::to_string(made) + " vertices, the table holds " + std::to_string(vertexCount);
        return false;
    }
    std::vector<int> indexOf(static_cast<size_t>(made), -1);
    std::vector<bool> taken(static_cast<size_t>(made), false);
    for (int v = 0; v < made; ++v) {
        const int index = builder.fixedIndex[static_cast<size_t>(v)];
        if (index < 0)
            continue;
        if (index >= made || taken[static_cast<size_t>(index)]) {
            error = "vertex index " + std::to_string(index) + " fixed twice or out of the table";
            return false;
        }
        indexOf[static_cast<size_t>(v)] = index;
        taken[static_cast<size_t>(index)] = true;
    }
    int next = 0;
    for (int v = 0; v < made; ++v) {
        if (indexOf[static_cast<size_t>(v)] >= 0)
            continue;
        while (taken[static_cast<size_t>(next)])
            ++next;
        indexOf[static_cast<size_t>(v)] = next;
        taken[static_cast<size_t>(next)] = true;
    }
    tables.vertices.assign(static_cast<size_t>(made), Vec{});
    for (int v = 0; v < made; ++v)
        tables.vertices[static_cast<size_t>(indexOf[static_cast<size_t>(v)])] = builder.positions[static_cast<size_t>(v)];

    for (int g = 0; g < GroupCount; ++g) {
        std::vector<Face>& out = tables.faces[g];
        if (!recordOrder(builder.faces[g], out, error)) {
            error = std::string(GroupNames[g]) + " " + error;
            return false;
        }
        for (Face& face : out)
            for (Corner& corner : face.corner)
                corner.vertex = indexOf[static_cast<size_t>(corner.vertex)];
    }
    return true;
}

namespace {

// Whole numbers without a decimal point, others with as few digits as
// round-trip the value (the asset holds only short decimals).
std::string number(double value)
{
    if (value == 0)
        return "0";  // no "-0"
    char text[32];
    if (value == std::floor(value) && std::fabs(value) < 1e9) {
        std::snprintf(text, sizeof text, "%.0f", value);
        return text;
    }
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (std::strtod(text, nullptr) == value)
            break;
    }
    return text;
}

// Appends `first` and then each field after a space. Appending in place also
// keeps GCC 12 quiet: its -Wrestrict misfires on chains of string operator+
// at -O3 (a false positive inside char_traits' memcpy).
template <typename... Fields>
void appendFields(std::string& out, const std::string& first, const Fields&... fields)
{
    out += first;
    ((out += ' ', out += fields), ...);
}

} // namespace

std::string assetText(const MeshTables& tables, const std::vector<LineRecord>& lines,
                      const std::vector<int>& lightPoints)
{
    std::string out =
        "# Quelmar ship mesh: the stored tables that the program compiles in.\n"
        "# Written by tools/shipgen (build target quelmar-shipgen); change the\n"
        "# generator and run it again rather than editing this file.\n"
        "#\n"
        "# One record a line, fields separated by single spaces; lines starting\n"
        "# with '#' are comments. Indices start at 0, and the records of every\n"
        "# table appear in index order. Coordinates are stored units: x along the\n"
        "# ship (nose towards +x), y up, z across; the program scales them by 0.15.\n"
        "#\n"
        "#   v INDEX X Y Z\n"
        "#       a vertex\n"
        "#   f TABLE RECORD A B C CODEA CODEB CODEC SLOT SA TA SB TB SC TC\n"
        "#       a triangle of face table TABLE (hull, under, podA, podB, rear):\n"
        "#       the vertex indices of corners a, b, c, each corner's material\n"
        "#       code, the texture slot, and each corner's texture coordinates.\n"
        "#       The corners are drawn in the order c, b, a, counter-clockwise\n"
        "#       seen from outside the ship.\n"
        "#   l RECORD FROM TO CODEFROM CODETO\n"
        "#       an accent line between two hull vertices, with a code at each end\n"
        "#   p RECORD VERTEX\n"
        "#       a light point\n";
    for (size_t i = 0; i < tables.vertices.size(); ++i) {
        const Vec& p = tables.vertices[i];
        appendFields(out, "v", std::to_string(i), number(p.x), number(p.y), number(p.z));
        out += '\n';
    }
    for (int g = 0; g < GroupCount; ++g) {
        const std::vector<Face>& faces = tables.faces[g];
        for (size_t r = 0; r < faces.size(); ++r) {
            const Face& f = faces[r];
            appendFields(out, "f", GroupNames[g], std::to_string(r));
            for (const Corner& c : f.corner)
                appendFields(out, "", std::to_string(c.vertex));
            for (const Corner& c : f.corner)
                appendFields(out, "", std::to_string(c.code));
            appendFields(out, "", std::to_string(f.slot));
            for (const Corner& c : f.corner)
                appendFields(out, "", number(c.s), number(c.t));
            out += '\n';
        }
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        const LineRecord& l = lines[i];
        appendFields(out, "l", std::to_string(i), std::to_string(l.from), std::to_string(l.to),
                     std::to_string(l.codeFrom), std::to_string(l.codeTo));
        out += '\n';
    }
    for (size_t i = 0; i < lightPoints.size(); ++i) {
        appendFields(out, "p", std::to_string(i), std::to_string(lightPoints[i]));
        out += '\n';
    }
    return out;
}
