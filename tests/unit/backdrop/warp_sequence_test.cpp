#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/scene_driver.h"

namespace {

// What moves one way only in each timed state: pods up, stretch out, streaks
// shorter, pods down.
float motion()
{
    switch (warp.warpState) {
    case Prepare: return warp.podAngle;
    case Jump: return warp.shipStretch;
    case DropOut: return -warp.warpLineStretch;
    case Settle: return -warp.podAngle;
    default: return 0;
    }
}

TEST(WarpSequence, LateFramesStillPassEveryStateInTurnAfterTwentyWholeSeconds)
{
    // Frames 0.7 s apart miss Jump's window of 0.41 s, 0.9 s apart Prepare's of
    // 0.71 s, and 6.3 s apart (a stall) DropOut's of 4.1 s.
    for (double gap : {0.7, 0.9, 6.3}) {
        SceneDriver driver(1700000000, 1 / gap);
        std::vector<WarpState> entered;
        WarpState last = Cruise;
        float lastMotion = 0, lastT = 0;
        for (int k = 0; k < 1000 && entered.size() < 7; ++k) {
            driver.frame();
            if (warp.warpState == last) {
                EXPECT_GE(motion(), lastMotion) << "state " << last << " turned back at " << SceneClock;
            } else {
                EXPECT_TRUE(!entered.empty() || (SceneClock >= 20 && lastT < 20)) << SceneClock;
                entered.push_back(last = warp.warpState);
            }
            lastMotion = motion();
            lastT = SceneClock;
        }
        EXPECT_EQ(entered, (std::vector<WarpState>{Prepare, Jump, Flash, InWarp, DropOut, Settle, Cruise})) << gap;
    }
}

TEST(EncounterStart, ForcedOnlyOnceWhereTheDrawWouldNotStartOne)
{
    resetScene();
    seedRandom(3);
    forceNextEncounter = true;
    warp.warpState = Settle;
    SceneClock = 5;  // the pods are down: Settle ends
    updateWarp();
    EXPECT_TRUE(warp.warpState == Cruise && encounter.encounterMode == Approach);
    EXPECT_TRUE(encounterWasForced && !forceNextEncounter);
}

TEST(EncounterStart, DrawnAtTheEndOfSettleInTwentyNineOfAHundredAndTheTurnRollsWholeTurns)
{
    int started = 0, rolled = 0;
    for (uint32_t seed = 1; seed <= 2000; ++seed) {
        resetScene();
        seedRandom(seed);
        warp.warpState = Settle;
        SceneClock = 5;
        updateWarp();
        started += encounter.encounterMode == Approach;
        // Leaving Cruise with the cube behind and below: a roll of none or a whole turn.
        encounter.encounterMode = Approach;
        encounter.encounterBase[0] = encounter.encounterBase[1] = -50;
        SceneClock = 100;
        applyWarp();
        const float* t = warp.shipTurnTarget;
        if (t[1] == 0 && t[2] == 0) {
            EXPECT_TRUE(t[0] == 0 || t[0] == 360) << t[0];
            rolled += t[0] == 360;
        }
    }
    EXPECT_TRUE(started > 500 && started < 660) << started;
    EXPECT_GT(rolled, 0);
}

} // namespace
