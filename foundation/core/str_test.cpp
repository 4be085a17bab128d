#include "foundation/core/str.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::wstring Repeat(wchar_t c, size_t n) { return std::wstring(n, c); }

TEST(StrTest, NewStringIsEmptyInPlaceWithCapacity16)
{
    t_str s;
    EXPECT_EQ(0, s.Length());
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(16, s.Capacity());
    EXPECT_TRUE(s.IsInPlace());
    EXPECT_STREQ(L"", s.c_str());
}

TEST(StrTest, SingleAppendStaysInPlaceUpTo132Characters)
{
    // The inline store holds 133 characters including the terminator.
    struct {
        size_t count;
        int capacity;
        bool inPlace;
    } const cases[] = {
        {15, 16, true}, {16, 48, true}, {132, 133, true}, {133, 134, false}, {300, 301, false},
    };
    for (const auto& c : cases) {
        t_str s;
        const std::wstring text = Repeat(L'x', c.count);
        s.Append(text.c_str());
        EXPECT_EQ(c.capacity, s.Capacity()) << c.count;
        EXPECT_EQ(c.inPlace, s.IsInPlace()) << c.count;
        EXPECT_EQ(text, s.c_str()) << c.count;
    }
}

TEST(StrTest, GrowthOneCharacterAtATime)
{
    // Each change of capacity as "length:capacity", with "+" while in place.
    t_str s;
    std::string steps = "0:16+";
    int capacity = s.Capacity();
    std::wstring expected;
    for (int i = 0; i < 1000; ++i) {
        const wchar_t one[2] = {static_cast<wchar_t>(L'a' + i % 26), 0};
        s.Append(one);
        expected += one;
        if (capacity != s.Capacity()) {
            capacity = s.Capacity();
            steps += " " + std::to_string(s.Length()) + ":" + std::to_string(capacity) + (s.IsInPlace() ? "+" : "");
        }
    }
    EXPECT_EQ("0:16+ 16:48+ 48:112+ 112:240 240:496 496:1008", steps);
    EXPECT_EQ(expected, s.c_str());
    EXPECT_EQ(1000, s.Length());
}

TEST(StrTest, ReserveProposalIsMaskedTo16Bits)
{
    t_str s;
    s.Reserve(40000);
    EXPECT_EQ(40000, s.Capacity());
    // (2 * 40000 + 16) & 0xfff0 wraps to 14480, so the request alone decides.
    s.Reserve(40001);
    EXPECT_EQ(40001, s.Capacity());
    s.Reserve(10);
    EXPECT_EQ(40001, s.Capacity());
}

TEST(StrTest, TextSurvivesTheMoveToTheHeap)
{
    t_str s;
    s.Append(Repeat(L'a', 100).c_str());
    ASSERT_TRUE(s.IsInPlace());
    // The source lies inside the block that the append moves to the heap.
    s.Append(s.c_str());
    EXPECT_FALSE(s.IsInPlace());
    EXPECT_EQ(Repeat(L'a', 200), s.c_str());
    s.AppendStr(s);
    EXPECT_EQ(Repeat(L'a', 400), s.c_str());

    t_str t(Repeat(L't', 100).c_str());
    t.AppendText(t.c_str() + 50);
    EXPECT_EQ(Repeat(L't', 150), t.c_str());
    s.Assign(s.c_str() + 390);
    EXPECT_EQ(Repeat(L'a', 10), s.c_str());
}

TEST(StrTest, AssignForms)
{
    t_str s(L"hello");
    EXPECT_STREQ(L"hello", s.c_str());
    s.Assign(nullptr);
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_STREQ(L"", s.c_str());
    s.AssignN(L"abcdef", 3);
    EXPECT_STREQ(L"abc", s.c_str());
    s.AssignN(nullptr, 5);
    EXPECT_EQ(0, s.Length());
    EXPECT_STREQ(L"", s.c_str());
    s.Append(L"kept");
    s.Append(nullptr);
    EXPECT_STREQ(L"kept", s.c_str());
    const int capacity = s.Capacity();
    s.Clear();
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(capacity, s.Capacity());
}

TEST(StrTest, CopiesAreIndependent)
{
    t_str big(Repeat(L'b', 300).c_str());
    t_str copy(big);
    t_str assigned;
    assigned = big;
    assigned = assigned;
    big.Assign(L"changed");
    EXPECT_EQ(Repeat(L'b', 300), copy.c_str());
    EXPECT_EQ(Repeat(L'b', 300), assigned.c_str());
    t_str small(L"s");
    copy = small;
    EXPECT_STREQ(L"s", copy.c_str());
    EXPECT_FALSE(copy.IsInPlace());  // a string that left the inline store stays on the heap
}

TEST(StrTest, AppendHelpersChainAndFormatTheirValues)
{
    t_str s;
    s.AppendText(L"n=")
        .AppendInt(-42)
        .AppendChar(L',')
        .AppendUInt(4294967295u)
        .AppendChar(L'\t')
        .AppendChar(L'中')
        .AppendText(nullptr);
    EXPECT_STREQ(L"n=-42,4294967295?中", s.c_str());
}

TEST(StrTest, FormattedAppendGrowsUntilTheTextIsComplete)
{
    const std::wstring longText = Repeat(L'w', 1000);
    t_str s(L"<");
    s.AppendFormat(L"%s|%S|%d>", longText.c_str(), "narrow", 7);
    EXPECT_EQ(L"<" + longText + L"|narrow|7>", s.c_str());

    // Output exactly as long as the free space needs the room for the terminator too.
    for (int n = 10; n <= 20; ++n) {
        t_str t;
        t.AppendFormat(L"%s", Repeat(L'e', n).c_str());
        EXPECT_EQ(Repeat(L'e', n), t.c_str()) << n;
    }
}

TEST(StrTest, FormatReplacesTheText)
{
    t_str s(L"old text");
    s.Format(L"%s-%04d", L"new", 12);
    EXPECT_STREQ(L"new-0012", s.c_str());
    s.Format(L"");
    EXPECT_TRUE(s.IsEmpty());
}

TEST(StrTest, Comparisons)
{
    t_str a(L"Skin.INI");
    EXPECT_TRUE(a.Equals(L"Skin.INI"));
    EXPECT_FALSE(a.Equals(L"skin.ini"));
    EXPECT_TRUE(a.EqualsNoCase(L"skin.ini"));
    EXPECT_TRUE(a.EqualsNoCaseStr(t_str(L"SKIN.ini")));
    EXPECT_FALSE(a.EqualsNoCase(L"skin.in"));
    EXPECT_TRUE(t_str().Equals(nullptr));
    EXPECT_TRUE(a == t_str(L"Skin.INI"));
    EXPECT_TRUE(a != t_str(L"skin.ini"));
    EXPECT_TRUE(a != t_str(L"Skin.IN"));
}

TEST(StrTest, Searching)
{
    const t_str s(L"C:\\skins\\a.vsf");
    struct {
        wchar_t c;
        int start;
        int expected;
    } const finds[] = {
        {L'\\', 0, 2}, {L'\\', 3, 8}, {L'\\', 9, -1}, {L'f', 13, 13}, {L'f', 14, -1}, {L'C', 100, -1}, {L'C', -1, -1},
    };
    for (const auto& f : finds)
        EXPECT_EQ(f.expected, s.Find(f.c, f.start)) << f.c << " from " << f.start;

    struct {
        int start;
        const wchar_t* text;
        int expected;
    } const texts[] = {
        {0, L"skins", 3}, {4, L"skins", -1}, {0, L".vsf", 10}, {14, L"f", -1}, {0, L"zz", -1}, {0, nullptr, -1},
    };
    for (const auto& t : texts)
        EXPECT_EQ(t.expected, s.FindText(t.start, t.text)) << t.start;

    EXPECT_EQ(8, s.ReverseFindBackslash());
    EXPECT_EQ(-1, t_str(L"none").ReverseFindBackslash());
    EXPECT_EQ(L'k', s.CharAt(4));
    EXPECT_EQ(0, s.CharAt(s.Length()));
}

TEST(StrTest, Mid)
{
    const t_str s(L"abcdef");
    struct {
        int start, count;
        const wchar_t* expected;
    } const cases[] = {
        {0, -1, L"abcdef"}, {2, -1, L"cdef"}, {2, 2, L"cd"}, {4, 100, L"ef"}, {6, 1, L""}, {10, -1, L""}, {0, 0, L""},
    };
    for (const auto& c : cases) {
        t_str out(L"stale");
        s.Mid(out, c.start, c.count);
        EXPECT_STREQ(c.expected, out.c_str()) << c.start << "," << c.count;
    }
    t_str self(L"abcdef");
    self.Mid(self, 1, 3);
    EXPECT_STREQ(L"bcd", self.c_str());
}

TEST(StrTest, EditingInPlace)
{
    struct {
        int from, to;
        const wchar_t* expected;
    } const erases[] = {
        {0, 2, L"cdef"}, {2, 4, L"abef"}, {4, 100, L"abcd"}, {6, 8, L"abcdef"}, {3, 3, L"abcdef"},
    };
    for (const auto& e : erases) {
        t_str s(L"abcdef");
        s.Erase(e.from, e.to);
        EXPECT_STREQ(e.expected, s.c_str()) << e.from << "," << e.to;
        EXPECT_EQ(static_cast<int>(wcslen(e.expected)), s.Length());
    }

    t_str t(L"abcdef");
    t.Truncate(3);
    EXPECT_STREQ(L"abc", t.c_str());
    EXPECT_EQ(3, t.Length());
    t.Truncate(t.Capacity());  // no room for the terminator there: ignored
    EXPECT_STREQ(L"abc", t.c_str());

    struct {
        const wchar_t* text;
        const wchar_t* set;
        const wchar_t* expected;
    } const trims[] = {
        {L"  \t key = 1 \r\n", L" \t\r\n", L"key = 1"}, {L"\"quoted\"", L"\"", L"quoted"}, {L"    ", L" ", L""},
        {L"inner  space", L" ", L"inner  space"},       {L" x ", nullptr, L" x "},
    };
    for (const auto& tr : trims) {
        t_str s(tr.text);
        s.Trim(tr.set);
        EXPECT_STREQ(tr.expected, s.c_str()) << tr.text;
        EXPECT_EQ(static_cast<int>(wcslen(tr.expected)), s.Length());
    }

    t_str lower(L"AbZ@[Ä中Q");
    lower.ToLowerAscii();
    EXPECT_STREQ(L"abz@[Ä中q", lower.c_str());
}

TEST(StrTest, LentBuffer)
{
    t_str s(L"previous");
    wchar_t* buf = s.GetBuffer(300);
    ASSERT_NE(nullptr, buf);
    EXPECT_GE(s.Capacity(), 301);
    wcscpy(buf, L"filled by caller");
    EXPECT_TRUE(s.ReleaseBuffer());
    EXPECT_STREQ(L"filled by caller", s.c_str());
    EXPECT_EQ(16, s.Length());

    // Every lent character set and no terminator: the text is dropped.
    buf = s.GetBuffer(4);
    for (int i = 0; i < 5; ++i)
        buf[i] = L'z';
    EXPECT_FALSE(s.ReleaseBuffer());
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_STREQ(L"", s.c_str());

    buf = s.GetBuffer(4);
    wcscpy(buf, L"abcd");
    EXPECT_TRUE(s.ReleaseBuffer());
    EXPECT_STREQ(L"abcd", s.c_str());
}

TEST(StrTest, NarrowCodePage936)
{
    const char gbk[] = "\xd6\xd0\xce\xc4.ini";  // "中文.ini"
    t_str s;
    ASSERT_TRUE(s.FromNarrow(gbk));
    EXPECT_STREQ(L"中文.ini", s.c_str());

    char out[260];
    ASSERT_TRUE(s.ToNarrow(out));
    EXPECT_STREQ(gbk, out);

    EXPECT_FALSE(s.FromNarrow(nullptr));
    EXPECT_TRUE(s.IsEmpty());
    ASSERT_TRUE(s.FromNarrow(""));
    EXPECT_TRUE(s.IsEmpty());
    ASSERT_TRUE(s.ToNarrow(out));
    EXPECT_STREQ("", out);

    // Long text converts whole on the way in.
    const std::string longGbk = std::string(600, 'a') + "\xd6\xd0";
    ASSERT_TRUE(s.FromNarrow(longGbk.c_str()));
    EXPECT_EQ(Repeat(L'a', 600) + L"中", s.c_str());
}

TEST(StrTest, ToNarrowNeedsRoomForTheTerminator)
{
    struct {
        std::wstring text;
        bool fits;
    } const cases[] = {
        {Repeat(L'a', 259), true},
        {Repeat(L'a', 260), false},
        {Repeat(L'中', 129), true},   // 258 bytes
        {Repeat(L'中', 130), false},  // 260 bytes
    };
    for (const auto& c : cases) {
        t_str s(c.text.c_str());
        char out[260];
        std::memset(out, 'x', sizeof(out));
        EXPECT_EQ(c.fits, s.ToNarrow(out)) << c.text.size();
        if (c.fits) {
            wchar_t back[260];
            ASSERT_GT(MultiByteToWideChar(936, 0, out, -1, back, 260), 0);
            EXPECT_EQ(c.text, back);
        } else {
            EXPECT_STREQ("", out);
        }
    }
}

TEST(StrTest, AppendToPathBuf)
{
    wchar_t buf[260] = L"C:\\skins";
    EXPECT_TRUE(AppendToPathBuf(buf, L"\\a.vsf"));
    EXPECT_STREQ(L"C:\\skins\\a.vsf", buf);
    EXPECT_TRUE(AppendToPathBuf(buf, nullptr));
    EXPECT_STREQ(L"C:\\skins\\a.vsf", buf);

    // 259 characters fit; one more would leave no terminator, and the buffer stays whole.
    wchar_t full[260] = L"";
    EXPECT_TRUE(AppendToPathBuf(full, Repeat(L'p', 250).c_str()));
    EXPECT_FALSE(AppendToPathBuf(full, Repeat(L'q', 10).c_str()));
    EXPECT_EQ(Repeat(L'p', 250), full);
    EXPECT_TRUE(AppendToPathBuf(full, Repeat(L'q', 9).c_str()));
    EXPECT_EQ(Repeat(L'p', 250) + Repeat(L'q', 9), full);

    wchar_t unterminated[260];
    for (wchar_t& c : unterminated)
        c = L'u';
    EXPECT_FALSE(AppendToPathBuf(unterminated, L"x"));
}

TEST(StrTest, CopyText1024)
{
    wchar_t buf[1024];
    EXPECT_TRUE(CopyText1024(buf, L"message"));
    EXPECT_STREQ(L"message", buf);
    EXPECT_TRUE(CopyText1024(buf, nullptr));
    EXPECT_STREQ(L"", buf);
    EXPECT_TRUE(CopyText1024(buf, Repeat(L'm', 1023).c_str()));
    EXPECT_EQ(Repeat(L'm', 1023), buf);
    EXPECT_FALSE(CopyText1024(buf, Repeat(L'n', 2000).c_str()));
    EXPECT_EQ(Repeat(L'n', 1023), buf);
}

}  // namespace
