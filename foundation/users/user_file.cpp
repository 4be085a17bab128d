#include "foundation/users/user_file.h"

#include <cstdlib>
#include <cstring>

#include "foundation/crypto/aes.h"
#include "foundation/files/file_bak_write.h"
#include "foundation/files/file_buf.h"
#include "foundation/crypto/md5.h"
#include "foundation/files/path.h"
#include "foundation/crypto/random_bytes.h"

namespace {

const unsigned char c_userMagic[4] = {'U', 's', 'e', 'r'};
const unsigned char c_accMagic[4] = {'U', 'a', 'c', 'c'};
const unsigned char c_dataMagic[4] = {'U', 'd', 'a', 't'};
const uint32_t c_block = 16;
// Payloads stay far below this; it keeps every size computation inside int.
const uint32_t c_maxPayload = 0x7FFFFF00u - 64;
const unsigned c_heapBlock = 0x1fff8;

uint32_t RoundUp16(uint32_t n) { return (n + 15) / 16 * 16; }

// A zero-filled buffer of n bytes rounded up to whole blocks (at least one byte).
unsigned char* AllocPayload(uint32_t n)
{
    uint32_t size = RoundUp16(n);
    return static_cast<unsigned char*>(calloc(size ? size : 1, 1));
}

// A payload of n bytes that starts with magic and format; the caller fills the rest.
unsigned char* NewPayload(uint32_t n, const unsigned char magic[4], uint32_t format)
{
    unsigned char* payload = AllocPayload(n);
    if (payload) {
        memcpy(payload, magic, 4);
        VarWriteU32(payload + 4, format);
    }
    return payload;
}

// A payload long enough for magic and format, starting with magic.
bool HasMagic(const unsigned char* payload, uint32_t n, const unsigned char magic[4])
{
    return payload && n >= 8 && memcmp(payload, magic, 4) == 0;
}

t_mutex& UserDataMutex()
{
    static t_mutex mutex;
    return mutex;
}

// Holds the user data mutex for a scope when asked to.
class t_optionalLock {
public:
    bool Lock(t_errorChain& errors, bool lock) { return !lock || LockUserData(errors, m_locker); }

private:
    t_mutex::t_locker m_locker;
};

}  // namespace

bool LockUserData(t_errorChain& errors, t_mutex::t_locker& locker)
{
    t_mutex& mutex = UserDataMutex();
    return mutex.Create(errors, L"Local\\vired_user_lock") && locker.Lock(errors, mutex);
}

// ---------------------------------------------------------------------------------------
// UserFile

UserFile::UserFile(bool digest)
    : m_payload(nullptr), m_payloadLength(0), m_digest(digest), m_active(false), m_damaged(false)
{
    memset(m_key, 0, sizeof(m_key));
}

UserFile::~UserFile() { FreePayload(); }

void UserFile::SetKey(const unsigned char key[c_keySize]) { memcpy(m_key, key, c_keySize); }

void UserFile::FreePayload()
{
    free(m_payload);
    m_payload = nullptr;
    m_payloadLength = 0;
}

bool UserFile::SetPayload(const void* data, uint32_t n)
{
    if (n > c_maxPayload || (n && !data))
        return false;
    unsigned char* copy = AllocPayload(n);
    if (!copy)
        return false;
    if (n)
        memcpy(copy, data, n);
    return AdoptPayload(copy, n, true);
}

bool UserFile::AdoptPayload(unsigned char* payload, uint32_t n, bool built)
{
    if (!built) {
        free(payload);
        return false;
    }
    FreePayload();
    m_payload = payload;
    m_payloadLength = n;
    return true;
}

const unsigned char* UserFile::GetPayload(uint32_t* n) const
{
    if (n)
        *n = m_payloadLength;
    return m_payload;
}

int UserFile::Encode(unsigned char* out, uint32_t outSize, const unsigned char* payload, uint32_t n) const
{
    if (n > c_maxPayload || (n && !payload))
        return -1;
    const uint32_t padded = RoundUp16(n);
    const uint32_t size = padded + 2 * c_block + (m_digest ? c_block : 0);
    if (!out)
        return int(size);
    if (outSize < size)
        return -1;
    t_aesSchedule schedule;
    if (AesSetEncryptKey(m_key, 128, &schedule) != 0)
        return -1;
    unsigned char iv[c_block];
    RandomBytes(out, c_block);
    memcpy(iv, out, c_block);
    unsigned char* p = out + c_block;

    unsigned char header[c_block] = {};
    memcpy(header, c_userMagic, 4);
    header[4] = static_cast<unsigned char>(n % 16);
    header[5] = m_digest ? 1 : 0;
    AesCbc(header, p, c_block, &schedule, iv, c_aesEncrypt);
    p += c_block;
    if (m_digest) {
        unsigned char digest[c_block];
        Md5Buffer(digest, payload, n);
        AesCbc(digest, p, c_block, &schedule, iv, c_aesEncrypt);
        p += c_block;
    }
    if (padded) {
        // The last partial block is completed with zeros in place, then the whole
        // payload is enciphered where it lies.
        memset(p, 0, padded);
        memcpy(p, payload, n);
        AesCbc(p, p, padded, &schedule, iv, c_aesEncrypt);
    }
    return int(size);
}

int UserFile::Decode(unsigned char* out, uint32_t outSize, const unsigned char* container, uint32_t size) const
{
    const uint32_t fixed = 2 * c_block + (m_digest ? c_block : 0);
    if (!container || size <= 2 * c_block || size < fixed || size > c_maxPayload)
        return -1;
    const uint32_t provisional = size - fixed;
    if (!out)
        return int(provisional);
    // CBC works on whole blocks only.
    if (size % c_block != 0 || outSize < provisional)
        return -1;
    t_aesSchedule schedule;
    if (AesSetDecryptKey(128, m_key, &schedule) != 0)
        return -1;
    unsigned char iv[c_block];
    memcpy(iv, container, c_block);
    const unsigned char* p = container + c_block;
    unsigned char header[c_block];
    AesCbc(p, header, c_block, &schedule, iv, c_aesDecrypt);
    p += c_block;
    const uint32_t tail = header[4];
    if (memcmp(header, c_userMagic, 4) != 0 || tail > 16)
        return -1;
    // The digest setting must agree with ours, or the blocks would be read shifted.
    const bool fileDigest = (header[5] & 1) != 0;
    if (fileDigest != m_digest)
        return -1;
    unsigned char stored[c_block];
    if (fileDigest) {
        AesCbc(p, stored, c_block, &schedule, iv, c_aesDecrypt);
        p += c_block;
    }
    uint32_t n = provisional;
    if (tail != 0) {
        if (provisional < c_block)
            return -1;
        n = provisional + tail - c_block;
    }
    if (provisional && !AesCbc(p, out, provisional, &schedule, iv, c_aesDecrypt))
        return -1;
    if (m_digest) {
        unsigned char digest[c_block];
        Md5Buffer(digest, out, n);
        if (memcmp(digest, stored, c_block) != 0)
            return -1;
    }
    return int(n);
}

bool UserFile::Load(t_errorChain& errors, bool lock)
{
    t_optionalLock locker;
    if (!locker.Lock(errors, lock))
        return false;
    return LoadCore(errors);
}

bool UserFile::LoadCore(t_errorChain& errors)
{
    FreePayload();
    ClearRecords();
    m_damaged = false;

    t_fileBufRead file;
    if (!file.Load(errors, m_path.c_str())) {
        m_damaged = !t_path(m_path).IsFile();
        return errors.Fail(L"UserFile::Load 打开文件失败:%s", m_path.c_str());
    }
    m_damaged = true;
    if (file.Size() < 33)
        return errors.Fail(L"UserFile::Load 文件格式错误:%s", m_path.c_str());
    const uint32_t size = static_cast<uint32_t>(file.Size());
    unsigned char* bytes = static_cast<unsigned char*>(malloc(size));
    if (!bytes) {
        m_damaged = false;
        return errors.Fail(L"UserFile::Load 分配内存失败,大小:%d", int(size));
    }
    if (!file.Read(errors, bytes, size)) {
        free(bytes);
        m_damaged = false;
        return errors.Fail(L"UserFile::Load 文件读取失败");
    }
    const int bound = Decode(nullptr, 0, bytes, size);
    if (bound < 0) {
        free(bytes);
        return errors.Fail(L"UserFile::Load 数据格式错误:读取长度失败");
    }
    unsigned char* payload = AllocPayload(uint32_t(bound));
    if (!payload) {
        free(bytes);
        m_damaged = false;
        return errors.Fail(L"UserFile::Load 分配内存失败,大小:%d", bound);
    }
    const int n = Decode(payload, RoundUp16(uint32_t(bound)), bytes, size);
    free(bytes);
    if (n < 0) {
        free(payload);
        return errors.Fail(L"UserFile::Load 数据格式错误:文件内容损坏");
    }
    m_payload = payload;
    m_payloadLength = uint32_t(n);
    if (!ParsePayload()) {
        ClearRecords();
        return errors.Fail(L"UserFile::Load 数据格式错误:数据非法");
    }
    m_damaged = false;
    return true;
}

bool UserFile::ReloadLocked(t_errorChain& errors, bool ready, const wchar_t* notReady)
{
    t_mutex::t_locker locker;
    if (!LockUserData(errors, locker))
        return false;
    if (!ready)
        return errors.Fail(L"%s", notReady);
    return Load(errors, false);
}

bool UserFile::Save(t_errorChain& errors, bool lock)
{
    t_optionalLock locker;
    if (!locker.Lock(errors, lock))
        return false;
    return SaveCore(errors);
}

bool UserFile::SaveCore(t_errorChain& errors)
{
    if (!BuildPayload())
        return errors.Fail(L"UserFile::Save 数据格式错误");
    const int size = Encode(nullptr, 0, m_payload, m_payloadLength);
    if (size < 0)
        return errors.Fail(L"UserFile::Save 文件大小计算错误");
    unsigned char* bytes = static_cast<unsigned char*>(malloc(uint32_t(size)));
    if (!bytes || Encode(bytes, uint32_t(size), m_payload, m_payloadLength) != size) {
        free(bytes);
        return errors.Fail(L"UserFile::Save 数据格式错误");
    }
    t_fileBakWrite writer;
    const bool written = writer.Write(errors, bytes, uint32_t(size));
    free(bytes);
    if (!written)
        return errors.Fail(L"UserFile::Save 写入文件错误");
    if (!writer.Save(errors, m_path.c_str()))
        return errors.Fail(L"UserFile::Save 文件无法打开:%s", m_path.c_str());
    t_path::ApplyLowLabel(m_path.c_str());
    return true;
}

// ---------------------------------------------------------------------------------------
// VarUserAcc

int VarUserAcc::Deserialize(const unsigned char* in, uint32_t available, t_heap* heap)
{
    if (!in || !heap)
        return 0;
    uint32_t used = 0;
    VarBase* parts[] = {&userId, &key, &name, &text};
    for (VarBase* part : parts) {
        int n = part->Deserialize(in + used, available - used, heap);
        if (n <= 0)
            return -1;
        used += uint32_t(n);
    }
    return int(used);
}

int VarUserAcc::Serialize(unsigned char* out)
{
    uint64_t used = 0;
    VarBase* parts[] = {&userId, &key, &name, &text};
    for (VarBase* part : parts) {
        int n = part->Serialize(out ? out + used : nullptr);
        if (n < 0)
            return -1;
        used += uint32_t(n);
    }
    return used > c_varMaxImage ? -1 : int(used);
}

// ---------------------------------------------------------------------------------------
// UserAccFile

UserAccFile::UserAccFile()
    : UserFile(true), t_versionedData(c_counter), m_currentUserId(-1), m_heap(c_heapBlock), m_loaded(false)
{
    m_accounts.SetHeap(&m_heap);
}

UserAccFile::~UserAccFile() { m_heap.FreeAll(); }

bool UserAccFile::Load(t_errorChain& errors, bool lock)
{
    m_loaded = UserFile::Load(errors, lock);
    return m_loaded;
}

bool UserAccFile::Save(t_errorChain& errors, bool lock)
{
    if (!UserFile::Save(errors, lock))
        return false;
    Touch();
    return true;
}

bool UserAccFile::Reload(t_errorChain& errors, DWORD /*newVersion*/, void* /*argument*/)
{
    return ReloadLocked(errors, m_loaded, L"UserAccFile::UpdateVersion 未初始化");
}

int UserAccFile::FindUser(int userId) const
{
    for (int i = 0; i < m_accounts.Count(); ++i)
        if (m_accounts.At(i)->userId.Get() == userId)
            return i;
    return -1;
}

bool UserAccFile::GetAccount(int index, VarUserAcc& out) const
{
    if (index < 0 || index >= m_accounts.Count())
        return false;
    const VarUserAcc* account = m_accounts.At(index);
    out.userId.Set(account->userId.Get());
    out.key.Set(account->key.Data());
    out.name.Set(account->name.Text(), nullptr);
    out.text.Set(account->text.Text(), nullptr);
    return true;
}

bool UserAccFile::AddAccount(int userId, const unsigned char key[c_keySize], const wchar_t* name, const wchar_t* text)
{
    if (FindUser(userId) >= 0 || !key)
        return false;
    void* place = VarHeapAlloc(&m_heap, sizeof(VarUserAcc), alignof(VarUserAcc));
    if (!place)
        return false;
    VarUserAcc* account = new (place) VarUserAcc();
    account->userId.Set(userId);
    account->key.Set(key);
    account->name.Set(name, &m_heap);
    account->text.Set(text, &m_heap);
    if ((name && !account->name.Text()) || (text && !account->text.Text()))
        return false;
    return m_accounts.Append(account, &m_heap);
}

bool UserAccFile::BuildPayload()
{
    m_accounts.SetHeap(&m_heap);
    const int listSize = m_accounts.Serialize(nullptr);
    if (listSize < 0 || uint32_t(listSize) > c_maxPayload - 16)
        return false;
    const uint32_t n = 16 + uint32_t(listSize);
    unsigned char* payload = NewPayload(n, c_accMagic, 1);
    if (!payload)
        return false;
    m_reserved.Serialize(payload + 8);
    m_currentUserId.Serialize(payload + 12);
    return AdoptPayload(payload, n, m_accounts.Serialize(payload + 16) == listSize);
}

bool UserAccFile::ParsePayload()
{
    const unsigned char* p = m_payload;
    const uint32_t n = m_payloadLength;
    if (!HasMagic(p, n, c_accMagic))
        return false;
    uint32_t used = 8;
    int a = m_reserved.Deserialize(p + used, n - used, &m_heap);
    if (a > 0)
        used += uint32_t(a);
    int b = a > 0 ? m_currentUserId.Deserialize(p + used, n - used, &m_heap) : -1;
    if (b > 0)
        used += uint32_t(b);
    int c = b > 0 ? m_accounts.Deserialize(p + used, n - used, &m_heap) : -1;
    if (c <= 0) {
        ClearRecords();
        return false;
    }
    return true;
}

void UserAccFile::ClearRecords()
{
    m_accounts.Reset();
    m_heap.FreeAll();
    m_accounts.SetHeap(&m_heap);
    m_reserved.Clear();
    m_currentUserId.Set(-1);
}

// ---------------------------------------------------------------------------------------
// UserDataFile

UserDataFile::UserDataFile() : UserFile(true), m_heap(c_heapBlock) {}

UserDataFile::~UserDataFile() { m_heap.FreeAll(); }

VarBase* UserDataFile::ValueAt(int index) const
{
    UserDataFile* self = const_cast<UserDataFile*>(this);
    VarBase* values[c_valueCount] = {&self->m_v0,  &self->m_v1,  &self->m_v2,  &self->m_v3,  &self->m_v4,  &self->m_v5,
                                     &self->m_v6,  &self->m_v7,  &self->m_v8,  &self->m_v9,  &self->m_v10, &self->m_v11,
                                     &self->m_v12, &self->m_v13, &self->m_v14, &self->m_v15, &self->m_v16};
    return index >= 0 && index < c_valueCount ? values[index] : nullptr;
}

VarBase* UserDataFile::Value(int index) { return ValueAt(index); }

bool UserDataFile::GetBool(int index) const
{
    if (index == 0)
        return m_v0.Get();
    if (index == 1)
        return m_v1.Get();
    return false;
}

void UserDataFile::SetBool(int index, bool value)
{
    if (index == 0)
        m_v0.Set(value);
    else if (index == 1)
        m_v1.Set(value);
}

int UserDataFile::GetInt(int index) const
{
    switch (index) {
    case 5:
        return int(m_v5.Get());
    case 6:
        return int(m_v6.Get());
    case 7:
        return int(m_v7.Get());
    case 8:
        return m_v8.Get();
    case 9:
        return int(m_v9.Get());
    case 10:
        return m_v10.Get();
    case 11:
        return m_v11.Get();
    case 12:
        return m_v12.Get();
    case 14:
        return m_v14.Get();
    case 15:
        return m_v15.Get();
    case 16:
        return m_v16.Get();
    default:
        return 0;
    }
}

void UserDataFile::SetInt(int index, int value)
{
    switch (index) {
    case 5:
        m_v5.Set(unsigned(value));
        break;
    case 6:
        m_v6.Set(unsigned(value));
        break;
    case 7:
        m_v7.Set(unsigned(value));
        break;
    case 8:
        m_v8.Set(value);
        break;
    case 9:
        m_v9.Set(unsigned(value));
        break;
    case 10:
        m_v10.Set(value);
        break;
    case 11:
        m_v11.Set(value);
        break;
    case 12:
        m_v12.Set(value);
        break;
    case 14:
        m_v14.Set(value);
        break;
    case 15:
        m_v15.Set(value);
        break;
    case 16:
        m_v16.Set(value);
        break;
    default:
        break;
    }
}

const unsigned char* UserDataFile::GetBytes(int index, uint32_t* count) const
{
    uint32_t n = 0;
    const unsigned char* data = nullptr;
    switch (index) {
    case 2:
        data = m_v2.Data();
        n = 16;
        break;
    case 4:
        data = m_v4.Data();
        n = 16;
        break;
    case 3:
        data = m_v3.Data();
        n = m_v3.Count();
        break;
    case 13:
        data = m_v13.Data();
        n = m_v13.Count();
        break;
    default:
        break;
    }
    if (count)
        *count = n;
    return data;
}

bool UserDataFile::SetBytes(int index, const unsigned char* data, uint32_t count)
{
    switch (index) {
    case 2:
    case 4:
        if (count != 16 || !data)
            return false;
        (index == 2 ? m_v2 : m_v4).Set(data);
        return true;
    case 3:
        return m_v3.Assign(data, count, &m_heap);
    case 13:
        return m_v13.Assign(data, count, &m_heap);
    default:
        return false;
    }
}

bool UserDataFile::BuildPayload()
{
    // Format 2: "Udat", 2, the pair table, then the values; offsets count from the
    // table's first byte.
    t_heap scratch(4096);
    VarComplexDynArray<VarPairOffset> pairs;
    VarPairOffset items[c_valueCount];
    for (int i = 0; i < c_valueCount; ++i)
        if (!pairs.Append(&items[i], &scratch))
            return false;
    const int tableSize = pairs.Serialize(nullptr);
    if (tableSize < 0)
        return false;
    uint64_t offset = uint32_t(tableSize);
    for (int i = 0; i < c_valueCount; ++i) {
        const int size = ValueAt(i)->Serialize(nullptr);
        if (size < 0)
            return false;
        items[i].Set(i, int(offset));
        offset += uint32_t(size);
    }
    if (offset + 8 > c_maxPayload)
        return false;
    const uint32_t n = uint32_t(offset) + 8;
    unsigned char* payload = NewPayload(n, c_dataMagic, 2);
    if (!payload)
        return false;
    unsigned char* table = payload + 8;
    const bool ok = pairs.Serialize(table) == tableSize;
    for (int i = 0; ok && i < c_valueCount; ++i)
        ValueAt(i)->Serialize(table + items[i].Offset());
    return AdoptPayload(payload, n, ok);
}

bool UserDataFile::ParsePayload()
{
    const unsigned char* p = m_payload;
    const uint32_t n = m_payloadLength;
    if (!HasMagic(p, n, c_dataMagic))
        return false;
    const uint32_t format = VarReadU32(p + 4);
    if (format == 1) {
        // Older files may end early: the values that are present are kept.
        uint32_t used = 8;
        for (int i = 0; i < c_valueCount; ++i) {
            const int size = ValueAt(i)->Deserialize(p + used, n - used, &m_heap);
            if (size <= 0)
                break;
            used += uint32_t(size);
        }
        return true;
    }
    if (format != 2)
        return false;
    const unsigned char* table = p + 8;
    const uint32_t available = n - 8;
    VarComplexDynArray<VarPairOffset> pairs;
    if (pairs.Deserialize(table, available, &m_heap) <= 0) {
        ClearRecords();
        return false;
    }
    for (int i = 0; i < pairs.Count(); ++i) {
        const int index = pairs.At(i)->Index();
        const int offset = pairs.At(i)->Offset();
        if (index < 0 || index >= c_valueCount)
            continue;
        if (offset < 0 || uint32_t(offset) > available ||
            ValueAt(index)->Deserialize(table + offset, available - uint32_t(offset), &m_heap) <= 0) {
            ClearRecords();
            return false;
        }
    }
    return true;
}

void UserDataFile::ClearRecords()
{
    // Every value goes, not only those held in the arena: a load that fails part-way
    // must not leave values of the damaged file, or of the file loaded before, behind.
    for (int i = 0; i < c_valueCount; ++i)
        ValueAt(i)->Clear();
    m_heap.FreeAll();
    m_v1.Set(true);
}

// ---------------------------------------------------------------------------------------
// UserCurrentDataFile

UserCurrentDataFile::UserCurrentDataFile() : t_versionedData(c_counter), m_accounts(nullptr), m_users(nullptr) {}

void UserCurrentDataFile::Link(UserAccFile* accounts, i_userLocator* users)
{
    m_accounts = accounts;
    m_users = users;
}

int UserCurrentDataFile::ResolveUser(t_errorChain& errors)
{
    if (!m_accounts || !m_users)
        return -1;
    int id = 0;
    if (!m_users->GetCheckedCurrentUserId(errors, id))
        return -1;
    if (id == 0)
        return 0;
    const int index = m_accounts->FindUser(id);
    VarUserAcc account;
    t_str path;
    if (index < 0 || !m_accounts->GetAccount(index, account) || !m_users->GetUserDataPath(path, id))
        return -1;
    SetPath(path.c_str());
    SetKey(account.key.Data());
    return id;
}

bool UserCurrentDataFile::Load(t_errorChain& errors, bool lock)
{
    const int id = ResolveUser(errors);
    if (id < 0)
        return errors.Fail(L"UserCurrentDataFile::Load 用户id非法");
    if (id == 0) {
        FreePayload();
        ClearRecords();
        return true;
    }
    return UserFile::Load(errors, lock);
}

bool UserCurrentDataFile::Save(t_errorChain& errors, bool lock)
{
    const int id = ResolveUser(errors);
    if (id < 0)
        return errors.Fail(L"UserCurrentDataFile::Save 用户id非法");
    if (id == 0)
        return true;
    if (!UserFile::Save(errors, lock))
        return false;
    Touch();
    return true;
}

bool UserCurrentDataFile::Reload(t_errorChain& errors, DWORD /*newVersion*/, void* /*argument*/)
{
    return ReloadLocked(errors, m_active, L"UserCurrentDataFile::UpdateVersion 未初始化");
}
