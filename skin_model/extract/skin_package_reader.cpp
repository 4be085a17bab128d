#include "skin_model/extract/skin_package_reader.h"

#include <windows.h>

#include <climits>
#include <cstring>
#include <cwctype>
#include <new>
#include <set>
#include <string>

#include "foundation/files/file.h"
#include "foundation/process/ziplib_binding.h"
#include "foundation/records/skin_pack.h"
#include "skin_model/ime_skin.h"

const wchar_t* const c_referencedExtensions[7] = {L"bmp", L"png", L"gif", L"swf", L"ssw", L"jpg", L"jpeg"};

namespace {

const wchar_t c_indexName[] = L"skin.ini";

bool IsNameDelimiter(wchar_t c) { return c == L' ' || c == L',' || c == L'='; }

// The prepared file of an archive, deleted on every way out when the library made a copy.
class t_preparedFile {
public:
    t_preparedFile() { m_path[0] = 0; }
    ~t_preparedFile()
    {
        if (m_deleteAfterwards && m_path[0])
            DeleteFileW(m_path);
    }
    t_preparedFile(const t_preparedFile&) = delete;
    t_preparedFile& operator=(const t_preparedFile&) = delete;

    wchar_t m_path[MAX_PATH];
    uint32_t m_deleteAfterwards = 0;
};

// A buffer of UnZipFile, handed back to the library when it goes.
class t_unzipped {
public:
    explicit t_unzipped(t_zipLib& zipLib) : m_zipLib(zipLib) {}
    ~t_unzipped()
    {
        if (m_bytes) {
            t_errorChain ignored;
            m_zipLib.FreeUnzipBuf(ignored, m_size, m_bytes);
        }
    }
    t_unzipped(const t_unzipped&) = delete;
    t_unzipped& operator=(const t_unzipped&) = delete;

    // The entry's bytes; false when the archive does not give it.
    bool Read(const wchar_t* archive, const wchar_t* entry)
    {
        t_errorChain ignored;
        return m_zipLib.UnZipFile(ignored, m_size, m_bytes, archive, entry);
    }

    t_zipLib& m_zipLib;
    uint32_t m_size = 0;
    uint8_t* m_bytes = nullptr;
};

bool AddEntry(t_skinPack& pack, const wchar_t* name, const uint8_t* bytes, uint32_t size)
{
    t_varFile entry;
    entry.SetName(name, nullptr);
    return entry.SetData(bytes, size, nullptr) && pack.AddFile(entry);
}

// "skin.ini" as text: UTF-16LE after a byte-order mark FF FE, else code page 936.
std::wstring IndexText(const uint8_t* bytes, uint32_t size)
{
    std::wstring text;
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        text.resize((size - 2) / 2);
        if (!text.empty())
            memcpy(&text[0], bytes + 2, text.size() * sizeof(wchar_t));
        return text;
    }
    if (size > INT_MAX)
        return text;
    const char* narrow = reinterpret_cast<const char*>(bytes);
    const int n = MultiByteToWideChar(936, 0, narrow, int(size), nullptr, 0);
    if (n <= 0)
        return text;
    text.resize(size_t(n));
    const int written = MultiByteToWideChar(936, 0, narrow, int(size), &text[0], n);
    text.resize(written > 0 ? size_t(written) : 0);
    return text;
}

std::wstring FoldedName(const wchar_t* name, size_t length)
{
    std::wstring folded(name, length);
    for (wchar_t& c : folded)
        c = wchar_t(towupper(c));
    return folded;
}

}  // namespace

void ForEachReferencedName(const wchar_t* text, size_t length,
                           const std::function<void(const wchar_t* name, size_t length)>& visit)
{
    if (!text)
        return;
    // Where the name that ends at the current position would start: kept while scanning
    // so that text without delimiters costs no walk back per match.
    size_t nameStart = 0;
    for (size_t b = 0; b + 3 < length; ++b) {
        if (IsNameDelimiter(text[b])) {
            nameStart = b + 1;
            continue;
        }
        if (text[b] != L'.')
            continue;
        const size_t rest = length - b - 1;
        for (const wchar_t* extension : c_referencedExtensions) {
            const size_t n = wcslen(extension);
            if (n > rest || _wcsnicmp(text + b + 1, extension, n) != 0)
                continue;
            const size_t end = b + 1 + n;
            visit(text + nameStart, end - nameStart);
            // Extensions hold no delimiter: nameStart stays right.
            b = end - 1;
            break;
        }
    }
}

t_skinPackageReader::t_skinPackageReader(const wchar_t* libraryFolder)
    : m_zipLib(t_zipLib::Load(libraryFolder && libraryFolder[0] ? libraryFolder : nullptr))
{}

t_skinPackageReader::~t_skinPackageReader() { delete m_zipLib; }

bool t_skinPackageReader::Open(t_errorChain& errors, const wchar_t* path, t_skinPack& pack, int32_t* code, bool& packed)
{
    pack.Clear();
    m_container.clear();
    packed = false;
    SetExtractCode(code, t_extractCode::e_started);
    if (IsSkinPackFile(path)) {
        packed = true;
        if (!ReadContainer(errors, path, pack)) {
            SetExtractCode(code, t_extractCode::e_badContainer);
            return false;
        }
        return true;
    }
    return ReadZip(errors, path, pack, code);
}

// As t_skinPack::Import, keeping the bytes read, so that a container that needs no change
// can be written again as it is.
bool t_skinPackageReader::ReadContainer(t_errorChain& errors, const wchar_t* path, t_skinPack& pack)
{
    bool ok = false;
    t_fileRead file;
    if (file.Open(errors, path)) {
        const uint32_t size = file.Length();
        try {
            m_container.resize(size);
            ok = size && file.Read(errors, m_container.data(), size) && pack.Deserialize(m_container.data(), size) >= 0;
        } catch (const std::bad_alloc&) {
            errors.AddText(L"内存不足");
        }
        file.Close();
    }
    if (!ok) {
        pack.Clear();
        m_container.clear();
        errors.AddText(L"皮肤打包文件导入失败");
    }
    return ok;
}

bool t_skinPackageReader::ReadZip(t_errorChain& errors, const wchar_t* path, t_skinPack& pack, int32_t* code)
{
    if (!m_zipLib || !m_zipLib->Errors().IsEmpty()) {
        if (m_zipLib)
            errors.CopyLines(m_zipLib->Errors().FirstLine(), errors.NewLine());
        SetExtractCode(code, t_extractCode::e_zipLibLoad);
        return errors.Fail(L"ZipLib.dll打开失败");
    }
    t_preparedFile prepared;
    t_errorChain ignored;
    if (!m_zipLib->PrepareUnzipFile(ignored, prepared.m_path, prepared.m_deleteAfterwards, path)) {
        SetExtractCode(code, t_extractCode::e_zipPrepare);
        errors.AddText(L"皮肤解压失败:准备临时文件失败");
        return false;
    }

    t_unzipped index(*m_zipLib);
    if (!index.Read(prepared.m_path, c_indexName) || index.m_size == 0) {
        SetExtractCode(code, t_extractCode::e_noIndex);
        errors.AddText(L"皮肤解压失败:skin.ini不存在");
        AppendPathError(errors.NewLine(), L"皮肤解压失败", path);
        return false;
    }
    AddEntry(pack, c_indexName, index.m_bytes, index.m_size);
    if (index.m_size < 2) {
        SetExtractCode(code, t_extractCode::e_badIndex);
        errors.AddText(L"皮肤解压失败:skin.ini格式错误");
        AppendPathError(errors.NewLine(), L"皮肤解压失败", path);
        return false;
    }

    const std::wstring text = IndexText(index.m_bytes, index.m_size);
    // Each name is looked up once, whatever its case.
    std::set<std::wstring> tried;
    ForEachReferencedName(text.data(), text.size(), [&](const wchar_t* name, size_t length) {
        if (!tried.insert(FoldedName(name, length)).second)
            return;
        t_str entry;
        if (length > c_maxNameChars) {
            entry.AssignN(name, int(c_maxNameChars));
            errors.NewLine().AppendText(L"皮肤文件名过长，未打包：").AppendText(entry.c_str()).AppendText(L"…");
            return;
        }
        entry.AssignN(name, int(length));
        AddReferenced(errors, prepared.m_path, entry, pack);
    });
    return true;
}

void t_skinPackageReader::AddReferenced(t_errorChain& errors, const wchar_t* prepared, const t_str& name,
                                        t_skinPack& pack)
{
    // The container is flat: a name with a folder part, a drive, a leading dot or a device
    // name would become a path wherever the container is written out.
    if (!t_skinPack::IsPlainName(name.c_str())) {
        errors.NewLine().AppendText(L"皮肤文件名无效，未打包：").AppendText(name.c_str());
        return;
    }
    if (pack.Find(name.c_str(), nullptr))
        return;
    t_unzipped file(*m_zipLib);
    if (!file.Read(prepared, name.c_str())) {
        errors.NewLine().AppendText(L"皮肤文件缺失，未打包：").AppendText(name.c_str());
        return;
    }
    if (file.m_size == 0) {
        errors.NewLine().AppendText(L"皮肤文件为空，未打包：").AppendText(name.c_str());
        return;
    }
    if (!AddEntry(pack, name.c_str(), file.m_bytes, file.m_size))
        errors.NewLine().AppendText(L"皮肤文件打包失败：").AppendText(name.c_str());
}
