// The per-frame state trace: one JSON object per line.
#pragma once

#include <cstdint>
#include <cstdio>

// Writes the scene's state after frame `frame` as one line of JSON.
void writeTraceLine(std::FILE* out, int64_t frame);
