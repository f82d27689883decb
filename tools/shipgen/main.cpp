// quelmar-shipgen: builds the ship mesh from its parametric pieces and writes
// the mesh asset. Usage: quelmar-shipgen OUTPUT-FILE [--stats]
#include <cstdio>
#include <cstring>
#include <string>

#include "ship_shape.h"

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3 || (argc == 3 && std::strcmp(argv[2], "--stats") != 0)) {
        std::fprintf(stderr, "usage: quelmar-shipgen OUTPUT-FILE [--stats]\n");
        return 2;
    }
    std::string text, error;
    if (!buildShipAsset(text, error, argc == 3)) {
        std::fprintf(stderr, "quelmar-shipgen: %s\n", error.c_str());
        return 1;
    }
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out || std::fwrite(text.data(), 1, text.size(), out) != text.size() || std::fclose(out) != 0) {
        std::fprintf(stderr, "quelmar-shipgen: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
