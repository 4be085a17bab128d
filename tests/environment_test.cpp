// Checks that the test harness gives the programs what the product's users have:
// a 64-bit process, Chinese code page 936 and a working window station.
#include <windows.h>
#include <gtest/gtest.h>

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
