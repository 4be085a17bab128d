#include "foundation/win/mutex.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "tests/support/child_runner.h"
#include "foundation/files/path.h"

namespace {

std::wstring LastLine(const t_errorChain& errors)
{
    const t_errorLine* line = errors.FirstLine();
    while (line && line->next)
        line = line->next;
    return line ? line->text.c_str() : L"";
}

// True when another thread can take the kernel mutex right now (it lets it go again).
bool FreeForOtherThread(HANDLE handle)
{
    bool free = false;
    std::thread other([&] {
        DWORD result = WaitForSingleObject(handle, 0);
        free = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
        if (free)
            ReleaseMutex(handle);
    });
    other.join();
    return free;
}

// `held` is locked by this thread. A second thread runs lockOther, which must block until
// `held` is released, then succeed.
template <class F>
void ExpectOtherThreadWaits(t_mutex& held, F lockOther)
{
    std::atomic<int> state{0};
    HANDLE returned = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread other([&] {
        state = 1;
        state = lockOther() ? 2 : 3;
        SetEvent(returned);
    });
    while (state == 0)
        Sleep(1);
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(returned, 200))
        << "the second thread got in while the lock was held";
    EXPECT_EQ(1, state.load());
    Unlock(held);
    other.join();
    CloseHandle(returned);
    EXPECT_EQ(2, state.load());
}

}  // namespace

TEST(MutexName, NormalisesToOneLocalPrefix)
{
    struct {
        const wchar_t* name;
        const wchar_t* expected;  // null: refused
    } cases[] = {
        {L"Local\\abc", L"Local\\abc"},          {L"abc", L"Local\\abc"}, {L"Local\\Local\\abc", L"Local\\abc"},
        {L"local\\abc", L"Local\\local\\abc"},  // the prefix test is case-sensitive
        {L"Global\\abc", L"Local\\Global\\abc"},
    };
    for (const auto& c : cases) {
        wchar_t out[t_mutex::c_nameCapacity];
        ASSERT_TRUE(t_mutex::NormaliseName(c.name, out)) << c.name;
        EXPECT_STREQ(c.expected, out) << c.name;
    }

    // 253 characters plus "Local\" is the longest name that fits.
    wchar_t out[t_mutex::c_nameCapacity];
    std::wstring fits(253, L'x');
    EXPECT_TRUE(t_mutex::NormaliseName(fits.c_str(), out));
    EXPECT_EQ(259u, wcslen(out));
    std::wstring tooLong(254, L'x');
    EXPECT_FALSE(t_mutex::NormaliseName(tooLong.c_str(), out));
    EXPECT_FALSE(t_mutex::NormaliseName((L"Local\\" + tooLong).c_str(), out));
}

TEST(Mutex, NameFormsOpenOneKernelObject)
{
    std::wstring base = UniqueTag(L"mutex_test_same_");
    t_errorChain errors;
    t_mutex a(3), b(4), c(5);
    ASSERT_TRUE(a.Create(errors, base.c_str()));
    ASSERT_TRUE(b.Create(errors, (L"Local\\" + base).c_str()));
    ASSERT_TRUE(c.Create(errors, (L"Local\\Local\\" + base).c_str()));
    EXPECT_STREQ((L"Local\\" + base).c_str(), c.Name());

    HANDLE raw = OpenMutexW(SYNCHRONIZE, FALSE, (L"Local\\" + base).c_str());
    ASSERT_NE(nullptr, raw);
    ASSERT_TRUE(Lock(errors, a));
    EXPECT_FALSE(FreeForOtherThread(b.Handle()));
    EXPECT_FALSE(FreeForOtherThread(c.Handle()));
    EXPECT_FALSE(FreeForOtherThread(raw));
    Unlock(a);
    EXPECT_TRUE(FreeForOtherThread(raw));
    CloseHandle(raw);
    EXPECT_TRUE(errors.IsEmpty());
}

TEST(Mutex, TooLongNameFailsAndCreatesNothing)
{
    t_errorChain errors;
    t_mutex m;
    std::wstring tooLong(300, L'n');
    EXPECT_FALSE(m.Create(errors, tooLong.c_str()));
    EXPECT_FALSE(m.IsCreated());
    EXPECT_TRUE(errors.IsFailed());
}

TEST(Mutex, UnnamedMutexIsCreated)
{
    t_errorChain errors;
    t_mutex m;
    ASSERT_TRUE(m.Create(errors, nullptr));
    EXPECT_TRUE(m.IsCreated());
    EXPECT_STREQ(L"Local\\Mutex_NoName", m.Name());
    HANDLE first = m.Handle();
    EXPECT_TRUE(m.Create(errors, L"ignored"));  // already created: kept as it is
    EXPECT_EQ(first, m.Handle());
    m.Close();
    EXPECT_FALSE(m.IsCreated());
}

TEST(Mutex, LockOnUncreatedMutexFails)
{
    t_mutex mutex;
    t_criticalSection section;
    t_mutex* objects[] = {&mutex, &section};
    for (t_mutex* object : objects) {
        t_errorChain errors;
        EXPECT_FALSE(Lock(errors, *object));
        EXPECT_TRUE(errors.IsFailed());
        EXPECT_EQ(L"t_mutex::Lock 未初始化", LastLine(errors));

        // Waiting directly must not pretend to hold a lock either.
        t_errorChain waitErrors;
        EXPECT_FALSE(object->Wait(waitErrors));
        EXPECT_TRUE(waitErrors.IsFailed());
    }
}

TEST(Mutex, MutexAbandonedByDeadChildIsAcquired)
{
    std::wstring name = UniqueTag(L"mutex_test_abandon_");
    t_errorChain errors;
    t_mutex mutex;
    ASSERT_TRUE(mutex.Create(errors, name.c_str()));
    ASSERT_EQ(0, RunChild(L"mutex_child.exe", L"abandon " + name));
    // The child ended while owning the mutex.
    EXPECT_TRUE(Lock(errors, mutex)) << LastLine(errors);
    EXPECT_TRUE(errors.IsEmpty());
    EXPECT_EQ(0, RunChild(L"mutex_child.exe", L"try " + name));  // held by us now
    Unlock(mutex);
    EXPECT_EQ(1, RunChild(L"mutex_child.exe", L"try " + name));
}

TEST(MutexLocker, HoldsUntilUnlockOrDestruction)
{
    std::wstring base = UniqueTag(L"mutex_test_locker_");
    t_errorChain errors;
    t_mutex first, second;
    ASSERT_TRUE(first.Create(errors, (base + L"_1").c_str()));
    ASSERT_TRUE(second.Create(errors, (base + L"_2").c_str()));
    {
        t_mutex::t_locker locker;
        ASSERT_TRUE(locker.Lock(errors, first));
        EXPECT_EQ(&first, locker.Held());
        EXPECT_FALSE(FreeForOtherThread(first.Handle()));

        // Taking a second mutex lets the first one go.
        ASSERT_TRUE(locker.Lock(errors, second));
        EXPECT_TRUE(FreeForOtherThread(first.Handle()));
        EXPECT_FALSE(FreeForOtherThread(second.Handle()));
    }
    EXPECT_TRUE(FreeForOtherThread(second.Handle()));

    t_mutex::t_locker locker;
    t_mutex uncreated;
    EXPECT_FALSE(locker.Lock(errors, uncreated));
    EXPECT_EQ(nullptr, locker.Held());
    locker.Unlock();  // holding nothing: no effect
}

TEST(MutexLocker, SecondThreadWaitsForNamedMutex)
{
    std::wstring name = UniqueTag(L"mutex_test_wait_");
    t_errorChain errors;
    t_mutex mine;
    ASSERT_TRUE(mine.Create(errors, name.c_str()));
    ASSERT_TRUE(Lock(errors, mine));
    ExpectOtherThreadWaits(mine, [&] {
        t_errorChain otherErrors;
        t_mutex theirs;
        if (!theirs.Create(otherErrors, name.c_str()))
            return false;
        t_mutex::t_locker locker;
        return locker.Lock(otherErrors, theirs);
    });
}

TEST(CriticalSection, CreateLockAndContend)
{
    t_errorChain errors;
    t_criticalSection section(3);
    EXPECT_FALSE(section.IsCreated());
    ASSERT_TRUE(section.Create(errors, L"cs_test"));
    EXPECT_TRUE(section.IsCreated());
    EXPECT_STREQ(L"Local\\cs_test", section.Name());
    EXPECT_EQ(nullptr, section.Handle());
    EXPECT_TRUE(section.Create(errors, L"other"));  // already initialised
    EXPECT_STREQ(L"Local\\cs_test", section.Name());

    ASSERT_TRUE(Lock(errors, section));
    ExpectOtherThreadWaits(section, [&] {
        t_errorChain otherErrors;
        t_mutex::t_locker locker;
        return locker.Lock(otherErrors, section);
    });
    section.Close();
    EXPECT_FALSE(section.IsCreated());
}

TEST(CriticalSection, AutoInitCreatesOrStaysUncreated)
{
    t_csAutoInit good(4, L"Local\\cs_FlashUtil");
    EXPECT_TRUE(good.IsCreated());
    EXPECT_STREQ(L"Local\\cs_FlashUtil", good.Name());

    // The constructor drops its failure; Lock then reports it.
    std::wstring tooLong(300, L'c');
    t_csAutoInit bad(4, tooLong.c_str());
    EXPECT_FALSE(bad.IsCreated());
    t_errorChain errors;
    EXPECT_FALSE(Lock(errors, bad));
    EXPECT_EQ(L"t_mutex::Lock 未初始化", LastLine(errors));
}

TEST(PathMutex, NameIsACaseFoldedHashOfThePath)
{
    struct {
        const wchar_t* path;
        const wchar_t* expected;
    } cases[] = {
        {L"", L"Local\\mutex_file_0x00000000"},
        {L"ab", L"Local\\mutex_file_0x00420041"},   // 'A' low, 'B' high
        {L"abc", L"Local\\mutex_file_0x00420002"},  // 'A' ^ 'C' in the low half
    };
    t_errorChain errors;
    for (const auto& c : cases) {
        t_path::t_mutex m;
        ASSERT_TRUE(m.CreateForPath(errors, c.path)) << c.path;
        EXPECT_STREQ(c.expected, m.Name()) << c.path;
        EXPECT_EQ(6, m.Kind());
    }

    t_path::t_mutex upper, lower, accented, accentedUpper;
    ASSERT_TRUE(upper.CreateForPath(errors, L"C:\\A.TXT"));
    ASSERT_TRUE(lower.CreateForPath(errors, L"c:\\a.txt"));
    EXPECT_STREQ(upper.Name(), lower.Name());
    // Only ASCII letters are folded.
    ASSERT_TRUE(accented.CreateForPath(errors, L"c:\\\u00e9"));
    ASSERT_TRUE(accentedUpper.CreateForPath(errors, L"c:\\\u00c9"));
    EXPECT_STRNE(accented.Name(), accentedUpper.Name());

    // A path far longer than a mutex name is still guarded: the name has a fixed length.
    std::wstring longPath = L"C:\\" + std::wstring(5000, L'd') + L"\\f.txt";
    t_path::t_mutex longOne;
    ASSERT_TRUE(longOne.CreateForPath(errors, longPath.c_str()));
    EXPECT_EQ(27u, wcslen(longOne.Name()));
    EXPECT_TRUE(errors.IsEmpty());
}

TEST(PathMutex, PlainNamesAreRefused)
{
    t_errorChain errors;
    t_path::t_mutex m;
    EXPECT_FALSE(m.Create(errors, L"abc"));
    EXPECT_FALSE(m.IsCreated());
    EXPECT_EQ(L"创建文件对象锁失败：不支持", LastLine(errors));
}

TEST(PathMutex, TwoThreadsContendForOneFile)
{
    std::wstring path = UniqueTag(L"Z:\\tmp\\path_mutex_contend_") + L".TXT";
    std::wstring otherCase = path;
    for (wchar_t& ch : otherCase)
        ch = towlower(ch);
    t_errorChain errors;
    t_path::t_mutex mine;
    ASSERT_TRUE(mine.CreateForPath(errors, path.c_str()));
    ASSERT_TRUE(Lock(errors, mine));
    ExpectOtherThreadWaits(mine, [&] {
        t_errorChain otherErrors;
        t_path::t_mutex theirs;
        t_mutex::t_locker locker;
        return theirs.CreateForPath(otherErrors, otherCase.c_str()) && locker.Lock(otherErrors, theirs);
    });
}
