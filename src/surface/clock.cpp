#include <chrono>
#include <cmath>

#include "surface/surface.h"

namespace {

const ScriptedClock* scriptedClock = nullptr;

TimeStamp fromMilliseconds(int64_t ms)
{
    int64_t seconds = ms / 1000;
    int64_t millis = ms % 1000;
    if (millis < 0) {  // before 1970: keep the remainder positive
        millis += 1000;
        --seconds;
    }
    return {static_cast<int32_t>(seconds), static_cast<int32_t>(millis * 1000)};
}

int64_t toMilliseconds(const TimeStamp& t)
{
    return static_cast<int64_t>(t.seconds) * 1000 + t.microseconds / 1000;
}

} // namespace

void installScriptedClock(const ScriptedClock* clock) { scriptedClock = clock; }

void setScriptedFrame(ScriptedClock& clock, int64_t frame)
{
    const auto ms = static_cast<int64_t>(std::llround(static_cast<double>(frame) * 1000.0 / clock.fps));
    clock.now = fromMilliseconds(toMilliseconds(clock.start) + ms);
}

void advanceScriptedClock(ScriptedClock& clock, int64_t milliseconds)
{
    clock.now = fromMilliseconds(toMilliseconds(clock.now) + milliseconds);
}

int SampleClock(TimeStamp& out)
{
    if (scriptedClock) {
        out = scriptedClock->now;
        return 0;
    }
    using namespace std::chrono;
    out = fromMilliseconds(duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count());
    return 0;
}
