// User files: the accounts file "acc.dat" and each user's "user.dat". A user file is a
// small AES-128-CBC container with a random IV: IV block, enciphered header block
// ("User", payload length mod 16, digest flag), optionally the enciphered MD5 of the
// payload, then the zero-padded, enciphered payload. Subclasses turn the payload into
// typed records and back.
#pragma once

#include <cstdint>

#include "foundation/core/error_chain.h"
#include "foundation/core/heap.h"
#include "foundation/core/str.h"
#include "foundation/records/var_base.h"
#include "foundation/records/var_simple.h"
#include "foundation/win/shared_versions.h"

// What the current user's data file asks of whoever keeps the accounts: which user is
// current and where that user's "user.dat" lies. The user manager answers it.
class i_userLocator {
public:
    // The current user id; false (with a message) when it is invalid.
    virtual bool GetCheckedCurrentUserId(t_errorChain& errors, int& id) = 0;
    virtual bool GetUserDataPath(t_str& out, int userId) const = 0;

protected:
    ~i_userLocator() = default;
};

class UserFile {
public:
    static const int c_keySize = 16;

    explicit UserFile(bool digest);
    virtual ~UserFile();
    UserFile(const UserFile&) = delete;
    UserFile& operator=(const UserFile&) = delete;

    // Reads, deciphers and parses the file; a failure leaves the records cleared. With
    // lock, the user data mutex is held meanwhile.
    virtual bool Load(t_errorChain& errors, bool lock);
    // Builds the payload from the records and replaces the file safely.
    virtual bool Save(t_errorChain& errors, bool lock);

    // The container for n payload bytes; with null out only its size. -1 when out is too
    // small or n too large.
    int Encode(unsigned char* out, uint32_t outSize, const unsigned char* payload, uint32_t n) const;
    // The payload of a container: with null out an upper bound of its length, else the
    // deciphered payload (out needs the bound's bytes) and its length. -1 for a container
    // that is too short, under another key, damaged or with another digest setting.
    int Decode(unsigned char* out, uint32_t outSize, const unsigned char* container, uint32_t size) const;

    // Replaces the payload by a copy. False when memory runs out.
    bool SetPayload(const void* data, uint32_t n);
    const unsigned char* GetPayload(uint32_t* n) const;

    void SetPath(const wchar_t* path) { m_path.Assign(path ? path : L""); }
    const t_str& Path() const { return m_path; }
    void SetKey(const unsigned char key[c_keySize]);
    bool HasDigest() const { return m_digest; }
    // After a failed Load: true when the file is missing or its content is damaged, false
    // when an existing file could not be read (the content may well be sound).
    bool WasDamaged() const { return m_damaged; }

protected:
    // Makes the payload from the records; the base keeps the payload as it is.
    virtual bool BuildPayload() { return true; }
    // Reads the records from the payload; the base accepts anything.
    virtual bool ParsePayload() { return true; }
    virtual void ClearRecords() {}
    void FreePayload();
    // Takes payload (n bytes) as the new payload when built is true; frees it otherwise.
    // Returns built.
    bool AdoptPayload(unsigned char* payload, uint32_t n, bool built);
    // Load without the lock after another process saved, under the user data mutex;
    // fails with notReady when this file was never set up.
    bool ReloadLocked(t_errorChain& errors, bool ready, const wchar_t* notReady);
    bool LoadCore(t_errorChain& errors);
    bool SaveCore(t_errorChain& errors);

    t_str m_path;
    unsigned char m_key[c_keySize];
    unsigned char* m_payload;
    uint32_t m_payloadLength;
    bool m_digest;
    bool m_active;
    bool m_damaged;
};

// One account: user id, the key of the user's "user.dat" and two texts kept unchanged.
class VarUserAcc {
public:
    int Deserialize(const unsigned char* in, uint32_t available, t_heap* heap);
    int Serialize(unsigned char* out);

    VarSimple<int> userId;
    VarSimpleArray<unsigned char, UserFile::c_keySize> key;
    VarStringW name;
    VarStringW text;
};

// "acc.dat": the account list and the current user id; follows counter 0.
class UserAccFile : public UserFile, public t_versionedData {
public:
    static const unsigned c_counter = 0;

    UserAccFile();
    ~UserAccFile() override;

    bool Load(t_errorChain& errors, bool lock) override;
    // Saves and tells the other processes through counter 0.
    bool Save(t_errorChain& errors, bool lock) override;
    // Reloads after another process saved; fails unless loaded.
    bool Reload(t_errorChain& errors, DWORD newVersion, void* argument) override;

    bool IsLoaded() const { return m_loaded; }
    int GetCurrentUserId() const { return m_currentUserId.Get(); }
    void SetCurrentUserId(int id) { m_currentUserId.Set(id); }
    int Count() const { return m_accounts.Count(); }
    // Index of the account of userId, -1 when it is not listed.
    int FindUser(int userId) const;
    // Copies the account at index (texts stay in this file's arena until the next load).
    bool GetAccount(int index, VarUserAcc& out) const;
    bool RemoveAt(int index) { return m_accounts.RemoveAt(index); }
    // Lists a new account (texts copied); false when the id is listed or memory runs out.
    bool AddAccount(int userId, const unsigned char key[c_keySize], const wchar_t* name, const wchar_t* text);

protected:
    bool BuildPayload() override;
    bool ParsePayload() override;
    void ClearRecords() override;

private:
    VarSimple<int> m_reserved;
    VarSimple<int> m_currentUserId;
    VarComplexDynArray<VarUserAcc> m_accounts;
    t_heap m_heap;
    bool m_loaded;
};

// "user.dat": seventeen values, index 0 to 16. Written in format 2 (a table of
// {index, offset} pairs, then the values); formats 1 and 2 are read.
class UserDataFile : public UserFile {
public:
    static const int c_valueCount = 17;

    UserDataFile();
    ~UserDataFile() override;

    // The record of value index (0..16), null outside that range.
    VarBase* Value(int index);
    bool GetBool(int index) const;
    int GetInt(int index) const;  // for the int and unsigned values
    void SetBool(int index, bool value);
    void SetInt(int index, int value);
    // The 16-byte blocks (2, 4) and byte arrays (3, 13).
    const unsigned char* GetBytes(int index, uint32_t* count) const;
    bool SetBytes(int index, const unsigned char* data, uint32_t count);

protected:
    bool BuildPayload() override;
    bool ParsePayload() override;
    void ClearRecords() override;

private:
    VarBase* ValueAt(int index) const;

    VarSimple<bool> m_v0, m_v1;
    VarSimpleArray<unsigned char, 16> m_v2;
    VarSimpleDynArray<unsigned char> m_v3;
    VarSimpleArray<unsigned char, 16> m_v4;
    VarSimple<unsigned int> m_v5, m_v6, m_v7;
    VarSimple<int> m_v8;
    VarSimple<unsigned int> m_v9;
    VarSimple<int> m_v10, m_v11, m_v12;
    VarSimpleDynArray<unsigned char> m_v13;
    VarSimple<int> m_v14, m_v15, m_v16;
    t_heap m_heap;
};

// The current user's "user.dat"; follows counter 1. Path and key come from the current
// account: the common user (id 0) has no file, and loading or saving it does nothing.
class UserCurrentDataFile : public UserDataFile, public t_versionedData {
public:
    static const unsigned c_counter = 1;

    UserCurrentDataFile();

    void Link(UserAccFile* accounts, i_userLocator* users);
    void SetActive(bool active) { m_active = active; }

    bool Load(t_errorChain& errors, bool lock) override;
    bool Save(t_errorChain& errors, bool lock) override;
    bool Reload(t_errorChain& errors, DWORD newVersion, void* argument) override;

    // -1 when the user cannot be resolved, 0 for the common user, else the user id
    // (path and key are then set).
    int ResolveUser(t_errorChain& errors);

private:
    UserAccFile* m_accounts;
    i_userLocator* m_users;
};

// The user data mutex "Local\vired_user_lock", opened on first use.
bool LockUserData(t_errorChain& errors, t_mutex::t_locker& locker);
