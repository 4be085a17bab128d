#include "foundation/core/perf.h"

#include <windows.h>

#include <cpuid.h>
#include <x86intrin.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

t_perfNames PerfNames = {false, nullptr, nullptr, 0};

namespace {

std::atomic<bool> g_switch{false};
std::atomic<bool> g_asked{false};
std::atomic<bool> g_answer{false};

t_perfThreadTable g_table;  // zero before any initialiser runs
std::atomic<bool> g_tableClosed{false};

const char c_biasMark[] = "()";
const int c_biasRuns = 10000;

// Reads the user's profiling switch. Kept apart so that the registry class can
// take over the reading without touching the profiler.
bool ReadEnablePerf(DWORD& value)
{
    DWORD size = sizeof(value);
    return RegGetValueW(HKEY_CURRENT_USER, L"SoftWare\\VexilInput", L"EnablePerf", RRF_RT_REG_DWORD, nullptr, &value,
                        &size) == ERROR_SUCCESS;
}

uint64_t Now() { return __rdtsc(); }

char* CopyText(const char* s)
{
    size_t n = std::strlen(s) + 1;
    char* copy = static_cast<char*>(std::malloc(n));
    if (copy)
        std::memcpy(copy, s, n);
    return copy;
}

// The per-name arrays and both graphs of one record, in one block.
bool AllocateArrays(t_perfThread* r, int n)
{
    uint64_t un = static_cast<uint64_t>(n);
    uint64_t bytes = un * 3 * sizeof(uint64_t) + un * 3 * sizeof(int) + un * un * 2 * sizeof(int);
    if (bytes > SIZE_MAX / 2)
        return false;
    unsigned char* block = static_cast<unsigned char*>(std::calloc(1, static_cast<size_t>(bytes)));
    if (!block)
        return false;
    r->selfTicks = reinterpret_cast<uint64_t*>(block);
    r->fullTicks = r->selfTicks + n;
    r->longest = r->fullTicks + n;
    r->calls = reinterpret_cast<int*>(r->longest + n);
    r->directOut = r->calls + n;
    r->allOut = r->directOut + n;
    r->direct = r->allOut + n;
    r->all = r->direct + static_cast<size_t>(n) * n;
    return true;
}

// A new record, off and at depth 0; switched on when the name registry is loaded.
t_perfThread* CreateRecord()
{
    t_perfThread* r = static_cast<t_perfThread*>(std::calloc(1, sizeof(t_perfThread)));
    if (!r)
        return nullptr;
    int n = PerfNames.loaded ? PerfNames.count : 0;
    if (n > 0 && AllocateArrays(r, n)) {
        r->n = n;
        r->on = true;
    }
    return r;
}

void FreeRecord(t_perfThread* r)
{
    if (r)
        std::free(r->selfTicks);  // the start of the arrays' block
    std::free(r);
}

t_perfThread* CurrentRecord() { return PerfThreadRecord(GetCurrentThreadId()); }

double Ms(uint64_t ticks, uint64_t f) { return static_cast<double>(ticks) * 1000.0 / static_cast<double>(f); }

double NotBelowZero(double v) { return v < 0 ? 0 : v; }

const char* NameOf(int i) { return i < PerfNames.count && PerfNames.names[i] ? PerfNames.names[i] : ""; }

// Milliseconds that 10000 empty marks cost, measured on a scratch record so
// that no thread's figures are disturbed.
double MeasureBias(uint64_t f)
{
    t_perfThread* scratch = CreateRecord();
    if (!scratch || !scratch->on) {
        FreeRecord(scratch);
        return 0;
    }
    for (int i = 0; i < c_biasRuns; ++i) {
        PerfEnter(c_biasMark, scratch);
        PerfLeaveRecord(scratch);
    }
    int slot = PerfNameIndex(c_biasMark);
    double bias = Ms(scratch->selfTicks[slot < 0 ? 0 : slot], f);
    FreeRecord(scratch);
    return bias;
}

// One call graph; rows and columns of the registry's n names, row stride of
// the record's width.
void WriteGraph(FILE* out, const char* title, const int* graph, int stride, int n)
{
    std::fprintf(out, "%s", title);
    for (int i = 1; i < n; ++i) {
        std::fprintf(out, "%s:\n", NameOf(i));
        for (int j = 1; j < n; ++j) {
            int c = graph[static_cast<size_t>(i) * stride + j];
            if (c)
                std::fprintf(out, "    %-40s:%5d\n", NameOf(j), c);
        }
    }
}

void WriteThread(FILE* out, int index, uint32_t threadId, t_perfThread* r, uint64_t f, double bias)
{
    std::fprintf(out, "\nthread(%d) id:%d\n", index, static_cast<int>(threadId));
    // The registry may have been reloaded with another size since the record
    // was made: only names both know are listed.
    int n = r->n < PerfNames.count ? r->n : PerfNames.count;
    for (int i = 1; i < n; ++i) {
        int directOut = 0, allOut = 0;
        for (int j = 0; j < r->n; ++j) {
            directOut += r->direct[static_cast<size_t>(i) * r->n + j];
            allOut += r->all[static_cast<size_t>(i) * r->n + j];
        }
        r->directOut[i] = directOut;
        r->allOut[i] = allOut;
    }
    std::fprintf(out, "%30s: %20s ms, %20s ms, %20s ms, %20s ms, %20s ms\n", " ", "     Self Time      ",
                 "     Full Time      ", "     Self Avg Time  ", "     Full Avg Time  ", "     Full Max Time  ");
    for (int i = 1; i < n; ++i) {
        int c = r->calls[i];
        double full = NotBelowZero(Ms(r->fullTicks[i], f) - bias * (c + 2.0 * r->allOut[i]) / c_biasRuns);
        double self =
            NotBelowZero(Ms(r->selfTicks[i], f) - bias * (static_cast<double>(r->directOut[i]) + c) / c_biasRuns);
        if (c > 0) {
            double longest = NotBelowZero(Ms(r->longest[i], f) - bias / c_biasRuns);
            std::fprintf(out, "%20s(%8d): %20.2lf ms, %20.2lf ms, %20.2lf ms, %20.2lf ms, %20.2lf ms\n", NameOf(i), c,
                         self, full, self / c, full / c, longest);
        } else {
            std::fprintf(out, "%20s(%8d): %20.2lf ms, %20.2lf ms, %20s   , %20s   , %20.2lf ms\n", NameOf(i), 0, self,
                         full, "not use", "not use", 0.0);
        }
    }
    WriteGraph(out, "\n\nCall Graph Direct:\n", r->direct, r->n, n);
    WriteGraph(out, "\n\nCall Graph All:\n", r->all, r->n, n);
}

// Number of entries that may hold a record.
long Taken(const t_perfThreadTable* table)
{
    long count = __atomic_load_n(&table->count, __ATOMIC_ACQUIRE);
    return count < c_perfMaxThreads ? count : c_perfMaxThreads;
}

t_perfThread* RecordAt(const t_perfThreadTable* table, long i)
{
    return __atomic_load_n(&table->entries[i].record, __ATOMIC_ACQUIRE);
}

// At exit: the report, then every record and the name registry are freed.
struct t_perfExit {
    ~t_perfExit()
    {
        PerfReport();
        g_tableClosed.store(true);
        PerfFreeTable(&g_table);
        PerfNames.Clear();
    }
};
t_perfExit g_perfExit;

}  // namespace

bool t_perfNames::Load(const char* const* source, int n, const char* path)
{
    if (loaded || n < 1 || n > c_maxNames || !source || !path)
        return false;
    char** copies = static_cast<char**>(std::calloc(static_cast<size_t>(n), sizeof(char*)));
    char* pathCopy = CopyText(path);
    bool ok = copies && pathCopy;
    for (int i = 0; ok && i < n; ++i)
        ok = (copies[i] = CopyText(source[i] ? source[i] : "")) != nullptr;
    if (!ok) {
        for (int i = 0; copies && i < n; ++i)
            std::free(copies[i]);
        std::free(copies);
        std::free(pathCopy);
        return false;
    }
    names = copies;
    reportPath = pathCopy;
    count = n;
    loaded = true;
    return true;
}

void t_perfNames::Clear()
{
    loaded = false;
    for (int i = 0; names && i < count; ++i)
        std::free(names[i]);
    std::free(names);
    std::free(reportPath);
    names = nullptr;
    reportPath = nullptr;
    count = 0;
}

void PerfSetSwitch(bool on) { g_switch.store(on, std::memory_order_relaxed); }

bool PerfEnabled()
{
    if (!g_switch.load(std::memory_order_relaxed))
        return false;
    if (!g_asked.load(std::memory_order_acquire)) {
        DWORD value = 0;
        g_answer.store(ReadEnablePerf(value) && value != 0, std::memory_order_relaxed);
        g_asked.store(true, std::memory_order_release);
    }
    return g_answer.load(std::memory_order_relaxed);
}

void PerfBegin(const char* name)
{
    if (!PerfEnabled())
        return;
    PerfEnter(name, CurrentRecord());
}

void PerfLeave()
{
    if (!PerfEnabled())
        return;
    t_perfThread* r = CurrentRecord();
    if (r && r->on)
        PerfLeaveRecord(r);
}

void PerfEnd(const char*) { PerfLeave(); }

t_perfThread* PerfThreadRecord(uint32_t threadId)
{
    if (g_tableClosed.load(std::memory_order_acquire))
        return nullptr;
    return PerfFindThread(threadId, &g_table);
}

const t_perfThreadTable& PerfThreads() { return g_table; }

t_perfThread* PerfFindThread(uint32_t threadId, t_perfThreadTable* table)
{
    long taken = Taken(table);
    for (long i = 0; i < taken; ++i) {
        t_perfThread* r = RecordAt(table, i);
        if (r && table->entries[i].threadId == threadId)
            return r;
    }
    if (taken >= c_perfMaxThreads)
        return nullptr;
    // Only this thread creates its own entry, so taking a slot is the one step
    // that must be atomic; the entry is published once complete.
    long slot = InterlockedIncrement(&table->count) - 1;
    if (slot >= c_perfMaxThreads)
        return nullptr;
    t_perfThread* r = CreateRecord();
    table->entries[slot].threadId = threadId;
    __atomic_store_n(&table->entries[slot].record, r, __ATOMIC_RELEASE);
    return r;
}

void PerfFreeTable(t_perfThreadTable* table)
{
    long taken = Taken(table);
    for (long i = 0; i < taken; ++i) {
        FreeRecord(RecordAt(table, i));
        table->entries[i].record = nullptr;
        table->entries[i].threadId = 0;
    }
    table->count = 0;
}

int PerfNameIndex(const char* name)
{
    if (!PerfNames.loaded || !name)
        return -1;
    for (int i = 0; i < PerfNames.count; ++i)
        if (std::strcmp(PerfNames.names[i], name) == 0)
            return i;
    return -1;
}

void PerfCharge(t_perfThread* r)
{
    if (r->depth == 0)
        return;
    uint64_t now = Now();
    uint64_t d = now - r->last;
    r->last = now;
    for (int level = 1; level <= r->depth; ++level) {
        r->fullTicks[r->levels[level].name] += d;
        r->levels[level].running += d;
    }
    const t_perfLevel& inner = r->levels[r->depth];
    r->selfTicks[inner.name] += d;
    if (inner.running > r->longest[inner.name])
        r->longest[inner.name] = inner.running;
}

void PerfEnter(const char* name, t_perfThread* r)
{
    if (!r || !r->on)
        return;
    if (r->depth == c_perfMaxDepth) {
        ++r->overflow;
        return;
    }
    int a = PerfNameIndex(name);
    // Absent names, and names of a registry reloaded wider than this record,
    // share slot 0.
    if (a < 0 || a >= r->n)
        a = 0;
    if (r->depth > 0) {
        PerfCharge(r);
        r->direct[static_cast<size_t>(r->levels[r->depth].name) * r->n + a] += 1;
        for (int level = 1; level <= r->depth; ++level)
            r->all[static_cast<size_t>(r->levels[level].name) * r->n + a] += 1;
    }
    ++r->depth;
    r->levels[r->depth].name = a;
    r->levels[r->depth].running = 0;
    r->calls[a] += 1;
    r->last = Now();
}

void PerfLeaveRecord(t_perfThread* r)
{
    if (!r || !r->on)
        return;
    if (r->overflow > 0) {
        --r->overflow;
        return;
    }
    PerfCharge(r);
    if (r->depth == 0)
        return;
    r->levels[r->depth].running = 0;
    --r->depth;
    if (r->depth > 0)
        r->last = Now();
}

void PerfReport() { PerfReportTable(&g_table); }

void PerfReportTable(t_perfThreadTable* table)
{
    if (!PerfNames.loaded || !PerfNames.reportPath)
        return;
    long taken = Taken(table);
    bool any = false;
    for (long i = 0; i < taken && !any; ++i)
        any = RecordAt(table, i) != nullptr;
    if (!any)
        return;
    FILE* out = std::fopen(PerfNames.reportPath, "w+");
    if (!out)
        return;
    uint64_t f = 0;
    PerfCpuFrequency(f);
    double bias = MeasureBias(f);
    std::fprintf(out, "Freq:%lld\n", static_cast<long long>(f));
    std::fprintf(out, "Bias:%20.2lfms of %d times\n", bias, c_biasRuns);
    for (long i = 0; i < taken; ++i) {
        t_perfThread* r = RecordAt(table, i);
        // A record made before the registry was loaded has nothing to show.
        if (r && r->on)
            WriteThread(out, static_cast<int>(i), table->entries[i].threadId, r, f, bias);
    }
    std::fclose(out);
}

bool PerfCpuFrequency(uint64_t& frequency)
{
    unsigned regs[4] = {0, 0, 0, 0};
    if (__get_cpuid(0x80000004, &regs[0], &regs[1], &regs[2], &regs[3])) {
        char tail[16];
        std::memcpy(tail, regs, sizeof(tail));
        if (PerfFrequencyFromBrand(tail, frequency))
            return true;
    }
    LARGE_INTEGER q;
    frequency = QueryPerformanceFrequency(&q) && q.QuadPart > 0 ? static_cast<uint64_t>(q.QuadPart) : 1;
    return true;
}

bool PerfFrequencyFromBrand(const char* tail, uint64_t& frequency)
{
    if (std::memcmp(tail + 12, "GHz", 3) != 0)
        return false;
    // The four bytes before "GHz" as a decimal number, taken exactly in units
    // of 10^-9 GHz (floating point would make 3.4 x 3906250 fall just short).
    const char* p = tail + 8;
    const char* end = tail + 12;
    while (p < end && *p == ' ')
        ++p;
    uint64_t hz = 0;
    uint64_t scale = 1000000000;
    bool digits = false, point = false;
    for (; p < end; ++p) {
        if (*p == '.' && !point) {
            point = true;
        } else if (*p >= '0' && *p <= '9') {
            digits = true;
            if (!point) {
                hz = hz * 10 + static_cast<uint64_t>(*p - '0') * 1000000000;
            } else {
                scale /= 10;
                hz += static_cast<uint64_t>(*p - '0') * scale;
            }
        } else {
            break;
        }
    }
    // g x 3906250 truncated to an integer, times 256.
    uint64_t ticks = hz / 256 * 256;
    if (!digits || ticks == 0)
        return false;
    frequency = ticks;
    return true;
}
