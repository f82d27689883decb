// No heap allocation inside drawFrame: every allocation of the process is
// counted while frames are drawn. No GL context is current, so the GL calls
// go to the dispatcher's empty stubs and what is counted is our own code
// (and GLU's); the driver's own bookkeeping is not ours to count.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "backdrop/backdrop.h"
#include "support/scene_driver.h"
#include "scene/scene.h"

extern "C" void* __libc_malloc(size_t);
extern "C" void* __libc_calloc(size_t, size_t);
extern "C" void* __libc_realloc(void*, size_t);
extern "C" void* __libc_memalign(size_t, size_t);

namespace {
bool counting = false;
long allocations = 0;

void note()
{
    if (counting)
        ++allocations;
}
} // namespace

extern "C" void* malloc(size_t size)
{
    note();
    return __libc_malloc(size);
}
extern "C" void* calloc(size_t n, size_t size)
{
    note();
    return __libc_calloc(n, size);
}
extern "C" void* realloc(void* p, size_t size)
{
    note();
    return __libc_realloc(p, size);
}
extern "C" void* memalign(size_t alignment, size_t size)
{
    note();
    return __libc_memalign(alignment, size);
}
extern "C" int posix_memalign(void** out, size_t alignment, size_t size)
{
    note();
    *out = __libc_memalign(alignment, size);
    return *out ? 0 : 12;
}
extern "C" void* aligned_alloc(size_t alignment, size_t size)
{
    note();
    return __libc_memalign(alignment, size);
}

namespace {

// Draws `frames` frames and returns the allocations made meanwhile.
long allocationsOver(SceneDriver& driver, int frames)
{
    allocations = 0;
    counting = true;
    for (int i = 0; i < frames; ++i)
        driver.frame();
    counting = false;
    return allocations;
}

TEST(Allocations, CountingSeesAnAllocation)
{
    counting = true;
    allocations = 0;
    void* volatile p = std::malloc(16);
    counting = false;
    std::free(p);
    EXPECT_EQ(allocations, 1);
}

TEST(Allocations, NoneWhileCruising)
{
    SceneDriver driver;
    initWarpLines();
    initStars();
    EXPECT_EQ(allocationsOver(driver, 1000), 0);
}

TEST(Allocations, NoneInWarp)
{
    SceneDriver driver;
    warp.warpState = InWarp;
    warp.warpWait = 1e9f;
    EXPECT_EQ(allocationsOver(driver, 1000), 0);
}

TEST(Allocations, NoneThroughWholeWarpSequences)
{
    SceneDriver driver(77);
    settings.warpPause = 30;
    EXPECT_EQ(allocationsOver(driver, 20000), 0);
    EXPECT_GT(warp.warpStateStart, 0.0f);  // the sequence did run
}

TEST(Allocations, NoneThroughEncountersWithBeamsBubblesAndBursts)
{
    SceneDriver driver(1000000);
    settings.warpPause = 360;  // long encounters
    forceNextEncounter = true;
    initEncounter();  // the bubble's quadric, made at start-up as in InitScene
    EXPECT_EQ(allocationsOver(driver, 50000), 0);
    EXPECT_GT(debris.hullHits, 0u);  // beams, bubbles and bursts all happened
    releaseEncounter();
}

} // namespace
