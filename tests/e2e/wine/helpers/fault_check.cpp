// The host's fault guard: a fault that nothing handles clears the
// screen-saver-running state and ends the process with FaultExitCode.
//
//   fault_check fault     sets the running state as the Windows 95 family
//                         does, then faults
//   fault_check leave     sets the running state and ends normally, leaving
//                         it set (shows that the state outlives a process)
//   fault_check state     prints "running 0" or "running 1"
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "host/win32/win32_host.h"

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "state") == 0) {
        BOOL running = FALSE;
        SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
        std::printf("running %d\n", running ? 1 : 0);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "leave") == 0) {
        saverHost.Win9xPlatform = true;
        SetSaverRunningFlag(true);
        return 0;
    }
    if (argc != 2 || std::strcmp(argv[1], "fault") != 0) {
        std::fprintf(stderr, "usage: fault_check fault|leave|state\n");
        return 2;
    }
    SetErrorMode(SEM_NOGPFAULTERRORBOX);
    saverHost.Win9xPlatform = true;  // so the guard has a state to clear
    installFaultGuard();
    SetSaverRunningFlag(true);
    BOOL running = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    std::printf("armed, running %d\n", running ? 1 : 0);
    std::fflush(stdout);
    volatile int* nowhere = nullptr;
    *nowhere = 1;
    std::printf("FAIL the fault did not end the process\n");
    return 1;
}
