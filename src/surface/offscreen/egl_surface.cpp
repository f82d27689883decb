#include "surface/offscreen/egl_surface.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include "surface/gl.h"

namespace {

struct Offscreen {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLSurface surface = EGL_NO_SURFACE;
    EGLContext context = EGL_NO_CONTEXT;
};
Offscreen offscreen;

EGLDisplay openDisplay()
{
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay)
        return EGL_NO_DISPLAY;
    return getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
}

bool fail(std::string& error, const char* what)
{
    error = what;
    destroyOffscreenSurface();
    return false;
}

} // namespace

bool createOffscreenSurface(int32_t width, int32_t height, std::string& error)
{
    destroyOffscreenSurface();
    offscreen.display = openDisplay();
    if (offscreen.display == EGL_NO_DISPLAY)
        return fail(error, "no EGL surfaceless display (is Mesa's libegl-mesa0 installed?)");
    if (!eglInitialize(offscreen.display, nullptr, nullptr))
        return fail(error, "cannot initialise EGL");

    const EGLint configAttributes[] = {
        EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
        EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_DEPTH_SIZE, 16,
        EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configs = 0;
    if (!eglChooseConfig(offscreen.display, configAttributes, &config, 1, &configs) || configs < 1)
        return fail(error, "no EGL configuration with an RGB pbuffer and a depth buffer");
    if (!eglBindAPI(EGL_OPENGL_API))
        return fail(error, "EGL cannot bind desktop OpenGL");

    const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    offscreen.surface = eglCreatePbufferSurface(offscreen.display, config, surfaceAttributes);
    if (offscreen.surface == EGL_NO_SURFACE)
        return fail(error, "cannot create an EGL pbuffer of that size");

    const EGLint contextAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                        EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    offscreen.context = eglCreateContext(offscreen.display, config, EGL_NO_CONTEXT, contextAttributes);
    if (offscreen.context == EGL_NO_CONTEXT)
        return fail(error, "cannot create a compatibility OpenGL context");
    if (!eglMakeCurrent(offscreen.display, offscreen.surface, offscreen.surface, offscreen.context))
        return fail(error, "cannot make the OpenGL context current");
    return true;
}

void destroyOffscreenSurface()
{
    if (offscreen.display == EGL_NO_DISPLAY)
        return;
    eglMakeCurrent(offscreen.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (offscreen.context != EGL_NO_CONTEXT)
        eglDestroyContext(offscreen.display, offscreen.context);
    if (offscreen.surface != EGL_NO_SURFACE)
        eglDestroySurface(offscreen.display, offscreen.surface);
    eglTerminate(offscreen.display);
    offscreen = {};
}

void readOffscreenPixels(int32_t width, int32_t height, unsigned char* rgba)
{
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}
