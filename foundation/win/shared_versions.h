#pragma once

#include <windows.h>

#include "foundation/core/error_chain.h"
#include "foundation/win/mutex.h"

// A table of 255 change counters shared by every process of the input method. A process
// that saves shared data increments the data's counter; the others notice the moved
// counter at their next check and reload. Counters are read and changed only through
// interlocked operations and are at least 1 once the registry is initialised.
class t_versionReg {
public:
    static const unsigned c_counterCount = 255;
    static const DWORD c_blockSize = 1028;

    // Opens or creates the registry; run once at start-up. A second call returns at once;
    // after a failed attempt every later call fails.
    static bool Init(t_errorChain& errors);
    static bool IsOpen();
    // Increments a counter and returns its new value; 0 when the registry is not open or
    // the index is out of range.
    static DWORD Increment(unsigned index);
    // Interlocked read of a counter; 0 when not open or out of range.
    static DWORD Read(unsigned index);

    // Holds the registry's mutex "Local\vxfmPyVRMutex".
    class t_locker : public t_mutex::t_locker {
    public:
        bool Lock(t_errorChain& errors);
    };

    // An object that follows one counter and reloads itself when it moves.
    class t_interface {
    public:
        explicit t_interface(unsigned counterIndex) : m_counterIndex(counterIndex), m_seenVersion(0) {}
        virtual ~t_interface() {}

        // Reloads the object's data for the counter value newVersion.
        virtual bool Reload(t_errorChain& errors, DWORD newVersion, void* argument) = 0;

        // Reloads when the counter differs from the version seen last.
        bool CheckVersion(t_errorChain& errors, void* argument);

        unsigned CounterIndex() const { return m_counterIndex; }
        DWORD SeenVersion() const { return m_seenVersion; }

    protected:
        unsigned m_counterIndex;
        volatile LONG m_seenVersion;
    };
};

class t_versionedData : public t_versionReg::t_interface {
public:
    explicit t_versionedData(unsigned counterIndex) : t_versionReg::t_interface(counterIndex) {}

    // Tells the other processes that this object's shared data changed.
    void Touch();
    // True when the registry is not open, else whether the seen version is the counter.
    bool IsCurrent() const;
    // Takes the counter as seen (0 when the registry is not open).
    void Snapshot();
};
