#include "editor/pages/display_view.h"

#include <cwchar>
#include <cwctype>
#include <initializer_list>

#include "editor/framework/editor_messages.h"
#include "editor/resources/resource_ids.h"
#include "editor/widgets/color_picker.h"
#include "foundation/config/app_config.h"
#include "graphics/text/system_fonts.h"
#include "ime_ui/windows/comp/icon_information.h"
#include "skin_model/display_info.h"

namespace {

const wchar_t* const c_fontSizes[] = {L"14", L"16", L"18", L"20", L"24", L"28", L"32", L"36", L"42", L"48"};
const wchar_t c_defaultSizeText[] = L"16";
const int c_sizeChars = 2;
const int c_fontNameChars = 32;
// English names are told apart by their first characters only.
const int c_englishCompareChars = 64;
const int c_minCandCount = 3;
const int c_maxCandCount = 9;
const int c_maxFontSize = 99;

const wchar_t c_songti[] = L"宋体";
const wchar_t c_simSun[] = L"SimSun";
const wchar_t c_hanyiPrefix[] = L"汉仪";
const wchar_t c_colorLabel[] = L"设置";

const wchar_t c_sizeError[] = L"请输入(1 - 99)间的合法数字";
const wchar_t c_errorCaption[] = L"错误";
const wchar_t c_noteCaption[] = L"提示";
const wchar_t c_aeroNote[] =
    L"支持Aero效果需要注意的事项:\r\n1.应该为每一个背景图片添加Aero掩码图片\r\n2.掩码图片的大小必须与对应的背景图片一样"
    L"\r\n3.掩码图片必须是黑白两色,白色的区域将会实现Aero中背景模糊的效果\r\n详细效果可以参照编辑器安装包里的示例皮肤"
    L"\"win7风格.vsf\"";
const wchar_t c_largeFontTipText[] = L"勾选后，将不进行九段拉\r\n伸，而是使用整体缩放\r\n来尽量保持效果";
const wchar_t c_fontTipText[] =
    L"如果选用系统字体或汉仪\r\n字体，在用户使用皮肤时\r\n便可配套更换，令皮肤效\r\n果更完美";

// Shown at most once per run; set before the box opens so that a second click while it
// is open shows nothing more.
bool s_aeroNoteShown = false;

bool BeginsWithAt(const std::wstring& name) { return !name.empty() && name[0] == L'@'; }

bool IsHanyi(const std::wstring& name) { return _wcsnicmp(name.c_str(), c_hanyiPrefix, 2) == 0; }

int CALLBACK CollectFace(const LOGFONTW* logFont, const TEXTMETRICW*, DWORD, LPARAM user)
{
    const ENUMLOGFONTEXW* font = reinterpret_cast<const ENUMLOGFONTEXW*>(logFont);
    std::vector<t_fontFace>* faces = reinterpret_cast<std::vector<t_fontFace>*>(user);
    wchar_t name[LF_FULLFACESIZE + 1];
    wcsncpy(name, font->elfFullName, LF_FULLFACESIZE);
    name[LF_FULLFACESIZE] = 0;
    faces->push_back({name, logFont->lfCharSet});
    return 1;
}

}  // namespace

std::vector<std::wstring> ChineseFontNames(const std::vector<t_fontFace>& faces)
{
    std::vector<std::wstring> names;
    for (const t_fontFace& face : faces) {
        if (face.charset != GB2312_CHARSET || BeginsWithAt(face.fullName))
            continue;
        bool listed = false;
        for (const std::wstring& name : names)
            listed = listed || name == face.fullName;
        if (!listed)
            names.push_back(face.fullName);
    }
    return names;
}

std::vector<std::wstring> EnglishFontNames(const std::vector<t_fontFace>& faces)
{
    std::vector<std::wstring> names;
    for (const t_fontFace& face : faces) {
        if (BeginsWithAt(face.fullName))
            continue;
        bool listed = false;
        for (const std::wstring& name : names)
            listed = listed || _wcsnicmp(name.c_str(), face.fullName.c_str(), c_englishCompareChars) == 0;
        if (!listed)
            names.push_back(face.fullName);
    }
    return names;
}

void PlaceHanyiBeforeSongti(std::vector<std::wstring>& names)
{
    const wchar_t* anchor = nullptr;
    for (const wchar_t* candidate : {c_songti, c_simSun}) {
        for (const std::wstring& name : names)
            if (name == candidate)
                anchor = candidate;
        if (anchor)
            break;
    }
    if (!anchor)
        return;
    std::vector<std::wstring> hanyi;
    std::vector<std::wstring> rest;
    for (const std::wstring& name : names)
        (IsHanyi(name) ? hanyi : rest).push_back(name);
    names.clear();
    for (const std::wstring& name : rest) {
        if (name == anchor)
            names.insert(names.end(), hanyi.begin(), hanyi.end());
        names.push_back(name);
    }
}

bool IsValidFontSize(const wchar_t* text)
{
    if (!text || !*text)
        return false;
    int value = 0;
    for (const wchar_t* p = text; *p; ++p) {
        if (*p < L'0' || *p > L'9')
            return false;
        value = value * 10 + (*p - L'0');
        if (value > c_maxFontSize)
            return false;
    }
    return value >= 1;
}

DisplayView::DisplayView() : SubDialog(t_partIndex::e_display) {}

DisplayView::~DisplayView() = default;

bool DisplayView::AeroNoteShown() { return s_aeroNoteShown; }

void DisplayView::ResetAeroNote() { s_aeroNoteShown = false; }

DisplayInfo* DisplayView::Display() const { return static_cast<DisplayInfo*>(m_part); }

COLORREF* DisplayView::ColorOf(int id)
{
    DisplayInfo* display = Display();
    if (!display)
        return nullptr;
    switch (id) {
    case c_displayPinyinColor:
        return &display->pinyinColor;
    case c_displayFirstColor:
        return &display->zhongwenFirstColor;
    case c_displayCandColor:
        return &display->zhongwenColor;
    case c_displayHintColor:
        return &display->comphintColor;
    default:
        return nullptr;
    }
}

std::vector<t_fontFace> DisplayView::EnumerateFonts(HDC dc, BYTE charset)
{
    std::vector<t_fontFace> faces;
    LOGFONTW logFont = {};
    logFont.lfCharSet = charset;
    EnumFontFamiliesWithPrivate(dc, &logFont, CollectFace, reinterpret_cast<LPARAM>(&faces), 0);
    return faces;
}

std::vector<std::wstring> DisplayView::ComboItems(int id)
{
    std::vector<std::wstring> items;
    const HWND combo = GetItem(id);
    const LRESULT count = combo ? SendMessageW(combo, CB_GETCOUNT, 0, 0) : 0;
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0)
            continue;
        std::vector<wchar_t> text(static_cast<size_t>(length) + 1, 0);
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        items.emplace_back(text.data());
    }
    return items;
}

void DisplayView::FillFontLists(const std::vector<t_fontFace>& chinese, const std::vector<t_fontFace>& english)
{
    const HWND chineseCombo = GetItem(c_displayFontCh);
    SendMessageW(chineseCombo, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& name : ChineseFontNames(chinese))
        ComboAdd(c_displayFontCh, name.c_str());
    // The combo sorts as it adds; the "汉仪" fonts then move beside "宋体", which an
    // insertion at a given index keeps (it does not sort).
    std::vector<std::wstring> ordered = ComboItems(c_displayFontCh);
    PlaceHanyiBeforeSongti(ordered);
    SendMessageW(chineseCombo, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& name : ordered)
        SendMessageW(chineseCombo, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.c_str()));

    SendDlgItemMessageW(m_hwnd, c_displayFontEn, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& name : EnglishFontNames(english))
        ComboAdd(c_displayFontEn, name.c_str());
}

int DisplayView::OnInitDialog()
{
    SetLive(false);
    for (int id : {c_displayFontSize, c_displayPreviewSize}) {
        for (const wchar_t* size : c_fontSizes)
            ComboAdd(id, size);
        SendDlgItemMessageW(m_hwnd, id, CB_LIMITTEXT, c_sizeChars, 0);
        SetItemText(id, c_defaultSizeText);
    }

    SendDlgItemMessageW(m_hwnd, c_displayFontCh, CB_LIMITTEXT, c_fontNameChars, 0);
    SendDlgItemMessageW(m_hwnd, c_displayFontEn, CB_LIMITTEXT, c_fontNameChars, 0);
    const HDC dc = GetDC(m_hwnd);
    const std::vector<t_fontFace> chinese = EnumerateFonts(dc, GB2312_CHARSET);
    std::vector<t_fontFace> english = EnumerateFonts(dc, ANSI_CHARSET);
    english.insert(english.end(), chinese.begin(), chinese.end());
    ReleaseDC(m_hwnd, dc);
    FillFontLists(chinese, english);

    FocusItem(c_displayFontSize);
    for (int count = c_minCandCount; count <= c_maxCandCount; ++count) {
        wchar_t text[4];
        swprintf(text, 4, L"%d", count);
        ComboAdd(c_displayCandCount, text);
    }
    SendDlgItemMessageW(m_hwnd, c_displayCandCount, CB_LIMITTEXT, 1, 0);
    const AppConfig* settings = AppConfig::Instance();
    int candSize = settings ? settings->preview.candSize.Get() : c_maxCandCount;
    if (candSize < c_minCandCount || candSize > c_maxCandCount)
        candSize = c_maxCandCount;
    ComboSetCurSel(c_displayCandCount, candSize - c_minCandCount);

    ShowWindow(GetItem(c_displayWebpage), SW_HIDE);
    ShowWindow(GetItem(c_displayWebpageLabel), SW_HIDE);

    m_largeFontTip.reset(new t_iconInformation);
    m_largeFontTip->Attach(GetItem(c_displayLargeFontTip));
    m_largeFontTip->SetInfo(c_largeFontTipText, nullptr, nullptr);
    m_fontTip.reset(new t_iconInformation);
    m_fontTip->Attach(GetItem(c_displayFontTip));
    m_fontTip->SetInfo(c_fontTipText, nullptr, nullptr);

    return Dialog::OnInitDialog();
}

void DisplayView::SelectSize(int id, int value)
{
    // An exact match: the framework's prefix search would show "14" for a size of 1 and
    // store 14 back at the next change.
    wchar_t text[16];
    swprintf(text, 16, L"%d", value);
    const LRESULT found =
        SendDlgItemMessageW(m_hwnd, id, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
    if (found >= 0)
        ComboSetCurSel(id, static_cast<int>(found));
    else
        SetItemText(id, text);
}

void DisplayView::FillControls()
{
    DisplayInfo* display = Display();
    if (!display)
        return;
    SelectSize(c_displayFontSize, display->fontSize);
    SelectSize(c_displayPreviewSize, display->fontSize);
    SetItemText(c_displayFontCh, display->fontCh);
    SetItemText(c_displayFontEn, display->fontEn);
    SetItemText(c_displayWebpage, display->webpage);
    CheckItem(c_displayLargeFont, display->largeFontDisabled ? BST_CHECKED : BST_UNCHECKED);
    CheckItem(c_displayAero, display->aero ? BST_CHECKED : BST_UNCHECKED);
    CheckItem(c_displayGlow, display->glow ? BST_CHECKED : BST_UNCHECKED);
}

int DisplayView::StoreToModel()
{
    DisplayInfo* display = Display();
    if (!display)
        return 0;
    display->fontSize = ComboGetInt(c_displayFontSize);
    display->previewFontSize = ComboGetInt(c_displayPreviewSize);
    display->previewCandCount = ComboGetInt(c_displayCandCount);
    GetItemText(c_displayFontCh, display->fontCh, BaseInfo::c_pathChars);
    GetItemText(c_displayFontEn, display->fontEn, BaseInfo::c_pathChars);
    GetItemText(c_displayWebpage, display->webpage, BaseInfo::c_longTextChars);
    display->useGdip = true;
    display->largeFontDisabled = IsItemChecked(c_displayLargeFont) == BST_CHECKED;
    display->aero = IsItemChecked(c_displayAero) == BST_CHECKED;
    display->glow = IsItemChecked(c_displayGlow) == BST_CHECKED;
    return 1;
}

void DisplayView::ShowSizeError() { MessageBoxW(m_hwnd, c_sizeError, c_errorCaption, MB_ICONINFORMATION); }

void DisplayView::ShowAeroNote()
{
    if (s_aeroNoteShown)
        return;
    s_aeroNoteShown = true;
    MessageBoxW(m_hwnd, c_aeroNote, c_noteCaption, MB_OK);
}

void DisplayView::PickColor(int id)
{
    COLORREF* color = ColorOf(id);
    if (!color)
        return;
    const COLORREF old = *color;
    COLORREF chosen = old;
    if (n_colorPicker::ChooseColorFor(m_hwnd, chosen))
        *color = chosen;
    InvalidateRect(GetItem(id), nullptr, TRUE);
    if (*color != old)
        NotifyChanged(false);
}

int DisplayView::OnClick(int id)
{
    switch (id) {
    case c_displayLargeFont:
        // The large-font mode changes how every window is laid out: everything reloads.
        StoreToModel();
        SendToParent(n_editorMessage::c_skinChanged, MAKEWPARAM(n_editorMessage::c_reloadAll, 1), 0);
        return 0;
    case c_displayAero:
        if (IsItemChecked(c_displayAero) == BST_CHECKED)
            ShowAeroNote();
        // Stored at once like every other switch of the page, so that the work folder's
        // Skin.ini and the preview follow (the change also marks the skin modified).
        NotifyChanged(false);
        NotifyModified();
        return 0;
    case c_displayGlow:
        NotifyChanged(false);
        NotifyModified();
        return 0;
    case c_displayPinyinColor:
    case c_displayFirstColor:
    case c_displayCandColor:
    case c_displayHintColor:
        PickColor(id);
        return 0;
    default:
        return 1;
    }
}

int DisplayView::OnSelChange(int id)
{
    switch (id) {
    case c_displayFontSize:
    case c_displayFontCh:
    case c_displayFontEn:
    case c_displayPreviewSize:
    case c_displayCandCount:
        break;
    default:
        return 1;
    }
    const LRESULT selected = ComboGetCurSel(id);
    if (selected < 0)
        return -1;
    const HWND combo = GetItem(id);
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(selected), 0);
    if (length < 0 || length >= BaseInfo::c_pathChars)
        return -1;
    wchar_t text[BaseInfo::c_pathChars];
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text));
    // The edit part of a combo shows the new item only after this notification; the page
    // reads the text, so it writes it first.
    SetItemText(id, text);
    if (id == c_displayFontSize)
        SetItemText(c_displayPreviewSize, text);
    if (id == c_displayCandCount) {
        AppConfig* settings = AppConfig::Instance();
        if (settings)
            settings->preview.candSize.Set(static_cast<int>(selected) + c_minCandCount);
    }
    NotifyChanged(false);
    return 0;
}

int DisplayView::OnEditChange(int id)
{
    wchar_t text[c_sizeChars + 8];
    switch (id) {
    case c_displayFontSize:
        GetItemText(id, text, c_sizeChars + 8);
        if (IsValidFontSize(text)) {
            SetItemText(c_displayPreviewSize, text);
        } else {
            ShowSizeError();
            SetItemText(c_displayFontSize, c_defaultSizeText);
            SetItemText(c_displayPreviewSize, c_defaultSizeText);
        }
        break;
    case c_displayPreviewSize:
        GetItemText(id, text, c_sizeChars + 8);
        if (!IsValidFontSize(text)) {
            ShowSizeError();
            GetItemText(c_displayFontSize, text, c_sizeChars + 8);
            SetItemText(c_displayPreviewSize, text);
        }
        break;
    case c_displayFontCh:
    case c_displayFontEn:
        break;
    default:
        return 1;
    }
    NotifyChanged(false);
    return 0;
}

int DisplayView::OnTextChange(int id)
{
    if (id == c_displayWebpage)
        NotifyModified();
    else
        NotifyChanged(false);
    return 0;
}

int DisplayView::OnDrawItem(int id, DRAWITEMSTRUCT* item)
{
    const COLORREF* color = ColorOf(id);
    if (!item || !color || !GetItem(id))
        return 0;
    RECT rect = item->rcItem;
    InflateRect(&rect, -1, -1);
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(item->hwndItem, WM_GETFONT, 0, 0));
    n_colorPicker::DrawColorField(item->hDC, rect, *color, c_colorLabel, font);
    return 1;
}
