// Assembles a triangle mesh from pieces and writes it as the ship's mesh
// asset: positions deduplicated, faces oriented outwards, named vertices and
// records placed at fixed indices.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

struct Vec {
    double x = 0, y = 0, z = 0;
};
Vec operator+(Vec a, Vec b);
Vec operator-(Vec a, Vec b);
Vec operator*(Vec a, double k);
double dot(Vec a, Vec b);
Vec mirrored(Vec p);  // z -> -z

enum Group { Hull, UnderPanel, PodA, PodB, RearPanel, GroupCount };

struct Corner {
    int vertex = 0;
    int code = 0;
    double s = 0, t = 0;
};

struct Face {
    std::array<Corner, 3> corner;
    int slot = 0;
    int record = -1;  // a fixed record index within its table, or -1
};

// Where "inside" is for a face with the given centroid: faces are turned so
// that their normal points away from it.
using InsideOf = std::function<Vec(Vec centroid)>;

// A row of vertices running from the front of the ship to the back.
using Row = std::vector<int>;

struct MeshBuilder {
    std::vector<Vec> positions;
    std::vector<int> fixedIndex;  // per vertex: its index in the table, or -1
    std::vector<Face> faces[GroupCount];

    // The vertex at p; the same position always gives the same vertex.
    int vertex(Vec p);
    int vertex(double x, double y, double z) { return vertex(Vec{x, y, z}); }
    Row row(const std::vector<Vec>& points);
    Vec at(int v) const { return positions[static_cast<size_t>(v)]; }
    // Gives the vertex the table index `index`.
    void fix(int v, int index);

    // One triangle, turned to face away from inside(centroid). Returns its
    // position in faces[group], or -1 when two corners coincide.
    int triangle(Group group, int a, int b, int c, const InsideOf& inside);
    // The band between two rows ordered by falling x, closing the corner of
    // the front-most remaining pair first; where both rows step to the same
    // x, the upper-front to lower-back diagonal is used. Returns the faces.
    std::vector<int> strip(Group group, const Row& upper, const Row& lower, const InsideOf& inside);
    // A fan around `centre` over the consecutive vertices of `rim`.
    std::vector<int> fan(Group group, int centre, const Row& rim, const InsideOf& inside);
    // Closes a ring of vertices (a convex loop) with a fan from its first.
    std::vector<int> cap(Group group, const Row& ring, const InsideOf& inside);
    // The side walls between consecutive rings of equal size, each ring a
    // closed loop; ring k's vertex i joins ring k+1's vertex i.
    std::vector<int> tube(Group group, const std::vector<Row>& rings, const InsideOf& inside);

    // The mirror image (z -> -z) of faces [first, end) of `from`, appended
    // to `to` in the same order, corners (a, b, c) becoming (b', a', c').
    void mirror(Group from, int first, int end, Group to);

    // Puts a group's faces into their final record order (fixed records at
    // their places, the others in creation order) and fixes every record.
    void settleRecords(Group group);

    // Rotates a face's corners so that vertex v comes first.
    void rotateToFront(Group group, int face, int v);
    // Fixes a face's record index, with vertex v as its corner a.
    void fixRecord(Group group, int face, int record, int v);

    Vec normal(const Face& face) const;  // (Pc - Pb) x (Pb - Pa), stored units
    Vec centroid(const Face& face) const;
};

// The finished tables in their final order.
struct MeshTables {
    std::vector<Vec> vertices;
    std::vector<Face> faces[GroupCount];  // corner vertices are table indices
};

// Orders vertices (fixed ones at their indices, the others in creation order
// in the free places) and each group's records likewise. False on error, with
// the reason in `error`.
bool finishTables(const MeshBuilder& builder, int vertexCount, MeshTables& tables, std::string& error);

struct LineRecord {
    int from, to, codeFrom, codeTo;
};

// The asset text: documented header, then one record a line.
std::string assetText(const MeshTables& tables, const std::vector<LineRecord>& lines,
                      const std::vector<int>& lightPoints);

extern const char* const GroupNames[GroupCount];
