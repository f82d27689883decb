// Drives whole frames on a scripted clock, with or without a GL context (the
// GL calls of drawFrame do nothing while no context is current), as the
// renderer does: frame k is sampled at the start + round(k * 1000 / fps) ms.
#pragma once

#include <cmath>
#include <cstdint>

#include "backdrop/backdrop.h"
#include "common/random.h"
#include "scene/scene.h"
#include "settings/settings.h"
#include "ship/ship.h"
#include "surface/surface.h"

// Every module of the scene back to its program-start state.
inline void resetSceneModules()
{
    warp = {};
    camera = {};
    encounter = {};
    overlay = {};
    starField = {};
    warpLines = {};
    flashRing = {};
    settings = {};
    sceneRandom = {};
    SceneClock = 0;
    forceNextEncounter = false;
    encounterWasForced = false;
    debris = {};
    debrisActive = false;
    resetShipMesh();
    currentMaterial = NoMaterial;
}

class SceneDriver {
public:
    explicit SceneDriver(uint32_t seed = 1000000, double fps = 60) : fps_(fps)
    {
        resetSceneModules();
        start_ = {static_cast<int32_t>(seed), 0};
        clock_ = start_;
        installScriptedClock(&clock_);
        SceneStartTime = start_;
        seedRandom(seed);
        ClientWidth = 320;
        ClientHeight = 240;
        prepareMesh();  // the beams aim by the prepared hull normals
    }
    ~SceneDriver() { installScriptedClock(nullptr); }

    // Draws frame k at its scripted time.
    void frame()
    {
        const auto ms = static_cast<int64_t>(std::llround(static_cast<double>(frame_) * 1000.0 / fps_));
        clock_.seconds = start_.seconds + static_cast<int32_t>(ms / 1000);
        clock_.microseconds = static_cast<int32_t>(ms % 1000 * 1000);
        drawFrame();
        ++frame_;
    }

    // Runs frames until `done` holds after one, at most `limit` frames; false if it never did.
    template <typename Done>
    bool runUntil(Done done, int64_t limit = 1000000)
    {
        for (int64_t i = 0; i < limit; ++i) {
            frame();
            if (done())
                return true;
        }
        return false;
    }

    double secondsPerFrame() const { return 1.0 / fps_; }
    int64_t frames() const { return frame_; }

private:
    double fps_;
    int64_t frame_ = 0;
    TimeStamp start_{};
    TimeStamp clock_{};
};
