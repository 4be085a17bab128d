#include "skin_model/extract/skin_package_reader.h"

#include <windows.h>

#include <climits>
#include <cstring>
#include <cwctype>
#include <new>
#include <set>
#include <string>

#include "foundation/files/file.h"
#include "foundation/files/path.h"
#include "foundation/files/text_file.h"
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

    // The entry's bytes; false when the archive does not give it, with the reason.
    bool Read(const wchar_t* archive, const wchar_t* entry)
    {
        t_errorChain ignored;
        SetLastError(0);
        if (m_zipLib.UnZipFile(ignored, m_size, m_bytes, archive, entry))
            return true;
        m_reason = GetLastError();
        return false;
    }

    t_zipLib& m_zipLib;
    uint32_t m_size = 0;
    uint8_t* m_bytes = nullptr;
    DWORD m_reason = 0;
};

bool AddEntry(t_skinPack& pack, const wchar_t* name, const uint8_t* bytes, uint32_t size)
{
    t_varFile entry;
    entry.SetName(name, nullptr);
    return entry.SetData(bytes, size, nullptr) && pack.AddFile(entry);
}

// "skin.ini" as text: by its byte-order mark, UTF-16 by its zero bytes, else code page 936.
std::wstring IndexText(const uint8_t* bytes, uint32_t size)
{
    std::wstring text;
    DecodeText(bytes, size, 936, text);
    return text;
}

// What a failed read of an entry says, from the library's reason.
const wchar_t* EntryFault(DWORD reason)
{
    switch (reason) {
    case ERROR_FILE_NOT_FOUND:
        return L"不存在";
    case ERROR_FILE_TOO_LARGE:
        return L"过大(超过256MB)";
    case ERROR_NOT_SUPPORTED:
        return L"已加密或压缩方式不支持";
    case ERROR_NOT_ENOUGH_MEMORY:
        return L"读取时内存不足";
    case ERROR_FILE_CORRUPT:
        return L"已损坏";
    default:
        return L"无法读取";
    }
}

// Why a name of "skin.ini" cannot be an entry, or empty. The container is flat: a name
// with a folder part, a drive, a leading dot or a device name would become a path wherever
// the container is written out, and a name Windows cannot create could never be written.
t_str RefusalOf(const t_str& name)
{
    t_str why;
    if (t_skinPack::IsPlainName(name.c_str()))
        return why;
    const t_nameFault fault = CheckFileName(name.c_str());
    why.Assign(L"皮肤文件名无效(");
    why.Append(fault == t_nameFault::e_none ? L"以“.”开头" : NameFaultText(fault));
    why.Append(L")，未打包：");
    return why;
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
    SetLastError(0);
    if (!m_zipLib->PrepareUnzipFile(ignored, prepared.m_path, prepared.m_deleteAfterwards, path)) {
        const DWORD reason = GetLastError();
        SetExtractCode(code, t_extractCode::e_zipPrepare);
        if (reason == ERROR_BAD_FORMAT || reason == ERROR_FILE_CORRUPT || reason == ERROR_FILE_TOO_LARGE) {
            errors.AddText(reason == ERROR_FILE_TOO_LARGE ? L"皮肤解压失败:皮肤包的文件太多"
                                                          : L"皮肤解压失败:不是完整的zip文件(已截断或损坏)");
        } else {
            AppendSystemErrorText(errors.NewLine(), reason);
            errors.AddText(L"皮肤解压失败:无法读取皮肤包");
        }
        AppendPathError(errors.NewLine(), L"皮肤解压失败", path);
        return false;
    }

    t_unzipped index(*m_zipLib);
    const bool indexRead = index.Read(prepared.m_path, c_indexName);
    if (!indexRead || index.m_size == 0) {
        SetExtractCode(code, t_extractCode::e_noIndex);
        errors.NewLine()
            .AppendText(L"皮肤解压失败:skin.ini")
            .AppendText(indexRead ? L"是空的" : EntryFault(index.m_reason));
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
    // The names in text order, each once whatever its case; those that cannot become an
    // entry carry why, the others are read from the archive in one pass.
    std::set<std::wstring> tried;
    std::vector<t_named> named;
    std::vector<t_str> wanted;
    ForEachReferencedName(text.data(), text.size(), [&](const wchar_t* name, size_t length) {
        if (!tried.insert(FoldedName(name, length)).second)
            return;
        t_named item;
        if (length > c_maxNameChars) {
            item.name.AssignN(name, int(c_maxNameChars));
            item.name.Append(L"…");
            item.why = L"皮肤文件名过长，未打包：";
        } else {
            item.name.AssignN(name, int(length));
            item.why = RefusalOf(item.name);
        }
        if (item.why.IsEmpty())
            wanted.push_back(item.name);
        named.push_back(std::move(item));
    });

    // The lines and entries come in text order: the refused names before a read are
    // reported when that read's answer comes.
    t_leftOut leftOut(errors);
    size_t next = 0;
    const auto reportRefused = [&] {
        for (; next < named.size() && !named[next].why.IsEmpty(); ++next)
            leftOut.Add(named[next].why.c_str(), named[next].name.c_str());
    };
    m_zipLib->UnZipFiles(prepared.m_path, wanted,
                         [&](size_t, bool read, const uint8_t* bytes, uint32_t size, uint32_t reason) {
                             reportRefused();
                             if (next < named.size())
                                 AddReferenced(leftOut, named[next++].name, read, bytes, size, reason, pack);
                         });
    reportRefused();
    leftOut.Finish();
    return true;
}

void t_skinPackageReader::t_leftOut::Add(const wchar_t* why, const wchar_t* name)
{
    if (++m_count <= c_maxLeftOutLines)
        m_errors.NewLine().AppendText(why).AppendText(name);
}

void t_skinPackageReader::t_leftOut::Finish()
{
    if (m_count > c_maxLeftOutLines)
        m_errors.NewLine().AppendFormat(L"……另有%u个文件未打包", unsigned(m_count - c_maxLeftOutLines));
}

void t_skinPackageReader::AddReferenced(t_leftOut& leftOut, const t_str& name, bool read, const uint8_t* bytes,
                                        uint32_t size, uint32_t reason, t_skinPack& pack)
{
    // A name equal to one taken before, as the container compares names.
    if (pack.Find(name.c_str(), nullptr))
        return;
    if (!read) {
        if (reason == ERROR_FILE_NOT_FOUND) {
            leftOut.Add(L"皮肤文件缺失，未打包：", name.c_str());
        } else {
            t_str why(L"皮肤文件");
            why.Append(EntryFault(reason));
            why.Append(L"，未打包：");
            leftOut.Add(why.c_str(), name.c_str());
        }
        return;
    }
    if (size == 0) {
        leftOut.Add(L"皮肤文件为空，未打包：", name.c_str());
        return;
    }
    if (!AddEntry(pack, name.c_str(), bytes, size))
        leftOut.Add(L"皮肤文件打包失败：", name.c_str());
}
