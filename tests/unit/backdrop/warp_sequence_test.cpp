#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/scene_driver.h"

namespace {

constexpr double Pi = 3.141592653589793;
// Seconds after which each timed state ends, from its threshold.
const double PrepareEnds = 5 / Pi * std::acos(-0.975);  // podAngle > 39.5
const double JumpEnds = std::acos(-0.8) / Pi;           // shipStretch > 9
const double DropOutEnds = 4 / Pi * std::acos(0.05);    // cos(t pi / 4) < 0.05

struct Entry {
    WarpState state;
    float T;           // scene time of the frame that entered the state
    float previousT;   // scene time of the frame before
    float wait;        // warpWait after that frame
};

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

// Runs frames and records every state entry, until `count` entries.
std::vector<Entry> runStates(SceneDriver& driver, size_t count)
{
    std::vector<Entry> entries;
    WarpState last = warp.warpState;
    float previousT = SceneClock;
    float lastMotion = motion();
    driver.runUntil([&] {
        if (warp.warpState == last) {
            EXPECT_GE(motion(), lastMotion) << "state " << last << " turned back at " << SceneClock;
        }
        lastMotion = motion();
        if (warp.warpState != last) {
            entries.push_back({warp.warpState, SceneClock, previousT, warp.warpWait});
            last = warp.warpState;
        }
        previousT = SceneClock;
        return entries.size() >= count;
    });
    return entries;
}

// The state must have ended on the first frame past its threshold.
void expectEndedOnFirstFramePast(const Entry& from, const Entry& to, double threshold, const char* what)
{
    EXPECT_GE(to.T - from.T, threshold - 1e-4) << what;
    EXPECT_LT(to.previousT - from.T, threshold + 1e-4) << what;
}

TEST(WarpSequence, FirstWarpAfterTwentyWholeSecondsThenEachStateInTurn)
{
    // Frames 0.7 s apart miss Jump's window of 0.41 s, 0.9 s apart Prepare's of
    // 0.71 s, and 6.3 s apart (a stall) DropOut's of 4.1 s.
    for (double gap : {1 / 60.0, 0.7, 0.9, 6.3}) {
        SceneDriver driver(1700000000, 1 / gap);
        const auto entries = runStates(driver, 7);
        ASSERT_EQ(entries.size(), 7u);
        const WarpState order[] = {Prepare, Jump, Flash, InWarp, DropOut, Settle, Cruise};
        for (size_t i = 0; i < 7; ++i)
            EXPECT_EQ(entries[i].state, order[i]) << i << " at " << gap;

        EXPECT_GE(entries[0].T, 20.0f);
        EXPECT_LT(entries[0].previousT, 20.0f);
        EXPECT_FLOAT_EQ(warp.warpStateStart, entries[6].T);

        expectEndedOnFirstFramePast(entries[0], entries[1], PrepareEnds, "Prepare");
        expectEndedOnFirstFramePast(entries[1], entries[2], JumpEnds, "Jump");
        expectEndedOnFirstFramePast(entries[2], entries[3], 10.0, "Flash");
        expectEndedOnFirstFramePast(entries[4], entries[5], DropOutEnds, "DropOut");
        expectEndedOnFirstFramePast(entries[5], entries[6], PrepareEnds, "Settle");
    }
}

TEST(WarpSequence, WaitsAreHonouredInWholeSecondsAtAnyFrameRate)
{
    for (double fps : {7.0, 23.0, 144.0}) {
        SceneDriver driver(4242, fps);
        settings.warpPause = 30;
        const auto entries = runStates(driver, 5);
        ASSERT_EQ(entries.size(), 5u);
        EXPECT_GE(entries[0].T, 20.0f) << fps;
        EXPECT_LT(entries[0].previousT, 20.0f) << fps;
        // InWarp waits what was drawn on leaving Cruise, in whole seconds.
        const float wait = entries[0].wait;
        EXPECT_GE(wait, 7.5f);
        EXPECT_LE(wait, 36.5f);
        const Entry& inWarp = entries[3];
        const Entry& dropOut = entries[4];
        EXPECT_GE(std::trunc(dropOut.T - inWarp.T), wait) << fps;
        EXPECT_LT(std::trunc(dropOut.previousT - inWarp.T), wait) << fps;
    }
}

TEST(WarpSequence, WaitBoundsFollowTheWarpPause)
{
    const struct {
        int pause;
        float low, high;
    } cases[] = {{30, 7.5f, 36.5f}, {120, 30, 149}, {360, 90, 449}};
    for (const auto& c : cases) {
        float lowest = 1e9f, highest = -1e9f;
        for (uint32_t seed = 1; seed <= 3000; ++seed) {
            resetScene();
            settings.warpPause = c.pause;
            seedRandom(seed * 7919u);
            SceneClock = 1000;  // long past any wait
            applyWarp();
            ASSERT_EQ(warp.warpState, Prepare);
            lowest = std::min(lowest, warp.warpWait);
            highest = std::max(highest, warp.warpWait);
            ASSERT_EQ(warp.warpWait - std::trunc(warp.warpWait), c.pause % 4 == 0 ? 0.0f : 0.5f);
        }
        EXPECT_FLOAT_EQ(lowest, c.low) << c.pause;
        EXPECT_FLOAT_EQ(highest, c.high) << c.pause;
    }
}

// Ends Settle at once and reports the draws it made.
uint64_t endSettle()
{
    warp.warpState = Settle;
    warp.warpStateStart = 0;
    SceneClock = 5;  // podAngle = 40 - 20 (1 - cos pi) = 0
    const uint64_t before = sceneRandom.calls;
    updateWarp();
    EXPECT_EQ(warp.warpState, Cruise);
    return sceneRandom.calls - before;
}

TEST(EncounterStart, DrawsAtTheEndOfSettle)
{
    int started = 0;
    for (uint32_t seed = 1; seed <= 2000; ++seed) {
        resetScene();
        seedRandom(seed);
        RandomGenerator peek = sceneRandom;
        std::swap(peek, sceneRandom);
        const bool expected = sceneRand() % 100 > 70;
        std::swap(peek, sceneRandom);
        const uint64_t draws = endSettle();
        ASSERT_EQ(encounter.encounterMode != NoEncounter, expected) << seed;
        if (!expected) {
            EXPECT_EQ(draws, 1u);
            continue;
        }
        ++started;
        EXPECT_EQ(encounter.encounterMode, Approach);
        EXPECT_EQ((draws - 1) % 3, 0u);
        bool farEnough = false;
        for (int axis = 0; axis < 3; ++axis) {
            const float v = encounter.encounterBase[axis];
            EXPECT_GE(v, -75);
            EXPECT_LE(v, 74);
            EXPECT_EQ(encounter.encounterStart[axis], 2 * v);
            farEnough = farEnough || std::fabs(v) >= 40;
        }
        EXPECT_TRUE(farEnough) << seed;
        EXPECT_EQ(encounter.cubePosition[0], 999.0f);  // placed later by the approach
    }
    EXPECT_GT(started, 2000 * 0.25);
    EXPECT_LT(started, 2000 * 0.33);

    resetScene();  // forced, where the draw would not start one: once only
    seedRandom(3);
    forceNextEncounter = true;
    endSettle();
    EXPECT_EQ(encounter.encounterMode, Approach);
    EXPECT_FALSE(forceNextEncounter);
}

// Leaves Cruise during an encounter and returns the turn chosen; k is the branch.
void chooseTurn(uint32_t seed, float a, float b, float c, int& k, float turn[3])
{
    resetScene();
    seedRandom(seed);
    encounter.encounterMode = Approach;
    encounter.encounterBase[0] = a;
    encounter.encounterBase[1] = b;
    encounter.encounterBase[2] = c;
    RandomGenerator peek = sceneRandom;
    std::swap(peek, sceneRandom);
    sceneRand();  // the new wait
    k = sceneRand() % 3;
    std::swap(peek, sceneRandom);
    SceneClock = 100;
    applyWarp();
    for (int i = 0; i < 3; ++i)
        turn[i] = warp.shipTurnTarget[i];
}

TEST(ShipTurn, ChosenOnLeavingCruiseDuringAnEncounterByTheTable)
{
    const float bases[][3] = {{50, 50, 50}, {50, -50, -50}, {-50, 50, 0}, {-50, -50, 50}};
    int seen[3] = {};
    for (const auto& base : bases) {
        for (uint32_t seed = 1; seed <= 300; ++seed) {
            int k;
            float t[3];
            chooseTurn(seed, base[0], base[1], base[2], k, t);
            ++seen[k];
            const float a = base[0], b = base[1], c = base[2];
            if (k == 0) {
                EXPECT_EQ(t[2], 0);
                if (c > 0) {
                    EXPECT_TRUE(t[0] >= 0 && t[0] <= 44 && t[1] >= 90 && t[1] <= 169);
                } else {
                    EXPECT_TRUE(t[0] >= -44 && t[0] <= 0 && t[1] >= 11 && t[1] <= 90);
                }
            } else if (k == 1) {
                EXPECT_EQ(t[0], 0);
                EXPECT_EQ(t[1], 0);
                if (b > 0) {
                    EXPECT_TRUE(t[2] >= -44 && t[2] <= 45) << t[2];
                } else {
                    EXPECT_TRUE(t[2] >= 45 && t[2] <= 134) << t[2];
                }
            } else {
                EXPECT_EQ(t[2], 0);
                if (a > 0 && b > 0) {
                    EXPECT_TRUE(t[0] >= -44 && t[0] <= 0 && t[1] >= 90 && t[1] <= 149);
                } else if (a > 0) {
                    EXPECT_TRUE(t[0] >= 0 && t[0] <= 44 && t[1] >= 90 && t[1] <= 149);
                } else {
                    EXPECT_TRUE(t[0] == 0 || t[0] == 360) << t[0];
                    EXPECT_EQ(t[1], 0);
                }
            }
        }
    }
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);
    EXPECT_GT(seen[2], 0);

    resetScene();  // without an encounter: only the new wait is drawn
    SceneClock = 100;
    applyWarp();
    EXPECT_EQ(warp.warpState, Prepare);
    EXPECT_EQ(sceneRandom.calls, 1u);
}

} // namespace
