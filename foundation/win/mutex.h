#pragma once

#include <windows.h>

#include "foundation/core/error_chain.h"

// A Win32 kernel mutex named in the "Local\" namespace, shared with the input method's
// other processes on the same desktop. Named mutexes are opened first and created only
// when missing, with the shared low-integrity security attributes, so that low-integrity
// and app-container processes can open them too.
class t_mutex {
public:
    // Room for a normalised name and its terminator.
    static const int c_nameCapacity = 260;

    // kind only tells the program's objects apart in a debugger; no operation reads it.
    explicit t_mutex(int kind = 0);
    virtual ~t_mutex();

    // Opens or creates the mutex; null creates an unnamed one. True when a handle is
    // already held.
    virtual bool Create(t_errorChain& errors, const wchar_t* name);
    virtual void Close();
    virtual bool IsCreated() const;
    // Blocks until the mutex is owned; a mutex abandoned by a dead holder counts as owned.
    virtual bool Wait(t_errorChain& errors);
    virtual void Release();

    const wchar_t* Name() const { return m_name; }
    HANDLE Handle() const { return m_handle; }
    int Kind() const { return m_kind; }

    // Puts "Local\" in front of a name unless it is there (one doubled prefix is
    // dropped). False when the result does not fit in the name field.
    static bool NormaliseName(const wchar_t* name, wchar_t (&out)[c_nameCapacity]);

    class t_locker;

    t_mutex(const t_mutex&) = delete;
    t_mutex& operator=(const t_mutex&) = delete;

protected:
    // Normalises name into m_name (null keeps it); adds an error line when it is too long.
    bool SetNormalisedName(t_errorChain& errors, const wchar_t* name);

    HANDLE m_handle;
    wchar_t m_name[c_nameCapacity];
    int m_kind;
};

// Waits on a created mutex; an uncreated one is an error.
bool Lock(t_errorChain& errors, t_mutex& mutex);
void Unlock(t_mutex& mutex);

// Holds one mutex from a successful Lock until Unlock or destruction.
class t_mutex::t_locker {
public:
    t_locker() : m_held(nullptr) {}
    virtual ~t_locker() { Unlock(); }

    // Locking a second mutex releases the one held before.
    bool Lock(t_errorChain& errors, t_mutex& mutex);
    void Unlock();
    t_mutex* Held() const { return m_held; }

    t_locker(const t_locker&) = delete;
    t_locker& operator=(const t_locker&) = delete;

private:
    t_mutex* m_held;
};

// The t_mutex interface over a process-local critical section. The kernel handle of the
// base stays null; the initialised flag stands for "created".
class t_criticalSection : public t_mutex {
public:
    explicit t_criticalSection(int kind = 0);
    ~t_criticalSection() override;

    bool Create(t_errorChain& errors, const wchar_t* name) override;
    void Close() override;
    bool IsCreated() const override;
    bool Wait(t_errorChain& errors) override;
    void Release() override;

private:
    CRITICAL_SECTION m_section;
    bool m_initialised;
};

// A critical section that creates itself at construction. A failure is dropped: the
// object stays uncreated and Lock on it fails.
class t_csAutoInit : public t_criticalSection {
public:
    t_csAutoInit(int kind, const wchar_t* name);
};
