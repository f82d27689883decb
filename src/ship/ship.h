// Ship model: the mesh tables, their preparation and drawing, the material
// palette, and hull damage with debris.
#pragma once

// Scales the mesh and fills its normals. Once per run, from InitScene.
void prepareMesh();

// Draws the ship in model space under the current modelview. Once per frame.
void drawShip();

// Applies a material code: emission and colour, skipped when already current.
void setMaterial(int code);
extern int currentMaterial;

// A hull hit at `vertex` (marks and a debris burst); the burst's per-frame step.
void hitHull(int vertex);
void drawDebris();
extern bool debrisActive;
