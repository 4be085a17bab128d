// The page tree, the page view, the tab views and the skin information page, driven
// inside the running main frame as a designer drives them.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "editor/app/app.h"
#include "editor/app/main_frame.h"
#include "editor/pages/btn_page.h"
#include "editor/framework/editor_messages.h"
#include "editor/pages/display_view.h"
#include "editor/pages/general_info_view.h"
#include "editor/pages/property_view.h"
#include "editor/pages/skin_type_view.h"
#include "editor/pages/sub_dialog_tab.h"
#include "editor/preview/preview.h"
#include "editor/resources/resource_ids.h"
#include "editor/widgets/color_picker.h"
#include "foundation/config/ini_document.h"
#include "foundation/core/error_chain.h"
#include "graphics/paint/module_instance.h"
#include "skin_model/display_info.h"
#include "skin_model/general_info.h"
#include "skin_model/ime_skin.h"
#include "tests/support/editor_session.h"
#include "tests/support/preview_pixels.h"
#include "tests/support/temp_folder.h"

namespace {
std::wstring TextOf(HWND window)
{
    wchar_t text[512] = L"";
    GetWindowTextW(window, text, 512);
    return text;
}

std::wstring TreeText(HWND tree, HTREEITEM item)
{
    wchar_t text[128] = L"";
    TVITEMW info = {};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = text;
    info.cchTextMax = 128;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info));
    return text;
}

// The texts a control shows: its window text, and for a combo box every item.
std::vector<std::wstring> ShownTexts(HWND control)
{
    std::vector<std::wstring> texts;
    wchar_t className[64] = L"";
    GetClassNameW(control, className, 64);
    if (_wcsicmp(className, L"ComboBox") == 0) {
        const int count = static_cast<int>(SendMessageW(control, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t item[256] = L"";
            if (SendMessageW(control, CB_GETLBTEXTLEN, i, 0) < 256)
                SendMessageW(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
            texts.push_back(item);
        }
        return texts;
    }
    wchar_t text[512] = L"";
    GetWindowTextW(control, text, 512);
    texts.push_back(text);
    return texts;
}

// The character height (cell height less internal leading) of a font, and the characters
// of text that it has no glyph for (control characters aside).
struct t_fontCheck {
    int characterHeight = 0;
    std::wstring missing;
};

t_fontCheck CheckFont(HFONT font, const std::wstring& text)
{
    t_fontCheck result;
    const HDC dc = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    result.characterHeight = metrics.tmHeight - metrics.tmInternalLeading;
    for (wchar_t c : text) {
        if (c < L' ')
            continue;
        WORD glyph = 0;
        if (GetGlyphIndicesW(dc, &c, 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS) != 1 || glyph == 0xFFFF)
            result.missing.push_back(c);
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return result;
}

// The nearest dialog a control sits in.
HWND DialogOf(HWND control)
{
    for (HWND window = GetParent(control); window; window = GetParent(window)) {
        wchar_t className[16] = L"";
        GetClassNameW(window, className, 16);
        if (wcscmp(className, L"#32770") == 0)
            return window;
    }
    return nullptr;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// Shown within its parent, whether or not the parent shows.
bool Shown(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

HTREEITEM RootItem(HWND tree, int index)
{
    HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    for (int i = 0; item && i < index; ++i)
        item =
            reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    return item;
}

class PropertyPages : public t_editorSessionTest {
protected:
    SkinTypeView* Tree() const { return static_cast<SkinTypeView*>(m_frame->ChildAt(IMEKavrelFrame::e_pageTree)); }
    HWND TreeControl() const { return GetDlgItem(Tree()->GetHwnd(), c_pageTreeControl); }
    SubDialogTab* TabView(int page) const { return static_cast<SubDialogTab*>(Pages()->Page(page)); }
    GeneralInfoView* Info() const { return static_cast<GeneralInfoView*>(Pages()->Page(0)); }
    HWND InfoEdit(int field) const { return GetDlgItem(Info()->GetHwnd(), GeneralInfoView::EditOfField(field)); }
    int VisiblePage() const
    {
        int shown = -1;
        for (int i = 0; i < PropertyView::c_pageCount; ++i) {
            if (IsWindowVisible(Pages()->Page(i)->GetHwnd())) {
                if (shown >= 0)
                    return -2;
                shown = i;
            }
        }
        return shown;
    }
    // Types text into an edit key by key, as the keyboard would.
    static void Type(HWND edit, const std::wstring& text)
    {
        for (wchar_t c : text)
            SendMessageW(edit, WM_CHAR, c, 1);
    }

    t_tempFolder m_folder{L"pages"};
};

TEST_F(PropertyPages, TreeShowsTheSevenPagesInOrder)
{
    const wchar_t* const expected[] = {L"皮肤信息",       L"输入窗口外观设置", L"横排合窗口设置", L"横排分窗口设置",
                                       L"竖排合窗口设置", L"竖排分窗口设置",   L"状态栏设置"};
    const HWND tree = TreeControl();
    ASSERT_EQ(7, static_cast<int>(SendMessageW(tree, TVM_GETCOUNT, 0, 0)));
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(expected[i], TreeText(tree, RootItem(tree, i))) << i;
        EXPECT_EQ(i, SkinTypeView::PageOfText(expected[i]));
    }
    EXPECT_EQ(-1, SkinTypeView::PageOfText(L"状态栏"));
    EXPECT_EQ(0, VisiblePage());
}

TEST_F(PropertyPages, ProgrammaticSwitchFollowsInTheTreeAndReloadsThePreviewOnce)
{
    const HWND tree = TreeControl();
    // Asked of the frame, as the panels and the menu ask.
    SendMessageW(m_frame->GetHwnd(), n_editorMessage::c_selectPage, 3, 0);
    EXPECT_EQ(3, Tree()->CurrentIndex());
    EXPECT_EQ(L"横排分窗口设置",
              TreeText(tree, reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0))));
    EXPECT_EQ(3, Pages()->CurrentIndex());
    EXPECT_EQ(3, VisiblePage());
    ASSERT_EQ(1u, PreviewChanges().size());
    EXPECT_EQ(MAKEWPARAM(3, 0), PreviewChanges()[0]);

    // Chosen in the tree: the tree asks the frame once, the frame's fan-out finds it current.
    PreviewChanges().clear();
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(RootItem(tree, 6)));
    EXPECT_EQ(6, Tree()->CurrentIndex());
    EXPECT_EQ(6, VisiblePage());
    ASSERT_EQ(1u, PreviewChanges().size());
    EXPECT_EQ(MAKEWPARAM(6, 0), PreviewChanges()[0]);
    EXPECT_FALSE(m_frame->IsModified());

    // The view ignores pages it does not have; the same page again is shown again.
    EXPECT_EQ(0, SendMessageW(Pages()->GetHwnd(), n_editorMessage::c_selectPage, 7, 0));
    EXPECT_EQ(1, SendMessageW(Pages()->GetHwnd(), n_editorMessage::c_selectPage, 6, 0));
    EXPECT_EQ(6, VisiblePage());
    RECT view;
    RECT page;
    GetClientRect(Pages()->GetHwnd(), &view);
    GetWindowRect(Pages()->Page(6)->GetHwnd(), &page);
    EXPECT_EQ(view.right, page.right - page.left);
    EXPECT_EQ(view.bottom, page.bottom - page.top);
}

TEST_F(PropertyPages, EnterAndEscLeaveEveryPageOpen)
{
    for (int i = 0; i < PropertyView::c_pageCount; ++i) {
        SendMessageW(m_frame->GetHwnd(), n_editorMessage::c_selectPage, i, 0);
        const HWND page = Pages()->Page(i)->GetHwnd();
        for (int id : {IDOK, IDCANCEL})
            SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        EXPECT_TRUE(IsWindow(page)) << i;
        EXPECT_TRUE(IsWindowVisible(page)) << i;
    }
    SendMessageW(Tree()->GetHwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(IsWindowVisible(Tree()->GetHwnd()));
}

TEST_F(PropertyPages, TabViewsHoldTheirPagesBelowTheStrip)
{
    struct t_case {
        int page;
        std::vector<std::wstring> tabs;
        std::vector<int> parts;
    };
    const t_case cases[] = {
        {2, {L"窗口设置", L"按钮设置"}, {2, 8}},
        {3, {L"窗口设置", L"写作窗口按钮设置", L"候选窗口按钮设置"}, {3, 9, 10}},
        {4, {L"窗口设置", L"按钮设置"}, {4, 11}},
        {5, {L"窗口设置", L"写作窗口按钮设置", L"候选窗口按钮设置"}, {5, 12, 13}},
    };
    for (const t_case& c : cases) {
        SubDialogTab* view = TabView(c.page);
        ASSERT_EQ(static_cast<int>(c.tabs.size()), view->TabCount()) << c.page;
        EXPECT_GT(view->TabBottom(), 0);
        int viewWidth = 0;
        int viewHeight = 0;
        view->GetSize(viewWidth, viewHeight);
        for (int i = 0; i < view->TabCount(); ++i) {
            wchar_t caption[64] = L"";
            TCITEMW item = {};
            item.mask = TCIF_TEXT;
            item.pszText = caption;
            item.cchTextMax = 64;
            SendMessageW(view->TabControl(), TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
            EXPECT_EQ(c.tabs[i], caption);
            EXPECT_EQ(c.parts[i], static_cast<int>(view->Page(i)->PartNumber()));
            // Every page sits right below the strip, as wide as the view.
            RECT page;
            GetWindowRect(view->Page(i)->GetHwnd(), &page);
            MapWindowPoints(nullptr, view->GetHwnd(), reinterpret_cast<POINT*>(&page), 2);
            EXPECT_EQ(view->TabBottom(), page.top);
            int width = 0;
            int height = 0;
            view->Page(i)->GetSize(width, height);
            EXPECT_EQ(width, viewWidth);
            EXPECT_EQ(i == 0, Shown(view->Page(i)->GetHwnd())) << c.page << " tab " << i;
        }
    }

    // Choosing a tab shows its page alone.
    SubDialogTab* view = TabView(3);
    SendMessageW(m_frame->GetHwnd(), n_editorMessage::c_selectPage, 3, 0);
    SendMessageW(view->TabControl(), TCM_SETCURSEL, 2, 0);
    NMHDR header = {view->TabControl(), static_cast<UINT_PTR>(c_tabViewTabs), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(view->GetHwnd(), WM_NOTIFY, c_tabViewTabs, reinterpret_cast<LPARAM>(&header));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(i == 2, Shown(view->Page(i)->GetHwnd())) << i;
}

TEST_F(PropertyPages, ShortTabViewScrollsAndATallOneDoesNot)
{
    SendMessageW(m_frame->GetHwnd(), n_editorMessage::c_selectPage, 2, 0);
    SubDialogTab* view = TabView(2);
    int width = 0;
    int needed = 0;
    view->Page(0)->GetSize(width, needed);
    needed += view->TabBottom();
    const HWND window = view->GetHwnd();
    SetWindowPos(window, nullptr, 0, 0, width, needed / 2, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_TRUE(GetWindowLongW(window, GWL_STYLE) & WS_VSCROLL);
    SCROLLINFO info = {sizeof(info), SIF_ALL};
    GetScrollInfo(window, SB_VERT, &info);
    EXPECT_EQ(needed, info.nMax);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(static_cast<UINT>(client.bottom), info.nPage);

    // Scrolled down, then enlarged: the bar goes and the content is back at the top.
    SendMessageW(window, WM_VSCROLL, SB_PAGEDOWN, 0);
    SetWindowPos(window, nullptr, 0, 0, width, needed + 40, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_FALSE(GetWindowLongW(window, GWL_STYLE) & WS_VSCROLL);
    RECT strip;
    GetWindowRect(view->TabControl(), &strip);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&strip), 2);
    EXPECT_EQ(view->TabBottom(), strip.bottom);
}

// A page's window is made when the page is first shown or asked for. One made while a skin
// is loaded shows that skin's values; a commit makes the pages not made yet, so each stores
// its controls as before.
TEST_F(PropertyPages, PagesAreMadeOnFirstUseAndFillFromTheLoadedSkin)
{
    const HWND host =
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 600, nullptr, nullptr, GetModuleInstance(), nullptr);
    ASSERT_NE(nullptr, host);
    PropertyView view;
    ASSERT_TRUE(view.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 400, 600, host, GetModuleInstance()));
    view.CreatePages();
    EXPECT_EQ(0, view.CurrentIndex());
    for (int i = 0; i < PropertyView::c_pageCount; ++i)
        EXPECT_EQ(i == 0, view.IsPageMade(i)) << i;

    DisplayInfo& display = IMESkin::Instance()->Display();
    wcscpy(display.fontCh, L"楷体");
    view.RefreshAll();
    ASSERT_FALSE(view.IsPageMade(1));
    view.ShowPage(1);
    ASSERT_TRUE(view.IsPageMade(1));
    SubDialog* page = view.Page(1);
    EXPECT_TRUE(Shown(page->GetHwnd()));
    EXPECT_FALSE(Shown(view.Page(0)->GetHwnd()));
    EXPECT_EQ(L"楷体", TextOf(GetDlgItem(page->GetHwnd(), c_displayFontCh)));
    EXPECT_TRUE(page->IsLive());
    EXPECT_EQ(&display, page->Part());

    // Asked for, a page is made hidden; the shown page stays.
    EXPECT_NE(nullptr, view.Page(4));
    EXPECT_FALSE(Shown(view.Page(4)->GetHwnd()));
    EXPECT_EQ(1, view.CurrentIndex());

    // The commit reaches every page, each bound to its part.
    ASSERT_FALSE(view.IsPageMade(6));
    view.CommitAll();
    for (int i = 0; i < PropertyView::c_pageCount; ++i) {
        ASSERT_TRUE(view.IsPageMade(i)) << i;
        EXPECT_NE(nullptr, view.Page(i)->Part()) << i;
    }
    EXPECT_STREQ(L"楷体", display.fontCh);

    view.OnDestroy();
    EXPECT_FALSE(view.IsPageMade(0));
    DestroyWindow(host);
}

TEST_F(PropertyPages, ChangesReachThePreviewThroughTheViews)
{
    // A change notice of a tab page passes the tab view and the page view unchanged.
    SendMessageW(TabView(3)->GetHwnd(), n_editorMessage::c_skinChanged, MAKEWPARAM(10, 1), 0);
    ASSERT_EQ(1u, PreviewChanges().size());
    EXPECT_EQ(MAKEWPARAM(10, 1), PreviewChanges()[0]);
    EXPECT_TRUE(m_frame->IsModified());

    // A live bound page names its part; an unbound one sends nothing.
    PreviewChanges().clear();
    ASSERT_TRUE(Info()->IsLive());
    Info()->NotifyChanged(false);
    ASSERT_EQ(1u, PreviewChanges().size());
    EXPECT_EQ(MAKEWPARAM(0, 0), PreviewChanges()[0]);
    PreviewChanges().clear();
    Info()->Clear();
    Info()->NotifyChanged(true);
    EXPECT_TRUE(PreviewChanges().empty());
    Info()->LoadFromModel();

    // A value the preview does not show passes the views too and only marks the skin
    // modified: the preview hears nothing.
    m_frame->SetModified(false);
    SendMessageW(TabView(3)->GetHwnd(), n_editorMessage::c_skinChanged, MAKEWPARAM(n_editorMessage::c_modifiedOnly, 0),
                 0);
    EXPECT_TRUE(m_frame->IsModified());
    EXPECT_TRUE(PreviewChanges().empty());
}

TEST_F(PropertyPages, InformationFieldsKeepTheirLimits)
{
    for (int field = 0; field < GeneralInfoView::c_fieldCount; ++field) {
        const HWND edit = InfoEdit(field);
        SetWindowTextW(edit, L"");
        const int limit = field == 5 ? GeneralInfoView::c_infoLimit : GeneralInfoView::c_textLimit;
        Type(edit, std::wstring(limit + 5, L'字'));
        EXPECT_EQ(static_cast<size_t>(limit), TextOf(edit).size()) << field;
    }
}

TEST_F(PropertyPages, TypingMarksModifiedAndOpenDoesNot)
{
    Type(InfoEdit(0), L"x");
    EXPECT_TRUE(m_frame->IsModified());

    // The texts reach [General] of the work folder's Skin.ini and the saved package.
    const wchar_t* const texts[GeneralInfoView::c_fieldCount] = {L"青山皮肤", L"1.2",        L"栖鹭",
                                                                 L"a@b.cn",   L"2026-12-11", L"第一行\r\n第二行"};
    // Skin.ini holds a value on one line: the description's lines are joined by spaces.
    const wchar_t c_savedInfo[] = L"第一行 第二行";
    for (int field = 0; field < GeneralInfoView::c_fieldCount; ++field)
        SetWindowTextW(InfoEdit(field), texts[field]);
    const std::wstring package = m_folder.Path() + L"\\info.vsf";
    m_driver.Type(package);
    ASSERT_EQ(1, Command(c_cmdSave));
    ASSERT_TRUE(m_driver.AllAnswered());

    wchar_t ini[MAX_PATH];
    ASSERT_TRUE(IMESkin::Instance()->GetIniPath(ini));
    t_iniDocument document(false);
    t_errorChain errors;
    ASSERT_TRUE(document.ReadConfig(errors, ini, 936));
    const wchar_t* const keys[] = {L"skin_name", L"skin_version", L"skin_author", L"skin_email", L"skin_time"};
    for (int field = 0; field < 5; ++field) {
        const wchar_t* value = document.GetValue(L"General", keys[field]);
        ASSERT_NE(nullptr, value) << field;
        EXPECT_STREQ(texts[field], value);
    }

    // Reopened: the page shows the saved texts, and filling it marked nothing.
    m_frame->SetModified(false);
    ASSERT_TRUE(m_frame->CloseSkin());
    ASSERT_EQ(1, m_frame->OnOpen(package.c_str()));
    EXPECT_FALSE(m_frame->IsModified());
    for (int field = 0; field < GeneralInfoView::c_fieldCount; ++field)
        EXPECT_EQ(field == 5 ? c_savedInfo : texts[field], TextOf(InfoEdit(field))) << field;
    EXPECT_STREQ(texts[0], IMESkin::Instance()->General().skinName);
    EXPECT_EQ(IMESkin::Instance()->GetPart(t_partIndex::e_general), Info()->Part());

    // Filling from a new skin marks nothing either.
    ASSERT_EQ(1, Command(c_cmdClose));
    ASSERT_EQ(1, Command(c_cmdNew));
    m_frame->SetModified(false);
    Pages()->RefreshAll();
    EXPECT_FALSE(m_frame->IsModified());
}
}  // namespace

// Every text of every page and of the widgets on it (path fields, colour fields, each
// button's state rows and alignment lists) is drawn with a font that has all its characters
// and is as tall as the dialog font of the page around it.
TEST_F(PropertyPages, EveryControlTextHasItsGlyphsAtTheDialogFontHeight)
{
    // Every page and tab shown once, and every button's editor created.
    for (int i = 0; i < PropertyView::c_pageCount; ++i) {
        SendMessageW(m_frame->GetHwnd(), n_editorMessage::c_selectPage, i, 0);
        SubDialogTab* tabs = dynamic_cast<SubDialogTab*>(Pages()->Page(i));
        for (int t = 0; tabs && t < tabs->TabCount(); ++t) {
            TabCtrl_SetCurSel(tabs->TabControl(), t);
            tabs->ShowCurrentTab();
            if (BtnPage* buttons = dynamic_cast<BtnPage*>(tabs->Page(t))) {
                for (int row = 0; row < buttons->View().EditorCount(); ++row)
                    buttons->View().Select(row, true);
            }
        }
    }
    std::vector<HWND> controls;
    EnumChildWindows(Pages()->GetHwnd(), CollectWindow, reinterpret_cast<LPARAM>(&controls));
    int checked = 0;
    for (HWND control : controls) {
        const HWND dialog = DialogOf(control);
        if (!dialog)
            continue;
        const HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
        ASSERT_NE(nullptr, dialogFont);
        const int expected = CheckFont(dialogFont, L"").characterHeight;
        const HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
        for (const std::wstring& text : ShownTexts(control)) {
            if (text.empty())
                continue;
            ++checked;
            const t_fontCheck found = CheckFont(font, text);
            EXPECT_EQ(L"", found.missing) << "no glyphs in \"" << text << "\"";
            EXPECT_LE(abs(found.characterHeight - expected), 1)
                << "\"" << text << "\": " << found.characterHeight << " against " << expected;
        }
    }
    // The walk reached the widgets: the colour fields' captions and the button rows.
    EXPECT_GT(checked, 200);
}

namespace {
BOOL WINAPI ChooseRed(CHOOSECOLORW* choose)
{
    choose->rgbResult = RGB(255, 0, 0);
    return TRUE;
}
}  // namespace

// A new skin with a red pinyin colour previews the same after a save and a reopen: the
// keys the preview reads beside the page's (the result string's own colour) are saved too.
TEST_F(PropertyPages, NewSkinPreviewsAlikeAfterSaveAndReopen)
{
    SendMessageW(m_frame->GetHwnd(), n_editorMessage::c_selectPage, 1, 0);
    ColorPicker::SetChooseColorFn(ChooseRed);
    const HWND page = Pages()->Page(1)->GetHwnd();
    SendMessageW(GetDlgItem(page, c_displayPinyinColor), BM_CLICK, 0, 0);
    ColorPicker::SetChooseColorFn(nullptr);
    ASSERT_EQ(RGB(255, 0, 0), IMESkin::Instance()->Display().pinyinColor);
    const std::vector<uint32_t> before = PreviewPixels(*m_frame);
    ASSERT_FALSE(before.empty());

    SaveAndReopen(m_folder / L"红.vsf");
    SendMessageW(m_frame->GetHwnd(), n_editorMessage::c_selectPage, 1, 0);
    const std::vector<uint32_t> after = PreviewPixels(*m_frame);
    ASSERT_EQ(before.size(), after.size());
    size_t differing = 0;
    for (size_t i = 0; i < after.size(); ++i)
        differing += before[i] != after[i];
    EXPECT_EQ(0u, differing);
}
