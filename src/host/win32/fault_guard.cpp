// mingw has no structured-exception blocks, so the guard is the process's
// unhandled-fault filter: a fault that nothing below handled clears the
// screen-saver-running state before the process ends.
#include "host/win32/win32_host.h"

namespace {

LONG WINAPI onUnhandledFault(EXCEPTION_POINTERS*)
{
    SetSaverRunningFlag(false);
    ExitProcess(FaultExitCode);
}

} // namespace

LPTOP_LEVEL_EXCEPTION_FILTER installFaultGuard() { return SetUnhandledExceptionFilter(onUnhandledFault); }
