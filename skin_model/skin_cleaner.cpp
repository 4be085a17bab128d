#include "skin_model/skin_cleaner.h"

#include "foundation/crypto/md5.h"
#include "foundation/files/bulk_read.h"
#include "foundation/files/text_file.h"
#include "skin_model/skin_ini.h"

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <vector>

namespace {

const wchar_t c_blanks[] = L" \t";
const wchar_t* const c_pictureExtensions[] = {L".bmp", L".png", L".gif"};

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// Case-insensitive (ASCII) substring test.
bool ContainsNoCase(const wchar_t* text, const wchar_t* part)
{
    const size_t n = wcslen(part);
    for (; *text; ++text) {
        if (_wcsnicmp(text, part, n) == 0)
            return true;
    }
    return false;
}

bool StartsWithNoCase(const wchar_t* text, const wchar_t* prefix)
{
    return _wcsnicmp(text, prefix, wcslen(prefix)) == 0;
}

bool EqualsOneOf(const wchar_t* text, const wchar_t* const* list, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        if (_wcsicmp(text, list[i]) == 0)
            return true;
    }
    return false;
}

template <size_t N>
bool EqualsOneOf(const wchar_t* text, const wchar_t* const (&list)[N])
{
    return EqualsOneOf(text, list, N);
}

bool IsPictureBearing(const wchar_t* value)
{
    for (const wchar_t* ext : c_pictureExtensions) {
        if (ContainsNoCase(value, ext))
            return true;
    }
    return false;
}

// The part of a name after its last '\' or '/', null when it has no folder part.
const wchar_t* FolderLeaf(const wchar_t* name)
{
    const wchar_t* leaf = nullptr;
    for (const wchar_t* p = name; *p; ++p) {
        if (*p == L'\\' || *p == L'/')
            leaf = p + 1;
    }
    return leaf;
}

// The file name's text before its last '.'.
void FileBaseName(const wchar_t* name, t_str& out) { t_path(name).BaseName(out); }

// A button name of the skin format, followed by nothing or by "_" and a state
// whose value holds pictures.
bool IsButtonPictureKey(const wchar_t* key)
{
    static const wchar_t* const c_fixedButtons[] = {
        L"cn_en",  L"biaodian", L"quan_ban", L"quan_shuang", L"fan_jian",    L"softkeyboard", L"menu", L"vexilsearch",
        L"pageup", L"pagedown", L"passport", L"webpage",     L"skinmanager", L"handinput",    L"news", L"logo"};
    static const wchar_t* const c_numberedButtons[] = {L"custom", L"component", L"flash", L"photoframe"};
    static const wchar_t* const c_pictureStates[] = {L"down",    L"hover", L"in",           L"out",
                                                     L"downing", L"up",    L"flashpreview", L"preview"};

    auto stateOk = [](const wchar_t* rest) {
        if (*rest == 0)
            return true;
        return *rest == L'_' && EqualsOneOf(rest + 1, c_pictureStates);
    };
    for (const wchar_t* name : c_fixedButtons) {
        // Several names hold '_' themselves, so every name is tried as a prefix.
        if (StartsWithNoCase(key, name) && stateOk(key + wcslen(name)))
            return true;
    }
    for (const wchar_t* word : c_numberedButtons) {
        if (!StartsWithNoCase(key, word))
            continue;
        const wchar_t* rest = key + wcslen(word);
        if (!iswdigit(*rest))
            continue;
        while (iswdigit(*rest))
            ++rest;
        if (stateOk(rest))
            return true;
    }
    return false;
}

}  // namespace

// --- names -----------------------------------------------------------------------

bool IsPictureFileName(const wchar_t* name)
{
    if (!name)
        return false;
    const wchar_t* dot = wcsrchr(name, L'.');
    return dot && EqualsOneOf(dot, c_pictureExtensions);
}

bool Strip2xSuffix(const wchar_t* name, t_str& base)
{
    t_str stem;
    FileBaseName(name ? name : L"", stem);
    const int n = stem.Length();
    if (n <= 3 || _wcsicmp(stem.c_str() + (n - 3), L"@2x") != 0)
        return false;
    base.AssignN(stem.c_str(), n - 3);
    return true;
}

bool IsHighResVariant(const wchar_t* name)
{
    t_str base;
    return Strip2xSuffix(name, base);
}

bool IsPictureProperty(const wchar_t* section, const wchar_t* key)
{
    static const wchar_t* const c_windowSections[] = {L"StatusBar", L"Scheme_H1", L"Scheme_H2", L"Scheme_V1",
                                                      L"Scheme_V2"};
    static const wchar_t* const c_windowPictures[] = {
        L"pic",        L"pic_mask",        L"pic_preview",  L"seperatorui_pic",
        L"pinyin_pic", L"pinyin_pic_mask", L"zhongwen_pic", L"zhongwen_pic_mask"};
    if (!section || !key || !EqualsOneOf(section, c_windowSections))
        return false;
    if (EqualsOneOf(key, c_windowPictures))
        return true;
    // The composition and candidate windows of a separate layout prefix their buttons.
    if (StartsWithNoCase(key, L"comp_") || StartsWithNoCase(key, L"cand_"))
        key += 5;
    return IsButtonPictureKey(key);
}

// --- t_pictureRef ----------------------------------------------------------------

const wchar_t* t_pictureRef::ParseNext(const wchar_t* cursor)
{
    const wchar_t* comma = wcschr(cursor, L',');
    const wchar_t* end = comma ? comma : cursor + wcslen(cursor);
    t_str item;
    item.AssignN(cursor, static_cast<int>(end - cursor));
    item.Trim(c_blanks);

    name.Clear();
    for (int& n : rect)
        n = 0;
    const int open = item.Find(L'<');
    if (open < 0) {
        name = item;
    } else {
        name.AssignN(item.c_str(), open);
        name.Trim(c_blanks);
        ParseSubRect(item.c_str() + open);
    }
    return comma ? comma + 1 : nullptr;
}

void t_pictureRef::ParseSubRect(const wchar_t* text)
{
    for (int& n : rect)
        n = 0;
    const wchar_t* open = wcschr(text, L'<');
    const wchar_t* close = open ? wcschr(open, L'>') : nullptr;
    if (!close)
        return;
    const wchar_t* number = open + 1;
    for (int i = 0; i < 4; ++i) {
        rect[i] = n_skinValue::ParseDecimal(number);
        if (i == 3)
            break;
        const wchar_t* semi = wcschr(number, L';');
        if (!semi || semi > close)
            break;
        number = semi + 1;
    }
}

void t_pictureRef::AppendAt(t_str& out, int& commas, int index) const
{
    while (commas < index) {
        out.AppendChar(L',');
        ++commas;
    }
    out.AppendStr(name);
    if (rect[2] != 0 && rect[3] != 0)
        out.AppendFormat(L"<%d;%d;%d;%d>", rect[0], rect[1], rect[2], rect[3]);
}

// --- comparisons -----------------------------------------------------------------

bool t_refPositionLess::operator()(const t_refPosition& a, const t_refPosition& b) const
{
    std::less<const wchar_t*> before;
    if (a.section != b.section)
        return before(a.section, b.section);
    if (a.key != b.key)
        return before(a.key, b.key);
    return a.item < b.item;
}

bool t_fileNameLess::operator()(const t_str& a, const t_str& b) const
{
    return CompareStringOrdinal(a.c_str(), a.Length(), b.c_str(), b.Length(), TRUE) == CSTR_LESS_THAN;
}

bool t_md5DigestLess::operator()(const t_md5Digest& a, const t_md5Digest& b) const
{
    return memcmp(a.bytes, b.bytes, sizeof a.bytes) < 0;
}

namespace {

// Inserts in front of the keys equal to the new one, so that among equal keys the
// most recently added comes first.
template <class TMap, class TKey, class TValue>
void InsertFirst(TMap& map, const TKey& key, const TValue& value)
{
    map.emplace_hint(map.lower_bound(key), key, value);
}

bool SameDigest(const t_md5Digest& a, const t_md5Digest& b) { return memcmp(a.bytes, b.bytes, sizeof a.bytes) == 0; }

}  // namespace

// --- t_skinCleaner ---------------------------------------------------------------

bool t_skinCleaner::Run(t_errorChain& errors, const wchar_t* folder)
{
    if (!SetFolder(errors, folder)) {
        errors.Fail(L"查找皮肤路径失败%s", folder ? folder : L"");
        return false;
    }
    if (!ReadIni(errors)) {
        errors.Fail(L"解析皮肤ini文件失败");
        return false;
    }
    CollectReferences();
    ScanFolder();
    Rewrite();
    return true;
}

bool t_skinCleaner::Plan(t_errorChain& errors, const t_heldPicture* pictures, size_t count, const void* ini,
                         size_t iniBytes, t_cleanPlan& plan)
{
    plan.dropped.clear();
    plan.ini.clear();
    if (!m_ini.ReadFromMemory(ini, iniBytes, SkinIni::c_codePage)) {
        errors.Fail(L"解析ini失败");
        errors.Fail(L"解析皮肤ini文件失败");
        return false;
    }
    CollectReferences();
    m_files.clear();
    m_digests.clear();
    m_listing.clear();
    for (size_t i = 0; i < count; ++i) {
        if (!pictures[i].name || !IsPictureFileName(pictures[i].name) || (pictures[i].size && !pictures[i].data))
            continue;
        const t_str name(pictures[i].name);
        // The data pointer of an empty picture may be null: any non-null marks it as held.
        const uint8_t* held = pictures[i].data ? pictures[i].data : reinterpret_cast<const uint8_t*>(L"");
        InsertFirst(m_files, name, t_pictureFile{pictures[i].size, held});
        m_listing.push_back(name);
    }
    m_plan = &plan;
    Rewrite();
    m_plan = nullptr;
    return true;
}

bool t_skinCleaner::SetFolder(t_errorChain& errors, const wchar_t* path)
{
    m_folder = path ? path : L"";
    if (!m_folder.IsEmpty() && m_folder.IsDirectory())
        return true;
    return errors.Fail(L"皮肤文件夹不存在:%s", m_folder.c_str());
}

bool t_skinCleaner::ReadIni(t_errorChain& errors)
{
    t_path path(m_folder);
    path.AppendPart(L"Skin.ini");
    if (!path.IsFile())
        return errors.Fail(L"skin.ini不存在:%s", path.c_str());
    if (!m_ini.ReadConfig(errors, path.c_str(), SkinIni::c_codePage))
        return errors.Fail(L"解析ini失败");
    return true;
}

bool t_skinCleaner::CollectReferences()
{
    m_refs.clear();
    m_names.clear();
    m_folderLeaves.clear();
    const t_iniFile* root = m_ini.ParsedRoot();
    if (!root)
        return true;
    for (t_iniFile::t_iterator s = root->Begin(); s.NotEquals(root->End()); s.Next()) {
        const t_iniSection* section = t_iniFile::SectionOf(s.Node());
        for (t_iniSection::t_iterator k = section->Begin(); k.NotEquals(section->End()); k.Next()) {
            const wchar_t* value = static_cast<const wchar_t*>(k.Node()->value);
            // Only picture properties name pictures: a free text that mentions one is
            // neither cut nor counted as a reference.
            if (value && IsPictureProperty(s.Node()->key, k.Node()->key) && IsPictureBearing(value))
                AddReference(s.Node()->key, k.Node()->key, value);
        }
    }
    return true;
}

void t_skinCleaner::AddReference(const wchar_t* section, const wchar_t* key, const wchar_t* value)
{
    const wchar_t* cursor = value;
    for (int index = 0; cursor; ++index) {
        t_pictureRef ref;
        cursor = ref.ParseNext(cursor);
        if (ref.name.IsEmpty())
            continue;
        const t_refPosition position = {section, key, index};
        InsertFirst(m_refs, position, ref);
        InsertFirst(m_names, ref.name, position);
        if (const wchar_t* leaf = FolderLeaf(ref.name.c_str())) {
            if (*leaf)
                m_folderLeaves.insert(t_str(leaf));
        }
    }
}

bool t_skinCleaner::ScanFolder()
{
    m_files.clear();
    m_digests.clear();
    m_listing.clear();
    std::vector<t_listedFile> listing;
    ListFolder(m_folder.c_str(), listing);
    for (const t_listedFile& file : listing) {
        if (file.IsFolder() || !IsPictureFileName(file.name.c_str()))
            continue;
        InsertFirst(m_files, file.name, t_pictureFile{file.size, nullptr});
        m_listing.push_back(file.name);
    }
    return true;
}

void t_skinCleaner::HashSameSized()
{
    m_digests.clear();
    std::map<uint64_t, int> sizes;
    for (const auto& file : m_files)
        ++sizes[file.second.size];
    // Held bytes are told apart by comparing them, which stops at the first difference;
    // each group of equal ones gets a number for its digest. Files on disk are hashed.
    const auto bytesLess = [](const t_pictureFile* a, const t_pictureFile* b) {
        return a->size != b->size ? a->size < b->size : memcmp(a->held, b->held, size_t(a->size)) < 0;
    };
    std::map<const t_pictureFile*, uint32_t, decltype(bytesLess)> groups(bytesLess);
    std::vector<uint8_t> bytes;
    for (const t_str& name : m_listing) {
        const auto file = m_files.find(name);
        if (file == m_files.end() || sizes[file->second.size] < 2)
            continue;
        t_md5Digest digest = {};
        if (file->second.held) {
            const uint32_t group = groups.emplace(&file->second, uint32_t(groups.size())).first->second;
            memcpy(digest.bytes, &group, sizeof group);
        } else {
            t_path path(m_folder);
            path.AppendPart(name.c_str());
            // A picture that cannot be read is merged with nothing.
            if (!ReadWholeFile(path.c_str(), bytes, UINT32_MAX))
                continue;
            Md5Buffer(digest.bytes, bytes.data(), unsigned(bytes.size()));
        }
        InsertFirst(m_digests, digest, name);
    }
}

bool t_skinCleaner::IsReferenced(const t_str& fileName) const
{
    return m_names.find(fileName) != m_names.end() || m_folderLeaves.count(fileName) != 0;
}

bool t_skinCleaner::IsVariantOfReferenced(const t_str& fileName) const
{
    t_str base;
    if (!Strip2xSuffix(fileName.c_str(), base))
        return false;
    for (const wchar_t* ext : c_pictureExtensions) {
        t_str candidate(base);
        candidate.Append(ext);
        if (IsReferenced(candidate))
            return true;
    }
    return false;
}

bool t_skinCleaner::HasHighResVariant(const t_str& fileName) const
{
    t_str base;
    FileBaseName(fileName.c_str(), base);
    for (const wchar_t* ext : c_pictureExtensions) {
        t_str candidate(base);
        candidate.Append(L"@2x");
        candidate.Append(ext);
        if (m_files.find(candidate) != m_files.end())
            return true;
    }
    return false;
}

bool t_skinCleaner::RemoveFile(const t_str& fileName) const
{
    if (m_plan) {
        m_plan->dropped.insert(fileName);
        return true;
    }
    t_path path(m_folder);
    path.AppendPart(fileName.c_str());
    return DeleteFileW(path.c_str()) != FALSE;
}

void t_skinCleaner::DeleteUnreferenced()
{
    // The file list then holds only the remaining files, as a second scan would give them.
    for (auto file = m_files.begin(); file != m_files.end();) {
        if (IsReferenced(file->first) || IsVariantOfReferenced(file->first) || !RemoveFile(file->first))
            ++file;
        else
            file = m_files.erase(file);
    }
}

void t_skinCleaner::MergeIdentical()
{
    bool haveSurvivor = false;
    t_md5Digest remembered = {};
    t_str survivor;
    for (const auto& entry : m_digests) {
        if (!haveSurvivor || !SameDigest(entry.first, remembered)) {
            haveSurvivor = true;
            remembered = entry.first;
            survivor = entry.second;
            continue;
        }
        const t_str& duplicate = entry.second;
        // Kept as they are: a high-resolution variant; a picture whose own variant
        // would lose its partner; a picture that a name with a folder part may mean.
        if (IsHighResVariant(duplicate.c_str()) || HasHighResVariant(duplicate) || m_folderLeaves.count(duplicate) != 0)
            continue;
        RemoveFile(duplicate);
        auto range = m_names.equal_range(duplicate);
        for (auto it = range.first; it != range.second; ++it) {
            auto ref = m_refs.find(it->second);
            if (ref != m_refs.end())
                ref->second.name = survivor;
        }
    }
}

void t_skinCleaner::WriteReferences()
{
    auto it = m_refs.begin();
    while (it != m_refs.end()) {
        const t_refPosition& group = it->first;
        t_str value;
        int commas = 0;
        for (; it != m_refs.end() && it->first.section == group.section && it->first.key == group.key; ++it)
            it->second.AppendAt(value, commas, it->first.item);
        m_ini.SetValue(group.section, group.key, value.c_str(), -1);
    }
}

void t_skinCleaner::PruneDefaults()
{
    t_iniFile* root = m_ini.ParsedRoot();
    if (!root)
        return;
    for (t_iniFile::t_iterator s = root->Begin(); s.NotEquals(root->End()); s.Next()) {
        const wchar_t* sectionName = s.Node()->key;
        t_iniSection* section = t_iniFile::SectionOf(s.Node());
        // Every test sees the whole section: the keys are removed afterwards.
        std::vector<t_iniNode*> dropped;
        for (t_iniSection::t_iterator k = section->Begin(); k.NotEquals(section->End()); k.Next()) {
            const wchar_t* key = k.Node()->key;
            const wchar_t* value = static_cast<const wchar_t*>(k.Node()->value);
            // Only placement keys depend on their button being shown: the look-up is left
            // out for the rest.
            const bool placement = key && (wcsstr(key, L"_align") || wcsstr(key, L"_pos"));
            if (IsDefaultSkinValue(sectionName, key, value ? value : L"",
                                   placement && IsButtonDisplayed(key, *section)))
                dropped.push_back(k.Node());
        }
        for (t_iniNode* node : dropped)
            section->RemoveKey(node);
    }
}

void t_skinCleaner::Rewrite()
{
    DeleteUnreferenced();
    HashSameSized();
    MergeIdentical();
    WriteReferences();
    PruneDefaults();
    if (m_plan) {
        RenderIni(m_ini, m_plan->ini);
        return;
    }
    t_path path(m_folder);
    path.AppendPart(L"skin.ini");
    t_errorChain ignored;
    m_ini.WriteConfig(ignored, path.c_str());
}

void CleanSkinFolder(const wchar_t* folder)
{
    t_errorChain ignored;
    t_skinCleaner cleaner;
    cleaner.Run(ignored, folder);
}

bool RenderIni(t_iniDocument& document, std::vector<uint8_t>& out)
{
    out.clear();
    t_iniFile* root = document.Root();
    if (!root)
        return false;
    t_fileTextWrite text(65536);
    t_iniDocument::Render(*root, text);
    if (!text.Complete())
        return false;
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(text.Text());
    out.reserve(text.UsedBytes() + 2);
    out.push_back(0xFF);
    out.push_back(0xFE);
    if (text.UsedBytes())
        out.insert(out.end(), bytes, bytes + text.UsedBytes());
    return true;
}

// --- defaults --------------------------------------------------------------------

namespace {

// A key whose absence the model reads as another value than one a rule below drops: the
// fixed-field parts give some missing texts a default of their own, and the status bar's
// cells reset a missing colour and switch to 0. Dropping such a key would change the skin
// on its next opening. (The input method's own reader reads all of them missing as it
// reads the dropped value.)
struct t_absenceReadOtherwise {
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* value;  // the trimmed value that must stay
};

const t_absenceReadOtherwise c_absenceReadOtherwise[] = {
    {L"General", L"skin_name", L""},
    {L"General", L"skin_version", L""},
    {L"General", L"skin_author", L""},
    {L"General", L"skin_time", L""},
    {L"General", L"skin_info", L""},
    {L"Display", L"font_ch", L""},
    {L"Display", L"font_en", L""},
    // Read alike when missing, but the display page shows the key of every skin it saves.
    {L"Display", L"webpage", L""},
    {L"StatusBar", L"transparent_color", L"-1"},
    {L"StatusBar", L"transparent_color_enable", L"-1"},
};

bool ReadsAbsenceOtherwise(const wchar_t* section, const wchar_t* key, const t_str& trimmed)
{
    if (!section)
        return false;
    for (const t_absenceReadOtherwise& row : c_absenceReadOtherwise) {
        if (_wcsicmp(section, row.section) == 0 && _wcsicmp(key, row.key) == 0 && trimmed.Equals(row.value))
            return true;
    }
    return false;
}

}  // namespace

bool IsButtonDisplayed(const wchar_t* key, const t_iniSection& section)
{
    t_str name(key ? key : L"");
    const wchar_t* last = wcsrchr(name.c_str(), L'_');
    if (last)
        name.Truncate(static_cast<int>(last - name.c_str()));
    name.Append(L"_display");
    const wchar_t* value = section.Value(name.c_str());
    return value && n_skinValue::ParseDecimal(value) != 0;
}

bool IsDefaultSkinValue(const wchar_t* section, const wchar_t* key, const wchar_t* value, bool displayed)
{
    if (!key)
        key = L"";
    if (!value)
        value = L"";
    t_str v(value);
    v.Trim(c_blanks);
    if (ReadsAbsenceOtherwise(section, key, v))
        return false;
    if (v.IsEmpty())
        return true;
    bool onlyCommas = true;
    for (const wchar_t* p = value; *p && onlyCommas; ++p)
        onlyCommas = *p == L',' || IsBlank(*p);
    if (onlyCommas)
        return true;

    auto has = [key](const wchar_t* part) { return wcsstr(key, part) != nullptr; };
    if (has(L"_display") && v.Equals(L"0"))
        return true;
    if (has(L"_align")) {
        if (displayed)
            return false;
        if (v.Equals(L"0,0,0,0,0,0,0,0,6,0"))
            return true;
    }
    if ((has(L"custom_cnt") && v.Equals(L"0")) || (has(L"anchor") && v.Equals(L"0,0")) ||
        (has(L"opaque") && v.Equals(L"255")))
        return true;
    if (has(L"_pos")) {
        if (displayed)
            return false;
        if (v.Equals(L"0,0"))
            return true;
    }
    return (has(L"transparent_color") && v.Equals(L"-1")) || (has(L"transparent_color_enable") && v.Equals(L"0")) ||
           (has(L"flash_cnt") && v.Equals(L"0")) || (has(L"photoframe_cnt") && v.Equals(L"0"));
}
