// Drives whole frames on the renderer's scripted clock, with or without a GL
// context (the GL calls of drawFrame do nothing while no context is current).
#pragma once

#include <cstdint>

#include "backdrop/backdrop.h"
#include "common/random.h"
#include "scene/scene.h"
#include "settings/settings.h"
#include "ship/ship.h"
#include "surface/surface.h"

class SceneDriver {
public:
    explicit SceneDriver(uint32_t seed = 1000000, double fps = 60)
    {
        resetScene();
        clock_ = {{static_cast<int32_t>(seed), 0}, fps, {}};
        setScriptedFrame(clock_, 0);
        installScriptedClock(&clock_);
        SceneStartTime = clock_.start;
        seedRandom(seed);
        ClientWidth = 320;
        ClientHeight = 240;
        prepareMesh();  // the beams aim by the prepared hull normals
    }
    ~SceneDriver() { installScriptedClock(nullptr); }

    // Draws frame k at its scripted time.
    void frame()
    {
        setScriptedFrame(clock_, frame_++);
        drawFrame();
    }

private:
    int64_t frame_ = 0;
    ScriptedClock clock_{};
};
