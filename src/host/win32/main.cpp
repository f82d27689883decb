// Process entry of Quelmar.scr. The four entry arguments are not used: the
// argument text is taken from the whole command line, stepping by whole
// characters of the ANSI code page.
#include <windows.h>

#include "host/host.h"
#include "host/win32/win32_host.h"

namespace {
const char* nextCharacter(const char* p) { return CharNextA(p); }
} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const char* argumentText = skipProgramName(GetCommandLineA(), nextCharacter);
    ExitProcess(static_cast<UINT>(HostMain(GetModuleHandleA(nullptr), argumentText)));
}
