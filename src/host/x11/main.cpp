// quelmar: the saver for X11 desktops, with the Windows saver's command line.
#include <string>

#include "host/host.h"
#include "host/x11/x11_host.h"

int main(int argc, char** argv)
{
    // Rebuild a command line so the argument text is taken exactly as on Windows.
    std::string line = "quelmar";
    for (int i = 1; i < argc; ++i) {
        line += ' ';
        line += argv[i];
    }
    return HostMain(skipProgramName(line.c_str())) & 0xFF;
}
