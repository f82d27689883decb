#include "ship/ship.h"

namespace {

constexpr float StoredToScene = 0.15f;  // stored units to scene units

void scaleVertices()
{
    for (float(&vertex)[3] : shipMesh.meshVertices)
        for (float& coordinate : vertex)
            coordinate *= StoredToScene;
}

template <int N>
void computeFaceNormals(MeshFace (&faces)[N])
{
    for (MeshFace& face : faces)
        computeFaceNormal(face);
}

} // namespace

void computeFaceNormal(MeshFace& face)
{
    const float* pa = shipMesh.meshVertices[face.a];
    const float* pb = shipMesh.meshVertices[face.b];
    const float* pc = shipMesh.meshVertices[face.c];
    const float u[3] = {pb[0] - pa[0], pb[1] - pa[1], pb[2] - pa[2]};
    const float v[3] = {pc[0] - pb[0], pc[1] - pb[1], pc[2] - pb[2]};
    // v x u: points to the side from which c, b, a (the drawing order) turn
    // counter-clockwise.
    face.normal[0] = u[2] * v[1] - u[1] * v[2];
    face.normal[1] = u[0] * v[2] - u[2] * v[0];
    face.normal[2] = u[1] * v[0] - u[0] * v[1];
}

void averageVertexNormals(const MeshFace* faces, int count, float (*normals)[3])
{
    // One pass over the faces instead of one per vertex: each vertex still
    // sums its faces in table order, so the results are the same.
    double sum[MeshVertexCount][3] = {};
    int used[MeshVertexCount] = {};
    for (int f = 0; f < count; ++f) {
        const MeshFace& face = faces[f];
        const int corners[3] = {face.a, face.b, face.c};
        for (int k = 0; k < 3; ++k) {
            const int i = corners[k];
            if (i < 0 || i >= MeshVertexCount || (k > 0 && i == corners[0]) || (k == 2 && i == corners[1]))
                continue;  // out of the table, or a corner repeated: the record counts once
            for (int axis = 0; axis < 3; ++axis)
                sum[i][axis] += face.normal[axis];
            ++used[i];
        }
    }
    for (int i = 0; i < MeshVertexCount; ++i) {
        if (used[i] == 0)
            continue;
        for (int axis = 0; axis < 3; ++axis)
            normals[i][axis] = static_cast<float>(sum[i][axis] / used[i]);
    }
}

void prepareMesh()
{
    scaleVertices();
    computeFaceNormals(shipMesh.hullFaces);
    computeFaceNormals(shipMesh.underPanelFaces);
    computeFaceNormals(shipMesh.podFacesA);
    computeFaceNormals(shipMesh.podFacesB);
    computeFaceNormals(shipMesh.rearPanelFaces);
    averageVertexNormals(shipMesh.hullFaces, HullFaceCount, shipMesh.hullNormals);
    averageVertexNormals(shipMesh.podFacesA, PodFaceCount, shipMesh.partNormals);
    averageVertexNormals(shipMesh.podFacesB, PodFaceCount, shipMesh.partNormals);
    averageVertexNormals(shipMesh.underPanelFaces, UnderPanelFaceCount, shipMesh.partNormals);
    averageVertexNormals(shipMesh.rearPanelFaces, RearPanelFaceCount, shipMesh.partNormals);
}
