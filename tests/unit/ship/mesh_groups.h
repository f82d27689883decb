// The five face groups of a ShipMesh as one list, and a face's corners by number.
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

struct Corner {
    int vertex, code;
    float s, t;
};

inline Corner corner(const MeshFace& f, int k)
{
    return k == 0 ? Corner{f.a, f.codeA, f.sA, f.tA} : k == 1 ? Corner{f.b, f.codeB, f.sB, f.tB}
                                                             : Corner{f.c, f.codeC, f.sC, f.tC};
}

inline std::set<int> verticesOf(const FaceGroup& group)
{
    std::set<int> used;
    for (int i = 0; i < group.count; ++i)
        used.insert({group.faces[i].a, group.faces[i].b, group.faces[i].c});
    return used;
}
