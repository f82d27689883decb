#include "host/host.h"

namespace {

const char* stepByte(const char* p) { return *p ? p + 1 : p; }

unsigned code(const char* p) { return static_cast<unsigned char>(*p); }

const char* skipSpaces(const char* p)
{
    while (*p == ' ')
        ++p;
    return p;
}

} // namespace

const char* skipProgramName(const char* commandLine, CharStep next)
{
    if (!next)
        next = stepByte;
    const char* p = commandLine;
    if (*p == '"') {
        p = next(p);
        while (*p && *p != '"')
            p = next(p);
        if (*p == '"')
            p = next(p);
    } else if (code(p) > 32) {
        while (code(p) > 32)
            p = next(p);
    }
    while (code(p) >= 1 && code(p) <= 32)
        p = next(p);
    return p;
}

HostCommand parseHostCommand(const char* text, bool win9xPlatform)
{
    for (const char* p = text;; ++p) {
        switch (*p) {
        case '\0':
            return {RunMode::SettingsDialog, p};
        case ' ':
        case '-':
        case '/':
            continue;
        case 'a':
        case 'A':
            if (!win9xPlatform)
                return {RunMode::Invalid, p};
            return {RunMode::ChangePassword, skipSpaces(p + 1)};
        case 'c':
        case 'C':
            return {RunMode::SettingsDialogOwned, p + 1};
        case 'p':
        case 'P':
        case 'l':
        case 'L':
            return {RunMode::Preview, skipSpaces(p + 1)};
        case 's':
        case 'S':
            return {RunMode::Saver, p + 1};
        default:
            return {RunMode::Invalid, p};
        }
    }
}

uint32_t ParseWindowHandle(const char* text)
{
    uint32_t value = 0;
    for (const char* p = text; *p >= '0' && *p <= '9'; ++p)
        value = value * 10u + static_cast<uint32_t>(*p - '0');
    return value;
}

bool parseWindowId(const char* text, uint32_t& id)
{
    unsigned base = 10;
    const char* p = text;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        base = 16;
        p += 2;
    }
    uint64_t value = 0;
    const char* digits = p;
    for (; *p; ++p) {
        unsigned digit;
        if (*p >= '0' && *p <= '9')
            digit = static_cast<unsigned>(*p - '0');
        else if (base == 16 && *p >= 'a' && *p <= 'f')
            digit = static_cast<unsigned>(*p - 'a' + 10);
        else if (base == 16 && *p >= 'A' && *p <= 'F')
            digit = static_cast<unsigned>(*p - 'A' + 10);
        else
            return false;
        value = value * base + digit;
        if (value > UINT32_MAX)
            return false;
    }
    if (p == digits || value == 0)
        return false;
    id = static_cast<uint32_t>(value);
    return true;
}
