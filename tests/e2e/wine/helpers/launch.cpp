// Runs each line of a file as an exact command line (CreateProcessA with no
// application name, so the line's own quoting decides the program name) and
// prints "exit CODE" for each, in order. Lines may hold tabs; "%SCR%" stands
// for the saver's path given as the second argument.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string substitute(std::string line, const std::string& saver)
{
    const std::string marker = "%SCR%";
    for (size_t at = line.find(marker); at != std::string::npos; at = line.find(marker, at + saver.size()))
        line.replace(at, marker.size(), saver);
    return line;
}

long run(std::string commandLine)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return -1000 - static_cast<long>(GetLastError());
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<long>(static_cast<int>(code));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: launch COMMAND-FILE SAVER-PATH\n");
        return 2;
    }
    FILE* file = std::fopen(argv[1], "rb");
    if (!file) {
        std::fprintf(stderr, "launch: cannot open %s\n", argv[1]);
        return 2;
    }
    char buffer[1024];
    while (std::fgets(buffer, sizeof buffer, file)) {
        std::string line = buffer;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        if (line.empty())
            continue;
        std::printf("exit %ld\n", run(substitute(line, argv[2])));
        std::fflush(stdout);
    }
    std::fclose(file);
    return 0;
}
