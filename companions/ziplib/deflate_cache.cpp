#include "companions/ziplib/deflate_cache.h"

#include <algorithm>

namespace {

// The most deflated bytes kept; a skin beyond it is deflated afresh where it does not fit.
const size_t c_maxBytes = 96u << 20;

void Append(std::string& key, const void* data, size_t size) { key.append(static_cast<const char*>(data), size); }

// The exclusive lock held for a scope.
class t_hold {
public:
    explicit t_hold(SRWLOCK& lock) : m_lock(lock) { AcquireSRWLockExclusive(&m_lock); }
    ~t_hold() { ReleaseSRWLockExclusive(&m_lock); }
    t_hold(const t_hold&) = delete;
    t_hold& operator=(const t_hold&) = delete;

private:
    SRWLOCK& m_lock;
};

}  // namespace

t_deflateCache& t_deflateCache::Global()
{
    static t_deflateCache cache;
    return cache;
}

std::string t_deflateCache::FileKey(const std::wstring& path, uint64_t size, const FILETIME& written, int level)
{
    std::string key(1, 'f');
    key += char(level);
    Append(key, &size, sizeof size);
    Append(key, &written, sizeof written);
    Append(key, path.data(), path.size() * sizeof(wchar_t));
    return key;
}

std::string t_deflateCache::DataKey(const std::string& name, uint64_t size, uint32_t crc, uint32_t adler, int level)
{
    std::string key(1, 'd');
    key += char(level);
    Append(key, &size, sizeof size);
    Append(key, &crc, sizeof crc);
    Append(key, &adler, sizeof adler);
    key += name;
    return key;
}

uint64_t t_deflateCache::Begin()
{
    t_hold hold(m_lock);
    return ++m_packs;
}

std::shared_ptr<const t_deflated> t_deflateCache::Find(const std::string& key, uint64_t pack)
{
    t_hold hold(m_lock);
    const auto found = m_entries.find(key);
    if (found == m_entries.end())
        return nullptr;
    found->second.used = std::max(found->second.used, pack);
    return found->second.deflated;
}

void t_deflateCache::Keep(const std::string& key, std::shared_ptr<const t_deflated> deflated, uint64_t pack)
{
    const size_t size = deflated->bytes.size() + key.size();
    t_hold hold(m_lock);
    if (m_bytes + size > c_maxBytes || m_entries.count(key))
        return;
    m_entries.emplace(key, t_kept{std::move(deflated), pack});
    m_bytes += size;
}

void t_deflateCache::End(uint64_t pack)
{
    t_hold hold(m_lock);
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (it->second.used >= pack) {
            ++it;
            continue;
        }
        m_bytes -= it->second.deflated->bytes.size() + it->first.size();
        it = m_entries.erase(it);
    }
}

void t_deflateCache::Clear()
{
    t_hold hold(m_lock);
    m_entries.clear();
    m_bytes = 0;
}

size_t t_deflateCache::Count()
{
    t_hold hold(m_lock);
    return m_entries.size();
}

size_t t_deflateCache::Bytes()
{
    t_hold hold(m_lock);
    return m_bytes;
}
