// The screen-saver-running state as the Windows 95 family keeps it, read and
// set from outside the saver.
//
//   fault_check state     prints "running 0" or "running 1"
//   fault_check leave     sets it as that family does and ends, leaving it set
//                         (shows that the state outlives a process here)
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
    std::fprintf(stderr, "usage: fault_check state|leave\n");
    return 2;
}
