// Scope profiler: per-thread time, call counts and call graph of named scopes,
// measured with the time-stamp counter and written to a text report at exit.
//
// Profiling needs the process-wide switch (set only by a host that wants it),
// the user's "EnablePerf" registry value and a loaded name registry. With the
// switch off, a scope costs one test of a byte.
#pragma once

#include <cstdint>

// Turns the process-wide profiler switch on or off (off at start).
void PerfSetSwitch(bool on);

// True when the switch is on and "EnablePerf" (read once, on the first call
// with the switch on) was non-zero.
bool PerfEnabled();

// Opens a mark named `name` on the current thread.
void PerfBegin(const char* name);
// Closes the innermost mark of the current thread (the name is not used).
void PerfEnd(const char* name);
// Closes the innermost mark of the current thread.
void PerfLeave();

// Scoped mark: enters in the constructor, leaves at scope end. Only a scope
// that entered leaves, so flipping the switch inside a scope keeps the marks
// balanced.
class PerfScope {
public:
    explicit PerfScope(const char* name) : m_name(nullptr)
    {
        if (PerfEnabled()) {
            m_name = name;
            PerfBegin(name);
        }
    }
    ~PerfScope()
    {
        if (m_name)
            PerfLeave();
    }
    PerfScope(const PerfScope&) = delete;
    PerfScope& operator=(const PerfScope&) = delete;

private:
    const char* m_name;
};

// The name registry, filled by the host before profiling starts. Index 0 is
// the slot of every name that the registry does not hold; the report lists
// indices from 1.
struct t_perfNames {
    bool loaded;
    char** names;
    char* reportPath;
    int count;

    // Copies count names (index 0 included) and the report path. False when
    // already loaded, when count is not in 1..c_maxNames or on allocation failure.
    bool Load(const char* const* names, int count, const char* reportPath);
    // Frees the names and the path; the registry is no longer loaded.
    void Clear();

    static const int c_maxNames = 4096;
};
extern t_perfNames PerfNames;

const int c_perfMaxDepth = 1000;
const int c_perfMaxThreads = 1024;

struct t_perfLevel {
    int name;
    uint64_t running;
};

struct t_perfThread {
    bool on;
    int depth;
    uint64_t last;
    // Per name (n entries each).
    uint64_t* selfTicks;
    uint64_t* fullTicks;
    uint64_t* longest;
    int* calls;
    int* directOut;  // report scratch: sum of a row of the direct graph
    int* allOut;     // report scratch: sum of a row of the all graph
    // n x n counts, row = caller, column = callee: direct calls, and calls from
    // every open level.
    int* direct;
    int* all;
    // The mark stack, levels 1..c_perfMaxDepth.
    t_perfLevel levels[c_perfMaxDepth + 1];
    // Marks entered past c_perfMaxDepth: ignored, but counted so that their
    // leaves do not pop recorded levels.
    int overflow;
    int n;
};

struct t_perfThreadEntry {
    t_perfThread* record;  // null until the entry is complete
    uint32_t threadId;
};

struct t_perfThreadTable {
    t_perfThreadEntry entries[c_perfMaxThreads];
    long count;  // entries taken, may pass c_perfMaxThreads while threads race
};

// The current process's table: created on first use, then PerfFindThread.
// Null after the table was torn down at exit.
t_perfThread* PerfThreadRecord(uint32_t threadId);
// The current process's table, for inspection.
const t_perfThreadTable& PerfThreads();
// Finds the thread's record or creates one (off unless the name registry is
// loaded); null when c_perfMaxThreads threads are recorded or memory runs out.
t_perfThread* PerfFindThread(uint32_t threadId, t_perfThreadTable* table);
// Frees every record of the table and empties it.
void PerfFreeTable(t_perfThreadTable* table);

// Index of name in the registry (exact byte comparison), -1 when absent.
int PerfNameIndex(const char* name);

void PerfEnter(const char* name, t_perfThread* record);
void PerfCharge(t_perfThread* record);
void PerfLeaveRecord(t_perfThread* record);

// Writes the report of the current process's table to PerfNames.reportPath.
void PerfReport();
// Writes the report of table to PerfNames.reportPath.
void PerfReportTable(t_perfThreadTable* table);

// Time-stamp ticks per second.
bool PerfCpuFrequency(uint64_t& frequency);

// The frequency that the last 16 bytes of the processor brand string give:
// when they end in "GHz" and a number g, g x 10^9 truncated to a multiple of
// 256. False when they name no frequency.
bool PerfFrequencyFromBrand(const char* brandTail, uint64_t& frequency);
