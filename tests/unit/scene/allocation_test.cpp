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

void note() { allocations += counting; }
} // namespace

extern "C" void* malloc(size_t size) { return note(), __libc_malloc(size); }
extern "C" void* calloc(size_t n, size_t size) { return note(), __libc_calloc(n, size); }
extern "C" void* realloc(void* p, size_t size) { return note(), __libc_realloc(p, size); }
extern "C" void* memalign(size_t alignment, size_t size) { return note(), __libc_memalign(alignment, size); }
extern "C" void* aligned_alloc(size_t alignment, size_t size) { return note(), __libc_memalign(alignment, size); }
extern "C" int posix_memalign(void** out, size_t alignment, size_t size)
{
    note();
    *out = __libc_memalign(alignment, size);
    return *out ? 0 : 12;
}

TEST(Allocations, NoneThroughCruiseWarpsAndEncountersWithBeamsBubblesAndBursts)
{
    counting = true;
    void* volatile p = std::malloc(16);  // the counting itself works
    counting = false;
    std::free(p);
    ASSERT_EQ(allocations, 1);

    SceneDriver driver(1000000);
    settings.warpPause = 360;  // long encounters, after a warp at 20 s
    forceNextEncounter = true;
    allocations = 0;
    counting = true;
    for (int i = 0; i < 50000; ++i)
        driver.frame();
    counting = false;
    EXPECT_EQ(allocations, 0);
    EXPECT_GT(debris.hullHits, 0u);  // beams, bubbles and bursts all happened
}
