// The editor program as a designer starts it: a copy of the program with its libraries
// and default skin in a folder of its own (its settings file lands there too), started,
// looked at and closed from outside.
#include <gtest/gtest.h>

#include <string>

#include "interfaces/ziplib.h"
#include "foundation/config/app_config.h"
#include "editor/resources/resource_ids.h"
#include "foundation/win/scoped_win.h"
#include "graphics/image/mem_dc.h"
#include "skin_model/zip_handler.h"
#include "tests/support/child_runner.h"
#include "tests/support/exe_folder.h"
#include "tests/support/process_dialog.h"
#include "tests/support/temp_folder.h"

namespace {
const wchar_t c_frameClass[] = L"IMEKavrel";
const wchar_t c_product[] = L"栖鹭拼音输入法皮肤编辑器";
const DWORD c_startTimeoutMs = 30000;

struct t_search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindFrameOf(HWND window, LPARAM context)
{
    t_search* search = reinterpret_cast<t_search*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t name[64];
    if (process == search->process && GetClassNameW(window, name, 64) && lstrcmpW(name, c_frameClass) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The titles of the process's visible top-level windows (a start-up message box says why
// the frame did not come), as UTF-8 for the failure message.
BOOL CALLBACK CollectTitles(HWND window, LPARAM context)
{
    std::pair<DWORD, std::string>* titles = reinterpret_cast<std::pair<DWORD, std::string>*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != titles->first || !IsWindowVisible(window))
        return TRUE;
    wchar_t text[256];
    GetWindowTextW(window, text, 256);
    char utf8[1024];
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof(utf8), nullptr, nullptr);
    titles->second += std::string("[") + utf8 + "]";
    return TRUE;
}

class EditorProcess : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const wchar_t* name : {L"Kavrel.exe", L"ZipLib.dll", L"Resource.dll", L"skin.dat"})
            ASSERT_TRUE(
                CopyFileW((ExeFolder() + L"\\" + name).c_str(), (m_folder.Path() + L"\\" + name).c_str(), FALSE))
                << "missing beside the tests";
    }
    void TearDown() override
    {
        if (m_process)
            EndProgram(m_process, 0);
    }

    std::wstring Exe() const { return m_folder.Path() + L"\\Kavrel.exe"; }
    std::wstring Ini() const { return m_folder.Path() + L"\\Kavrel.ini"; }

    // Starts the editor and waits until its frame exists and its thread has gone idle
    // (the first frame painted).
    HWND Start(const std::wstring& arguments)
    {
        m_process = StartProgram(Exe(), arguments);
        if (!m_process)
            return nullptr;
        const DWORD started = GetTickCount();
        t_search search = {GetProcessId(m_process), nullptr};
        while (!search.found && GetTickCount() - started < c_startTimeoutMs) {
            Sleep(50);
            EnumWindows(FindFrameOf, reinterpret_cast<LPARAM>(&search));
        }
        DWORD_PTR ignored;
        if (search.found) {
            SendMessageTimeoutW(search.found, WM_NULL, 0, 0, SMTO_NORMAL, c_startTimeoutMs, &ignored);
        } else {
            std::pair<DWORD, std::string> titles(search.process, std::string());
            EnumWindows(CollectTitles, reinterpret_cast<LPARAM>(&titles));
            ADD_FAILURE() << "no frame; the program shows: " << titles.second;
        }
        return search.found;
    }
    int Close(HWND frame)
    {
        PostMessageW(frame, WM_CLOSE, 0, 0);
        const int code = EndProgram(m_process, c_startTimeoutMs);
        m_process = nullptr;
        return code;
    }
    // Whether any direct child of the frame is visible (the children show while a skin is open).
    static bool AnyChildVisible(HWND frame)
    {
        for (HWND child = GetWindow(frame, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (IsWindowVisible(child))
                return true;
        }
        return false;
    }
    void WritePlacement(int left, int top, int right, int bottom, bool max, bool icon)
    {
        AppConfig config;
        config.Init();
        config.windowRect.rect.left.Set(left);
        config.windowRect.rect.top.Set(top);
        config.windowRect.rect.right.Set(right);
        config.windowRect.rect.bottom.Set(bottom);
        config.windowRect.max.Set(max);
        config.windowRect.icon.Set(icon);
        ASSERT_TRUE(config.Save(Ini().c_str()));
    }

    t_tempFolder m_folder{L"editor"};
    HANDLE m_process = nullptr;
};

TEST_F(EditorProcess, SecondStartRaisesTheFirstAndExits)
{
    const HWND frame = Start(L"");
    ASSERT_NE(nullptr, frame);
    wchar_t title[256];
    GetWindowTextW(frame, title, 256);
    EXPECT_STREQ(c_product, title);
    EXPECT_FALSE(AnyChildVisible(frame));

    ShowWindow(frame, SW_MINIMIZE);
    EXPECT_EQ(-1, RunProgram(Exe(), L"", c_startTimeoutMs));
    EXPECT_TRUE(IsWindow(frame));
    EXPECT_FALSE(IsIconic(frame));

    EXPECT_EQ(0, Close(frame));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Ini().c_str())) << "settings saved on exit";
}

TEST_F(EditorProcess, PlacementRoundTripsThroughTheSettingsFile)
{
    struct t_case {
        int showCommand;  // what the user leaves the window as
        bool max;
        bool icon;
    };
    // Normal, maximised, and minimised from maximised (comes back maximised).
    const t_case cases[] = {{SW_SHOWNORMAL, false, false}, {SW_MAXIMIZE, true, false}, {SW_MINIMIZE, true, true}};
    WritePlacement(40, 60, 1240, 860, false, false);
    for (const t_case& c : cases) {
        const HWND frame = Start(L"");
        ASSERT_NE(nullptr, frame);
        if (c.showCommand == SW_MINIMIZE)
            ShowWindow(frame, SW_MAXIMIZE);
        ShowWindow(frame, c.showCommand);
        ASSERT_EQ(0, Close(frame));

        AppConfig config;
        config.Init();
        ASSERT_TRUE(config.Load(Ini().c_str()));
        EXPECT_EQ(c.max, config.windowRect.max.Value()) << c.showCommand;
        EXPECT_EQ(c.icon, config.windowRect.icon.Value()) << c.showCommand;
        EXPECT_EQ(40, config.windowRect.rect.left.Get());
        EXPECT_EQ(860, config.windowRect.rect.bottom.Get());

        // The next start comes up as it was left.
        const HWND again = Start(L"");
        ASSERT_NE(nullptr, again);
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof(placement);
        ASSERT_TRUE(GetWindowPlacement(again, &placement));
        EXPECT_EQ(c.icon, IsIconic(again) != 0) << c.showCommand;
        EXPECT_EQ(c.max && !c.icon, IsZoomed(again) != 0) << c.showCommand;
        if (c.icon) {
            // Restored, it comes back maximised.
            ShowWindow(again, SW_RESTORE);
            EXPECT_TRUE(IsZoomed(again));
        } else if (!c.max) {
            EXPECT_EQ(60, placement.rcNormalPosition.top);
            EXPECT_EQ(1240, placement.rcNormalPosition.right);
        }
        ShowWindow(again, SW_RESTORE);
        ASSERT_EQ(0, Close(again));
        WritePlacement(40, 60, 1240, 860, false, false);
    }
}

// Pixels of the area that differ from the first pixel (the background).
int InkIn(const std::vector<DWORD>& pixels, int width, const RECT& area)
{
    int ink = 0;
    const DWORD background = pixels[area.top * width + area.left];
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x)
            ink += (pixels[y * width + x] & 0xFFFFFF) != (background & 0xFFFFFF);
    }
    return ink;
}

// Draws a text with the menu font into a white 32-bit picture; its pixels (top-down).
std::vector<DWORD> RenderMenuText(const wchar_t* text, int width, int height)
{
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    t_memDC dib;
    if (!t_memDC::Create(dib, nullptr, width, height, t_dibRows::topDown))
        return {};
    const t_scopedGdiObj<HFONT> font(CreateFontIndirectW(&metrics.lfMenuFont));
    const t_scopedSelectObject selected(dib.dc, font.Get());
    RECT all = {0, 0, width, height};
    FillRect(dib.dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    TextOutW(dib.dc, 0, 0, text, lstrlenW(text));
    GdiFlush();
    return std::vector<DWORD>(dib.Pixels(), dib.Pixels() + width * height);
}

TEST_F(EditorProcess, OpensThePackageOnItsCommandLine)
{
    // A package of the default skin.
    const std::wstring package = m_folder.Path() + L"\\默认 皮肤.vsf";
    const std::wstring skinFolder = std::wstring(KAVREL_SOURCE_DIR) + L"\\art\\default_skin";
    ASSERT_EQ(ZIPLIB_OK, ZipFolder(skinFolder.c_str(), skinFolder.c_str(), package.c_str()));

    const HWND frame = Start(L"\"" + package + L"\"");
    ASSERT_NE(nullptr, frame);
    EXPECT_TRUE(AnyChildVisible(frame)) << "the package opened";
    // Named as File > Open names it.
    wchar_t title[256];
    GetWindowTextW(frame, title, 256);
    EXPECT_EQ(std::wstring(c_product) + L" - 默认 皮肤", title);

    EXPECT_EQ(0, Close(frame));
}

// The frame's title once it equals expected, or the last one seen when it did not in time.
std::wstring WaitForTitle(HWND frame, const std::wstring& expected)
{
    wchar_t title[256] = L"";
    const DWORD started = GetTickCount();
    do {
        GetWindowTextW(frame, title, 256);
        if (expected == title)
            break;
        Sleep(50);
    } while (GetTickCount() - started < c_startTimeoutMs);
    return title;
}

// The static texts of a dialog of another process, joined.
BOOL CALLBACK JoinStaticTexts(HWND window, LPARAM context)
{
    wchar_t name[64];
    wchar_t text[512];
    if (GetClassNameW(window, name, 64) && lstrcmpiW(name, L"Static") == 0 && GetWindowTextW(window, text, 512))
        *reinterpret_cast<std::wstring*>(context) += text;
    return TRUE;
}

// A dialog of the process, once one shows; null when none did in time.
HWND WaitForDialogOf(DWORD process)
{
    const DWORD started = GetTickCount();
    do {
        if (const HWND dialog = FindDialogOf(process, {}))
            return dialog;
        Sleep(50);
    } while (GetTickCount() - started < c_startTimeoutMs);
    return nullptr;
}

// A package double-clicked while the editor runs: the second start hands it to the first
// and ends, and the first opens it as File > Open would.
TEST_F(EditorProcess, SecondStartWithAPackageOpensItInTheFirst)
{
    const std::wstring package = m_folder.Path() + L"\\第二 皮肤.vsf";
    const std::wstring skinFolder = std::wstring(KAVREL_SOURCE_DIR) + L"\\art\\default_skin";
    ASSERT_EQ(ZIPLIB_OK, ZipFolder(skinFolder.c_str(), skinFolder.c_str(), package.c_str()));

    const HWND frame = Start(L"");
    ASSERT_NE(nullptr, frame);
    EXPECT_EQ(-1, RunProgram(Exe(), L"\"" + package + L"\"", c_startTimeoutMs));
    EXPECT_EQ(std::wstring(c_product) + L" - 第二 皮肤",
              WaitForTitle(frame, std::wstring(c_product) + L" - 第二 皮肤"));
    EXPECT_TRUE(AnyChildVisible(frame)) << "the package opened";
    EXPECT_EQ(0, Close(frame));
}

// With unsaved work the first asks first; the second does not wait for the answer. Cancel
// keeps the work, No opens the package.
TEST_F(EditorProcess, SecondStartWithAPackageAsksAboutUnsavedWorkFirst)
{
    const std::wstring package = m_folder.Path() + L"\\handed.vsf";
    const std::wstring skinFolder = std::wstring(KAVREL_SOURCE_DIR) + L"\\art\\default_skin";
    ASSERT_EQ(ZIPLIB_OK, ZipFolder(skinFolder.c_str(), skinFolder.c_str(), package.c_str()));

    const HWND frame = Start(L"");
    ASSERT_NE(nullptr, frame);
    const std::wstring newTitle = std::wstring(c_product) + L" - 新建皮肤方案";
    DWORD_PTR result = 0;
    ASSERT_TRUE(
        SendMessageTimeoutW(frame, WM_COMMAND, MAKEWPARAM(c_cmdNew, 0), 0, SMTO_NORMAL, c_startTimeoutMs, &result));
    ASSERT_EQ(newTitle, WaitForTitle(frame, newTitle));

    const DWORD process = GetProcessId(m_process);
    struct t_case {
        int answer;
        std::wstring title;
    };
    const t_case cases[] = {{IDCANCEL, newTitle}, {IDNO, std::wstring(c_product) + L" - handed"}};
    for (const t_case& c : cases) {
        EXPECT_EQ(-1, RunProgram(Exe(), L"\"" + package + L"\"", c_startTimeoutMs)) << c.answer;
        const HWND question = WaitForDialogOf(process);
        ASSERT_NE(nullptr, question) << c.answer;
        std::wstring text;
        EnumChildWindows(question, JoinStaticTexts, reinterpret_cast<LPARAM>(&text));
        EXPECT_NE(std::wstring::npos, text.find(L"是否保存正在编辑的皮肤方案？")) << c.answer;
        PostMessageW(question, WM_COMMAND, MAKEWPARAM(c.answer, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(question, c.answer)));
        const DWORD started = GetTickCount();
        while (IsWindow(question) && GetTickCount() - started < c_startTimeoutMs)
            Sleep(50);
        ASSERT_FALSE(IsWindow(question)) << c.answer;
        SendMessageTimeoutW(frame, WM_NULL, 0, 0, SMTO_NORMAL, c_startTimeoutMs, &result);
        EXPECT_EQ(c.title, WaitForTitle(frame, c.title)) << c.answer;
        EXPECT_EQ(nullptr, FindDialogOf(process, {})) << "nothing else asked " << c.answer;
    }
    EXPECT_EQ(0, Close(frame));
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Beside a ZipLib.dll with only the maker's exports (no UnZipEx4, no ZipEntryList) the
// editor starts, opens a package and saves it twice, the cleaner's plan applied: what it
// packs is the list of entries, not the work folder as it lies.
TEST_F(EditorProcess, PackageCycleBesideTheMakersZipLib)
{
    ASSERT_TRUE(CopyFileW((ExeFolder() + L"\\ziplib_maker\\ZipLib.dll").c_str(),
                          (m_folder.Path() + L"\\ZipLib.dll").c_str(), FALSE));
    const std::wstring source = m_folder.Path() + L"\\source";
    const std::wstring skinFolder = std::wstring(KAVREL_SOURCE_DIR) + L"\\art\\default_skin";
    ASSERT_TRUE(CreateDirectoryW(source.c_str(), nullptr));
    const std::wstring package = m_folder.Path() + L"\\包.vsf";
    ASSERT_EQ(ZIPLIB_OK, ZipFolder(skinFolder.c_str(), skinFolder.c_str(), package.c_str()));
    ASSERT_EQ(ZIPLIB_OK, UnZip(package.c_str(), source.c_str()));
    // A picture Skin.ini does not name: the save leaves it out.
    {
        const t_autoCloseFile file(
            CreateFileW((source + L"\\unused.png").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.Get(), "not named", 9, &written, nullptr));
    }
    ASSERT_EQ(ZIPLIB_OK, ZipFolder(source.c_str(), source.c_str(), package.c_str()));

    const HWND frame = Start(L"\"" + package + L"\"");
    ASSERT_NE(nullptr, frame);
    ASSERT_TRUE(AnyChildVisible(frame)) << "the package opened";
    for (int round = 0; round < 2; ++round) {
        DWORD_PTR saved = 0;
        ASSERT_TRUE(
            SendMessageTimeoutW(frame, WM_COMMAND, MAKEWPARAM(c_cmdSave, 0), 0, SMTO_NORMAL, c_startTimeoutMs, &saved));
        EXPECT_EQ(1u, saved) << round;
        EXPECT_FALSE(Exists(package + L".bak")) << round;
    }
    EXPECT_EQ(0, Close(frame));
    // The entries were laid out beside the work folder and that folder went again.
    wchar_t work[MAX_PATH];
    ASSERT_GT(GetSkinTempFolder(work, MAX_PATH), 0);
    EXPECT_FALSE(Exists(std::wstring(work) + L".pack"));

    const std::wstring back = m_folder.Path() + L"\\back";
    ASSERT_EQ(ZIPLIB_OK, UnZip(package.c_str(), back.c_str()));
    EXPECT_TRUE(Exists(back + L"\\Skin.ini"));
    EXPECT_TRUE(Exists(back + L"\\a1.png"));
    EXPECT_FALSE(Exists(back + L"\\unused.png"));
}

// The menu font has glyphs for the menu's Chinese texts, not the box of a missing glyph:
// two different characters give different pictures, unlike two missing ones.
TEST(MenuFont, DrawsChineseGlyphs)
{
    for (const wchar_t* pair : {L"文件", L"工具", L"帮助"}) {
        const wchar_t first[2] = {pair[0], 0};
        const wchar_t second[2] = {pair[1], 0};
        const std::vector<DWORD> a = RenderMenuText(first, 32, 32);
        const std::vector<DWORD> b = RenderMenuText(second, 32, 32);
        EXPECT_NE(a, b);
        EXPECT_GT(InkIn(a, 32, {0, 0, 32, 32}), 10);
    }
}
}  // namespace
