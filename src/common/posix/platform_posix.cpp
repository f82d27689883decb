// platform.h on Linux: strings compiled in, errors on stderr, quit as a flag.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "common/platform.h"
#include "common/posix/posix_host.h"
#include "common/resources.h"

ModuleHandle programModule = nullptr;
HostQuit hostQuit;

int platformLoadString(unsigned id, char* buffer, int size)
{
    const char* text = nullptr;
    switch (id) {
    case IDS_DESCRIPTION:
        text = TEXT_DESCRIPTION;
        break;
    case IDS_INIFILE:
        text = TEXT_INIFILE;
        break;
    case IDS_SECTION:
        text = TEXT_SECTION;
        break;
    default:
        text = "";
        break;
    }
    if (size <= 0)
        return 0;
    const size_t n = std::min(std::strlen(text), static_cast<size_t>(size - 1));
    std::memcpy(buffer, text, n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

void platformShowError(const char* caption, const char* text)
{
    std::fprintf(stderr, "quelmar: %s: %s\n", caption, text);
}

void platformPostQuit(int exitCode)
{
    hostQuit.requested = true;
    hostQuit.exitCode = exitCode;
}
