#include <chrono>

#include "surface/surface.h"

namespace {
const TimeStamp* scriptedClock = nullptr;
}

void installScriptedClock(const TimeStamp* source) { scriptedClock = source; }

int SampleClock(TimeStamp& out)
{
    if (scriptedClock) {
        out = *scriptedClock;
        return 0;
    }
    using namespace std::chrono;
    const int64_t ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    int64_t seconds = ms / 1000;
    int64_t millis = ms % 1000;
    if (millis < 0) {  // before 1970: keep the remainder positive
        millis += 1000;
        --seconds;
    }
    out.seconds = static_cast<int32_t>(seconds);
    out.microseconds = static_cast<int32_t>(millis * 1000);
    return 0;
}
