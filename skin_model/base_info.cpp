#include "skin_model/base_info.h"

#include "foundation/files/path.h"
#include "skin_model/picture_path.h"

#include <shlwapi.h>

#include <cwchar>

namespace {

// Copies text into a buffer of n characters, cut to n - 1 and terminated.
void CopyCut(wchar_t* out, int n, const wchar_t* text)
{
    if (n <= 0)
        return;
    if (!text)
        text = L"";
    wcsncpy(out, text, static_cast<size_t>(n - 1));
    out[n - 1] = 0;
}

// Looks the key up in the shared Skin.ini and copies its text (or the default) cut.
void ReadCut(const wchar_t* section, const wchar_t* key, const wchar_t* defaultText, wchar_t* out, int n)
{
    const wchar_t* text = SkinIni::GetText(section, key);
    CopyCut(out, n, text ? text : defaultText);
}

int CompareNoCase(const wchar_t* a, const wchar_t* b) { return CompareStringOrdinal(a, -1, b, -1, TRUE) - CSTR_EQUAL; }

// folder + "\\" + name, whatever name begins with.
t_str InFolder(const t_str& folder, const wchar_t* name)
{
    t_str path(folder);
    if (!path.IsEmpty() && path.CharAt(path.Length() - 1) != L'\\')
        path.AppendChar(L'\\');
    path.Append(name);
    return path;
}

t_str& WorkFolderText()
{
    static t_str folder;
    return folder;
}

}  // namespace

// Cells

InfoItem::InfoItem(const wchar_t* name, int position) : m_name(name ? name : L""), m_position(position) {}

InfoItem::~InfoItem() = default;

int InfoItem::ReadFrom(const Value&) { return 0; }

int InfoItem::WriteTo(const wchar_t*) const { return 0; }

void InfoItem::Reset() {}

InfoItemInt::InfoItemInt(const wchar_t* name, int position, int value, int defaultValue)
    : InfoItem(name, position), m_value(value), m_default(defaultValue)
{}

template <class Cell>
bool InfoItem::CopyCell(const Cell& from, InfoItem& target)
{
    if (target.Kind() != from.Kind())
        return false;
    Cell& to = static_cast<Cell&>(target);
    to.m_value = from.m_value;
    to.m_default = from.m_default;
    to.m_name = from.m_name;
    to.m_position = from.m_position;
    return true;
}

bool InfoItemInt::CopyTo(InfoItem& target) const { return CopyCell(*this, target); }

InfoItem* InfoItemInt::Clone() const { return new InfoItemInt(m_name.c_str(), m_position, m_value, m_default); }

int InfoItemInt::ReadFrom(const Value& value) { return value.ToInt(m_value); }

int InfoItemInt::WriteTo(const wchar_t* section) const
{
    return SkinIni::SetInt(section, m_name.c_str(), m_value) ? 0 : -1;
}

void InfoItemInt::ToText(t_str& out) const
{
    out.Clear();
    out.AppendInt(m_value);
}

InfoItemString::InfoItemString(const wchar_t* name, int position, const wchar_t* value, const wchar_t* defaultValue)
    : InfoItem(name, position), m_value(value ? value : L""), m_default(defaultValue ? defaultValue : L"")
{}

bool InfoItemString::CopyTo(InfoItem& target) const { return CopyCell(*this, target); }

InfoItem* InfoItemString::Clone() const
{
    return new InfoItemString(m_name.c_str(), m_position, m_value.c_str(), m_default.c_str());
}

int InfoItemString::ReadFrom(const Value& value)
{
    m_value = value.RawText();
    return 0;
}

int InfoItemString::WriteTo(const wchar_t* section) const
{
    return SkinIni::SetString(section, m_name.c_str(), m_value.c_str()) ? 0 : -1;
}

InfoItem* NewIntCell(const wchar_t* name, int position, int value, int defaultValue)
{
    return new InfoItemInt(name, position, value, defaultValue);
}

InfoItem* NewStringCell(const wchar_t* name, int position, const wchar_t* value, const wchar_t* defaultValue)
{
    return new InfoItemString(name, position, value, defaultValue);
}

InfoItem* NewCell(t_cellKind kind, const wchar_t* name, int position)
{
    switch (kind) {
    case t_cellKind::e_int:
        return NewIntCell(name, position, 0, 0);
    case t_cellKind::e_text:
        return NewStringCell(name, position, L"", L"");
    default:
        return nullptr;
    }
}

bool GetCellInt(const InfoItem* cell, int& out)
{
    if (!cell || cell->Kind() != t_cellKind::e_int)
        return false;
    out = static_cast<const InfoItemInt*>(cell)->GetValue();
    return true;
}

bool SetCellInt(InfoItem* cell, int value)
{
    if (!cell || cell->Kind() != t_cellKind::e_int)
        return false;
    static_cast<InfoItemInt*>(cell)->SetValue(value);
    return true;
}

bool GetCellText(const InfoItem* cell, t_str& out)
{
    if (!cell || cell->Kind() != t_cellKind::e_text)
        return false;
    static_cast<const InfoItemString*>(cell)->GetText(out);
    return true;
}

bool SetCellText(InfoItem* cell, const wchar_t* text)
{
    if (!cell || cell->Kind() != t_cellKind::e_text)
        return false;
    static_cast<InfoItemString*>(cell)->SetText(text ? text : L"");
    return true;
}

void AppendCellValue(t_str& out, const InfoItem& cell)
{
    if (cell.Kind() == t_cellKind::e_int)
        out.AppendInt(static_cast<const InfoItemInt&>(cell).GetValue());
    else
        out.AppendStr(static_cast<const InfoItemString&>(cell).Text());
}

// BaseInfo

BaseInfo::BaseInfo() { m_iniPath[0] = 0; }

BaseInfo::~BaseInfo() = default;

bool BaseInfo::ResetAll() { return Reset(); }

bool BaseInfo::Clear() { return Reset(); }

bool BaseInfo::ImportPictures() { return true; }

void BaseInfo::SetIniPath(const wchar_t* path)
{
    wmemset(m_iniPath, 0, c_pathChars);
    CopyCut(m_iniPath, c_pathChars, path);
}

void BaseInfo::ReadString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultText,
                          wchar_t (&out)[c_pathChars])
{
    ReadCut(section, key, defaultText, out, c_pathChars);
}

void BaseInfo::ReadLongString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultText,
                              wchar_t (&out)[c_longTextChars])
{
    ReadCut(section, key, defaultText, out, c_longTextChars);
}

int BaseInfo::ReadInt(const wchar_t* section, const wchar_t* key, int defaultValue)
{
    wchar_t text[30];
    ReadCut(section, key, L"", text, 30);
    return text[0] ? ParseInt(text) : defaultValue;
}

bool BaseInfo::ReadBool(const wchar_t* section, const wchar_t* key, bool defaultValue)
{
    return ReadInt(section, key, defaultValue ? 1 : 0) != 0;
}

void BaseInfo::ReadPicture(const wchar_t* section, const wchar_t* key, wchar_t (&out)[c_pathChars])
{
    ReadString(section, key, L"", out);
    if (!IsImageFileName(out))
        out[0] = 0;
}

bool BaseInfo::WriteString(const wchar_t* section, const wchar_t* key, const wchar_t* text)
{
    return SkinIni::SetString(section, key, text);
}

bool BaseInfo::WriteInt(const wchar_t* section, const wchar_t* key, int value, bool hex)
{
    wchar_t text[30];
    _snwprintf(text, 29, hex ? L"0x%x" : L"%d", value);
    text[29] = 0;
    return WriteString(section, key, text);
}

bool BaseInfo::WriteBool(const wchar_t* section, const wchar_t* key, bool value)
{
    return WriteString(section, key, value ? L"1" : L"0");
}

int BaseInfo::ParseInt(const wchar_t* text)
{
    if (!text)
        return 0;
    const size_t length = wcslen(text);
    if (length >= 3 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        int value = -1;
        n_skinValue::ParseHex(text, length, value);
        return value;
    }
    return n_skinValue::ParseDecimal(text);
}

void BaseInfo::ParseIntList(const wchar_t* text, int* out, int n)
{
    if (n <= 0 || !out || !text || !*text)
        return;
    t_str piece;
    int stored = 0;
    const wchar_t* start = text;
    while (stored < n) {
        const wchar_t* comma = wcschr(start, L',');
        const int length = comma ? static_cast<int>(comma - start) : static_cast<int>(wcslen(start));
        // An empty position keeps what the element held, as a missing one does.
        if (length > 0) {
            piece.AssignN(start, length);
            out[stored] = ParseInt(piece.c_str());
        }
        ++stored;
        if (!comma)
            break;
        start = comma + 1;
    }
}

bool BaseInfo::IsImageFileName(const wchar_t* text)
{
    static const wchar_t* const c_extensions[] = {L".bmp", L".jpg", L".jpeg", L".gif", L".png", L".tif", L".tiff"};
    if (!text || wcslen(text) <= 4)
        return false;
    const wchar_t* dot = wcsrchr(text, L'.');
    if (!dot)
        return false;
    for (const wchar_t* extension : c_extensions) {
        if (CompareNoCase(dot, extension) == 0)
            return true;
    }
    return false;
}

bool BaseInfo::IsPngOrGif(const wchar_t* fileName)
{
    if (!fileName)
        return false;
    const wchar_t* dot = wcsrchr(fileName, L'.');
    if (!dot)
        return false;
    return CompareNoCase(dot + 1, L"png") == 0 || CompareNoCase(dot + 1, L"gif") == 0;
}

bool BaseInfo::FileNameOf(const wchar_t* path, wchar_t (&out)[c_pathChars])
{
    if (!path || wcslen(path) <= 4)
        return false;
    const wchar_t* slash = wcsrchr(path, L'\\');
    if (!slash)
        return false;
    if (wcslen(slash + 1) >= static_cast<size_t>(c_pathChars))
        return false;
    wcscpy(out, slash + 1);
    return true;
}

bool BaseInfo::ImportPicture(t_errorChain& errors, wchar_t* path, int capacity, const wchar_t* baseName)
{
    wchar_t fileName[c_pathChars];
    // A bare file name already lies in the skin.
    if (!path || !FileNameOf(path, fileName))
        return true;
    const wchar_t* extension = wcsrchr(fileName, L'.');
    if (!extension)
        return errors.Fail(L"%s：%s", L"图片文件没有扩展名", path);

    t_str newName(baseName);
    newName.Append(extension);
    if (newName.Length() >= capacity)
        return errors.Fail(L"%s：%s", L"图片文件名太长", newName.c_str());

    const t_str& folder = WorkFolderText();
    if (folder.IsEmpty())
        return errors.Fail(L"%s：%s", L"没有工作目录，无法导入图片", path);

    // A relative path names a file inside the skin, never one beside the process; one
    // that would leave the skin is not read.
    if (PathIsRelativeW(path) && !n_picturePath::StaysInside(path))
        return errors.Fail(L"图片路径无效:%s", path);
    t_str source = PathIsRelativeW(path) ? InFolder(folder, path) : t_str(path);
    t_str target = InFolder(folder, newName.c_str());

    wchar_t fullSource[MAX_PATH * 2];
    wchar_t fullTarget[MAX_PATH * 2];
    DWORD ns = GetFullPathNameW(source.c_str(), MAX_PATH * 2, fullSource, nullptr);
    DWORD nt = GetFullPathNameW(target.c_str(), MAX_PATH * 2, fullTarget, nullptr);
    const bool same =
        ns > 0 && ns < MAX_PATH * 2 && nt > 0 && nt < MAX_PATH * 2 && CompareNoCase(fullSource, fullTarget) == 0;
    if (!same && !t_path(source).Copy(errors, target.c_str(), false)) {
        AppendFromToError(errors.NewLine(), L"无法导入图片", source.c_str(), target.c_str());
        return false;
    }
    CopyCut(path, capacity, newName.c_str());
    return true;
}

void BaseInfo::SetWorkFolder(const wchar_t* folder) { WorkFolderText().Assign(folder ? folder : L""); }

const wchar_t* BaseInfo::WorkFolder() { return WorkFolderText().c_str(); }

// Free helpers

// Rounded to the nearest percent: with PercentToAlpha truncating, an opacity then settles
// after one load and save (200 becomes 198 and stays there) instead of sinking a little
// on every save of an unedited skin.
unsigned AlphaToPercent(unsigned alpha) { return alpha < 255 ? (alpha * 100 + 127) / 255 : 100; }

unsigned PercentToAlpha(unsigned percent)
{
    if (percent >= 100)
        return 255;
    // Rounded to double before truncation, whatever precision the FPU computes in.
    volatile double alpha = percent * 2.55;
    return static_cast<unsigned>(alpha);
}

const wchar_t* PartNameOf(t_partIndex index)
{
    static const wchar_t* const c_names[] = {
        L"普通",
        L"显示",
        L"横排合窗口",
        L"横排分窗口",
        L"竖排合窗口",
        L"竖排分窗口",
        L"状态窗口",
        L"状态窗口按钮",
        L"横排合窗口按钮",
        L"横排分窗口写作窗口按钮",
        L"横排分窗口候选窗口按钮",
        L"竖排合窗口按钮",
        L"竖排分窗口写作窗口按钮",
        L"竖排分窗口候选窗口按钮",
    };
    static_assert(sizeof(c_names) / sizeof(c_names[0]) == c_partCount, "one name per part");
    const int i = static_cast<int>(index);
    return i >= 0 && i < c_partCount ? c_names[i] : L"";
}
