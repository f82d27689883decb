// Starts the scene as the programs do and drives whole frames on the
// renderer's scripted clock, with or without a GL context (GL calls do
// nothing while no context is current).
#pragma once

#include <cstdint>

#include "backdrop/backdrop.h"
#include "common/posix/profile_file.h"
#include "common/random.h"
#include "scene/scene.h"
#include "settings/settings.h"
#include "ship/ship.h"
#include "surface/surface.h"

// The programs' start-up on `clock`, from program-start values and default settings.
inline void startScene(const ScriptedClock& clock, int32_t width, int32_t height)
{
    resetScene();
    setProfilePath("/nonexistent/quelmar-test.ini");
    loadSettings();
    installScriptedClock(&clock);
    InitScene(width, height);
}

class SceneDriver {
public:
    explicit SceneDriver(uint32_t seed = 1000000, double fps = 60)
    {
        clock_ = {{static_cast<int32_t>(seed), 0}, fps, {}};
        setScriptedFrame(clock_, 0);
        startScene(clock_, 320, 240);
    }
    ~SceneDriver() { ReleaseScene(), installScriptedClock(nullptr); }

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
