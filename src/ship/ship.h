// Ship model: the mesh tables, their preparation and drawing, the material
// palette, and hull damage with debris.
#pragma once

#include "ship/mesh.h"

// ---- Preparation (once per run, from InitScene) ----------------------------

// Scales every vertex by 0.15f, fills every face normal, then the hull and
// part vertex normals. Works in place: a second call would scale again.
void prepareMesh();
// Sets face.normal from the current positions of its corners.
void computeFaceNormal(MeshFace& face);
// For every vertex that the `count` faces use, the mean of their normals
// (a face counts once per vertex); other entries of `normals` are untouched.
void averageVertexNormals(const MeshFace* faces, int count, float (*normals)[3]);

// ---- Material palette ------------------------------------------------------

// Applies a material code (front emission, then the colour), unless it is
// the one applied last. May be called between glBegin and glEnd.
void setMaterial(int code);
extern int currentMaterial;  // the code applied last; NoMaterial at start

// ---- Drawing (once per frame, under the ship's modelview) ------------------

// The whole ship; leaves the matrix stack as found and blending off.
void drawShip();
// `count` records, corners c, b, a, each with its entry of `normals`.
void drawFaces(const MeshFace* faces, int count, const float (*normals)[3]);
// A pod's records, every vertex moved by -pivot; never textured.
void drawPodFaces(const MeshFace* faces, int count, const float (*normals)[3], const float pivot[3]);
// `count` accent lines, lifted 0.05 off the y = 0 plane.
void drawMeshLines(const MeshLine* lines, int count);
// The three light points, white.
void drawLightPoints();

// ---- Hull damage and debris ------------------------------------------------

// A hull hit at `vertex` (marks and a debris burst); the burst's per-frame step.
void hitHull(int vertex);
void drawDebris();
extern bool debrisActive;
