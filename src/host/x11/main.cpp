// quelmar: the saver for X11 desktops, with the XScreenSaver hacks' options.
#include <signal.h>

#include <cstdio>
#include <string>

#include "host/x11/x11_host.h"

int main(int argc, char** argv)
{
    SaverOptions options;
    std::string error;
    if (!parseSaverOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "quelmar: %s\n", error.c_str());
        return BadOptionExitCode;
    }
    if (options.help) {
        std::fputs(saverUsage().c_str(), stdout);
        return 0;
    }
    const int exitCode = X11HostMain(options);
    if (const int stop = stopSignalCaught()) {
        // The GL objects are released: die by the signal, as the host expects.
        std::fflush(nullptr);
        signal(stop, SIG_DFL);
        raise(stop);
    }
    return exitCode & 0xFF;
}
