/* A small LD_PRELOAD counter for GL programs. It counts buffer swaps
   (glXSwapBuffers, and eglSwapBuffers: Debian's XScreenSaver hacks draw
   through EGL) and the GL_POINTS vertices drawn before the first, and after
   every swap rewrites $SWAP_COUNTER_FILE with one line:
     swaps first-swap-ns last-swap-ns first-frame-points
   (wall-clock nanoseconds since 1970). The line is whole after each swap, so
   it survives the program being killed. Used by bench/peers.sh and the X11
   end-to-end tests. */
#define _GNU_SOURCE
#include <GL/gl.h>
#include <EGL/egl.h>
#include <GL/glx.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

static long swaps;
static long long firstSwap, lastSwap;
static long points;
static long firstFramePoints;
static int inPoints;
static int out = -2; /* not opened yet */

static void* nextSymbol(const char* name) { return dlsym(RTLD_NEXT, name); }

static void countSwap(void)
{
    struct timespec t;
    clock_gettime(CLOCK_REALTIME, &t);
    lastSwap = t.tv_sec * 1000000000LL + t.tv_nsec;
    if (swaps++ == 0) {
        firstSwap = lastSwap;
        firstFramePoints = points;
    }
    if (out == -2) {
        const char* path = getenv("SWAP_COUNTER_FILE");
        out = path ? open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644) : -1;
    }
    if (out >= 0) {
        char line[96];
        const int n = snprintf(line, sizeof line, "%ld %lld %lld %ld\n", swaps, firstSwap, lastSwap, firstFramePoints);
        if (pwrite(out, line, (size_t)n, 0) != n)
            out = -1;
    }
}

void glXSwapBuffers(Display* display, GLXDrawable drawable)
{
    static void (*real)(Display*, GLXDrawable);
    if (!real)
        real = (void (*)(Display*, GLXDrawable))nextSymbol("glXSwapBuffers");
    real(display, drawable);
    countSwap();
}

EGLBoolean eglSwapBuffers(EGLDisplay display, EGLSurface surface)
{
    static EGLBoolean (*real)(EGLDisplay, EGLSurface);
    if (!real)
        real = (EGLBoolean(*)(EGLDisplay, EGLSurface))nextSymbol("eglSwapBuffers");
    const EGLBoolean result = real(display, surface);
    countSwap();
    return result;
}

void glBegin(GLenum mode)
{
    static void (*real)(GLenum);
    if (!real)
        real = (void (*)(GLenum))nextSymbol("glBegin");
    inPoints = mode == GL_POINTS;
    real(mode);
}

void glEnd(void)
{
    static void (*real)(void);
    if (!real)
        real = (void (*)(void))nextSymbol("glEnd");
    inPoints = 0;
    real();
}

void glVertex3fv(const GLfloat* v)
{
    static void (*real)(const GLfloat*);
    if (!real)
        real = (void (*)(const GLfloat*))nextSymbol("glVertex3fv");
    if (inPoints && swaps == 0)
        ++points;
    real(v);
}
