// Checks that the test harness gives the programs what the product's users have:
// a 64-bit process, Chinese code page 936 and a working window station.
#include <windows.h>
#include <gtest/gtest.h>

#include <cwchar>

TEST(Environment, SixtyFourBitProcessOnChineseCodePage)
{
    EXPECT_EQ(sizeof(void*), 8u);
    EXPECT_EQ(GetACP(), 936u);
}

TEST(Environment, WindowsCanBeCreated)
{
    HWND wnd = CreateWindowExW(0, L"STATIC", L"中文", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(wnd, nullptr) << GetLastError();
    wchar_t text[8] = {};
    GetWindowTextW(wnd, text, 8);
    EXPECT_STREQ(text, L"中文");
    DestroyWindow(wnd);
}

// The faces the skins and the dialogs name, in English and in Chinese, reach a face that
// draws Chinese: the prefix's font replacements must keep their Chinese names.
TEST(Environment, ChineseFaceNamesDrawChinese)
{
    const wchar_t text[] = L"宋体微软雅黑栖鹭普通状态鼠标悬停";
    const HDC dc = GetDC(nullptr);
    ASSERT_NE(nullptr, dc);
    for (const wchar_t* face : {L"SimSun", L"宋体", L"新宋体", L"微软雅黑", L"黑体", L"Microsoft YaHei UI"}) {
        LOGFONTW logFont = {};
        logFont.lfHeight = -12;
        logFont.lfCharSet = DEFAULT_CHARSET;
        wcscpy(logFont.lfFaceName, face);
        const HFONT font = CreateFontIndirectW(&logFont);
        const HGDIOBJ old = SelectObject(dc, font);
        WORD glyphs[ARRAYSIZE(text) - 1] = {};
        ASSERT_EQ(static_cast<DWORD>(ARRAYSIZE(glyphs)),
                  GetGlyphIndicesW(dc, text, ARRAYSIZE(glyphs), glyphs, GGI_MARK_NONEXISTING_GLYPHS));
        for (size_t i = 0; i < ARRAYSIZE(glyphs); ++i)
            EXPECT_NE(0xFFFF, glyphs[i]) << "no glyph for character " << i << " in " << face;
        TEXTMETRICW metrics = {};
        GetTextMetricsW(dc, &metrics);
        // A negative height asks for the characters' height.
        EXPECT_EQ(12, metrics.tmHeight - metrics.tmInternalLeading) << face;
        SelectObject(dc, old);
        DeleteObject(font);
    }
    ReleaseDC(nullptr, dc);
}
