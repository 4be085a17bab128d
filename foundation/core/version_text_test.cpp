#include "foundation/core/version_text.h"

#include <gtest/gtest.h>

TEST(VersionPattern, MatchesTable)
{
    struct t_case {
        const wchar_t* pattern;
        uint16_t version[4];
        bool matches;
    };
    const t_case cases[] = {
        // at least this version
        {L"6.5+", {6, 5, 0, 0}, true},
        {L"6.5+", {7, 0, 0, 0}, true},
        {L"6.5+", {6, 4, 9, 9}, false},
        {L"6.5+", {6, 5, 65535, 1}, true},
        // at most this version
        {L"6.5-", {6, 4, 9, 9}, true},
        {L"6.5-", {6, 5, 0, 0}, true},
        {L"6.5-", {7, 0, 0, 0}, false},
        // wildcards and parts not given match anything
        {L"6.*.*.1", {6, 0, 0, 1}, true},
        {L"6.*.*.1", {6, 9, 1234, 1}, true},
        {L"6.*.*.1", {6, 9, 1234, 2}, false},
        {L"6.*.*.1", {7, 0, 0, 1}, false},
        {L"6.x.X.1", {6, 3, 4, 1}, true},
        {L"6", {6, 1, 2, 3}, true},
        {L"", {1, 2, 3, 4}, true},
        // exact parts
        {L"6.8.0.1234", {6, 8, 0, 1234}, true},
        {L"6.8.0.1234", {6, 8, 0, 1235}, false},
        // a wildcard part does not decide a ranged pattern
        {L"6.*.3+", {6, 0, 4, 0}, true},
        {L"6.*.3+", {6, 9, 2, 0}, false},
        // digits too long for a version part never equal one
        {L"99999999999.0", {65535, 0, 0, 0}, false},
        // parts past the fourth are ignored
        {L"1.2.3.4.5", {1, 2, 3, 4}, true},
    };
    for (const t_case& c : cases) {
        EXPECT_EQ(c.matches, MatchVersionPattern(c.pattern, c.version)) << "pattern " << c.pattern;
    }
}

TEST(VersionText, CompareTable)
{
    struct t_case {
        const wchar_t* first;
        const wchar_t* second;
        int parts;
        int expected;
    };
    const t_case cases[] = {
        {L"6.8.0.1", L"6.8.0.1", 4, 0},
        {L"6.10", L"6.9", 2, 1},  // numeric, not textual
        {L"6.9", L"6.10", 2, -1},
        {L"6.8.1", L"6.8.2", 2, 0},  // only the first n parts count
        {L"6.8", L"6.8.1", 3, -1},   // first runs out while the second has parts
        {L"6.8.1", L"6.8", 3, 1},    // only the second runs out
        {L"6.8", L"6.8", 4, 0},      // both run out together
        {L"", L"", 1, 0},
        {nullptr, L"1", 1, -1},
        // each text is read up to 31 characters: a difference past them is not seen
        {L"1.0000000000000000000000000000.5", L"1.0000000000000000000000000000.7", 3, 0},
    };
    for (const t_case& c : cases) {
        EXPECT_EQ(c.expected, CompareVersionText(c.first, c.second, c.parts)) << "index " << (&c - cases);
    }
}
