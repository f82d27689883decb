// The five face groups of a ShipMesh as one list, for tests that treat them
// alike.
#pragma once

#include <array>
#include <set>

#include "ship/mesh.h"

struct FaceGroup {
    const char* name;
    const MeshFace* faces;
    int count;
};

inline std::array<FaceGroup, 5> faceGroups(const ShipMesh& mesh)
{
    return {{{"hull", mesh.hullFaces, HullFaceCount},
             {"under panel", mesh.underPanelFaces, UnderPanelFaceCount},
             {"pod A", mesh.podFacesA, PodFaceCount},
             {"pod B", mesh.podFacesB, PodFaceCount},
             {"rear panel", mesh.rearPanelFaces, RearPanelFaceCount}}};
}

inline std::set<int> verticesOf(const FaceGroup& group)
{
    std::set<int> used;
    for (int i = 0; i < group.count; ++i) {
        used.insert(group.faces[i].a);
        used.insert(group.faces[i].b);
        used.insert(group.faces[i].c);
    }
    return used;
}

inline int cornerCode(const MeshFace& f, int k) { return k == 0 ? f.codeA : k == 1 ? f.codeB : f.codeC; }
inline int cornerVertex(const MeshFace& f, int k) { return k == 0 ? f.a : k == 1 ? f.b : f.c; }
inline float cornerS(const MeshFace& f, int k) { return k == 0 ? f.sA : k == 1 ? f.sB : f.sC; }
inline float cornerT(const MeshFace& f, int k) { return k == 0 ? f.tA : k == 1 ? f.tB : f.tC; }
