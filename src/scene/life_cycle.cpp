// The scene's life: start-up, resize, release and the reset that tests use.
#include "backdrop/backdrop.h"
#include "common/platform.h"
#include "common/random.h"
#include "scene/scene.h"
#include "settings/settings.h"
#include "ship/ship.h"
#include "surface/surface.h"
#include "textures/textures.h"

TimeStamp SceneStartTime;
int32_t ClientWidth = 0;
int32_t ClientHeight = 0;

void InitScene(int32_t width, int32_t height)
{
    ClientWidth = width;
    ClientHeight = height;
    SetupGlState(width, height);
    SampleClock(SceneStartTime);
    seedRandom(static_cast<uint32_t>(SceneStartTime.seconds));
    prepareMesh();
    initWarpLines();  // before the stars: both draw from the one sequence
    initStars();
    initFlashRing();
    for (const TextureSpec& texture : textureSet)
        loadTexture(texture.resourceId, texture.slot, programModule, texture.width, texture.height,
                    texture.colourKey);
    initEncounter();  // the bubble's quadric: made here, never per frame
}

void ResizeScene(int32_t width, int32_t height)
{
    ClientWidth = width;  // every later frame projects for this size
    ClientHeight = height;
    ResizeView(width, height);
}

void ReleaseScene()
{
    releaseEncounter();
    deleteTextures();
}

void resetScene()
{
    SceneStartTime = {};
    ClientWidth = 0;
    ClientHeight = 0;
    sceneRandom = {};
    settings = {};
    SceneClock = 0;
    camera = {};
    encounter = {};
    overlay = {};
    starField = {};
    warp = {};
    forceNextEncounter = false;
    encounterWasForced = false;
    warpLines = {};
    flashRing = {};
    resetShipMesh();  // InitScene scales the mesh in place
    currentMaterial = NoMaterial;
    debris = {};
    debrisActive = false;
}
