// Outside text (an argument, an environment variable, a path) as it goes into
// a one-line message: shared by both programs' messages.
#pragma once

#include <string>
#include <string_view>

// Longest part of a value that a message echoes, in characters.
inline constexpr size_t ShownValueLimit = 80;

// The value on one line: control characters written as \n, \r, \t or \xNN
// (bytes that are not UTF-8 too), cut after ShownValueLimit characters with "…".
std::string shownValue(std::string_view value);
