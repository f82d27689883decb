// mingw has no structured-exception blocks, so the guard is the process's
// unhandled-fault filter: a fault that nothing below handled gives the
// desktop its running state back, leaves one line that says what failed,
// frees the verifier and ends the process.
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "common/win32/profile_win32.h"
#include "host/win32/win32_host.h"

namespace {

constexpr const char* FaultFileName = "Quelmar-fault.txt";

// "Quelmar.scr: exception 0xC0000005 at 0x... (MODULE+0xOFFSET)". The module
// is found from the address's allocation, which works on every Windows this
// runs on (GetModuleHandleEx does not exist on the Windows 95 family).
void describeFault(const EXCEPTION_RECORD& record, char* line, int size)
{
    const auto address = reinterpret_cast<uintptr_t>(record.ExceptionAddress);
    char module[MAX_PATH] = "?";
    uintptr_t base = 0;
    MEMORY_BASIC_INFORMATION region{};
    if (VirtualQuery(record.ExceptionAddress, &region, sizeof region) && region.AllocationBase &&
        GetModuleFileNameA(static_cast<HMODULE>(region.AllocationBase), module, sizeof module))
        base = reinterpret_cast<uintptr_t>(region.AllocationBase);
    const char* slash = std::strrchr(module, '\\');
    std::snprintf(line, size, "Quelmar.scr: exception 0x%08lX at 0x%" PRIXPTR " (%s+0x%" PRIXPTR ")\r\n",
                  static_cast<unsigned long>(record.ExceptionCode), address, slash ? slash + 1 : module,
                  address - base);
}

void leaveFaultLine(const char* line)
{
    OutputDebugStringA(line);
    const HANDLE file = createBesideSettings(FaultFileName);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
    CloseHandle(file);
}

LONG WINAPI onUnhandledFault(EXCEPTION_POINTERS* fault)
{
    // A second fault on the way out comes back here: end at once.
    static LONG entered = 0;
    if (InterlockedExchange(&entered, 1))
        ExitProcess(FaultExitCode);
    char line[MAX_PATH + 96] = "Quelmar.scr: exception\r\n";
    if (fault && fault->ExceptionRecord)
        describeFault(*fault->ExceptionRecord, line, sizeof line);  // before the verifier's module goes
    SetSaverRunningFlag(false);
    leaveFaultLine(line);  // before the faulty library's own clean-up can fail
    UnloadPasswordVerifier();
    ExitProcess(FaultExitCode);
}

} // namespace

LPTOP_LEVEL_EXCEPTION_FILTER installFaultGuard() { return SetUnhandledExceptionFilter(onUnhandledFault); }
