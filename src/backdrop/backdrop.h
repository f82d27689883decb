// Space backdrop and warp: the background stars, the warp sequence, the warp
// lines and the warp flash.
#pragma once

#include <cstdint>

#include "settings/settings.h"

// Rotates p in place by ax about X, then ay about Y, then az about Z
// (degrees); the Y and Z steps only for positive angles, nothing at all when
// all three are zero.
void rotatePoint(float p[3], float ax, float ay, float az);

// ---- Background stars ------------------------------------------------------

struct StarField {
    float stars[MaxStars][3] = {};  // world positions; the first activeStarCount are used
};
extern StarField starField;

// Places the stars on their shell. Once, from InitScene, after the warp lines.
void initStars();
// Three point batches (sizes 1, 2, 3). Once per frame, under the camera matrix.
void drawStars();
// Where each batch ends: the stars with index below 0.33 N, then 0.66 N (both
// formed as doubles), then the rest of the N stars.
void starBatchEnds(int count, int ends[3]);

// ---- Warp sequence ---------------------------------------------------------

enum WarpState : int32_t { Cruise, Prepare, Jump, Flash, InWarp, DropOut, Settle };

struct WarpSequence {
    WarpState warpState = Cruise;
    float warpStateStart = 0;         // T when the current state began
    float warpWait = 20;              // seconds to wait in Cruise and InWarp
    float warpLineSpeed = 0.2f;       // world units per frame
    float warpLineStretch = 1.0f;     // length factor of the streaks
    float podAngle = 0;               // degrees, 0..40
    float shipStretch = 0;            // extra length factor during the jump
    float jumpStartX = 0;             // ship x when the jump began
    float flashScale = 0;
    float shipOffset[3] = {0, 0, 0};  // only x ever moves
    float shipTurn[3] = {0, 0, 0};    // degrees about X, Y, Z; applied only in encounters
    float shipTurnTarget[3] = {0, 0, 0};
};
extern WarpSequence warp;

// Advances Prepare, Jump, Flash, DropOut and Settle. Once per frame, before
// the camera.
void updateWarp();
// Advances Cruise and InWarp and multiplies the jump's transforms onto the
// ship's matrix (drawing the flash). Once per frame, before the ship offset.
void applyWarp();
// warpStateStart = T; at every state change.
void markWarpStateStart();

// When set, the next end of Settle starts an encounter whatever its draw
// gives (the draw is still made). For demonstrations and tests only.
extern bool forceNextEncounter;
// Set once forcing has started an encounter that the draw alone would not have.
extern bool encounterWasForced;

// ---- Warp lines and flash --------------------------------------------------

struct WarpLines {
    float lines[MaxWarpLines][3] = {};  // the first activeWarpLineCount are used
};
extern WarpLines warpLines;

struct FlashRing {
    float points[20][3] = {};  // radius 5 in the y-z plane, 18 degrees apart
};
extern FlashRing flashRing;

// Lays out the lines and turns on line smoothing. Once, from InitScene.
void initWarpLines();
// Fills the flash ring. Once, from InitScene, after the stars.
void initFlashRing();
// One frame's step along -x, wrapping from -100 to 100.
void moveWarpLines();
// Points, or streaks in InWarp and DropOut.
void drawWarpLines();
void drawWarpStreak(float x, float y, float z);
// The ten-pointed burst at the local origin; from applyWarp.
void drawFlash();
