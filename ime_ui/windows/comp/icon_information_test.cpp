#include "ime_ui/windows/comp/icon_information.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "graphics/paint/work_area.h"
#include "ime_ui/windows/testdata/icon_information.h"
#include "tests/support/message_pump.h"
#include "tests/support/real_mouse.h"
#include "toolkit/richhint/rich_hint_element.h"
#include "toolkit/richhint/rich_hint_hyper_link.h"
#include "toolkit/richhint/rich_hint_row.h"
#include "toolkit/richhint/wnd_rich_hint.h"

namespace {

INT_PTR CALLBACK QuietDialogProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// An icon that records the links it would open.
class t_testIcon : public t_iconInformation {
public:
    std::vector<std::wstring> opened;

protected:
    void OpenLink(const wchar_t* target) override { opened.push_back(target); }
};

class IconInformationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog =
            CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ICON_INFO), nullptr, QuietDialogProc, 0);
        ASSERT_NE(nullptr, dialog);
        RECT work;
        GetWorkArea(nullptr, work);
        SetWindowPos(dialog, HWND_TOPMOST, work.left + 300, work.top + 300, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
        ShowWindow(dialog, SW_SHOWNOACTIVATE);
        control = GetDlgItem(dialog, IDC_ICON_INFO);
        ASSERT_TRUE(icon.Attach(control));
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpMessages(30);
    }
    void TearDown() override
    {
        if (t_wndRichHint* hint = t_iconInformation::SharedHint())
            hint->Hide(true);
        icon.Detach();
        if (dialog)
            DestroyWindow(dialog);
    }

    HWND dialog = nullptr;
    HWND control = nullptr;
    t_testIcon icon;
};

TEST_F(IconInformationTest, PaintsItsPicture)
{
    ASSERT_TRUE(t_iconInformation::LoadPicture());
    HDC dc = GetDC(control);
    const COLORREF opaque = GetPixel(dc, 2, 5);
    const COLORREF clear = GetPixel(dc, 9, 5);
    ReleaseDC(control, dc);
    EXPECT_EQ(RGB(0, 200, 0), opaque);
    EXPECT_NE(RGB(0, 200, 0), clear);
}

TEST_F(IconInformationTest, OtherMessagesKeepTheControlsAnswers)
{
    EXPECT_EQ(4, SendMessageW(control, WM_GETTEXTLENGTH, 0, 0));
    wchar_t text[16] = {};
    EXPECT_EQ(4, SendMessageW(control, WM_GETTEXT, 16, reinterpret_cast<LPARAM>(text)));
    EXPECT_STREQ(L"info", text);
    const LRESULT code = SendMessageW(control, WM_GETDLGCODE, 0, 0);
    icon.Detach();
    EXPECT_EQ(SendMessageW(control, WM_GETDLGCODE, 0, 0), code);
    ASSERT_TRUE(icon.Attach(control));
    EXPECT_EQ(0, SendMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2)));
}

TEST_F(IconInformationTest, ClickOpensTheLinkOnlyWhenThereIsOne)
{
    icon.SetInfo(L"tip only", L"", L"");
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(icon.opened.empty());
    icon.SetInfo(L"tip", L"more", L"http://example.com/help");
    SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    ASSERT_EQ(1u, icon.opened.size());
    EXPECT_EQ(L"http://example.com/help", icon.opened[0]);
}

TEST(IconInformationMarkup, LinkValuesCannotBreakTheTag)
{
    struct t_case {
        const wchar_t* text;
        const wchar_t* target;
        const wchar_t* shownText;
        const wchar_t* shownTarget;
    } const cases[] = {
        {L"more", L"http://example.com/a b", L"more", L"http://example.com/a b"},
        {L"", L"", L"", L""},
        {L"say \"hi\"", L"http://x/?q=\"1\"", L"say 'hi'", L"http://x/?q=%221%22"},
        {L"a>b<c", L"http://x/<p>",
         L"a\xFF1E"
         L"b\xFF1C"
         L"c",
         L"http://x/%3Cp%3E"},
        {L"two\r\nlines", L"http://x/\r\ny", L"two  lines", L"http://x/%0D%0Ay"},
    };
    wcscpy(t_wndRichHint::ClassNameBuffer(), L"UrlHintWnd");
    for (const t_case& c : cases) {
        t_str markup;
        t_iconInformation::BuildHintMarkup(L"the tip", c.text, c.target, markup);
        t_wndRichHint hint;
        hint.SetText(markup.c_str());
        ASSERT_EQ(2, hint.RowCount()) << testing::PrintToString(std::wstring(markup.c_str()));
        ASSERT_EQ(1, hint.RowAt(1)->elements.Count());
        t_wndRichHintElement* element = hint.RowAt(1)->elements[0];
        ASSERT_EQ(t_wndRichHintElement::e_link, element->Kind());
        auto* link = static_cast<t_wndRichHintHyperLink*>(element);
        EXPECT_STREQ(c.shownText, link->Text().c_str());
        EXPECT_STREQ(c.shownTarget, link->Href().c_str());
        EXPECT_EQ(t_wndRichHintElement::e_right, link->Align());
    }
}

// Wine posts the hover after its hover time, later on a loaded machine: pump until the
// shared hint shows, for at most three seconds.
t_wndRichHint* WaitForSharedHint()
{
    for (int waited = 0; waited < 3000; waited += 50) {
        t_wndRichHint* hint = t_iconInformation::SharedHint();
        if (hint && hint->hwnd && IsWindowVisible(hint->hwnd))
            return hint;
        PumpMessages(50);
    }
    return t_iconInformation::SharedHint();
}

TEST_F(IconInformationTest, HoverShowsTheSharedHintAndLeavingHidesIt)
{
    icon.SetInfo(L"what this does", L"more", L"http://example.com/help");
    RECT box;
    GetWindowRect(control, &box);
    SendMouse(MOUSEEVENTF_MOVE, box.left + 3, box.top + 3, 20);
    SendMouse(MOUSEEVENTF_MOVE, box.left + 4, box.top + 4, 20);
    t_wndRichHint* hint = WaitForSharedHint();
    ASSERT_NE(nullptr, hint);
    ASSERT_TRUE(IsWindowVisible(hint->hwnd));
    ASSERT_EQ(2, hint->RowCount());
    // Above the icon, as asked.
    const RECT shown = hint->GetRect();
    EXPECT_LE(shown.bottom, box.top);

    // Hovering again while it shows changes neither text nor place.
    icon.SetInfo(L"other tip", L"", L"");
    SendMessageW(control, WM_MOUSEHOVER, 0, MAKELPARAM(4, 4));
    EXPECT_EQ(2, hint->RowCount());
    const RECT again = hint->GetRect();
    EXPECT_EQ(shown.left, again.left);
    EXPECT_EQ(shown.top, again.top);

    // Leaving the icon starts the hint's hide delay.
    SendMouse(MOUSEEVENTF_MOVE, box.right + 200, box.bottom + 200, 1000);
    EXPECT_FALSE(IsWindowVisible(hint->hwnd));

    // The hint's window goes with the dialog that owned it (unless the UI is topmost and
    // unowned); an icon of the next dialog makes and shows it again.
    TearDown();
    if (hint->hwnd)
        DestroyWindow(hint->hwnd);
    EXPECT_EQ(nullptr, hint->hwnd);
    SetUp();
    icon.SetInfo(L"next page", L"", L"");
    GetWindowRect(control, &box);
    SendMouse(MOUSEEVENTF_MOVE, box.left + 3, box.top + 3, 20);
    SendMouse(MOUSEEVENTF_MOVE, box.left + 4, box.top + 4, 20);
    WaitForSharedHint();
    ASSERT_NE(nullptr, hint->hwnd);
    EXPECT_TRUE(IsWindowVisible(hint->hwnd));
    SendMouse(MOUSEEVENTF_MOVE, box.right + 200, box.bottom + 200, 30);
}

}  // namespace
