#include <gtest/gtest.h>

#include <ctime>

#include "scene/scene.h"
#include "surface/surface.h"

namespace {

TEST(SampleClock, WallClockHasMillisecondResolution)
{
    installScriptedClock(nullptr);
    for (int i = 0; i < 2000; ++i) {
        TimeStamp t;
        ASSERT_EQ(SampleClock(t), 0);
        ASSERT_EQ(t.microseconds % 1000, 0);
        ASSERT_GE(t.microseconds, 0);
        ASSERT_LT(t.microseconds, 1000000);
    }
    TimeStamp t;
    const std::time_t before = std::time(nullptr);
    SampleClock(t);
    const std::time_t after = std::time(nullptr);
    EXPECT_GE(t.seconds, before);
    EXPECT_LE(t.seconds, after);
}

TEST(SampleClock, ScriptedClockReplacesTheWallClockUntilRemoved)
{
    // Frame k at start + round(k * 1000 / fps) ms, across second boundaries.
    ScriptedClock script{{42, 7000}, 30, {}};
    installScriptedClock(&script);
    const struct {
        int64_t frame;
        int32_t seconds, microseconds;
    } frames[] = {{0, 42, 7000}, {1, 42, 40000}, {2, 42, 74000}, {30, 43, 7000}, {59, 43, 974000}, {3001, 142, 40000}};
    for (const auto& f : frames) {
        setScriptedFrame(script, f.frame);
        TimeStamp t;
        SampleClock(t);  // read at each sample
        EXPECT_EQ(t.seconds, f.seconds) << f.frame;
        EXPECT_EQ(t.microseconds, f.microseconds) << f.frame;
    }
    script.now = {0, 500000};
    advanceScriptedClock(script, -1501);  // before 1970: the remainder stays positive
    TimeStamp t;
    SampleClock(t);
    EXPECT_EQ(t.seconds, -2);
    EXPECT_EQ(t.microseconds, 999000);
    installScriptedClock(nullptr);
    SampleClock(t);
    EXPECT_GT(t.seconds, 1000000000);
}

TEST(SceneClock, CombinesSecondsAndMicroseconds)
{
    const TimeStamp start{1000, 999000};
    EXPECT_FLOAT_EQ(sceneClockAt({1000, 999000}, start), 0.0f);
    // The microsecond factor is 1e-6 as a float, so a millisecond across a
    // second boundary comes out a few nanoseconds long.
    EXPECT_EQ(sceneClockAt({1001, 0}, start), static_cast<float>(1 - 999000 * double(1e-6f)));
    EXPECT_NEAR(sceneClockAt({1001, 0}, start), 0.001, 1e-8);
    EXPECT_FLOAT_EQ(sceneClockAt({1003, 500000}, start), 2.501f);
    // A clock set back before the start gives a negative time.
    EXPECT_FLOAT_EQ(sceneClockAt({999, 0}, start), -1.999f);
    // The seconds differ by 32-bit wrap-around, like the clock's fields.
    EXPECT_FLOAT_EQ(sceneClockAt({INT32_MIN, 0}, {INT32_MAX, 0}), 1.0f);
}

TEST(SceneClock, RoundedOnceToFloat)
{
    // After about 2.3 hours one float step is about a millisecond: 8192 s + 1 ms
    // rounds to the nearest float, not to a value built from two roundings.
    const TimeStamp start{0, 0};
    const float t = sceneClockAt({8192, 1000}, start);
    EXPECT_EQ(t, static_cast<float>(8192.0 + 1000 * static_cast<double>(1e-6f)));
    EXPECT_NE(t, 8192.0f);
    // Below a millisecond of resolution the millisecond is lost entirely.
    EXPECT_EQ(sceneClockAt({40000, 1000}, start), 40000.0f);
}

} // namespace
