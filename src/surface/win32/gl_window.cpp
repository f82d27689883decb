// The GL child window, its pixel format, the palette where the format needs
// one, and the rendering context; and their release.
#include <cstring>

#include "common/platform.h"
#include "surface/palette.h"
#include "surface/surface.h"
#include "surface/win32/gl_window.h"

GlSurface glSurface;

namespace {

constexpr const char* GlClassName = "OpenGL Window";
constexpr WORD PaletteVersion = 0x300;

HWND fail(const char* text)
{
    platformShowError(SurfaceErrorCaption, text);
    return nullptr;
}

PIXELFORMATDESCRIPTOR requestedFormat()
{
    static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40);
    PIXELFORMATDESCRIPTOR format{};  // every field not named here is 0
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 16;
    format.cDepthBits = 16;
    format.iLayerType = PFD_MAIN_PLANE;
    return format;
}

PaletteFormat paletteFormatOf(const PIXELFORMATDESCRIPTOR& described)
{
    PaletteFormat format;
    format.flags = described.dwFlags;
    format.pixelType = described.iPixelType;
    format.colourBits = described.cColorBits;
    format.redBits = described.cRedBits;
    format.redShift = described.cRedShift;
    format.greenBits = described.cGreenBits;
    format.greenShift = described.cGreenShift;
    format.blueBits = described.cBlueBits;
    format.blueShift = described.cBlueShift;
    return format;
}

// A failed CreatePalette is no error: drawing goes on without one.
void buildPalette(HDC dc, const PaletteFormat& format)
{
    struct {
        WORD palVersion;
        WORD palNumEntries;
        PALETTEENTRY entries[MaxPaletteEntries];
    } record{};
    const int count = paletteEntryCount(format);
    record.palVersion = PaletteVersion;
    record.palNumEntries = static_cast<WORD>(count);
    GetSystemPaletteEntries(dc, 0, count, record.entries);

    PaletteColour colours[MaxPaletteEntries];
    static_assert(sizeof colours == sizeof record.entries);
    std::memcpy(colours, record.entries, sizeof colours);
    fillPalette(format, colours, count);
    std::memcpy(record.entries, colours, sizeof colours);

    glSurface.palette = CreatePalette(reinterpret_cast<const LOGPALETTE*>(&record));
    if (glSurface.palette) {
        SelectPalette(dc, glSurface.palette, FALSE);
        RealizePalette(dc);
    }
}

} // namespace

HWND CreateGlChildWindow(int x, int y, int width, int height, HWND parent, WNDPROC procedure,
                         const char* title)
{
    const HINSTANCE module = GetModuleHandleA(nullptr);
    WNDCLASSA glClass{};
    glClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    glClass.lpfnWndProc = procedure;
    glClass.hInstance = module;
    glClass.hIcon = LoadIconA(nullptr, IDI_WINLOGO);
    glClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    glClass.lpszClassName = GlClassName;
    if (!RegisterClassA(&glClass))
        return fail(NoWindowClassText);

    glSurface.window = CreateWindowExA(0, GlClassName, title,
                                       WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, x, y, width,
                                       height, parent, nullptr, module, nullptr);
    if (!glSurface.window)
        return fail(NoWindowText);

    glSurface.dc = GetDC(glSurface.window);
    if (!glSurface.dc)
        return fail(NoDeviceContextText);

    PIXELFORMATDESCRIPTOR format = requestedFormat();
    const int formatNumber = ChoosePixelFormat(glSurface.dc, &format);
    if (formatNumber == 0)
        return fail(NoPixelFormatText);
    if (!SetPixelFormat(glSurface.dc, formatNumber, &format))
        return fail(NoSetPixelFormatText);
    DescribePixelFormat(glSurface.dc, formatNumber, sizeof format, &format);

    const PaletteFormat described = paletteFormatOf(format);
    if (formatNeedsPalette(described))
        buildPalette(glSurface.dc, described);

    glSurface.context = wglCreateContext(glSurface.dc);
    if (!glSurface.context)
        return fail(NoContextText);
    if (!wglMakeCurrent(glSurface.dc, glSurface.context))
        return fail(NoActivateText);
    return glSurface.window;
}

void ReleaseGlChildWindow()
{
    wglMakeCurrent(nullptr, nullptr);
    if (glSurface.dc)
        ReleaseDC(glSurface.window, glSurface.dc);
    if (glSurface.context)
        wglDeleteContext(glSurface.context);
    if (glSurface.palette)
        DeleteObject(glSurface.palette);
    const HWND window = glSurface.window;
    glSurface = {};  // before the child's own destruction runs
    if (window)
        DestroyWindow(window);
}
