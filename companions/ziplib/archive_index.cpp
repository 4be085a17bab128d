#include "companions/ziplib/archive_index.h"

#include "companions/ziplib/entry_name.h"
#include "interfaces/ziplib.h"

namespace {

class t_lockHolder {
public:
    explicit t_lockHolder(CRITICAL_SECTION& lock) : m_lock(lock) { EnterCriticalSection(&m_lock); }
    ~t_lockHolder() { LeaveCriticalSection(&m_lock); }
    t_lockHolder(const t_lockHolder&) = delete;
    t_lockHolder& operator=(const t_lockHolder&) = delete;

private:
    CRITICAL_SECTION& m_lock;
};

}  // namespace

t_archiveIndexCache::t_archiveIndexCache() { InitializeCriticalSection(&m_lock); }

t_archiveIndexCache::~t_archiveIndexCache() { DeleteCriticalSection(&m_lock); }

t_archiveIndexCache& t_archiveIndexCache::Global()
{
    static t_archiveIndexCache cache;
    return cache;
}

t_archiveIndexCache::t_index* t_archiveIndexCache::Lookup(const std::wstring& archive, int& code)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(archive.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        code = ZIPLIB_E_OPEN;
        return nullptr;
    }
    const uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    const std::wstring key = n_zipName::Key(archive);
    for (auto it = m_indexes.begin(); it != m_indexes.end(); ++it) {
        if (it->key != key)
            continue;
        if (it->size == size && CompareFileTime(&it->written, &data.ftLastWriteTime) == 0) {
            m_indexes.splice(m_indexes.begin(), m_indexes, it);
            return &m_indexes.front();
        }
        // The file changed since its directory was read.
        m_indexes.erase(it);
        break;
    }

    t_zipReader reader;
    std::vector<t_zipEntry> entries;
    code = reader.Open(archive.c_str());
    if (code == ZIPLIB_OK)
        code = reader.List(entries);
    ++m_directoryReads;
    if (code != ZIPLIB_OK)
        return nullptr;
    t_index index;
    index.key = key;
    index.size = size;
    index.written = data.ftLastWriteTime;
    index.prefix = reader.Prefix();
    index.entries.reserve(entries.size());
    for (t_zipEntry& entry : entries) {
        // Names that do not decode cannot be asked for; the first of equal names wins.
        if (entry.nameDecoded && !entry.IsFolder())
            index.entries.emplace(n_zipName::Key(entry.name), std::move(entry));
    }
    m_indexes.push_front(std::move(index));
    if (m_indexes.size() > c_capacity)
        m_indexes.pop_back();
    return &m_indexes.front();
}

int t_archiveIndexCache::Prepare(const std::wstring& archive)
{
    t_lockHolder hold(m_lock);
    int code = ZIPLIB_OK;
    return Lookup(archive, code) ? ZIPLIB_OK : code;
}

int t_archiveIndexCache::Find(const std::wstring& archive, const std::wstring& entryName, t_zipEntry& out,
                              uint64_t* prefix)
{
    t_lockHolder hold(m_lock);
    int code = ZIPLIB_OK;
    t_index* index = Lookup(archive, code);
    if (!index)
        return code;
    auto found = index->entries.find(n_zipName::Key(entryName));
    if (found == index->entries.end())
        return ZIPLIB_E_ARGUMENT;
    out = found->second;
    if (prefix)
        *prefix = index->prefix;
    return ZIPLIB_OK;
}

int t_archiveIndexCache::FindEach(const std::wstring& archive, const std::vector<std::wstring>& names,
                                  std::vector<t_zipEntry>& out, std::vector<int>& codes, uint64_t& prefix)
{
    out.assign(names.size(), t_zipEntry());
    codes.assign(names.size(), ZIPLIB_E_ARGUMENT);
    t_lockHolder hold(m_lock);
    int code = ZIPLIB_OK;
    const t_index* index = Lookup(archive, code);
    if (!index)
        return code;
    for (size_t i = 0; i < names.size(); ++i) {
        auto found = index->entries.find(n_zipName::Key(names[i]));
        if (found == index->entries.end())
            continue;
        out[i] = found->second;
        codes[i] = ZIPLIB_OK;
    }
    prefix = index->prefix;
    return ZIPLIB_OK;
}

void t_archiveIndexCache::Clear()
{
    t_lockHolder hold(m_lock);
    m_indexes.clear();
}
