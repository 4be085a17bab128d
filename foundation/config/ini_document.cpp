#include "foundation/config/ini_document.h"

#include "foundation/crypto/encrypted_text.h"
#include "foundation/files/file.h"
#include "foundation/files/file_bak_write.h"
#include "foundation/core/perf.h"
#include "foundation/files/text_file.h"

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// The arena applies no alignment; objects placed in it are aligned here.
template <class T>
void* AlignedSlot(t_heap* heap)
{
    void* raw = heap->Alloc(sizeof(T) + alignof(T) - 1);
    if (!raw)
        return nullptr;
    const uintptr_t mask = alignof(T) - 1;
    return reinterpret_cast<void*>((reinterpret_cast<uintptr_t>(raw) + mask) & ~mask);
}

bool IsNameBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r'; }

// Cuts blanks, tabs and CRs from both ends of [begin, end) and terminates it.
wchar_t* TrimInPlace(wchar_t* begin, wchar_t* end)
{
    while (begin < end && IsNameBlank(*begin))
        ++begin;
    while (end > begin && IsNameBlank(end[-1]))
        --end;
    *end = 0;
    return begin;
}

// One decoding context serves every encrypted document: its schedules come
// from the fixed key and are only read afterwards.
const t_encryptedTextContext* TextContext()
{
    static t_encryptedTextContext ctx;
    static bool ready = (EncryptedTextInit(&ctx), true);
    (void)ready;
    return &ctx;
}

const unsigned c_codePageGbk = 936;

}  // namespace

// --- t_iniLines ---------------------------------------------------------------

t_iniLines::t_iniLines(t_heap* heap) : m_map(heap), m_lines(heap), m_heap(heap) {}

bool t_iniLines::AddComment(const wchar_t* text)
{
    const wchar_t* copy = m_heap->StrDup(text ? text : L"");
    return copy && m_lines.Append(copy);
}

bool t_iniLines::IsNameLine(int index) const
{
    const wchar_t* line = m_lines[index];
    const t_iniNode* node = m_map.Find(line);
    return node && node->key == line;
}

t_iniNode* t_iniLines::InsertName(const wchar_t* name, const t_place& place, int index)
{
    t_iniNode* node = m_map.InsertNode(place.bucket, name, place.hash);
    if (!node)
        return nullptr;
    const bool listed =
        (index < 0 || index >= m_lines.Count()) ? m_lines.Append(node->key) : m_lines.InsertAt(index, node->key);
    if (!listed) {
        m_map.Remove(node);
        return nullptr;
    }
    return node;
}

// --- t_iniSection -------------------------------------------------------------

t_iniNode* t_iniSection::FindKey(const wchar_t* key, t_place* place) const { return m_map.Find(key, place); }

const wchar_t* t_iniSection::Value(const wchar_t* key) const
{
    const t_iniNode* node = FindKey(key);
    return node ? static_cast<const wchar_t*>(node->value) : nullptr;
}

bool t_iniSection::SetKey(const wchar_t* key, const wchar_t* value, int index)
{
    if (!key)
        return false;
    wchar_t* copy = nullptr;
    if (value && !(copy = m_heap->StrDup(value)))
        return false;
    t_place place;
    t_iniNode* node = FindKey(key, &place);
    if (!node && !(node = InsertName(key, place, index)))
        return false;
    node->value = copy;
    return true;
}

void t_iniSection::RemoveKey(t_iniNode* node)
{
    if (!node)
        return;
    // The line is the node's own key string, so a comment of the same text stays.
    for (int i = 0; i < m_lines.Count(); ++i) {
        if (m_lines[i] == node->key) {
            m_lines.RemoveAt(i);
            break;
        }
    }
    m_map.Remove(node);
}

// --- t_iniFile ----------------------------------------------------------------

t_iniSection* t_iniFile::FindSection(const wchar_t* name) const
{
    const t_iniNode* node = m_map.Find(name);
    return node ? SectionOf(node) : nullptr;
}

t_iniSection* t_iniFile::AddSection(const wchar_t* name)
{
    if (!name)
        return nullptr;
    t_place place;
    if (t_iniNode* node = m_map.Find(name, &place))
        return SectionOf(node);
    void* slot = AlignedSlot<t_iniSection>(m_heap);
    if (!slot)
        return nullptr;
    t_iniSection* section = new (slot) t_iniSection(m_heap);
    t_iniNode* node = InsertName(name, place, -1);
    if (!node)
        return nullptr;
    node->value = section;
    return section;
}

// --- t_iniDocument ------------------------------------------------------------

t_iniDocument::t_iniDocument(bool encrypted) : t_heap(c_blockSize), m_root(nullptr), m_encrypted(encrypted) {}

void t_iniDocument::Clear()
{
    FreeAll();
    m_root = nullptr;
}

t_iniFile* t_iniDocument::Root()
{
    if (!m_root) {
        void* slot = AlignedSlot<t_iniFile>(this);
        if (slot)
            m_root = new (slot) t_iniFile(this);
    }
    return m_root;
}

const wchar_t* t_iniDocument::GetValue(const wchar_t* section, const wchar_t* key) const
{
    if (!m_root)
        return nullptr;
    const t_iniSection* found = m_root->FindSection(section);
    return found ? found->Value(key) : nullptr;
}

bool t_iniDocument::SetValue(const wchar_t* section, const wchar_t* key, const wchar_t* value, int index)
{
    t_iniFile* root = Root();
    t_iniSection* found = root ? root->AddSection(section) : nullptr;
    return found && found->SetKey(key, value, index);
}

bool t_iniDocument::ReadConfig(t_errorChain& errors, const wchar_t* path, unsigned codePage)
{
    PerfScope scope("ReadConfig");
    Clear();
    if (m_encrypted)
        return ReadEncryptedFile(errors, path, codePage);
    t_textBuffer text;
    if (!LoadTextFile(errors, path, codePage, text) || !Parse(text)) {
        Clear();
        errors.AddText(L"无法解析ini文件");
        return false;
    }
    return true;
}

bool t_iniDocument::ReadEncryptedFile(t_errorChain& errors, const wchar_t* path, unsigned codePage)
{
    t_fileRead file;
    if (!file.Open(errors, path)) {
        errors.AddText(L"无法打开ini文件");
        return false;
    }
    const uint32_t size = file.Length();
    char* data = size < UINT32_MAX ? static_cast<char*>(malloc(size_t(size) + 1)) : nullptr;
    if (!data) {
        errors.AddText(L"无法读取ini文件:分配内存失败");
        return false;
    }
    if (size > 0 && !file.Read(errors, data, size)) {
        free(data);
        errors.AddText(L"无法读取ini文件");
        return false;
    }
    file.Close();
    data[size] = 0;
    const bool parsed = ReadFromMemory(data, size, codePage);
    free(data);
    if (!parsed) {
        errors.AddText(L"无法解析ini文件");
        return false;
    }
    return true;
}

bool t_iniDocument::ReadFromMemory(const void* bytes, size_t count, unsigned codePage)
{
    Clear();
    t_errorChain dropped;
    if (!Decode(dropped, bytes, count, codePage)) {
        Clear();
        return false;
    }
    return true;
}

bool t_iniDocument::Decode(t_errorChain& errors, const void* bytes, size_t count, unsigned codePage)
{
    if (!bytes && count)
        return false;
    t_textBuffer text;
    if (!m_encrypted)
        return LoadTextMemory(errors, bytes, count, codePage, text) && Parse(text);

    const char* in = static_cast<const char*>(bytes);
    while (count > 0 && (in[count - 1] == '\r' || in[count - 1] == '\n'))
        --count;
    // The decoder takes a NUL-terminated text: a NUL inside the data would cut it
    // short, so such data is refused rather than read in part.
    if (count == 0 || memchr(in, 0, count))
        return false;
    char* base64 = static_cast<char*>(malloc(count + 1));
    if (!base64)
        return false;
    memcpy(base64, in, count);
    base64[count] = 0;
    char* plain = EncryptedTextDecode(base64, TextContext());
    free(base64);
    if (!plain)
        return false;
    const bool ok = LoadTextMemory(errors, plain, strlen(plain), codePage, text) && Parse(text);
    free(plain);
    return ok;
}

bool t_iniDocument::Parse(t_textBuffer& text)
{
    t_iniFile* root = Root();
    if (!root)
        return false;
    t_iniSection* current = nullptr;
    while (wchar_t* line = text.NextLine()) {
        if (*line == 0)
            continue;
        if (*line == L';') {
            if (!(current ? current->AddComment(line) : root->AddComment(line)))
                return false;
            continue;
        }
        if (*line == L'[') {
            // A header without "]" or with an empty name ends the current
            // section: keys up to the next valid header are dropped.
            wchar_t* close = wcschr(line + 1, L']');
            wchar_t* name = close ? TrimInPlace(line + 1, close) : nullptr;
            current = (name && *name) ? root->AddSection(name) : nullptr;
            if (name && *name && !current)
                return false;
            continue;
        }
        if (!current)
            continue;
        wchar_t* equals = wcschr(line, L'=');
        if (!equals)
            continue;
        wchar_t* value = TrimInPlace(equals + 1, equals + wcslen(equals));
        wchar_t* key = TrimInPlace(line, equals);
        if (*key && !current->SetKey(key, value, -1))
            return false;
    }
    return true;
}

void t_iniDocument::Render(const t_iniFile& file, t_fileTextWrite& out)
{
    for (int i = 0; i < file.LineCount(); ++i) {
        const wchar_t* line = file.Line(i);
        if (!file.IsNameLine(i)) {
            out.Append(line).Append(L"\r\n");
            continue;
        }
        if (i > 0)
            out.Append(L"\r\n");
        out.Append(L"[").Append(line).Append(L"]\r\n");
        const t_iniSection* section = file.FindSection(line);
        for (int j = 0; section && j < section->LineCount(); ++j) {
            const wchar_t* item = section->Line(j);
            out.Append(item);
            if (section->IsNameLine(j))
                out.Append(L"=").Append(section->Value(item));
            out.Append(L"\r\n");
        }
    }
}

bool t_iniDocument::WriteConfig(t_errorChain& errors, const wchar_t* path)
{
    PerfScope scope("WriteConfig");
    t_iniFile* root = Root();
    if (!root) {
        errors.AddText(L"保存ini文件失败:内存分配失败");
        return false;
    }
    t_fileTextWrite text(65536);
    Render(*root, text);
    if (!m_encrypted)
        return WriteSafely(errors, path, text);
    return WriteEncrypted(errors, path, text);
}

bool t_iniDocument::WriteSafely(t_errorChain& errors, const wchar_t* path, const t_fileTextWrite& text)
{
    static const uint8_t c_bom[2] = {0xFF, 0xFE};
    if (!text.Complete() || text.UsedBytes() > UINT32_MAX) {
        errors.AddText(L"保存ini文件失败:内存分配失败");
        return false;
    }
    t_fileBakWrite out;
    return out.Write(errors, c_bom, 2) &&
           (text.UsedBytes() == 0 || out.Write(errors, text.Text(), uint32_t(text.UsedBytes()))) &&
           out.Save(errors, path);
}

bool t_iniDocument::WriteEncrypted(t_errorChain& errors, const wchar_t* path, const t_fileTextWrite& text)
{
    const size_t chars = text.UsedBytes() / sizeof(wchar_t);
    if (!text.Complete() || chars > 0x3FFFFFFF || (chars > 0 && !text.Text())) {
        errors.AddText(L"保存ini文件失败:内存分配失败");
        return false;
    }
    int bytes = 0;
    BOOL lossy = FALSE;
    if (chars > 0) {
        // Characters that code page 936 cannot hold would turn into "?": refused,
        // so that a save never loses text silently.
        bytes = WideCharToMultiByte(c_codePageGbk, WC_NO_BEST_FIT_CHARS, text.Text(), int(chars), nullptr, 0, nullptr,
                                    &lossy);
        if (bytes <= 0 || lossy) {
            errors.AddText(L"保存ini文件失败:转换失败");
            return false;
        }
    }
    char* narrow = static_cast<char*>(malloc(size_t(bytes) + 1));
    if (!narrow) {
        errors.AddText(L"保存ini文件失败:内存分配失败");
        return false;
    }
    if (chars > 0 && WideCharToMultiByte(c_codePageGbk, WC_NO_BEST_FIT_CHARS, text.Text(), int(chars), narrow, bytes,
                                         nullptr, &lossy) != bytes) {
        free(narrow);
        errors.AddText(L"保存ini文件失败:转换失败");
        return false;
    }
    char* base64 = EncryptedTextEncode(TextContext(), narrow, unsigned(bytes));
    free(narrow);
    if (!base64) {
        errors.AddText(L"保存ini文件失败:加密失败");
        return false;
    }
    t_fileBakWrite out;
    const bool ok = out.Write(errors, base64, uint32_t(strlen(base64))) && out.Save(errors, path);
    free(base64);
    return ok;
}
