#include "foundation/core/singleton.h"

#include "tests/support/alloc_probe.h"
#include "foundation/core/heap.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string>& Log()
{
    static std::vector<std::string> log;
    return log;
}

struct t_counter {
    int constructed = 0;
    int destroyed = 0;
};

template <int Id>
struct t_service {
    static t_counter& Count()
    {
        static t_counter c;
        return c;
    }
    t_service() { ++Count().constructed; }
    ~t_service()
    {
        ++Count().destroyed;
        alive = false;
    }
    bool alive = true;
    int value = 1234;
};

// A static initialiser that runs before every ordinary one, the singleton
// lock's included.
struct t_earlyUser {
    t_earlyUser()
    {
        lockReadyThen = SingletonLockReady();
        service = ImmSingleton<t_service<6>>::Instance("SingletonTest.Early");
    }
    bool lockReadyThen = true;
    t_service<6>* service = nullptr;
};
t_earlyUser g_earlyUser __attribute__((init_priority(101)));

TEST(SingletonStartupTest, GetterWorksInStaticInitialisersBeforeTheLockExists)
{
    EXPECT_FALSE(g_earlyUser.lockReadyThen);
    EXPECT_TRUE(SingletonLockReady());
    ASSERT_NE(nullptr, g_earlyUser.service);
    EXPECT_EQ(g_earlyUser.service, ImmSingleton<t_service<6>>::Instance("SingletonTest.Early"));
    EXPECT_EQ(1, t_service<6>::Count().constructed);
}

// A holder placed in an arena by hand, as the getters place theirs.
class t_loggedHolder : public ImmCleanup {
public:
    t_loggedHolder(const char* name, const char* tag) : ImmCleanup(name), m_tag(tag) {}
    ~t_loggedHolder() override { Log().push_back(m_tag); }

private:
    std::string m_tag;
};

ImmCleanup* MakeHolder(t_heap& arena, const char* tag)
{
    return new (arena.Allocate(sizeof(t_loggedHolder))) t_loggedHolder(nullptr, tag);
}

TEST(SingletonRegistryTest, GrowsFromItsInitialCapacityByDoubling)
{
    struct t_case {
        unsigned initial;
        unsigned adds;
        unsigned capacity;
    };
    const t_case cases[] = {
        {30, 0, 30}, {30, 30, 30}, {30, 31, 60}, {30, 61, 120}, {0, 1, 1}, {0, 2, 2}, {0, 3, 4}, {0, 5, 8},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(testing::Message() << "initial " << c.initial << ", adds " << c.adds);
        t_heap arena(0x7800);
        ImmSingletonRegistry registry(arena, c.initial);
        const ImmSingletonRegistry::t_entry* first = c.initial ? &registry.Entry(0) : nullptr;
        for (unsigned i = 0; i < c.adds; ++i)
            ASSERT_TRUE(registry.Add(MakeHolder(arena, "x"), "x"));
        EXPECT_EQ(c.adds, registry.Count());
        EXPECT_EQ(c.capacity, registry.Capacity());
        if (first && c.capacity == c.initial) {
            EXPECT_EQ(first, &registry.Entry(0)) << "no growth expected within the reserved room";
        }
    }
}

TEST(SingletonRegistryTest, KeepsEntriesAcrossGrowthAndFindsExactNames)
{
    t_heap arena(0x7800);
    ImmSingletonRegistry registry(arena);
    static const char* const c_names[] = {"UserManager", "UserEnv", "t_runtime", "AppConfig", "SkinIni"};
    std::vector<ImmCleanup*> holders;
    for (int round = 0; round < 10; ++round)  // 50 entries: one growth
        for (const char* name : c_names) {
            holders.push_back(MakeHolder(arena, name));
            ASSERT_TRUE(registry.Add(holders.back(), name));
        }
    EXPECT_EQ(60u, registry.Capacity());
    // The first registration under a name is the one found.
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(holders[i], registry.Find(c_names[i]));
    for (size_t i = 0; i < holders.size(); ++i)
        EXPECT_EQ(holders[i], registry.Entry(static_cast<unsigned>(i)).holder);
    EXPECT_EQ(nullptr, registry.Find("appconfig"));  // case-sensitive
    EXPECT_EQ(nullptr, registry.Find("AppConfig2"));
    EXPECT_EQ(nullptr, registry.Find(nullptr));
}

TEST(SingletonRegistryTest, FailedGrowthRegistersNothing)
{
    t_allocProbe probe;
    // The first block holds exactly the reserved array (byte count + 2 entries).
    t_heap arena(4 + 2 * sizeof(ImmSingletonRegistry::t_entry), probe.Triple());
    ImmSingletonRegistry registry(arena, 2);
    t_loggedHolder a(nullptr, "a"), b(nullptr, "b"), c(nullptr, "c");
    ASSERT_TRUE(registry.Add(&a, "a"));
    ASSERT_TRUE(registry.Add(&b, "b"));
    probe.budget = 0;
    EXPECT_FALSE(registry.Add(&c, "c"));
    EXPECT_EQ(2u, registry.Count());
    EXPECT_EQ(2u, registry.Capacity());
    EXPECT_EQ(&b, registry.Find("b"));
    EXPECT_EQ(nullptr, registry.Find("c"));
}

TEST(SingletonRegistryTest, DestroyAllRunsDestructorsNewestFirstAndEmpties)
{
    Log().clear();
    t_heap arena(0x7800);
    ImmSingletonRegistry registry(arena);
    const char* const tags[] = {"first", "second", "third"};
    for (const char* tag : tags)
        ASSERT_TRUE(registry.Add(MakeHolder(arena, tag), tag));
    registry.DestroyAll();
    EXPECT_EQ((std::vector<std::string>{"third", "second", "first"}), Log());
    EXPECT_EQ(0u, registry.Count());
    EXPECT_EQ(0u, registry.Capacity());
    EXPECT_EQ(nullptr, registry.Find("first"));
    // Usable again: the next registration reserves the initial room.
    ASSERT_TRUE(registry.Add(MakeHolder(arena, "again"), "again"));
    EXPECT_EQ(30u, registry.Capacity());
}

TEST(SingletonRegistryTest, NamedCleanupRegistersInTheProcessRegistry)
{
    Log().clear();
    ImmSingletonRegistry& registry = ImmSingletonRegistry::Global();
    unsigned before = registry.Count();
    void* at = SingletonArena().Allocate(sizeof(t_loggedHolder));
    ASSERT_NE(nullptr, at);
    t_loggedHolder* named = new (at) t_loggedHolder("SingletonTest.Named", "named");
    t_loggedHolder anonymous(nullptr, "anonymous");
    EXPECT_EQ(before + 1, registry.Count());
    EXPECT_EQ(named, registry.Find("SingletonTest.Named"));
    registry.DestroyAll();
    EXPECT_EQ((std::vector<std::string>{"named"}), Log());
}

TEST(SingletonTest, SameClassGivesOneObjectAnotherClassItsOwn)
{
    t_service<1>* a = ImmSingleton<t_service<1>>::Instance("SingletonTest.A");
    t_service<1>* again = ImmSingleton<t_service<1>>::Instance("SingletonTest.A");
    t_service<2>* b = ImmSingleton<t_service<2>>::Instance("SingletonTest.B");
    ASSERT_NE(nullptr, a);
    ASSERT_NE(nullptr, b);
    EXPECT_EQ(a, again);
    EXPECT_NE(static_cast<void*>(a), static_cast<void*>(b));
    EXPECT_EQ(1, t_service<1>::Count().constructed);
    EXPECT_NE(nullptr, ImmSingletonRegistry::Global().Find("SingletonTest.A"));
    EXPECT_NE(nullptr, ImmSingletonRegistry::Global().Find("SingletonTest.B"));
}

// Stand-in for the application object: polymorphic, and built on a service
// that it still uses while it is destroyed.
class t_appBase {
public:
    virtual ~t_appBase() { Log().push_back("app base"); }
};

class t_standInApp : public t_appBase {
public:
    t_standInApp() : m_config(ImmSingleton<t_service<3>>::Instance("SingletonTest.Config")) {}
    ~t_standInApp() override
    {
        // The service it was built on must still be alive here.
        Log().push_back(m_config->alive ? "app with live config" : "app with dead config");
    }

private:
    t_service<3>* m_config;
};

TEST(SingletonTest, DestroyAllEndsDependentsBeforeTheServicesTheyUse)
{
    Log().clear();
    ASSERT_NE(nullptr, ImmSingleton<t_standInApp>::Instance("SingletonTest.App"));
    // The service was created inside the app's constructor, yet registered first.
    const ImmSingletonRegistry& registry = ImmSingletonRegistry::Global();
    ASSERT_GE(registry.Count(), 2u);
    EXPECT_STREQ("SingletonTest.App", registry.Entry(registry.Count() - 1).name);
    EXPECT_STREQ("SingletonTest.Config", registry.Entry(registry.Count() - 2).name);

    int destroyedBefore = t_service<3>::Count().destroyed;
    ImmSingletonRegistry::Global().DestroyAll();
    EXPECT_EQ((std::vector<std::string>{"app with live config", "app base"}), Log());
    EXPECT_EQ(destroyedBefore + 1, t_service<3>::Count().destroyed);
    EXPECT_EQ(0u, registry.Count());
}

TEST(SingletonTest, UseAfterDestroyAllGetsAFreshObject)
{
    t_service<4>* old = ImmSingleton<t_service<4>>::Instance("SingletonTest.Late");
    ASSERT_NE(nullptr, old);
    old->value = 7;
    ImmSingletonRegistry::Global().DestroyAll();
    EXPECT_EQ(1, t_service<4>::Count().destroyed);

    t_service<4>* fresh = ImmSingleton<t_service<4>>::Instance("SingletonTest.Late");
    ASSERT_NE(nullptr, fresh);
    EXPECT_EQ(2, t_service<4>::Count().constructed);
    EXPECT_TRUE(fresh->alive);
    EXPECT_EQ(1234, fresh->value);
    EXPECT_EQ(fresh, ImmSingleton<t_service<4>>::Instance("SingletonTest.Late"));
    ImmSingletonRegistry::Global().DestroyAll();
    EXPECT_EQ(2, t_service<4>::Count().destroyed);
}

struct t_slowService {
    static LONG& Constructed()
    {
        static LONG n = 0;
        return n;
    }
    t_slowService()
    {
        InterlockedIncrement(&Constructed());
        Sleep(50);  // keeps the creation open while the other threads arrive
    }
};

TEST(SingletonTest, ConcurrentFirstUseCreatesOneObject)
{
    const int c_threads = 8;
    struct t_shared {
        HANDLE go;
        t_slowService* got[c_threads];
    } shared{CreateEventW(nullptr, TRUE, FALSE, nullptr), {}};
    ASSERT_NE(nullptr, shared.go);
    struct t_arg {
        t_shared* shared;
        int index;
        static DWORD WINAPI Run(void* p)
        {
            t_arg* a = static_cast<t_arg*>(p);
            WaitForSingleObject(a->shared->go, INFINITE);
            a->shared->got[a->index] = ImmSingleton<t_slowService>::Instance("SingletonTest.Slow");
            return 0;
        }
    } args[c_threads];
    HANDLE threads[c_threads];
    for (int i = 0; i < c_threads; ++i) {
        args[i] = {&shared, i};
        threads[i] = CreateThread(nullptr, 0, &t_arg::Run, &args[i], 0, nullptr);
        ASSERT_NE(nullptr, threads[i]);
    }
    SetEvent(shared.go);
    WaitForMultipleObjects(c_threads, threads, TRUE, INFINITE);
    for (HANDLE h : threads)
        CloseHandle(h);
    CloseHandle(shared.go);
    EXPECT_EQ(1, t_slowService::Constructed());
    for (int i = 0; i < c_threads; ++i)
        EXPECT_EQ(shared.got[0], shared.got[i]);
    EXPECT_NE(nullptr, shared.got[0]);
}

TEST(SingletonTest, UnmanagedSingletonStaysOutOfTheRegistryUntilDeleted)
{
    unsigned before = ImmSingletonRegistry::Global().Count();
    t_service<5>* a = ImmSingleton_unmanaged<t_service<5>>::Instance();
    ASSERT_NE(nullptr, a);
    EXPECT_EQ(a, ImmSingleton_unmanaged<t_service<5>>::Instance());
    EXPECT_EQ(before, ImmSingletonRegistry::Global().Count());
    ImmSingletonRegistry::Global().DestroyAll();
    EXPECT_EQ(0, t_service<5>::Count().destroyed);  // not the registry's to end
    ImmSingleton_unmanaged<t_service<5>>::Delete();
    EXPECT_EQ(1, t_service<5>::Count().destroyed);
    ASSERT_NE(nullptr, ImmSingleton_unmanaged<t_service<5>>::Instance());
    EXPECT_EQ(2, t_service<5>::Count().constructed);
    ImmSingleton_unmanaged<t_service<5>>::Delete();
}

}  // namespace
