#include "foundation/core/perf.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/child_runner.h"

namespace {

const wchar_t c_key[] = L"SoftWare\\VexilInput";
const wchar_t c_value[] = L"EnablePerf";

// Sets "EnablePerf" for the test and puts the previous state back afterwards.
class t_enablePerfValue {
public:
    t_enablePerfValue()
    {
        DWORD size = sizeof(m_old);
        m_had =
            RegGetValueW(HKEY_CURRENT_USER, c_key, c_value, RRF_RT_REG_DWORD, nullptr, &m_old, &size) == ERROR_SUCCESS;
    }
    ~t_enablePerfValue()
    {
        if (m_had)
            Set(m_old);
        else
            RegDeleteKeyValueW(HKEY_CURRENT_USER, c_key, c_value);
    }
    static bool Set(DWORD value)
    {
        return RegSetKeyValueW(HKEY_CURRENT_USER, c_key, c_value, REG_DWORD, &value, sizeof(value)) == ERROR_SUCCESS;
    }

private:
    bool m_had = false;
    DWORD m_old = 0;
};

TEST(PerfSwitchTest, EnablePerfIsReadOnceAndOnlyWithTheSwitchOn)
{
    // Each case starts from "EnablePerf" = 0 in a fresh process.
    const wchar_t* const modes[] = {L"off", L"zero"};
    t_enablePerfValue restore;
    for (const wchar_t* mode : modes) {
        ASSERT_TRUE(t_enablePerfValue::Set(0));
        EXPECT_EQ(0, RunChild(L"perf_child.exe", mode, 60000)) << "mode " << (mode == modes[0] ? "off" : "zero");
    }
}

TEST(PerfFrequencyTest, BrandStringGivesWholeMultiplesOf256)
{
    struct t_case {
        const char tail[17];
        bool found;
        uint64_t frequency;
    };
    const t_case cases[] = {
        {"0 CPU @ 3.40GHz", true, 3400000000ull},
        {"0 CPU @ 2.6 GHz", true, 2600000000ull},  // the number ends at the space
        {"0 CPU @  2.6GHz", true, 2600000000ull},
        {"0 CPU @ 3.41GHz", true, 3409999872ull},  // 3.41 x 3906250 = 13320312.5, truncated
        {"0 CPU @ 1000MHz", false, 0},
        {"0 CPU @ 3.40GHZ", false, 0},
        {"0 CPU @     GHz", false, 0},
        {"0 CPU @ 0.00GHz", false, 0},
        {"Core Processor ", false, 0},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(c.tail);
        uint64_t f = 42;
        EXPECT_EQ(c.found, PerfFrequencyFromBrand(c.tail, f));
        EXPECT_EQ(c.found ? c.frequency : 42, f);
    }
    uint64_t f = 0;
    EXPECT_TRUE(PerfCpuFrequency(f));
    EXPECT_GT(f, 0u);
}

// Names of the test registry; slot 0 is for every other name.
enum {
    c_other,
    c_paint,
    c_lock,
    c_load,
    c_spare,
    c_names
};
const char* const c_nameList[c_names] = {"()", "Paint", "Lock", "Load", "Spare"};

class PerfTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_value = new t_enablePerfValue;
        ASSERT_TRUE(t_enablePerfValue::Set(1));
        PerfSetSwitch(true);
        ASSERT_TRUE(PerfEnabled());
    }
    static void TearDownTestSuite()
    {
        PerfSetSwitch(false);
        delete s_value;
    }
    void SetUp() override
    {
        PerfNames.Clear();
        ASSERT_TRUE(PerfNames.Load(c_nameList, c_names, ReportPath().c_str()));
        m_table.reset(new t_perfThreadTable());
    }
    void TearDown() override
    {
        PerfFreeTable(m_table.get());
        // Nothing to report at exit.
        PerfNames.Clear();
        std::remove(ReportPath().c_str());
    }
    static std::string ReportPath()
    {
        char dir[MAX_PATH];
        GetTempPathA(MAX_PATH, dir);
        return std::string(dir) + "perf_test_report.txt";
    }
    t_perfThread* Record(uint32_t id) { return PerfFindThread(id, m_table.get()); }
    static int Cell(const int* graph, const t_perfThread* r, int from, int to) { return graph[from * r->n + to]; }

    std::unique_ptr<t_perfThreadTable> m_table;
    static t_enablePerfValue* s_value;
};
t_enablePerfValue* PerfTest::s_value = nullptr;

TEST_F(PerfTest, NestedMarksCountCallsAndBothCallGraphs)
{
    t_perfThread* r = Record(1);
    ASSERT_NE(nullptr, r);
    ASSERT_TRUE(r->on);
    ASSERT_EQ(c_names, r->n);
    // Paint { Lock { Load } Lock Unknown { Load } }
    PerfEnter("Paint", r);
    PerfEnter("Lock", r);
    PerfEnter("Load", r);
    Sleep(5);
    PerfLeaveRecord(r);
    PerfLeaveRecord(r);
    PerfEnter("Lock", r);
    PerfLeaveRecord(r);
    PerfEnter("NotRegistered", r);
    EXPECT_EQ(c_other, r->levels[r->depth].name);
    PerfEnter("Load", r);
    PerfLeaveRecord(r);
    PerfLeaveRecord(r);
    PerfLeaveRecord(r);
    EXPECT_EQ(0, r->depth);

    EXPECT_EQ(1, r->calls[c_paint]);
    EXPECT_EQ(2, r->calls[c_lock]);
    EXPECT_EQ(2, r->calls[c_load]);
    EXPECT_EQ(1, r->calls[c_other]);
    EXPECT_EQ(0, r->calls[c_spare]);

    EXPECT_EQ(2, Cell(r->direct, r, c_paint, c_lock));
    EXPECT_EQ(1, Cell(r->direct, r, c_paint, c_other));
    EXPECT_EQ(0, Cell(r->direct, r, c_paint, c_load));
    EXPECT_EQ(1, Cell(r->direct, r, c_lock, c_load));
    EXPECT_EQ(1, Cell(r->direct, r, c_other, c_load));
    // The all graph counts a callee under every open level.
    EXPECT_EQ(2, Cell(r->all, r, c_paint, c_load));
    EXPECT_EQ(2, Cell(r->all, r, c_paint, c_lock));
    EXPECT_EQ(1, Cell(r->all, r, c_lock, c_load));

    // Time: each level holds its callees' time, and the longest call is one
    // call's time, not the sum.
    EXPECT_GT(r->selfTicks[c_load], 0u);
    EXPECT_GE(r->fullTicks[c_lock], r->fullTicks[c_load] / 2);
    EXPECT_GE(r->fullTicks[c_paint], r->fullTicks[c_load] + r->selfTicks[c_paint]);
    EXPECT_EQ(r->selfTicks[c_load], r->fullTicks[c_load]);
    EXPECT_LE(r->longest[c_load], r->fullTicks[c_load]);
    EXPECT_GE(r->longest[c_load] * 2, r->fullTicks[c_load]);  // one Load slept, the other did not
}

TEST_F(PerfTest, LeavesWithoutEntersKeepDepthZero)
{
    t_perfThread* r = Record(1);
    ASSERT_NE(nullptr, r);
    PerfLeaveRecord(r);
    EXPECT_EQ(0, r->depth);
    PerfEnter("Paint", r);
    PerfLeaveRecord(r);
    PerfLeaveRecord(r);
    PerfLeaveRecord(r);
    EXPECT_EQ(0, r->depth);
    // Still balanced afterwards.
    PerfEnter("Lock", r);
    EXPECT_EQ(1, r->depth);
    EXPECT_EQ(c_lock, r->levels[1].name);
}

TEST_F(PerfTest, MarksPastTheDeepestLevelAreIgnoredButStayBalanced)
{
    t_perfThread* r = Record(1);
    ASSERT_NE(nullptr, r);
    const int c_extra = 7;
    for (int i = 0; i < c_perfMaxDepth; ++i)
        PerfEnter("Paint", r);
    for (int i = 0; i < c_extra; ++i)
        PerfEnter("Lock", r);
    EXPECT_EQ(c_perfMaxDepth, r->depth);
    EXPECT_EQ(0, r->calls[c_lock]);
    EXPECT_EQ(c_perfMaxDepth, r->calls[c_paint]);
    // The ignored marks' leaves must not pop recorded levels.
    for (int i = 0; i < c_extra; ++i)
        PerfLeaveRecord(r);
    EXPECT_EQ(c_perfMaxDepth, r->depth);
    for (int i = 0; i < c_perfMaxDepth; ++i)
        PerfLeaveRecord(r);
    EXPECT_EQ(0, r->depth);
}

TEST_F(PerfTest, ThreadTableHoldsOneRecordPerThreadUpToItsSize)
{
    std::vector<t_perfThread*> records;
    for (uint32_t id = 1; id <= c_perfMaxThreads; ++id) {
        records.push_back(Record(id));
        ASSERT_NE(nullptr, records.back()) << id;
    }
    EXPECT_EQ(records[4], Record(5));  // found again, not created
    EXPECT_NE(records[4], records[5]);
    EXPECT_EQ(nullptr, Record(c_perfMaxThreads + 1));
    EXPECT_EQ(nullptr, Record(c_perfMaxThreads + 1));
    EXPECT_EQ(c_perfMaxThreads, m_table->count);
    // Marks of a thread without a record are ignored.
    PerfEnter("Paint", nullptr);
    PerfLeaveRecord(nullptr);
}

TEST_F(PerfTest, RecordMadeBeforeTheNamesAreLoadedStaysOff)
{
    PerfNames.Clear();
    t_perfThread* r = Record(1);
    ASSERT_NE(nullptr, r);
    EXPECT_FALSE(r->on);
    ASSERT_TRUE(PerfNames.Load(c_nameList, c_names, ReportPath().c_str()));
    EXPECT_EQ(r, Record(1));
    PerfEnter("Paint", r);
    EXPECT_EQ(0, r->depth);
    EXPECT_TRUE(Record(2)->on);
}

TEST_F(PerfTest, NameIndexIsExactAndLoadRefusesBadRegistries)
{
    struct t_case {
        const char* name;
        int index;
    };
    const t_case cases[] = {{"Paint", c_paint}, {"Spare", c_spare}, {"()", c_other}, {"paint", -1},
                            {"Pain", -1},       {"", -1},           {nullptr, -1}};
    for (const t_case& c : cases)
        EXPECT_EQ(c.index, PerfNameIndex(c.name)) << (c.name ? c.name : "null");

    EXPECT_FALSE(PerfNames.Load(c_nameList, c_names, "x"));  // already loaded
    PerfNames.Clear();
    EXPECT_EQ(-1, PerfNameIndex("Paint"));
    EXPECT_FALSE(PerfNames.Load(c_nameList, 0, "x"));
    EXPECT_FALSE(PerfNames.Load(c_nameList, t_perfNames::c_maxNames + 1, "x"));
    EXPECT_FALSE(PerfNames.Load(nullptr, 2, "x"));
}

// Marks on a thread of its own, through the public entry points.
DWORD WINAPI MarkThread(void*)
{
    PerfBegin("Paint");
    {
        PerfScope lock("Lock");
        PerfScope other("NotRegistered");
    }
    PerfEnd("Paint");
    PerfLeave();  // one leave too many
    return 0;
}

TEST_F(PerfTest, ScopesOnAThreadLandInThatThreadsRecord)
{
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, MarkThread, nullptr, 0, &id);
    ASSERT_NE(nullptr, thread);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    // The thread's record stays in the process table until exit.
    t_perfThread* r = nullptr;
    const t_perfThreadTable& table = PerfThreads();
    for (long i = 0; i < table.count && i < c_perfMaxThreads; ++i)
        if (table.entries[i].threadId == id)
            r = table.entries[i].record;
    ASSERT_NE(nullptr, r);
    EXPECT_EQ(0, r->depth);
    EXPECT_EQ(1, r->calls[c_paint]);
    EXPECT_EQ(1, r->calls[c_lock]);
    EXPECT_EQ(1, r->calls[c_other]);
    EXPECT_EQ(1, Cell(r->direct, r, c_lock, c_other));
}

std::vector<std::string> ReadLines(const std::string& path)
{
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The five figures of a name's line, in milliseconds.
bool ParseFigures(const std::string& line, double figures[5])
{
    size_t colon = line.find("): ");
    if (colon == std::string::npos)
        return false;
    return std::sscanf(line.c_str() + colon + 3, "%lf ms, %lf ms, %lf ms, %lf ms, %lf ms", &figures[0], &figures[1],
                       &figures[2], &figures[3], &figures[4]) == 5;
}

TEST_F(PerfTest, ReportListsEveryThreadsNamesAndCallGraphs)
{
    uint64_t f = 0;
    PerfCpuFrequency(f);
    t_perfThread* a = Record(4242);
    t_perfThread* b = Record(77);
    ASSERT_TRUE(a && b);
    // Thread 4242: Paint { Lock Lock Unknown }, with times set by hand.
    PerfEnter("Paint", a);
    for (const char* name : {"Lock", "Lock", "NotRegistered"}) {
        PerfEnter(name, a);
        PerfLeaveRecord(a);
    }
    PerfLeaveRecord(a);
    a->fullTicks[c_paint] = f * 3;  // 3000 ms
    a->selfTicks[c_paint] = f;      // 1000 ms
    a->longest[c_paint] = f * 3;
    a->fullTicks[c_lock] = a->selfTicks[c_lock] = f * 2;
    a->longest[c_lock] = f * 3 / 2;
    // Calls whose corrected times fall below zero.
    a->calls[c_load] = 5;
    a->fullTicks[c_load] = a->selfTicks[c_load] = a->longest[c_load] = 0;

    PerfReportTable(m_table.get());
    std::vector<std::string> lines = ReadLines(ReportPath());
    ASSERT_GE(lines.size(), 4u);

    unsigned long long freq = 0;
    EXPECT_EQ(1, std::sscanf(lines[0].c_str(), "Freq:%llu", &freq)) << lines[0];
    EXPECT_EQ(f, freq);
    double bias = -1;
    char tail[32] = {};
    EXPECT_EQ(2, std::sscanf(lines[1].c_str(), "Bias:%lfms of %31[^\n]", &bias, tail)) << lines[1];
    EXPECT_GE(bias, 0);
    EXPECT_STREQ("10000 times", tail);
    EXPECT_EQ(std::string("Bias:"), lines[1].substr(0, 5));
    EXPECT_EQ(25u, lines[1].find("ms of"));  // "%20.2lf" right after "Bias:"

    const std::string header =
        "                              :      Self Time       ms,      Full Time       ms,      Self Avg Time   ms, "
        "     Full Avg Time   ms,      Full Max Time   ms";
    const std::string spare =
        "               Spare(       0):                 0.00 ms,                 0.00 ms,              not use   ,"
        "              not use   ,                 0.00 ms";
    const std::string load =
        "                Load(       5):                 0.00 ms,                 0.00 ms,                 0.00 ms,"
        "                 0.00 ms,                 0.00 ms";
    const std::vector<std::string> expected = {
        "",
        "thread(0) id:4242",
        header,
        "@Paint(       1)",
        "@Lock(       2)",
        load,
        spare,
        "",
        "",
        "Call Graph Direct:",
        "Paint:",
        "    Lock                                    :    2",
        "Lock:",
        "Load:",
        "Spare:",
        "",
        "",
        "Call Graph All:",
        "Paint:",
        "    Lock                                    :    2",
        "Lock:",
        "Load:",
        "Spare:",
        "",
        "thread(1) id:77",
    };
    ASSERT_GE(lines.size(), 2 + expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const std::string& line = lines[2 + i];
        const std::string& want = expected[i];
        if (!want.empty() && want[0] == '@') {
            // A line with figures: name and count exactly, figures parsed.
            std::string prefix = want.substr(1);
            std::string padded = std::string(20 + 10 - prefix.size(), ' ') + prefix + ":";
            EXPECT_EQ(padded, line.substr(0, padded.size())) << "line " << 2 + i;
        } else {
            EXPECT_EQ(want, line) << "line " << 2 + i;
        }
    }
    double paint[5], lock[5];
    ASSERT_TRUE(ParseFigures(lines[5], paint)) << lines[5];
    ASSERT_TRUE(ParseFigures(lines[6], lock)) << lines[6];
    // Self, full, self average, full average, longest; the bias takes off
    // far less than a millisecond.
    const double wantPaint[5] = {1000, 3000, 1000, 3000, 3000};
    const double wantLock[5] = {2000, 2000, 1000, 1000, 1500};
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(wantPaint[i], paint[i], 0.5) << "Paint figure " << i;
        EXPECT_NEAR(wantLock[i], lock[i], 0.5) << "Lock figure " << i;
    }
    // Slot 0 (the unregistered name) is never listed.
    for (const std::string& line : lines)
        EXPECT_EQ(std::string::npos, line.find("NotRegistered"));
}

TEST_F(PerfTest, NoReportWithoutRecordsOrNames)
{
    PerfReportTable(m_table.get());  // no record yet
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(ReportPath().c_str()));
    ASSERT_NE(nullptr, Record(1));
    PerfNames.Clear();
    PerfReportTable(m_table.get());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(ReportPath().c_str()));
}

}  // namespace
