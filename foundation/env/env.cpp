#include "foundation/env/env.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>

#include "foundation/config/ini_document.h"
#include "foundation/core/str.h"
#include "foundation/core/version_text.h"
#include "foundation/win/shared_versions.h"

namespace {

const unsigned c_iniCodePage = 936;
// Settings files older than this version get the shortcut migration.
const wchar_t* const c_migratedSince = L"5.1";
// The virtual-key code of the ';' key.
const int c_semicolonKey = 186;
const size_t c_align = 8;

int DecimalValue(const wchar_t* text) { return text ? static_cast<int>(wcstol(text, nullptr, 10)) : 0; }

unsigned long UnsignedDecimalValue(const wchar_t* text) { return text ? wcstoul(text, nullptr, 10) : 0; }

bool IsText(t_envType type) { return type == t_envType::text || type == t_envType::string; }

// The data size a value of this type must have; 0 for texts and unknown types.
uint32_t FixedDataSize(t_envType type)
{
    switch (type) {
    case t_envType::boolean:
        return 1;
    case t_envType::integer:
    case t_envType::ulong:
        return 4;
    default:
        return 0;
    }
}

// Whether data of the given size is well formed for its type: a bool of one byte, numbers of
// four, texts terminated UTF-16. Values of types no entry has are kept as they are.
bool IsWellFormed(t_envType type, const BYTE* data, uint32_t size)
{
    if (const uint32_t fixed = FixedDataSize(type))
        return size == fixed;
    if (!IsText(type))
        return true;
    return size >= sizeof(wchar_t) && size % sizeof(wchar_t) == 0 && data[size - 1] == 0 && data[size - 2] == 0;
}

uint32_t ReadU32(const BYTE* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

BYTE* WriteU32(BYTE* p, uint32_t v)
{
    p[0] = static_cast<BYTE>(v);
    p[1] = static_cast<BYTE>(v >> 8);
    p[2] = static_cast<BYTE>(v >> 16);
    p[3] = static_cast<BYTE>(v >> 24);
    return p + 4;
}

// n bytes from the arena at an 8-byte boundary (the arena itself does not align).
void* AlignedAlloc(t_heap& heap, size_t n)
{
    if (n > t_heap::c_maxRequest - c_align)
        return nullptr;
    void* raw = heap.Alloc(static_cast<unsigned>(n + c_align - 1));
    if (!raw)
        return nullptr;
    const uintptr_t p = reinterpret_cast<uintptr_t>(raw);
    return reinterpret_cast<void*>((p + c_align - 1) & ~static_cast<uintptr_t>(c_align - 1));
}

t_syncMode ModeFromText(const wchar_t* text, const t_envEntryBase* entry)
{
    static const struct {
        const wchar_t* name;
        t_syncMode mode;
    } c_modes[] = {
        {L"remote", t_syncMode::remote},
        {L"local", t_syncMode::local},
        {L"max", t_syncMode::max},
        {L"min", t_syncMode::min},
    };
    if (text)
        for (const auto& m : c_modes)
            if (TextEqualsNoCase(text, m.name))
                return m.mode;
    return entry ? entry->Mode() : t_syncMode::remote;
}

bool HasValue(const wchar_t* value) { return value && *value; }

// Derives the keys that older settings files lack from the ones they have.
void DeriveLegacyKeys(t_iniSection& setting)
{
    if (!HasValue(setting.Value(L"LimitWordCand"))) {
        const wchar_t* max = setting.Value(L"MaxWordCand");
        setting.SetKey(L"LimitWordCand", HasValue(max) && DecimalValue(max) > 0 ? L"1" : L"0");
    }
    const wchar_t* freqText = setting.Value(L"FreqUpMode");
    const bool hasFreq = HasValue(freqText);
    const int freq = DecimalValue(freqText);
    if (!HasValue(setting.Value(L"LearnNewWord"))) {
        const bool off = hasFreq && (freq == 0 || freq == 1 || freq > 4);
        setting.SetKey(L"LearnNewWord", off ? L"0" : L"1");
    }
    if (!HasValue(setting.Value(L"LearnFreq"))) {
        const bool off = hasFreq && ((freq >= 0 && freq <= 2) || freq > 4);
        setting.SetKey(L"LearnFreq", off ? L"0" : L"1");
    }
    const wchar_t* ignoreColor = setting.Value(L"IgnoreSkinColorSetting");
    if (!HasValue(setting.Value(L"IgnoreSkinColorSetting_Real")) && HasValue(ignoreColor)) {
        // The value lives in the document's arena, which SetKey may extend: copy it first.
        t_str copy(ignoreColor);
        setting.SetKey(L"IgnoreSkinColorSetting_Real", copy.c_str());
    }
}

// A stored value as a 32-bit number: a bool as 0 or 1, numbers as stored, texts by their
// decimal value (signed or unsigned), other types as 0.
uint32_t NumberOf(const t_envValue& value, bool isUnsigned)
{
    if (value.type == t_envType::boolean)
        return value.data[0] != 0;
    if (FixedDataSize(value.type) == 4) {
        uint32_t n;
        memcpy(&n, value.data, 4);
        return n;
    }
    if (!IsText(value.type))
        return 0;
    const wchar_t* text = reinterpret_cast<const wchar_t*>(value.data);
    return isUnsigned ? static_cast<uint32_t>(UnsignedDecimalValue(text)) : static_cast<uint32_t>(DecimalValue(text));
}

bool FailCorrupt(t_errorChain& errors) { return errors.Fail(L"%s", L"环境信息块已损坏"); }

}  // namespace

t_env::t_env() : m_heap(c_heapBlockSize), m_version(0), m_values(nullptr), m_modified(false) {}

t_env::~t_env() {}

void t_env::Discard()
{
    m_heap.Reset();
    m_values = nullptr;
}

const t_envValue* t_env::FindValue(const t_envKey& key) const
{
    if (!m_values)
        return nullptr;
    const t_envKeyNode* node = m_values->Find(key);
    return node ? static_cast<const t_envValue*>(node->value) : nullptr;
}

unsigned t_env::ValueCount() const { return m_values ? m_values->Count() : 0; }

t_envValue* t_env::Record(const t_envKey& key)
{
    if (!m_values) {
        void* place = AlignedAlloc(m_heap, sizeof(t_envKeyMap));
        if (!place)
            return nullptr;
        m_values = new (place) t_envKeyMap(&m_heap);
    }
    t_envKeyNode* node = m_values->FindOrInsert(key);
    if (!node)
        return nullptr;
    if (!node->value) {
        t_envValue* value = static_cast<t_envValue*>(AlignedAlloc(m_heap, sizeof(t_envValue)));
        if (!value) {
            m_values->Remove(node);
            return nullptr;
        }
        *value = t_envValue{t_envType::text, t_syncMode::remote, c_envNoGroup, nullptr, 0, 0, false};
        node->value = value;
    }
    return static_cast<t_envValue*>(node->value);
}

bool t_env::StoreData(t_envValue& value, const void* data, uint32_t size)
{
    if (size > value.capacity) {
        BYTE* area = static_cast<BYTE*>(AlignedAlloc(m_heap, size));
        if (!area)
            return false;
        value.data = area;
        value.capacity = size;
    }
    if (size)
        memcpy(value.data, data, size);
    value.size = size;
    return true;
}

bool t_env::Store(const t_envKey& key, t_envType type, t_syncMode mode, int group, const void* data, uint32_t size)
{
    t_envValue* value = Record(key);
    if (!value || !StoreData(*value, data, size))
        return false;
    value->type = type;
    value->mode = mode;
    value->group = group;
    value->changed = true;
    return true;
}

bool t_env::StoreEntry(const t_envEntryBase& entry, const void* data, uint32_t size)
{
    m_modified = true;
    return Store(entry.Key(), entry.Type(), entry.Mode(), entry.Group(), data, size);
}

int t_env::GetInt(const t_envEntry<int>& entry) const
{
    if (entry.Id() == n_env::ArtWordMode.Id())
        return 1;
    if (entry.Id() == n_env::HanziSet.Id())
        return 5;
    const t_envValue* value = FindValue(entry.Key());
    return value ? static_cast<int>(NumberOf(*value, false)) : entry.Default();
}

unsigned long t_env::GetULong(const t_envEntry<unsigned long>& entry) const
{
    const t_envValue* value = FindValue(entry.Key());
    return value ? NumberOf(*value, true) : entry.Default();
}

bool t_env::GetBool(const t_envEntry<bool>& entry) const
{
    const int id = entry.Id();
    if (id == n_env::InputStatistics.Id() || id == n_env::IntelligentDeleteWord.Id() || id == n_env::AllowArt.Id())
        return true;
    if (id == n_env::SelectStyle.Id() && !GetBool(n_env::ConvertStyle))
        return false;
    const t_envValue* value = FindValue(entry.Key());
    return value ? NumberOf(*value, false) != 0 : entry.Default();
}

const wchar_t* t_env::GetString(const t_envEntry<const wchar_t*>& entry) const
{
    const t_envValue* value = FindValue(entry.Key());
    if (!value)
        return entry.Default();
    return IsText(value->type) ? reinterpret_cast<const wchar_t*>(value->data) : nullptr;
}

bool t_env::SetInt(const t_envEntry<int>& entry, int value) { return StoreEntry(entry, &value, sizeof(value)); }

bool t_env::SetBool(const t_envEntry<bool>& entry, bool value)
{
    const BYTE byte = value ? 1 : 0;
    return StoreEntry(entry, &byte, 1);
}

bool t_env::SetString(const t_envEntry<const wchar_t*>& entry, const wchar_t* text)
{
    if (!text)
        text = L"";
    const size_t length = wcslen(text);
    if (length > c_maxTextChars)
        return false;
    return StoreEntry(entry, text, static_cast<uint32_t>((length + 1) * sizeof(wchar_t)));
}

bool t_env::LoadFromIni(t_errorChain& errors, const wchar_t* path, int mode)
{
    if (mode == 1)
        Discard();
    t_iniDocument document(false);
    if (!document.ReadConfig(errors, path, c_iniCodePage))
        return errors.Fail(L"%s", L"加载环境失败");
    t_iniFile* root = document.ParsedRoot();
    t_iniSection* setting = root ? root->FindSection(L"Setting") : nullptr;
    const t_iniSection* syncMode = root ? root->FindSection(L"SyncMode") : nullptr;
    if (!setting)
        return errors.Fail(L"%s", L"解析配置文件失败：缺少项[setting]");
    DeriveLegacyKeys(*setting);

    bool stored = true;
    for (t_iniSection::t_iterator it = setting->Begin(); it.NotEquals(setting->End()); it.Next()) {
        const wchar_t* name = it.Node()->key;
        const wchar_t* text = it.Node()->value ? static_cast<const wchar_t*>(it.Node()->value) : L"";
        // Skipped rather than stored: a value that no block can carry would make the
        // shared snapshot unreadable for every process.
        const size_t length = wcslen(text);
        if (length > c_maxTextChars)
            continue;
        const t_envEntryBase* entry = t_envEntryBase::FindByName(name);
        const t_syncMode sync = ModeFromText(syncMode ? syncMode->Value(name) : nullptr, entry);
        const t_envType type = entry ? entry->Type() : t_envType::text;
        const int group = entry ? entry->Group() : c_envNoGroup;
        const t_envKey key{entry ? entry->Id() : 0, name};
        BYTE flag = 0;
        int number = 0;
        uint32_t unsignedNumber = 0;
        const void* data = text;
        uint32_t size = static_cast<uint32_t>((length + 1) * sizeof(wchar_t));
        switch (type) {
        case t_envType::boolean:
            flag = DecimalValue(text) != 0;
            data = &flag;
            size = 1;
            break;
        case t_envType::integer:
            number = DecimalValue(text);
            // Older files may hold 2 for the focus key; it is read as 0.
            if (entry->Id() == n_env::KeyFocusWord.Id() && number == 2)
                number = 0;
            data = &number;
            size = 4;
            break;
        case t_envType::ulong:
            unsignedNumber = static_cast<uint32_t>(UnsignedDecimalValue(text));
            data = &unsignedNumber;
            size = 4;
            break;
        default:
            break;
        }
        stored = Store(key, type, sync, group, data, size) && stored;
    }
    MigrateVersion();
    if (!stored)
        return errors.Fail(L"%s", L"加载环境失败：内存不足");
    return true;
}

void t_env::MigrateVersion()
{
    // The value lives in this set's data area, which the store below overwrites.
    const t_str read(GetString(n_env::ENV_VERSION));
    SetString(n_env::ENV_VERSION, c_currentVersion);
    if (!read.IsEmpty() && CompareVersionText(read.c_str(), c_migratedSince, 2) >= 0)
        return;
    const t_envEntry<int>* const shortcutStates[] = {
        &n_env::StateKeyShortcutName,    &n_env::StateKeyShortcutMailUrl, &n_env::StateKeyShortcutQuickInput,
        &n_env::StateKeyShortcutEngFill, &n_env::StateKeyShortcutSearch,
    };
    for (const t_envEntry<int>* state : shortcutStates)
        if (GetInt(*state) == c_semicolonKey) {
            SetBool(n_env::ShortcutJJGMenu, false);
            SetInt(n_env::KeyShortcutJJGMenu, 0);
            break;
        }
    if (GetInt(n_env::StateKeyShortcutUrlGuide) == c_semicolonKey) {
        SetInt(n_env::StateKeyShortcutUrlGuide, 0);
        SetInt(n_env::KeyShortcutJJGMenu, c_semicolonKey);
        SetBool(n_env::ShortcutJJGMenu, true);
    }
}

bool t_env::Merge(t_errorChain& errors, t_env& source, bool countGroups)
{
    bool groups[t_versionReg::c_counterCount] = {};
    bool stored = true;
    if (source.m_values && &source != this) {
        for (t_envKeyMap::t_iterator it = source.m_values->Begin(); it.NotEquals(source.m_values->End()); it.Next()) {
            const t_envKeyNode* node = it.Node();
            t_envValue* value = static_cast<t_envValue*>(node->value);
            if (!value->changed)
                continue;
            if (!Store(t_envKey{node->id, node->name}, value->type, value->mode, value->group, value->data,
                       value->size)) {
                stored = false;
                continue;
            }
            value->changed = false;
            if (countGroups && value->group >= 0 && value->group < static_cast<int>(t_versionReg::c_counterCount))
                groups[value->group] = true;
        }
    }
    if (t_versionReg::IsOpen())
        for (unsigned g = 0; g < t_versionReg::c_counterCount; ++g)
            if (groups[g])
                t_versionReg::Increment(g);
    source.m_modified = false;
    if (!stored)
        return errors.Fail(L"%s", L"env合并失败：内存不足");
    return true;
}

bool t_env::CopyFrom(const t_env& other)
{
    if (&other == this)
        return true;
    Discard();
    if (!other.m_values)
        return true;
    bool stored = true;
    for (t_envKeyMap::t_iterator it = other.m_values->Begin(); it.NotEquals(other.m_values->End()); it.Next()) {
        const t_envKeyNode* node = it.Node();
        const t_envValue* value = static_cast<const t_envValue*>(node->value);
        stored =
            Store(t_envKey{node->id, node->name}, value->type, value->mode, value->group, value->data, value->size) &&
            stored;
    }
    return stored;
}

void t_env::ClearModified()
{
    if (m_values)
        for (t_envKeyMap::t_iterator it = m_values->Begin(); it.NotEquals(m_values->End()); it.Next())
            static_cast<t_envValue*>(it.Node()->value)->changed = false;
    m_modified = false;
}

uint32_t t_env::GetBlockSize() const
{
    uint64_t size = c_emptyBlockSize;
    if (m_values)
        for (t_envKeyMap::t_iterator it = m_values->Begin(); it.NotEquals(m_values->End()); it.Next()) {
            const t_envValue* value = static_cast<const t_envValue*>(it.Node()->value);
            size += 2 * wcslen(it.Node()->name) + value->size + c_recordOverhead;
        }
    return size > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(size);
}

bool t_env::WriteBlock(BYTE* out, uint32_t size) const
{
    const uint32_t need = GetBlockSize();
    if (!out || need == UINT32_MAX || size < need)
        return false;
    BYTE* p = WriteU32(out, size);
    if (m_values)
        for (t_envKeyMap::t_iterator it = m_values->Begin(); it.NotEquals(m_values->End()); it.Next()) {
            const t_envKeyNode* node = it.Node();
            const t_envValue* value = static_cast<const t_envValue*>(node->value);
            const size_t nameBytes = (wcslen(node->name) + 1) * sizeof(wchar_t);
            memcpy(p, node->name, nameBytes);
            p = WriteU32(p + nameBytes, static_cast<uint32_t>(node->id));
            *p++ = static_cast<BYTE>(value->type);
            *p++ = static_cast<BYTE>(value->mode);
            p = WriteU32(p, value->size);
            if (value->size)
                memcpy(p, value->data, value->size);
            p += value->size;
        }
    p[0] = 0;
    p[1] = 0;
    return true;
}

bool t_env::ReadBlock(t_errorChain& errors, const BYTE* block, uint32_t available)
{
    Discard();
    if (!block || available < 4)
        return FailCorrupt(errors);
    const uint32_t total = ReadU32(block);
    const uint32_t limit = total < available ? total : available;
    t_str name;
    uint32_t pos = 4;
    for (;;) {
        if (pos > limit || limit - pos < 2)
            return FailCorrupt(errors);
        // The name runs to its terminator, which must lie inside the block.
        uint32_t end = pos;
        while (limit - end >= 2 && (block[end] | block[end + 1]) != 0)
            end += 2;
        if (limit - end < 2)
            return FailCorrupt(errors);
        if (end == pos)
            return true;
        const uint32_t chars = (end - pos) / 2;
        if (chars > c_maxDataSize)
            return FailCorrupt(errors);
        wchar_t* buffer = name.GetBuffer(static_cast<int>(chars));
        if (!buffer)
            return FailCorrupt(errors);
        memcpy(buffer, block + pos, chars * sizeof(wchar_t));
        buffer[chars] = 0;
        name.ReleaseBuffer();
        pos = end + 2;
        if (limit - pos < 10)
            return FailCorrupt(errors);
        const int id = static_cast<int>(ReadU32(block + pos));
        const t_envType type = static_cast<t_envType>(block[pos + 4]);
        const t_syncMode mode = static_cast<t_syncMode>(block[pos + 5]);
        const uint32_t size = ReadU32(block + pos + 6);
        pos += 10;
        if (size > c_maxDataSize || limit - pos < size || !IsWellFormed(type, block + pos, size))
            return FailCorrupt(errors);
        if (!Store(t_envKey{id, name.c_str()}, type, mode, c_envNoGroup, block + pos, size))
            return errors.Fail(L"%s", L"读取环境信息失败：内存不足");
        pos += size;
    }
}

bool t_env::CopyBlock(t_errorChain& errors, const BYTE* from, uint32_t fromSize, BYTE* to, uint32_t toSize)
{
    if (fromSize > toSize || (fromSize && !from) || !to)
        return errors.Fail(L"%s", L"环境信息大于新的内存块");
    if (fromSize)
        memcpy(to, from, fromSize);
    memset(to + fromSize, 0, toSize - fromSize);
    return true;
}
