// The ship's mesh tables: one vertex table, five face groups, two vertex
// normal tables, the accent lines and the light points. The stored contents
// come from assets/ship_mesh.txt, compiled in; preparation scales them in
// place and hull damage rewrites corner codes, so the live tables are a copy.
#pragma once

#include <cstdint>

// A corner's or an element's material (setMaterial's palette row).
enum MaterialCode : int32_t {
    PlainGrey = 0,       // any code without a row of its own
    BlueGlow = 1,
    DarkRed = 2,
    AccentLine = 3,
    RedGlow = 4,
    UnderPanelGrey = 5,
    DarkBlue = 6,
    DamageMark = 7,
    WhiteLight = 8,      // light points, debris
    CubeGrey = 9,
    TexturedGrey = 10,   // a corner with this code makes its face textured
    CubeBeam = 11,
    ShipBeam = 12,
    EnergyBubble = 13,
    OverlayGrey = 14,
    NoMaterial = 999,    // no element uses it; currentMaterial's start value
};

inline constexpr int MeshVertexCount = 359;
inline constexpr int HullFaceCount = 483;
inline constexpr int UnderPanelFaceCount = 18;
inline constexpr int PodFaceCount = 73;  // each pod
inline constexpr int RearPanelFaceCount = 2;
inline constexpr int MeshLineCount = 12;
inline constexpr int LightPointCount = 3;

inline constexpr int PodPivotA = 185;  // hinge of pod A (-z side)
inline constexpr int PodPivotB = 183;  // hinge of pod B (+z side)

// One triangle; a corner's index, code and texture coordinates travel together.
struct MeshFace {
    int32_t a, b, c;              // vertex indices
    int32_t codeA, codeB, codeC;  // MaterialCode of each corner
    int32_t slot;                 // TextureSlot bound when the face is textured
    float sA, tA, sB, tB, sC, tC;
    float normal[3];  // (Pc - Pb) x (Pb - Pa), not unit length; zero until prepared
};
static_assert(sizeof(MeshFace) == 16 * 4, "sixteen 32-bit fields");

struct MeshLine {
    int32_t from, to;
    int32_t codeFrom, codeTo;
};

struct ShipMesh {
    float meshVertices[MeshVertexCount][3];  // stored units until prepareMesh scales them
    MeshFace hullFaces[HullFaceCount];
    MeshFace underPanelFaces[UnderPanelFaceCount];
    MeshFace podFacesA[PodFaceCount];
    MeshFace podFacesB[PodFaceCount];
    MeshFace rearPanelFaces[RearPanelFaceCount];
    float hullNormals[MeshVertexCount][3];  // averaged over hull faces
    float partNormals[MeshVertexCount][3];  // averaged within each other group
    MeshLine meshLines[MeshLineCount];
    int32_t lightPoints[LightPointCount];
};

// The live tables; they hold the stored contents at program start.
extern ShipMesh shipMesh;
// The stored contents, generated from the mesh asset at build time.
extern const ShipMesh storedShipMesh;

// Puts the stored contents back (unscaled, no normals, no damage). For tests
// and benchmarks that start the scene more than once per process.
void resetShipMesh();
