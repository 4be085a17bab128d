#include "foundation/records/skin_pack.h"

#include <windows.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <set>

#include "foundation/crypto/encrypted_text.h"
#include "foundation/files/bulk_read.h"
#include "foundation/files/file.h"
#include "foundation/files/path.h"
#include "foundation/files/private_file_write.h"
#include "foundation/core/singleton.h"
#include "foundation/records/var_file_io.h"

namespace {

const unsigned char c_magic[4] = {'S', 'k', 'i', 'n'};
const uint32_t c_headerSize = 8;
// Deflate never compresses better than about 1032:1; a declared list length beyond that
// cannot be honest and would only make us reserve memory for nothing.
const uint64_t c_maxInflateRatio = 1032;

bool HasMagic(const unsigned char* image, uint32_t length)
{
    return image && length >= c_headerSize && memcmp(image, c_magic, 4) == 0;
}

void WriteHeader(unsigned char* out, uint32_t format)
{
    memcpy(out, c_magic, 4);
    VarWriteU32(out + 4, format);
}

}  // namespace

// A name Windows can create in a folder, without a leading '.': the path rules append such
// extension-like names to the folder text itself, which would write a sibling of the folder.
bool t_skinPack::IsPlainName(const wchar_t* name)
{
    return name && name[0] != L'.' && CheckFileName(name) == t_nameFault::e_none;
}

bool t_skinPack::HasOnlyPlainNames() const { return FirstNameNotPlain() == nullptr; }

const wchar_t* t_skinPack::FirstNameNotPlain() const
{
    for (int i = 0; i < m_list.Count(); ++i) {
        const wchar_t* name = m_list.At(i)->GetName();
        if (!IsPlainName(name))
            return name ? name : L"";
    }
    return nullptr;
}

t_skinFileCipher::t_skinFileCipher() : m_ready(false)
{
    m_ready = m_cipher.Init(TextCipherKey());
    m_cipher.SetRandomFirstBlock(false);
}

t_skinFileCipher* t_skinFileCipher::Instance() { return ImmSingleton<t_skinFileCipher>::Instance("t_skinFileCipher"); }

t_skinPack::t_skinPack() : m_heap(c_heapBlock), m_version(c_formatPlain) {}

t_skinPack::~t_skinPack()
{
    m_heap.FreeAll();
    m_list.Reset();
}

void t_skinPack::Clear()
{
    ForgetPositions();
    m_list.Reset();
    m_heap.FreeAll();
}

int t_skinPack::IndexOf(const wchar_t* name) const
{
    if (!name)
        return -1;
    // Look-ups go through a map of the upper-cased names, built on the first one after the
    // list changed other than by AddFile: a package of n entries costs n look-ups, not n².
    if (!m_positionsValid) {
        m_positions.clear();
        for (int i = 0; i < m_list.Count(); ++i) {
            const wchar_t* entryName = m_list.At(i)->GetName();
            if (entryName)
                m_positions.emplace(FoldedName(entryName), i);
        }
        m_positionsValid = true;
    }
    const auto found = m_positions.find(FoldedName(name));
    return found != m_positions.end() ? found->second : -1;
}

std::wstring t_skinPack::FoldedName(const wchar_t* name)
{
    // Upper case as Windows compares file names (ordinal, ignoring case).
    std::wstring folded(name);
    if (!folded.empty())
        LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, name, int(folded.size()), &folded[0], int(folded.size()));
    return folded;
}

void t_skinPack::ForgetPositions()
{
    m_positions.clear();
    m_positionsValid = false;
}

bool t_skinPack::Find(const wchar_t* name, t_varFile** entry) const
{
    int index = IndexOf(name);
    if (entry)
        *entry = index >= 0 ? m_list.At(index) : nullptr;
    return index >= 0;
}

bool t_skinPack::Remove(const wchar_t* name)
{
    const bool removed = m_list.RemoveAt(IndexOf(name));
    if (removed)
        ForgetPositions();
    return removed;
}

bool t_skinPack::AddFile(const t_varFile& entry)
{
    if (IndexOf(entry.GetName()) >= 0)
        return false;
    t_varFile* copy = t_varFile::CloneInto(entry, &m_heap);
    if (!copy || !m_list.Append(copy, &m_heap))
        return false;
    if (m_positionsValid && copy->GetName())
        m_positions.emplace(FoldedName(copy->GetName()), m_list.Count() - 1);
    return true;
}

bool t_skinPack::AddFromDisk(const wchar_t* path)
{
    // Loaded into a scratch arena: AddFile copies into the pack's own arena anyway.
    t_heap scratch(c_heapBlock);
    t_varFile entry;
    return n_varFileIo::LoadFromFile(path, entry, &scratch) && AddFile(entry);
}

bool t_skinPack::AddFolder(const wchar_t* folder)
{
    const t_path root(folder ? folder : L"");
    if (root.IsEmpty() || !root.IsDirectory())
        return false;
    Clear();
    return ForEachFolderEntry(root.c_str(), [&](const wchar_t* name) {
        t_path child(root);
        child.AppendPart(name);
        if (child.IsFile())
            AddFromDisk(child.c_str());
    });
}

bool t_skinPack::ExtractTo(t_errorChain& errors, const wchar_t* folder)
{
    if (!m_list.HasTable() || !folder)
        return false;
    bool ok = true;
    for (int i = 0; i < m_list.Count(); ++i) {
        const t_varFile* entry = m_list.At(i);
        if (!IsPlainName(entry->GetName())) {
            AppendNameRefusal(errors.NewLine(), entry->GetName());
            ok = false;
            continue;
        }
        t_path target(folder);
        target.AppendPart(entry->GetName());
        if (!n_varFileIo::SaveToFile(target.c_str(), *entry)) {
            AppendPathError(errors.NewLine(), L"写入文件失败", target.c_str());
            ok = false;
        }
    }
    return ok;
}

t_str& t_skinPack::AppendNameRefusal(t_str& line, const wchar_t* name)
{
    const t_nameFault fault = CheckFileName(name);
    line.Append(L"皮肤文件名无效(");
    line.Append(fault == t_nameFault::e_none ? L"以“.”开头" : NameFaultText(fault));
    line.Append(L")：");
    line.Append(name ? name : L"");
    return line;
}

int t_skinPack::Serialize(unsigned char* out)
{
    int listSize = m_list.Serialize(nullptr);
    if (listSize < 0 || uint32_t(listSize) > c_varMaxImage - c_headerSize)
        return -1;
    if (!out)
        return listSize + int(c_headerSize);
    // The plain image always says format 1: the version field may hold the format a
    // packed file was read from, and a plain body labelled 3 could never be read back.
    WriteHeader(out, c_formatPlain);
    t_heap scratch(c_heapBlock);
    m_list.SetHeap(&scratch);
    int written = m_list.Serialize(out + c_headerSize);
    m_list.SetHeap(&m_heap);
    if (written != listSize)
        return -1;
    return listSize + int(c_headerSize);
}

unsigned char* t_skinPack::Pack(uint32_t* length, t_byteBuffer& out, const unsigned char* image)
{
    if (!length || !HasMagic(image, *length))
        return nullptr;
    const t_skinFileCipher* cipher = t_skinFileCipher::Instance();
    if (!cipher || !cipher->IsReady())
        return nullptr;
    const uint32_t n = *length - c_headerSize;
    const uint64_t bound = uint64_t(compressBound(n)) + 4;
    // Room for the header, the padding block and the cipher's working margin.
    if (bound + c_headerSize + 40 > c_varMaxImage)
        return nullptr;
    t_byteBuffer work;
    unsigned char* plain = work.ReserveAt(uint32_t(bound), 0);
    if (!plain)
        return nullptr;
    VarWriteU32(plain, n);
    uLongf packed = uLongf(bound - 4);
    if (compress2(plain + 4, &packed, image + c_headerSize, n, 9) != Z_OK)
        return nullptr;
    const uint32_t plainLength = uint32_t(packed) + 4;
    unsigned char* target = out.ReserveAt(plainLength + 40, 0);
    if (!target)
        return nullptr;
    WriteHeader(target, c_formatPacked);
    unsigned int cipherLength = 0;
    if (!cipher->Cipher().Encrypt(&cipherLength, plainLength, target + c_headerSize, plain))
        return nullptr;
    *length = cipherLength + c_headerSize;
    return target;
}

unsigned char* t_skinPack::Unpack(uint32_t* length, t_byteBuffer& out, const unsigned char* image)
{
    if (!length || !HasMagic(image, *length))
        return nullptr;
    const uint32_t format = VarReadU32(image + 4);
    m_version = format;
    if (format == c_formatPlain)
        return const_cast<unsigned char*>(image);
    if (format != c_formatPacked)
        return nullptr;
    const uint32_t bodyLength = *length - c_headerSize;
    if (bodyLength < 16 || bodyLength % 16 != 0)
        return nullptr;
    const t_skinFileCipher* cipher = t_skinFileCipher::Instance();
    if (!cipher || !cipher->IsReady())
        return nullptr;
    t_byteBuffer work;
    unsigned char* plain = work.ReserveAt(bodyLength, 0);
    if (!plain)
        return nullptr;
    unsigned int plainLength = 0;
    if (!cipher->Cipher().Decrypt(bodyLength, &plainLength, image + c_headerSize, plain) || plainLength < 4)
        return nullptr;
    const uint32_t declared = VarReadU32(plain);
    const uint32_t packedLength = plainLength - 4;
    if (declared > c_varMaxImage - c_headerSize || declared > uint64_t(packedLength) * c_maxInflateRatio + 64)
        return nullptr;
    unsigned char* target = out.ReserveAt(declared + c_headerSize, 0);
    if (!target)
        return nullptr;
    WriteHeader(target, format);
    uLongf inflated = declared;
    if (uncompress(target + c_headerSize, &inflated, plain + 4, packedLength) != Z_OK)
        return nullptr;
    // A stream shorter than declared would leave unwritten bytes inside the image.
    if (inflated != declared)
        return nullptr;
    *length = declared + c_headerSize;
    return target;
}

int t_skinPack::Deserialize(const unsigned char* in, uint32_t length)
{
    Clear();
    t_byteBuffer buffer;
    uint32_t imageLength = length;
    const unsigned char* image = Unpack(&imageLength, buffer, in);
    if (!HasMagic(image, imageLength))
        return -1;
    m_version = VarReadU32(image + 4);
    ForgetPositions();
    int read = m_list.Deserialize(image + c_headerSize, imageLength - c_headerSize, &m_heap);
    if (read <= 0) {
        Clear();
        return -1;
    }
    return read + int(c_headerSize);
}

bool t_skinPack::ProbeHeader(const wchar_t* path, uint32_t* format)
{
    if (format)
        *format = 0;
    if (!path)
        return false;
    // A folder does not open without backup semantics, so only files answer.
    const HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    unsigned char head[c_headerSize];
    DWORD got = 0;
    const BOOL read = ReadFile(file, head, c_headerSize, &got, nullptr);
    CloseHandle(file);
    if (!read || got < sizeof(c_magic) || memcmp(head, c_magic, sizeof(c_magic)) != 0)
        return false;
    if (format && got == c_headerSize)
        *format = VarReadU32(head + 4);
    return true;
}

bool t_skinPack::Import(t_errorChain& errors, const wchar_t* path)
{
    Clear();
    bool ok = false;
    {
        t_fileRead file;
        if (file.Open(errors, path)) {
            const uint32_t size = file.Length();
            t_byteBuffer buffer;
            unsigned char* data = buffer.ReserveAt(size, 0);
            if (!data)
                errors.AddText(L"内存不足");
            else if (size && file.Read(errors, data, size))
                ok = Deserialize(data, size) >= 0;
            file.Close();
        }
    }
    if (!ok) {
        Clear();
        errors.AddText(L"皮肤打包文件导入失败");
    }
    return ok;
}

bool t_skinPack::Export(t_errorChain& errors, const wchar_t* path, bool pack)
{
    bool ok = false;
    int size = Serialize(nullptr);
    t_byteBuffer image;
    t_byteBuffer packed;
    unsigned char* data = size > 0 ? image.ReserveAt(uint32_t(size), 0) : nullptr;
    uint32_t length = uint32_t(size);
    if (data && Serialize(data) == size) {
        if (pack)
            data = Pack(&length, packed, data);
        if (data) {
            t_fileWrite file;
            ok = file.Open(errors, path, t_file::e_writeNew) && file.Write(errors, data, length);
            file.Close();
        }
    }
    if (!ok)
        errors.AddText(L"皮肤打包文件导出失败");
    return ok;
}

// --- t_skinPackCopy ----------------------------------------------------------------

namespace {

const uint32_t c_listHead = 8;  // total length and the offset table's byte count

uint32_t EntryImageSize(const t_skinPackCopy::t_entry& entry)
{
    return 8 + uint32_t(entry.name.Length()) * 2 + uint32_t(entry.data.size());
}

const t_skinPackCopy::t_given* FindGiven(const t_skinPackCopy::t_given* given, size_t count, const wchar_t* name)
{
    for (size_t i = 0; i < count; ++i) {
        if (given[i].name && _wcsicmp(given[i].name, name) == 0)
            return &given[i];
    }
    return nullptr;
}

bool SameBytes(const std::vector<uint8_t>& held, const uint8_t* data, uint32_t size)
{
    return held.size() == size && (size == 0 || memcmp(held.data(), data, size) == 0);
}

}  // namespace

bool t_skinPackCopy::t_nameLess::operator()(const t_str& a, const t_str& b) const
{
    return CompareFileNames(a.c_str(), a.Length(), b.c_str(), b.Length()) < 0;
}

void t_skinPackCopy::Clear()
{
    m_entries.clear();
    m_seeds.clear();
    m_offsets.clear();
    m_stale.clear();
    m_image.clear();
    m_unwritten.clear();
    m_writtenPath.Clear();
    m_lastReads = 0;
}

void t_skinPackCopy::Seed(const wchar_t* name, const uint8_t* data, uint32_t size)
{
    if (!name || !name[0] || (size && !data))
        return;
    t_entry& seed = m_seeds[t_str(name)];
    seed.name.Assign(name);
    seed.data.assign(data, data + size);
    seed.size = size;
}

bool t_skinPackCopy::Update(const wchar_t* folder, const t_given* given, size_t givenCount)
{
    std::vector<t_listedFile> listing;
    if (!ListFolder(folder, listing))
        return false;
    Update(folder, listing, given, givenCount);
    return true;
}

void t_skinPackCopy::Update(const wchar_t* folder, std::vector<t_listedFile>& listing, const t_given* given,
                            size_t givenCount)
{
    // The previous entries by name, to take over what is still current: mostly found at
    // the same place, else looked up.
    std::map<t_str, size_t, t_nameLess> previous;
    const auto findPrevious = [&](size_t index, const t_str& name) -> size_t {
        if (index < m_entries.size() && m_entries[index].name.Equals(name.c_str()))
            return index;
        if (previous.empty()) {
            for (size_t i = 0; i < m_entries.size(); ++i)
                previous.emplace(m_entries[i].name, i);
        }
        const auto found = previous.find(name);
        return found == previous.end() ? SIZE_MAX : found->second;
    };
    const auto nameLess = [](const wchar_t* a, const wchar_t* b) { return CompareFileNames(a, -1, b, -1) < 0; };
    std::set<const wchar_t*, decltype(nameLess)> taken(nameLess);

    std::vector<t_entry> entries;
    std::vector<bool> stale;
    entries.reserve(listing.size());
    m_lastReads = 0;
    const t_path root(folder);
    // While the names match the previous entries place by place, they hold no two equal
    // but for case; from the first other name on, every name is checked.
    bool checking = false;
    for (size_t at = 0; at < listing.size(); ++at) {
        t_listedFile& file = listing[at];
        if (file.IsFolder())
            continue;
        const size_t index = entries.size();
        if (!checking && !(index < m_entries.size() && m_entries[index].name.Equals(file.name.c_str()))) {
            checking = true;
            for (size_t before = 0; before < at; ++before) {
                if (!listing[before].IsFolder())
                    taken.insert(listing[before].name.c_str());
            }
        }
        // A second name equal but for case is refused, as AddFile refuses it.
        if (checking && !taken.insert(file.name.c_str()).second)
            continue;
        t_entry entry;
        bool same = false;
        const size_t oldIndex = findPrevious(index, file.name);
        t_entry* before = oldIndex != SIZE_MAX ? &m_entries[oldIndex] : nullptr;
        const auto seed = m_seeds.find(file.name);
        if (const t_given* bytes = FindGiven(given, givenCount, file.name.c_str())) {
            same = before && before->given && SameBytes(before->data, bytes->data, bytes->size);
            if (same)
                entry.data.swap(before->data);
            else
                entry.data.assign(bytes->data, bytes->data + bytes->size);
            entry.given = true;
        } else if (before && !before->given && before->size == file.size && before->written == file.written) {
            entry.data.swap(before->data);
            same = true;
        } else if (seed != m_seeds.end() && seed->second.size == file.size) {
            entry.data.swap(seed->second.data);
        } else {
            t_path path(root);
            path.AppendPart(file.name.c_str());
            if (!ReadWholeFile(path.c_str(), entry.data, c_varMaxImage - 4))
                continue;
            ++m_lastReads;
        }
        // An entry whose bytes, name or place changed, or whose image was not built since
        // it last changed, is stale.
        same = same && oldIndex == index && before->name.Equals(file.name.c_str()) && oldIndex < m_stale.size() &&
               !m_stale[oldIndex];
        stale.push_back(!same);
        entry.name = file.name;
        entry.size = file.size;
        entry.written = file.written;
        entries.push_back(std::move(entry));
    }
    if (entries.size() != m_entries.size())
        stale.assign(entries.size(), true);
    m_entries.swap(entries);
    m_stale.swap(stale);
    m_seeds.clear();
}

void t_skinPackCopy::Unwritten(size_t from, size_t to)
{
    if (!m_unwritten.empty() && m_unwritten.back().second == from)
        m_unwritten.back().second = to;
    else
        m_unwritten.emplace_back(from, to);
}

void t_skinPackCopy::BuildImage()
{
    const size_t n = m_entries.size();
    // The image is current when it was built for as many entries and none changed since.
    if (!m_image.empty() && m_offsets.size() == n && std::find(m_stale.begin(), m_stale.end(), true) == m_stale.end())
        return;
    uint64_t total = n ? c_listHead + 4 * uint64_t(n) : 4;
    for (const t_entry& entry : m_entries)
        total += EntryImageSize(entry);
    if (total > c_varMaxImage - c_headerSize) {
        m_image.clear();
        m_offsets.clear();
        return;
    }
    // A change in the entry count moves every entry.
    if (m_offsets.size() != n || m_stale.size() != n) {
        m_offsets.assign(n, 0);
        m_stale.assign(n, true);
    }
    m_image.resize(size_t(total) + c_headerSize);
    unsigned char* out = m_image.data();
    WriteHeader(out, t_skinPack::c_formatPlain);
    unsigned char* list = out + c_headerSize;
    if (n == 0) {
        VarWriteU32(list, 0);
        Unwritten(0, m_image.size());
        return;
    }
    uint32_t position = c_listHead + 4 * uint32_t(n);
    for (size_t i = 0; i < n; ++i) {
        const t_entry& entry = m_entries[i];
        const uint32_t size = EntryImageSize(entry);
        if (m_stale[i] || m_offsets[i] != position) {
            unsigned char* at = list + position;
            const uint32_t nameBytes = uint32_t(entry.name.Length()) * 2;
            VarWriteU32(at, nameBytes);
            memcpy(at + 4, entry.name.c_str(), nameBytes);
            VarWriteU32(at + 4 + nameBytes, uint32_t(entry.data.size()));
            if (!entry.data.empty())
                memcpy(at + 8 + nameBytes, entry.data.data(), entry.data.size());
            m_offsets[i] = position;
            m_stale[i] = false;
            Unwritten(c_headerSize + size_t(position), c_headerSize + size_t(position) + size);
        }
        position += size;
    }
    VarWriteU32(list, position);
    VarWriteU32(list + 4, 4 * uint32_t(n));
    for (size_t i = 0; i < n; ++i)
        VarWriteU32(list + c_listHead + 4 * i, m_offsets[i]);
}

const std::vector<uint8_t>& t_skinPackCopy::Image()
{
    BuildImage();
    return m_image;
}

bool t_skinPackCopy::Write(t_errorChain& errors, const wchar_t* path)
{
    const std::vector<uint8_t>& image = Image();
    uint64_t size = 0, written = 0;
    const bool patch = !image.empty() && path && !m_writtenPath.IsEmpty() && m_writtenPath.Equals(path) &&
                       GetFileStamp(path, size, written) && size == m_writtenSize && written == m_writtenTime;
    // The file already holds the image.
    if (patch && m_unwritten.empty())
        return true;
    m_writtenPath.Clear();
    bool ok = false;
    if (!image.empty()) {
        t_privateFileWrite file;
        if (patch) {
            // The header and the offset table, then each changed range; the file then ends
            // where the image ends, wherever the last write stopped.
            const size_t head = std::min(c_headerSize + c_listHead + 4 * m_entries.size(), image.size());
            ok = file.Open(errors, path, t_privateFileWrite::e_existing) &&
                 file.Write(errors, image.data(), uint32_t(head));
            for (const auto& range : m_unwritten) {
                const size_t from = std::max(range.first, head);
                const size_t to = std::min(range.second, image.size());
                if (!ok || from >= to)
                    continue;
                LARGE_INTEGER at;
                at.QuadPart = LONGLONG(from);
                ok = SetFilePointerEx(file.Handle(), at, nullptr, FILE_BEGIN) &&
                     file.Write(errors, image.data() + from, uint32_t(to - from));
            }
            LARGE_INTEGER end;
            end.QuadPart = LONGLONG(image.size());
            ok = ok && SetFilePointerEx(file.Handle(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.Handle());
        } else {
            ok = file.Open(errors, path, t_privateFileWrite::e_create) &&
                 file.Write(errors, image.data(), uint32_t(image.size()));
        }
        file.Close();
    }
    if (!ok) {
        errors.AddText(L"皮肤打包文件导出失败");
        return false;
    }
    if (GetFileStamp(path, m_writtenSize, m_writtenTime) && m_writtenSize == image.size())
        m_writtenPath.Assign(path);
    m_unwritten.clear();
    return true;
}
