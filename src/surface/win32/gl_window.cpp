// CreateGlChildWindow: the child window, its pixel format, the palette where
// the format needs one, and the rendering context.
#include <cstring>

#include "common/platform.h"
#include "settings/settings.h"
#include "surface/palette.h"
#include "surface/win32/gl_window.h"

GlSurface glSurface;

namespace {

constexpr const char* GlClassName = "OpenGL Window";
constexpr const char* ErrorCaption = "Error Creating Window";
constexpr WORD PaletteVersion = 0x300;

HWND fail(const char* text)
{
    platformShowError(ErrorCaption, text);
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

HWND CreateGlChildWindow(int x, int y, int width, int height, HWND parent)
{
    const HINSTANCE module = GetModuleHandleA(nullptr);
    WNDCLASSA glClass{};
    glClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    glClass.lpfnWndProc = GlChildProc;
    glClass.hInstance = module;
    glClass.hIcon = LoadIconA(nullptr, IDI_WINLOGO);
    glClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    glClass.lpszClassName = GlClassName;
    if (!RegisterClassA(&glClass))
        return fail("Sorry dude. Can't register the window class.");

    glSurface.window = CreateWindowExA(0, GlClassName, MakerWebAddress,
                                       WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, x, y, width,
                                       height, parent, nullptr, module, nullptr);
    if (!glSurface.window)
        return fail("Sorry dude. Can't create the window.");

    glSurface.dc = GetDC(glSurface.window);
    if (!glSurface.dc)
        return fail("Sorry dude. Can't get the DC.");

    PIXELFORMATDESCRIPTOR format = requestedFormat();
    const int formatNumber = ChoosePixelFormat(glSurface.dc, &format);
    if (formatNumber == 0)
        return fail("Sorry dude. Can't get a pixel format.");
    if (!SetPixelFormat(glSurface.dc, formatNumber, &format))
        return fail("Sorry dude. Can't set the pixel format.");
    DescribePixelFormat(glSurface.dc, formatNumber, sizeof format, &format);

    const PaletteFormat described = paletteFormatOf(format);
    if (formatNeedsPalette(described))
        buildPalette(glSurface.dc, described);

    glSurface.context = wglCreateContext(glSurface.dc);
    if (!glSurface.context)
        return fail("Sorry dude. Can't get a rendering context.");
    if (!wglMakeCurrent(glSurface.dc, glSurface.context))
        return fail("Sorry dude. Can't activate the RC.");
    return glSurface.window;
}
