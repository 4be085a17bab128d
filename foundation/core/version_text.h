// Version numbers written as text ("6.8.0.1234") and version patterns ("6.5+", "6.*.*.1").
#pragma once

#include <cstdint>

// Compares the first `parts` dot-separated decimal parts of two version texts (each read
// up to 31 characters): 1 when first is greater, -1 when smaller, 0 when equal. A text that
// runs out of parts is smaller than one that still has some.
int CompareVersionText(const wchar_t* first, const wchar_t* second, int parts);

// Matches a version {major, minor, build, revision} against a pattern of up to four parts.
// "*", "X", "x" and missing parts match anything; numeric parts must be equal, unless the
// pattern ends in '+' (at least this version) or '-' (at most this version).
bool MatchVersionPattern(const wchar_t* pattern, const uint16_t version[4]);
