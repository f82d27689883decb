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

inline constexpr int DebrisCount = 50;

struct DebrisParticle {
    float position[3];  // ship model space, scaled units
    float velocity[3];  // added to position every frame
    float angleX, angleY, angleZ;  // fixed tilts, degrees
    float spin;   // turn about (1, 1, 1), degrees; +10 a frame
    float alpha;  // starts at 1, falls by fade every frame
    float fade;
};

struct Debris {
    DebrisParticle particles[DebrisCount] = {};
    uint32_t hullHits = 0;  // hits so far in the run, for traces
};
extern Debris debris;

// A burst is flying: from a hit until the frame no particle is visible.
extern bool debrisActive;

// A hit at `vertex`: 50 particles (seven draws each) and damage marks on every
// hull, under-panel and pod corner at that vertex. From the beam update.
void hitHull(int vertex);
// Moves and draws the burst, once per frame while it flies in an encounter,
// under the camera matrix.
void drawDebris();
