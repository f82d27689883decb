// A stand-in for the platform's MPR.DLL, put beside the saver: records the
// a mode's call of PwdChangePasswordA in calls.log as
// "change PROVIDER owner HANDLE W X" (the handle as a decimal 32-bit value).
#include <cstdint>

#include "test_library.h"

extern "C" __declspec(dllexport) DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD w, DWORD x)
{
    test_library::record("change %s owner %lu %lu %lu", provider ? provider : "(null)",
                         static_cast<unsigned long>(reinterpret_cast<uintptr_t>(owner) & 0xFFFFFFFFu),
                         static_cast<unsigned long>(w), static_cast<unsigned long>(x));
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    test_library::onDllMain(instance, reason, reserved);
    return TRUE;
}
