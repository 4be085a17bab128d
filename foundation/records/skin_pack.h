// The packed skin container: a set of named files kept in one arena, and the file that
// stores such a set: "Skin", a format number, then the list image either plain (format 1)
// or zlib-compressed and AES-256-CBC enciphered (format 3).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/crypto/block_cipher.h"
#include "foundation/files/bulk_read.h"
#include "foundation/core/byte_buffer.h"
#include "foundation/core/error_chain.h"
#include "foundation/core/heap.h"
#include "foundation/core/str.h"
#include "foundation/records/var_base.h"
#include "foundation/records/var_file.h"

// The process-wide cipher of packed skins: the fixed text key and IV, no random first
// block, so that one list always enciphers to the same bytes.
class t_skinFileCipher {
public:
    t_skinFileCipher();
    // The singleton "t_skinFileCipher"; null only when memory runs out.
    static t_skinFileCipher* Instance();
    const t_blockCipher& Cipher() const { return m_cipher; }
    bool IsReady() const { return m_ready; }

private:
    t_blockCipher m_cipher;
    bool m_ready;
};

class t_skinPack {
public:
    static const uint32_t c_formatPlain = 1;
    static const uint32_t c_formatPacked = 3;
    static const unsigned c_heapBlock = 0x1fff8;

    t_skinPack();
    ~t_skinPack();
    t_skinPack(const t_skinPack&) = delete;
    t_skinPack& operator=(const t_skinPack&) = delete;

    // Empties the list and frees every arena block: entry pointers taken before die.
    void Clear();
    uint32_t GetVersion() const { return m_version; }
    int Count() const { return m_list.Count(); }
    t_varFile* At(int index) const { return m_list.At(index); }

    // First entry whose name equals name without regard to case (as Windows compares file
    // names); null and false when none.
    bool Find(const wchar_t* name, t_varFile** entry) const;
    // Removes the first entry of that name; later entries move down. Frees nothing.
    bool Remove(const wchar_t* name);
    // Copies the entry (name and bytes) into the arena and appends it. False when an
    // entry of that name is already present (nothing changes) or memory runs out.
    bool AddFile(const t_varFile& entry);
    // Adds a file from disk under its file name.
    bool AddFromDisk(const wchar_t* path);
    // Replaces the pack with the files directly inside folder (sub-folders are not
    // entered; unreadable files are skipped). False, pack unchanged, when folder is not
    // a directory; false when it cannot be listed.
    bool AddFolder(const wchar_t* folder);
    // Writes every entry into folder. Entries whose names are no plain name are refused
    // (IsPlainName). True when every entry was written; a failure does not stop the others.
    // Each refused entry and each failed write gets a line naming it and why.
    bool ExtractTo(t_errorChain& errors, const wchar_t* folder);
    // Whether every entry may be extracted (IsPlainName); ExtractTo skips any other entry.
    bool HasOnlyPlainNames() const;
    // The first entry that is no plain name, or null.
    const wchar_t* FirstNameNotPlain() const;
    // A plain name is exactly a name Windows can create in a folder (CheckFileName: no
    // separator, drive, < > : " | ? * or control character, trailing blank or dot, device
    // name) that does not begin with '.', which the path rules would append to the folder
    // text, writing a sibling of the folder.
    static bool IsPlainName(const wchar_t* name);
    // "皮肤文件名无效(<why>)：<name>" onto line.
    static t_str& AppendNameRefusal(t_str& line, const wchar_t* name);

    // The format-1 image ("Skin", 1, list image); null out only measures. -1 when the
    // list cannot be written.
    int Serialize(unsigned char* out);
    // Clears the pack and reads a container image of either format. Bytes consumed or -1.
    int Deserialize(const unsigned char* in, uint32_t length);

    // Format-3 image of a format-1 image of *length bytes, built in out; *length becomes
    // its size. Null on bad input or a zlib or cipher failure.
    unsigned char* Pack(uint32_t* length, t_byteBuffer& out, const unsigned char* image);
    // The format-1 image of a container image: the input itself for format 1, else built
    // in out. Sets the version field from the header as soon as the magic is seen. Null
    // for a refused format or damaged data.
    unsigned char* Unpack(uint32_t* length, t_byteBuffer& out, const unsigned char* image);

    // Whether path is an existing file that begins with the container magic "Skin", read
    // from its first bytes without loading the file. format (when given) receives the
    // header's format number, 0 when the file ends before it.
    static bool ProbeHeader(const wchar_t* path, uint32_t* format);

    // Reads a container file; on failure the pack is empty and the chain ends with
    // "皮肤打包文件导入失败".
    bool Import(t_errorChain& errors, const wchar_t* path);
    // Writes the pack as a container file, format 3 when pack is set, else format 1;
    // on failure the chain ends with "皮肤打包文件导出失败".
    bool Export(t_errorChain& errors, const wchar_t* path, bool pack);

private:
    int IndexOf(const wchar_t* name) const;
    static std::wstring FoldedName(const wchar_t* name);
    void ForgetPositions();

    VarComplexDynArray<t_varFile, 100> m_list;
    t_heap m_heap;
    uint32_t m_version;
    // Where each upper-cased name stands in m_list (the first of equal names); kept up to
    // date by AddFile, rebuilt by the next look-up after any other change.
    mutable std::unordered_map<std::wstring, int> m_positions;
    mutable bool m_positionsValid = false;
};

// The plain container (format 1) of a folder's files, kept between writes: the image
// t_skinPack::AddFolder and an unpacked Export give for the folder as it stands. Each
// update lists the folder and re-reads only the files whose size or last-write time
// changed since the last one; the kept image is rebuilt from the first entry that
// changed. Meant for folders that no other process shares: files are read without the
// per-path mutex.
class t_skinPackCopy {
public:
    // Bytes that stand in for a file's content on disk.
    struct t_given {
        const wchar_t* name;
        const uint8_t* data;
        uint32_t size;
    };
    // One file as the copy holds it.
    struct t_entry {
        t_str name;
        std::vector<uint8_t> data;
        uint64_t size = 0;     // as listed
        uint64_t written = 0;  // last-write FILETIME as listed
        // Read from disk (size and time vouch for the bytes), or given to the last update
        // (the disk may hold other bytes: read again when no longer given).
        bool given = false;
    };

    t_skinPackCopy() = default;
    t_skinPackCopy(const t_skinPackCopy&) = delete;
    t_skinPackCopy& operator=(const t_skinPackCopy&) = delete;

    // Forgets every file and the image.
    void Clear();
    // A file's bytes already in memory (the unpacked archive's): taken at the next update
    // instead of reading the file, while the listing shows the same size.
    void Seed(const wchar_t* name, const uint8_t* data, uint32_t size);
    // Lists the folder and brings the files up to date, in listing order; a file named in
    // given (without regard to case) takes the given bytes. Unreadable files are left out,
    // as AddFolder leaves them. False, copy unchanged, when the folder cannot be listed.
    bool Update(const wchar_t* folder, const t_given* given = nullptr, size_t givenCount = 0);
    // The same from a listing of folder that the caller made (ListFolder); its names are
    // taken over.
    void Update(const wchar_t* folder, std::vector<t_listedFile>& listing, const t_given* given, size_t givenCount);
    // Writes the image to path; on failure the chain ends with "皮肤打包文件导出失败". When
    // the file is the one the last write left (same path, size and time), only the header,
    // the offset table and the entries that changed or moved since are written.
    bool Write(t_errorChain& errors, const wchar_t* path);
    // The container image, rebuilt where files changed; empty when it would be too large.
    const std::vector<uint8_t>& Image();

    int Count() const { return int(m_entries.size()); }
    const t_entry& At(int index) const { return m_entries[size_t(index)]; }
    // Files the last update read from disk.
    int LastReads() const { return m_lastReads; }

private:
    struct t_nameLess {
        bool operator()(const t_str& a, const t_str& b) const;
    };
    void BuildImage();

    // The image bytes [from, to) changed since the last write.
    void Unwritten(size_t from, size_t to);

    std::vector<t_entry> m_entries;
    std::map<t_str, t_entry, t_nameLess> m_seeds;
    // Where each entry's image starts in m_image, and per entry whether its bytes changed
    // since the image was built; a built image is current when no entry changed.
    std::vector<uint32_t> m_offsets;
    std::vector<bool> m_stale;
    std::vector<uint8_t> m_image;
    // Byte ranges of the image that changed since the last write, in build order.
    std::vector<std::pair<size_t, size_t>> m_unwritten;
    // The file the last write left.
    t_str m_writtenPath;
    uint64_t m_writtenSize = 0;
    uint64_t m_writtenTime = 0;
    int m_lastReads = 0;
};
