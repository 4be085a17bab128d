// The handle manager: storing and finding by kind, name and key, the default policies'
// copies, releasing every stored object exactly once, and a thousand reloads of a skin's
// worth of GDI objects without a leak.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <vector>

#include "graphics/image/image_source.h"
#include "graphics/image/mem_dc.h"
#include "graphics/layout/handle_manager.h"
#include "graphics/paint/pixel_ops.h"
#include "graphics/paint/solid_draw.h"
#include "graphics/text/font.h"
#include "tests/support/gdi_census.h"

namespace {

// Policies that count the releases of each object (the key is the object itself).
class t_countingPolicy : public i_handleHelpler {
public:
    explicit t_countingPolicy(std::map<const void*, int>& releases) : m_releases(releases) {}
    void* CopyKey(const void* key, t_heap&) override { return const_cast<void*>(key); }
    void Release(void* stored) override { ++m_releases[stored]; }
    const void* Identity(const void* stored) override { return stored; }

private:
    std::map<const void*, int>& m_releases;
};

class t_countingSet : public HandleManagerHelper {
public:
    explicit t_countingSet(std::map<const void*, int>& releases) : m_policy(releases) {}
    i_handleHelpler* Policy(int type, int) override { return type == e_handleGdi ? &m_policy : nullptr; }

private:
    t_countingPolicy m_policy;
};

void* Object(int n) { return reinterpret_cast<void*>(static_cast<uintptr_t>(0x1000 + n * 16)); }

TEST(HandleManager, ReleasesEveryStoredObjectOnceWhateverItsNames)
{
    std::map<const void*, int> releases;
    t_handleManager manager;
    manager.Init(new t_countingSet(releases));
    // Two objects under one name, one object under two names and twice under one,
    // unnamed entries, and an entry of a kind without a policy.
    manager.Acquire(Object(1), L"Font", e_handleGdi, e_gdiFont);
    manager.Acquire(Object(2), L"Font", e_handleGdi, e_gdiFont);
    manager.Acquire(Object(3), L"Caption", e_handleGdi, e_gdiFont);
    manager.Acquire(Object(3), L"Hint", e_handleGdi, e_gdiFont);
    manager.Acquire(Object(3), L"Hint", e_handleGdi, e_gdiFont);
    manager.Acquire(Object(4), nullptr, e_handleGdi, e_gdiPen);
    manager.Acquire(Object(5), nullptr, e_handleGdi, e_gdiPen);
    manager.Acquire(Object(6), L"File", e_handleFile, 0);
    EXPECT_EQ(8, manager.Count());
    manager.ReleaseAll();
    const std::map<const void*, int> expected = {
        {Object(1), 1}, {Object(2), 1}, {Object(3), 1}, {Object(4), 1}, {Object(5), 1}};
    EXPECT_EQ(expected, releases);
    EXPECT_EQ(0, manager.Count());

    // Emptied and usable again; the destructor releases what is left.
    manager.Acquire(Object(7), L"Font", e_handleGdi, e_gdiFont);
    t_handleQuery query{e_handleGdi, e_gdiFont, nullptr, L"font"};
    EXPECT_TRUE(manager.Find(query));
    EXPECT_EQ(Object(7), query.handle);
}

TEST(HandleManager, FindMatchesKindNameIgnoringCaseAndKey)
{
    t_handleManager manager;
    manager.Init(new t_handleManagerHelper_Default);
    const uint32_t red = 0xFF0000, blue = 0x0000FF;
    void* redKey = manager.Acquire(&red, L"TextColor", e_handleGdi, e_gdiFontColor);
    void* blueKey = manager.Acquire(&blue, L"BackColor", e_handleGdi, e_gdiFontColor);
    ASSERT_NE(nullptr, redKey);
    EXPECT_NE(static_cast<const void*>(&red), redKey);  // a heap copy
    EXPECT_EQ(red, *static_cast<uint32_t*>(redKey));

    struct t_case {
        int type, subtype;
        void* handle;
        const wchar_t* name;
        bool found;
        void* foundHandle;
        const wchar_t* foundName;
    } const cases[] = {
        {e_handleGdi, e_gdiFontColor, nullptr, L"textcolor", true, redKey, L"textcolor"},
        {e_handleGdi, e_gdiFontColor, blueKey, nullptr, true, blueKey, L"BackColor"},
        {e_handleGdi, e_gdiFontColor, blueKey, L"TextColor", false, blueKey, L"TextColor"},
        {e_handleGdi, e_gdiFontColor, Object(9), nullptr, false, Object(9), nullptr},
        {e_handleGdi, e_gdiPen, nullptr, L"TextColor", false, nullptr, L"TextColor"},
        {e_handleGdi, e_gdiFontColor, nullptr, L"Missing", false, nullptr, L"Missing"},
    };
    for (const t_case& c : cases) {
        t_handleQuery query{c.type, c.subtype, c.handle, c.name};
        EXPECT_EQ(c.found, manager.Find(query)) << (c.name ? c.name : L"");
        EXPECT_EQ(c.foundHandle, query.handle);
        if (c.foundName)
            EXPECT_STREQ(c.foundName, query.name);
        else
            EXPECT_EQ(nullptr, query.name);
    }

    // Kinds without a policy store an entry with a null key; releasing it does nothing.
    EXPECT_EQ(nullptr, manager.Acquire(&red, L"Odd", e_handleGdi, e_gdiNone));
    EXPECT_EQ(nullptr, manager.Acquire(&red, L"Odd", 7, 0));
    EXPECT_EQ(4, manager.Count());
    t_handleQuery odd{e_handleGdi, e_gdiNone, nullptr, L"odd"};
    EXPECT_TRUE(manager.Find(odd));
    EXPECT_EQ(nullptr, odd.handle);
    manager.ReleaseAll();
    EXPECT_FALSE(manager.Find(odd));
}

TEST(HandleManager, FileAndFlashContentsAreCopiedInlineAndOversizedOnesRefused)
{
    t_handleManager manager;
    manager.Init(new t_handleManagerHelper_Default);
    char bytes[] = "Skin.ini contents";
    const t_fileBlob file{static_cast<uint32_t>(sizeof bytes), bytes};
    const t_storedFile* stored = static_cast<t_storedFile*>(manager.Acquire(&file, L"Skin.ini", e_handleFile, 0));
    const t_flashBlob flash{42, 5, "flash"};
    const t_storedFlash* storedFlash = static_cast<t_storedFlash*>(manager.Acquire(&flash, L"a.swf", e_handleFlash, 0));
    memset(bytes, 0, sizeof bytes);
    ASSERT_NE(nullptr, stored);
    EXPECT_EQ(sizeof bytes, stored->length);
    EXPECT_STREQ("Skin.ini contents", reinterpret_cast<const char*>(stored->Bytes()));
    ASSERT_NE(nullptr, storedFlash);
    EXPECT_EQ(42u, storedFlash->id);
    EXPECT_EQ(0, memcmp(storedFlash->Bytes(), "flash", 5));

    const t_fileBlob huge{0xFFFFFFF0u, bytes};
    const t_fileBlob missing{4, nullptr};
    const t_flashBlob hugeFlash{1, 0xFFFFFFFFu, bytes};
    EXPECT_EQ(nullptr, manager.Acquire(&huge, L"huge", e_handleFile, 0));
    EXPECT_EQ(nullptr, manager.Acquire(&missing, L"missing", e_handleFile, 0));
    EXPECT_EQ(nullptr, manager.Acquire(&hugeFlash, L"huge", e_handleFlash, 0));
    EXPECT_EQ(nullptr, manager.Acquire(nullptr, L"none", e_handleFile, 0));
    const t_fileBlob empty{0, nullptr};
    EXPECT_NE(nullptr, manager.Acquire(&empty, L"empty", e_handleFile, 0));
    EXPECT_EQ(7, manager.Count());
}

// The GDI objects of one skin load, stored as the runtime skin stores them.
struct t_skinObjects {
    std::vector<HGDIOBJ> handles;  // everything that must be gone after ReleaseAll

    void Fill(t_handleManager& manager)
    {
        handles.clear();
        for (int i = 0; i < 6; ++i) {
            LOGFONTW logFont = {};
            logFont.lfHeight = -12 - i;
            wcscpy(logFont.lfFaceName, L"Arial");
            t_font font = {};
            ASSERT_TRUE(t_font::CreateIndirect(logFont, &font, false));
            handles.push_back(font.hfont);
            // The same font under two names and twice under one; fonts 0 and 1 share a name.
            const wchar_t* name = i < 2 ? L"CompFont" : L"CandFont";
            manager.Acquire(&font, name, e_handleGdi, e_gdiFont);
            manager.Acquire(&font, name, e_handleGdi, e_gdiFont);
            manager.Acquire(&font, L"HintFont", e_handleGdi, e_gdiFont);
        }
        for (int i = 0; i < 24; ++i) {
            uint32_t* bits = nullptr;
            HBITMAP bitmap = CreateDib32(4, 4, &bits);
            ASSERT_NE(nullptr, bitmap);
            handles.push_back(bitmap);
            t_imageSource source = {};
            source.SetSingle(4, 4, false, true, true, t_bitmapRef::e_handle, bitmap, 4, 4);
            manager.Acquire(&source, i % 3 ? L"btn.png" : L"bk.png", e_handleGdi, e_gdiBitmap);
        }
        for (int i = 0; i < 4; ++i) {
            t_pen pen{CreatePen(PS_SOLID, 1, RGB(i, 0, 0)), 0};
            handles.push_back(pen.pen);
            manager.Acquire(&pen, L"Separator", e_handleGdi, e_gdiPen);
        }
        for (int i = 0; i < 2; ++i) {
            HRGN region = CreateRectRgn(0, 0, 10 + i, 10);
            handles.push_back(region);
            manager.Acquire(region, L"", e_handleGdi, e_gdiRegion);
            manager.Acquire(region, L"Shape", e_handleGdi, e_gdiRegion);
        }
        for (uint32_t colour = 0; colour < 16; ++colour)
            manager.Acquire(&colour, L"Color", e_handleGdi, e_gdiFontColor);
        const t_fileBlob file{3, "ini"};
        manager.Acquire(&file, L"Skin.ini", e_handleFile, 0);
        manager.Acquire(CreateEventW(nullptr, TRUE, FALSE, nullptr), L"Event", e_handleKernel, 0);
    }
};

TEST(HandleManager, AThousandSkinReloadsLeakNoGdiObject)
{
    t_handleManager manager;
    manager.Init(new t_handleManagerHelper_Default);
    t_skinObjects skin;
    // One load first: making the first fonts sets up process-wide objects that stay.
    skin.Fill(manager);
    manager.ReleaseAll();
    const DWORD gdiBefore = LiveGdiObjects();
    DWORD handlesBefore = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handlesBefore);
    for (int round = 0; round < 1000; ++round) {
        skin.Fill(manager);
        if (round == 0) {
            // The count moves with the objects, so an unchanged count below means something.
            EXPECT_GE(LiveGdiObjects(), gdiBefore + skin.handles.size());
        }
        manager.ReleaseAll();
        ASSERT_EQ(0, manager.Count());
        for (HGDIOBJ handle : skin.handles)
            ASSERT_EQ(0u, GetObjectType(handle)) << "round " << round << " left " << handle;
    }
    EXPECT_EQ(gdiBefore, LiveGdiObjects());
    DWORD handlesAfter = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
    EXPECT_EQ(handlesBefore, handlesAfter);
}

TEST(HandleManager, DestroyingTheManagerReleasesWhatItHolds)
{
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    {
        t_handleManager manager;
        manager.Init(new t_handleManagerHelper_Default);
        t_pen record{pen, 0};
        manager.Acquire(&record, L"Pen", e_handleGdi, e_gdiPen);
        EXPECT_EQ(static_cast<DWORD>(OBJ_PEN), GetObjectType(pen));
    }
    EXPECT_EQ(0u, GetObjectType(pen));
}

}  // namespace
