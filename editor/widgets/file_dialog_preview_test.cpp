// The picture file dialogs driven as a designer drives them: the dialog runs on the test's
// thread while a second thread finds it, selects files in its list, reads the preview
// area through the template's own drawing and presses its buttons.
#include "editor/widgets/file_dialog_preview.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "editor/app/app.h"
#include "editor/resources/resource_ids.h"
#include "editor/widgets/open_file_ctrl.h"
#include "editor/widgets/widget_font.h"
#include "graphics/codecs/bmp_maker_test.h"
#include "graphics/paint/module_instance.h"
#include "graphics/paint/paint_ctx.h"
#include "tests/support/flat_png.h"
#include "tests/support/process_dialog.h"
#include "tests/support/temp_folder.h"

namespace {

const wchar_t c_pictureFilter[] = L"图片文件\0*.bmp;*.png;*.gif\0所有文件\0*.*\0";
const wchar_t c_anyFilter[] = L"所有文件\0*.*\0";
const DWORD c_waitMs = 8000;
const uint32_t c_red = 0xFF0000;
const uint32_t c_blue = 0x0000FF;

uint32_t ButtonFace()
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    return (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
}

// A 16 x 16 picture, its left half red and its right half black.
std::string HalfBlackBmp()
{
    t_bmpFields fields;
    fields.width = 16;
    fields.height = 16;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const uint32_t color = x < 8 ? c_red : 0;
            fields.pixels += std::string{char(color & 0xFF), char(color >> 8 & 0xFF), char(color >> 16)};
        }
    }
    return MakeBmp(fields);
}

// Pixels of the preview control as the template window paints it (0xRRGGBB, top-down).
struct t_capture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;

    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool Any(int top, int bottom, uint32_t color) const
    {
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < width; ++x)
                if (At(x, y) == color)
                    return true;
        return false;
    }
    bool All(uint32_t color) const
    {
        for (uint32_t p : pixels)
            if (p != color)
                return false;
        return true;
    }
};

BOOL CALLBACK FindChildClass(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<std::pair<const wchar_t*, HWND>*>(context);
    wchar_t name[64];
    if (GetClassNameW(window, name, 64) && lstrcmpiW(name, search->first) == 0) {
        search->second = window;
        return FALSE;
    }
    return TRUE;
}

HWND ChildOfClass(HWND parent, const wchar_t* className)
{
    std::pair<const wchar_t*, HWND> search(className, nullptr);
    EnumChildWindows(parent, FindChildClass, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// Runs on a second thread while the test's thread shows the dialogs: finds each new
// dialog of the process and hands it to the script.
class t_fileDialogDriver {
public:
    explicit t_fileDialogDriver(std::function<void(t_fileDialogDriver&)> script)
        : m_thread([this, script] { script(*this); })
    {}
    ~t_fileDialogDriver()
    {
        if (m_thread.joinable())
            m_thread.join();
    }
    void Join() { m_thread.join(); }

    // The next top-level dialog of the process not seen before; null after the wait.
    HWND NextDialog(DWORD waitMs = c_waitMs)
    {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < waitMs) {
            if (HWND found = FindProcessDialog(m_seen)) {
                m_seen.push_back(found);
                // Let the dialog finish setting itself up.
                Sleep(300);
                return found;
            }
            Sleep(30);
        }
        return nullptr;
    }

    // The template window inside the Explorer dialog.
    static HWND TemplateOf(HWND frame)
    {
        HWND child = nullptr;
        while ((child = FindWindowExW(frame, child, L"#32770", nullptr)) != nullptr) {
            if (GetDlgItem(child, c_filePreviewPicture))
                return child;
        }
        return nullptr;
    }

    static HWND FileList(HWND frame)
    {
        HWND view = ChildOfClass(frame, L"SHELLDLL_DefView");
        return view ? ChildOfClass(view, L"SysListView32") : nullptr;
    }

    // Selects the file of the list by its name, as a click would.
    static bool Select(HWND frame, const std::wstring& name)
    {
        HWND list = FileList(frame);
        if (!list)
            return false;
        LVFINDINFOW find = {};
        find.flags = LVFI_STRING;
        find.psz = name.c_str();
        int index = static_cast<int>(
            SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
        if (index < 0) {
            // Lists that hide known extensions show the stem.
            const std::wstring stem = name.substr(0, name.rfind(L'.'));
            find.psz = stem.c_str();
            index = static_cast<int>(
                SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
        }
        if (index < 0)
            return false;
        LVITEMW item = {};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = 0;
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        return SendMessageW(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item)) != 0;
    }

    // The preview control painted by its template window into a bitmap of its size.
    static t_capture Capture(HWND frame)
    {
        t_capture capture;
        HWND dialog = TemplateOf(frame);
        HWND control = dialog ? GetDlgItem(dialog, c_filePreviewPicture) : nullptr;
        if (!control)
            return capture;
        RECT client;
        GetClientRect(control, &client);
        t_memDC target;
        if (!t_memDC::Create(target, nullptr, client.right, client.bottom))
            return capture;
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_STATIC;
        item.CtlID = c_filePreviewPicture;
        item.itemAction = ODA_DRAWENTIRE;
        item.hwndItem = control;
        item.hDC = target.dc;
        item.rcItem = client;
        SendMessageW(dialog, WM_DRAWITEM, c_filePreviewPicture, reinterpret_cast<LPARAM>(&item));
        return FromTarget(target, capture);
    }

    static t_capture& FromTarget(t_memDC& target, t_capture& capture)
    {
        GdiFlush();
        capture.width = target.width;
        capture.height = target.height;
        capture.pixels.resize(static_cast<size_t>(capture.width) * capture.height);
        for (int y = 0; y < capture.height; ++y)
            for (int x = 0; x < capture.width; ++x)
                capture.pixels[static_cast<size_t>(y) * capture.width + x] =
                    target.Pixels()[static_cast<size_t>(capture.height - 1 - y) * capture.width + x] & 0xFFFFFF;
        return capture;
    }

    // The preview control as it shows on the screen: what its last real paint left.
    static t_capture Shown(HWND frame)
    {
        t_capture capture;
        HWND dialog = TemplateOf(frame);
        HWND control = dialog ? GetDlgItem(dialog, c_filePreviewPicture) : nullptr;
        if (!control)
            return capture;
        RECT client;
        GetClientRect(control, &client);
        t_memDC target;
        if (!t_memDC::Create(target, nullptr, client.right, client.bottom))
            return capture;
        HDC screen = GetDC(control);
        BitBlt(target.dc, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
        ReleaseDC(control, screen);
        return FromTarget(target, capture);
    }

    // Captures until the test holds; false after the wait.
    static bool CaptureUntil(HWND frame, const std::function<bool(const t_capture&)>& test, t_capture* last = nullptr,
                             t_capture (*capturer)(HWND) = Capture)
    {
        const DWORD start = GetTickCount();
        t_capture capture;
        do {
            capture = capturer(frame);
            if (capture.width > 0 && test(capture)) {
                if (last)
                    *last = capture;
                return true;
            }
            Sleep(30);
        } while (GetTickCount() - start < c_waitMs);
        if (last)
            *last = capture;
        return false;
    }

    static void TypeFileName(HWND frame, const std::wstring& name)
    {
        HWND edit = GetDlgItem(frame, edt1);
        if (!edit) {
            HWND combo = GetDlgItem(frame, cmb13);
            edit = combo ? ChildOfClass(combo, L"Edit") : nullptr;
        }
        if (!edit)
            edit = ChildOfClass(frame, L"Edit");
        if (edit)
            SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }

    static void Press(HWND dialog, int button)
    {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
    }

    static std::wstring Texts(HWND dialog)
    {
        std::wstring texts;
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t name[64], text[512];
            if (GetClassNameW(child, name, 64) && lstrcmpiW(name, L"Static") == 0 && GetWindowTextW(child, text, 512))
                texts += std::wstring(text) + L'\n';
        }
        return texts;
    }

private:
    std::vector<HWND> m_seen;
    std::thread m_thread;
};

class FileDialogPreview : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        SetModuleInstance(GetModuleHandleW(nullptr));
        IMEKavrelApp::RegisterClasses();
    }

    void SetUp() override
    {
        ASSERT_TRUE(WriteRaw(m_folder / L"half.bmp", HalfBlackBmp()));
        ASSERT_TRUE(WriteRaw(m_folder / L"blink.png", FlatPng(8, 8, {0xFF0000FFu, 0x0000FFFFu}, 15)));
        ASSERT_TRUE(WriteRaw(m_folder / L"notes.txt", std::string("not a picture")));
        ASSERT_TRUE(WriteRaw(m_folder / L"fake.png", std::string("\x89PNG\r\n\x1a\n but no picture")));
        CreateDirectoryW((m_folder / L"sub").c_str(), nullptr);
        m_owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, m_owner);
        m_dialog.Configure(GetModuleHandleW(nullptr), c_dialogFilePreview, c_filePreviewPicture);
    }

    void TearDown() override
    {
        DestroyWindow(m_owner);
        EXPECT_EQ(nullptr, CFileDialogPreview::Current());
    }

    t_tempFolder m_folder{L"filedlg"};
    HWND m_owner = nullptr;
    CFileDialogPreview m_dialog;
};

TEST_F(FileDialogPreview, OpenDialogPreviewsTheSelectedPictureScaledWithBlackKeyedOut)
{
    const uint32_t face = ButtonFace();
    std::wstring failure;
    RECT fitted = {}, templateClient = {};
    t_capture picture, plain, folder;
    t_fileDialogDriver driver([&](t_fileDialogDriver& d) {
        HWND frame = d.NextDialog();
        HWND dialog = frame ? t_fileDialogDriver::TemplateOf(frame) : nullptr;
        if (!dialog) {
            failure = L"no dialog with the preview template";
            if (frame)
                t_fileDialogDriver::Press(frame, IDCANCEL);
            return;
        }
        HWND control = GetDlgItem(dialog, c_filePreviewPicture);
        GetWindowRect(control, &fitted);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&fitted), 2);
        GetClientRect(dialog, &templateClient);
        // Nothing chosen yet: the area is plain.
        t_capture first = t_fileDialogDriver::Capture(frame);
        if (first.width == 0 || !first.All(face))
            failure += L"the empty area is not plain; ";
        if (!t_fileDialogDriver::Select(frame, L"half.bmp"))
            failure += L"half.bmp not in the list; ";
        if (!t_fileDialogDriver::CaptureUntil(
                frame, [](const t_capture& c) { return c.Any(0, c.height, c_red); }, &picture))
            failure += L"the picture never showed; ";
        // The selection repaints the control itself, not only the template around it.
        if (!t_fileDialogDriver::CaptureUntil(
                frame, [](const t_capture& c) { return c.Any(0, c.height, c_red); }, nullptr,
                t_fileDialogDriver::Shown))
            failure += L"the screen never showed the picture; ";
        t_fileDialogDriver::Select(frame, L"fake.png");
        if (!t_fileDialogDriver::CaptureUntil(
                frame, [&](const t_capture& c) { return c.All(face); }, &plain))
            failure += L"a file that is no picture left a picture; ";
        t_fileDialogDriver::Select(frame, L"half.bmp");
        t_fileDialogDriver::CaptureUntil(frame, [](const t_capture& c) { return c.Any(0, c.height, c_red); });
        // A folder selected while no file name is typed.
        t_fileDialogDriver::TypeFileName(frame, L"");
        t_fileDialogDriver::Select(frame, L"sub");
        if (!t_fileDialogDriver::CaptureUntil(
                frame, [&](const t_capture& c) { return c.All(face); }, &folder))
            failure += L"a folder left a picture; ";
        t_fileDialogDriver::Select(frame, L"half.bmp");
        t_fileDialogDriver::TypeFileName(frame, L"half.bmp");
        t_fileDialogDriver::Press(frame, IDOK);
    });
    const bool chosen = m_dialog.ChooseOpenFile(m_owner, c_pictureFilter, m_folder.Path().c_str());
    driver.Join();
    ASSERT_TRUE(failure.empty()) << std::string(failure.begin(), failure.end());
    EXPECT_TRUE(chosen);
    EXPECT_EQ(m_folder / L"half.bmp", m_dialog.GetPath());

    // The area keeps its place and width and reaches down to the caption's height above
    // the template's bottom.
    EXPECT_EQ(templateClient.bottom - GetSystemMetrics(SM_CYCAPTION) - fitted.top, fitted.bottom - fitted.top);
    ASSERT_GT(picture.height, CFileDialogPreview::c_labelHeight);

    // The 16 x 16 picture fills the side that it reaches first above the label's band,
    // centred together with the band.
    const int room = picture.height - CFileDialogPreview::c_labelHeight;
    const int side = std::min(picture.width, room);
    const int left = (picture.width - side) / 2, top = (room - side) / 2;
    const CFileDialogPreview::t_layout layout = CFileDialogPreview::Layout(picture.width, picture.height, 16, 16);
    EXPECT_EQ(left, layout.picture.left);
    EXPECT_EQ(top, layout.picture.top);
    EXPECT_EQ(side, layout.picture.right - layout.picture.left);
    EXPECT_EQ(side, layout.picture.bottom - layout.picture.top);
    EXPECT_EQ(c_red, picture.At(left, top));
    EXPECT_EQ(c_red, picture.At(left + side / 2 - 2, top + side / 3));
    EXPECT_EQ(c_red, picture.At(left, top + side - 1));
    if (left > 0) {
        EXPECT_EQ(face, picture.At(left - 1, top));
    }
    if (top > 0) {
        EXPECT_EQ(face, picture.At(left, top - 1));
    }
    // The black half is keyed out.
    EXPECT_EQ(face, picture.At(left + side / 2 + 2, top + side / 3));
    EXPECT_EQ(face, picture.At(left + side - 1, top));
    // The size label is in the text colour, below the picture and nowhere else.
    const uint32_t text = [] {
        const COLORREF c = GetSysColor(COLOR_BTNTEXT);
        return static_cast<uint32_t>(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
    }();
    EXPECT_TRUE(picture.Any(top + side, picture.height, text));
    EXPECT_FALSE(picture.Any(0, top + side, text));
}

// A photo-like picture: smooth shading with texture and a dark top, never pure black
// (which the preview keys out).
uint32_t PhotoPixel(int x, int y, int width, int height)
{
    const double shade = y < height / 2 ? 0.06 + 0.94 * y / (height / 2.0) : 1.0;
    const double r = 40 + 180.0 * x / width + 30 * sin(x / 23.0);
    const double g = 60 + 150.0 * y / height + 30 * cos(y / 17.0 + x / 41.0);
    const double b = 120 + 100 * sin((x + y) / 57.0);
    const auto channel = [shade](double v) { return static_cast<uint32_t>(std::clamp(v * shade, 1.0, 255.0)); };
    return channel(r) << 16 | channel(g) << 8 | channel(b);
}

std::string PhotoBmp(int width, int height)
{
    t_bmpFields fields;
    fields.width = width;
    fields.height = height;
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    fields.pixels.assign(stride * height, '\0');
    for (int y = 0; y < height; ++y) {
        char* row = &fields.pixels[(height - 1 - y) * stride];
        for (int x = 0; x < width; ++x) {
            const uint32_t c = PhotoPixel(x, y, width, height);
            row[3 * x] = static_cast<char>(c & 0xFF);
            row[3 * x + 1] = static_cast<char>(c >> 8 & 0xFF);
            row[3 * x + 2] = static_cast<char>(c >> 16);
        }
    }
    return MakeBmp(fields);
}

// The same picture as an RGB PNG (no alpha), as cameras and editors write photos.
std::string PhotoPng(int width, int height)
{
    using namespace n_flatPng;
    std::string out = "\x89PNG\r\n\x1a\n";
    Chunk(out, "IHDR", Be32(width) + Be32(height) + std::string("\x08\x02\x00\x00\x00", 5));
    Chunk(out, "IDAT",
          PixelData(
              width, height, [=](int x, int y) { return PhotoPixel(x, y, width, height) << 8 | 0xFFu; }, 3));
    Chunk(out, "IEND", "");
    return out;
}

TEST_F(FileDialogPreview, PhotoIsShrunkByAreaLikeAScaledReferenceWithItsSizeBelow)
{
    const int width = 1500, height = 1000;
    ASSERT_TRUE(WriteRaw(m_folder / L"photo.png", PhotoPng(width, height)));
    ASSERT_TRUE(WriteRaw(m_folder / L"photo.bmp", PhotoBmp(width, height)));
    const uint32_t face = ButtonFace();
    for (const wchar_t* name : {L"photo.png", L"photo.bmp"}) {
        std::wstring failure;
        t_capture shown;
        t_fileDialogDriver driver([&](t_fileDialogDriver& d) {
            HWND frame = d.NextDialog();
            if (!frame || !t_fileDialogDriver::TemplateOf(frame)) {
                failure = L"no dialog with the preview template";
                if (frame)
                    t_fileDialogDriver::Press(frame, IDCANCEL);
                return;
            }
            if (!t_fileDialogDriver::Select(frame, name))
                failure += L"the photo is not in the list; ";
            if (!t_fileDialogDriver::CaptureUntil(
                    frame, [face](const t_capture& c) { return !c.All(face); }, &shown))
                failure += L"the photo never showed; ";
            t_fileDialogDriver::Press(frame, IDCANCEL);
        });
        m_dialog.ChooseOpenFile(m_owner, c_pictureFilter, m_folder.Path().c_str());
        driver.Join();
        ASSERT_TRUE(failure.empty()) << std::string(failure.begin(), failure.end());

        const CFileDialogPreview::t_layout layout =
            CFileDialogPreview::Layout(shown.width, shown.height, width, height);
        const RECT& at = layout.picture;
        const int dw = at.right - at.left, dh = at.bottom - at.top;
        ASSERT_GT(dw, 100);
        ASSERT_GT(dh, 50);
        // The reference: every target pixel the plain average of the source pixels under it.
        std::set<uint32_t> referenceColours, shownColours;
        double difference = 0;
        int worst = 0;
        for (int v = 0; v < dh; ++v) {
            const int y0 = v * height / dh, y1 = std::max(y0 + 1, (v + 1) * height / dh);
            for (int u = 0; u < dw; ++u) {
                const int x0 = u * width / dw, x1 = std::max(x0 + 1, (u + 1) * width / dw);
                double sum[3] = {};
                for (int y = y0; y < y1; ++y)
                    for (int x = x0; x < x1; ++x) {
                        const uint32_t c = PhotoPixel(x, y, width, height);
                        for (int k = 0; k < 3; ++k)
                            sum[k] += c >> (8 * k) & 0xFF;
                    }
                const uint32_t pixel = shown.At(at.left + u, at.top + v);
                uint32_t reference = 0;
                for (int k = 0; k < 3; ++k) {
                    const int mean = static_cast<int>(sum[k] / ((y1 - y0) * (x1 - x0)) + 0.5);
                    reference |= static_cast<uint32_t>(mean) << (8 * k);
                    const int off = std::abs(mean - static_cast<int>(pixel >> (8 * k) & 0xFF));
                    difference += off;
                    worst = std::max(worst, off);
                }
                referenceColours.insert(reference);
                shownColours.insert(pixel);
            }
        }
        const double meanDifference = difference / (3.0 * dw * dh);
        const std::string label(name, name + wcslen(name));
        EXPECT_LT(meanDifference, 2.0) << label;
        EXPECT_LT(worst, 24) << label;
        EXPECT_GT(shownColours.size() * 10, referenceColours.size() * 8)
            << label << ": " << shownColours.size() << " colours against " << referenceColours.size();
        // The size label lies below the picture: nothing but the picture above its bottom.
        bool outside = false;
        for (int y = 0; y < at.bottom; ++y)
            for (int x = 0; x < shown.width; ++x)
                outside = outside || ((x < at.left || x >= at.right || y < at.top) && shown.At(x, y) != face);
        EXPECT_FALSE(outside) << label;
        EXPECT_TRUE(shown.Any(at.bottom, shown.height,
                              [] {
                                  const COLORREF c = GetSysColor(COLOR_BTNTEXT);
                                  return static_cast<uint32_t>(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
                              }()))
            << label;
    }
}

TEST_F(FileDialogPreview, AnimatedPicturePlaysInThePreview)
{
    std::wstring failure;
    t_fileDialogDriver driver([&](t_fileDialogDriver& d) {
        HWND frame = d.NextDialog();
        if (!frame || !t_fileDialogDriver::TemplateOf(frame)) {
            failure = L"no dialog with the preview template";
            if (frame)
                t_fileDialogDriver::Press(frame, IDCANCEL);
            return;
        }
        if (!t_fileDialogDriver::Select(frame, L"blink.png"))
            failure += L"blink.png not in the list; ";
        // The frames take turns: red, blue and red again.
        for (uint32_t color : {c_red, c_blue, c_red}) {
            const auto shows = [color](const t_capture& c) { return c.At(c.width / 2, c.height / 3) == color; };
            if (!t_fileDialogDriver::CaptureUntil(frame, shows))
                failure += L"a frame never showed; ";
        }
        t_fileDialogDriver::Press(frame, IDCANCEL);
    });
    EXPECT_FALSE(m_dialog.ChooseOpenFile(m_owner, c_pictureFilter, m_folder.Path().c_str()));
    driver.Join();
    EXPECT_TRUE(failure.empty()) << std::string(failure.begin(), failure.end());
    // A cancel chose nothing, not even the file last previewed, and is no error.
    EXPECT_STREQ(L"", m_dialog.GetPath());
    EXPECT_EQ(0u, m_dialog.ExtendedError());
}

TEST_F(FileDialogPreview, SaveDialogAsksBeforeOverwriting)
{
    std::wstring failure, question;
    t_fileDialogDriver driver([&](t_fileDialogDriver& d) {
        HWND frame = d.NextDialog();
        if (!frame || !t_fileDialogDriver::TemplateOf(frame)) {
            failure = L"no dialog with the preview template";
            if (frame)
                t_fileDialogDriver::Press(frame, IDCANCEL);
            return;
        }
        // Declining keeps the dialog open; agreeing ends it.
        for (int answer : {IDNO, IDYES}) {
            t_fileDialogDriver::TypeFileName(frame, L"half.bmp");
            t_fileDialogDriver::Press(frame, IDOK);
            HWND ask = d.NextDialog();
            if (!ask) {
                failure += L"no question before overwriting; ";
                t_fileDialogDriver::Press(frame, IDCANCEL);
                return;
            }
            question = t_fileDialogDriver::Texts(ask);
            if (!GetDlgItem(ask, IDYES) || !GetDlgItem(ask, IDNO))
                failure += L"the question is not yes or no; ";

            t_fileDialogDriver::Press(ask, answer);
            Sleep(300);
            if (answer == IDNO && !IsWindowVisible(frame))
                failure += L"declining closed the dialog; ";
        }
    });
    const bool chosen = m_dialog.ChooseSaveFile(m_owner, c_pictureFilter, m_folder.Path().c_str());
    driver.Join();
    ASSERT_TRUE(failure.empty()) << std::string(failure.begin(), failure.end());
    EXPECT_TRUE(chosen);
    EXPECT_EQ(m_folder / L"half.bmp", m_dialog.GetPath());
    EXPECT_FALSE(question.empty());

    // A new name is taken without a question.
    t_fileDialogDriver fresh([&](t_fileDialogDriver& d) {
        HWND frame = d.NextDialog();
        if (!frame)
            return;
        t_fileDialogDriver::TypeFileName(frame, L"new.png");
        t_fileDialogDriver::Press(frame, IDOK);
        if (HWND ask = d.NextDialog(1500)) {
            failure += L"asked about a new file; ";
            t_fileDialogDriver::Press(ask, IDYES);
        }
    });
    EXPECT_TRUE(m_dialog.ChooseSaveFile(m_owner, c_pictureFilter, m_folder.Path().c_str()));
    fresh.Join();
    EXPECT_TRUE(failure.empty()) << std::string(failure.begin(), failure.end());
    EXPECT_EQ(m_folder / L"new.png", m_dialog.GetPath());
}

// Both dialogs open with the focus in the file-name box: a name typed at once lands there.
TEST_F(FileDialogPreview, NameTypedAtOnceLandsInTheNameBox)
{
    for (const bool save : {true, false}) {
        const std::wstring name = save ? L"typed.png" : L"half.bmp";
        std::wstring failure;
        t_fileDialogDriver driver([&](t_fileDialogDriver& d) {
            HWND frame = d.NextDialog();
            if (!frame) {
                failure = L"no dialog";
                return;
            }
            // The dialog activated, as it is when its owner was the active window: a dialog
            // restores the focus it keeps for itself.
            SendMessageW(frame, WM_ACTIVATE, WA_ACTIVE, 0);
            GUITHREADINFO info = {};
            info.cbSize = sizeof(info);
            GetGUIThreadInfo(GetWindowThreadProcessId(frame, nullptr), &info);
            wchar_t kind[64] = L"";
            GetClassNameW(info.hwndFocus, kind, 64);
            if (!info.hwndFocus || lstrcmpiW(kind, L"Edit") != 0 || GetAncestor(info.hwndFocus, GA_ROOT) != frame)
                failure = std::wstring(L"focus on a ") + kind + L"; ";
            // Keys go to the focused window.
            for (wchar_t c : name)
                PostMessageW(info.hwndFocus, WM_CHAR, c, 1);
            Sleep(200);
            t_fileDialogDriver::Press(frame, IDOK);
            if (HWND other = d.NextDialog(1500)) {
                failure += L"another dialog: " + t_fileDialogDriver::Texts(other) + L"; ";
                t_fileDialogDriver::Press(other, IDCANCEL);
                t_fileDialogDriver::Press(frame, IDCANCEL);
            } else if (IsWindow(frame) && IsWindowVisible(frame)) {
                failure += L"no name reached the dialog; ";
                t_fileDialogDriver::Press(frame, IDCANCEL);
            }
        });
        const bool chosen = save ? m_dialog.ChooseSaveFile(m_owner, c_pictureFilter, m_folder.Path().c_str())
                                 : m_dialog.ChooseOpenFile(m_owner, c_pictureFilter, m_folder.Path().c_str());
        driver.Join();
        EXPECT_TRUE(failure.empty()) << (save ? "save: " : "open: ") << std::string(failure.begin(), failure.end());
        EXPECT_TRUE(chosen);
        EXPECT_EQ(m_folder / name, m_dialog.GetPath());
    }
}

TEST_F(FileDialogPreview, MissingTemplateFailsAndLeavesNoDialogRunning)
{
    CFileDialogPreview broken;
    broken.Configure(GetModuleHandleW(nullptr), 9999, c_filePreviewPicture);
    // Should a dialog come up all the same, it is cancelled.
    t_fileDialogDriver driver([&](t_fileDialogDriver& d) {
        if (HWND frame = d.NextDialog(2000))
            t_fileDialogDriver::Press(frame, IDCANCEL);
    });
    EXPECT_FALSE(broken.ChooseOpenFile(m_owner, c_pictureFilter, m_folder.Path().c_str()));
    driver.Join();
    EXPECT_EQ(nullptr, CFileDialogPreview::Current());
    EXPECT_STREQ(L"", broken.GetPath());
    EXPECT_NE(0u, broken.ExtendedError());

    // An unconfigured dialog shows nothing.
    CFileDialogPreview unconfigured;
    EXPECT_FALSE(unconfigured.ChooseOpenFile(m_owner, c_pictureFilter, nullptr));
}

// The path field inside a small test window.
class PathField : public FileDialogPreview {
protected:
    static const UINT c_notify = WM_APP + 17;

    void SetUp() override
    {
        FileDialogPreview::SetUp();
        ASSERT_TRUE(m_field.Create(m_owner, RECT{10, 20, 410, 44}, L"背景图片", 80, 240, 60, c_notify));
        m_field.SetFilter(c_anyFilter, sizeof(c_anyFilter) / sizeof(wchar_t));
        m_field.SetPath(L"old.png");
    }

    // Clicks "导入..." (the dialog runs inside) and counts the notifications after it.
    int BrowseAndCount()
    {
        SendMessageW(m_field.GetHwnd(), WM_COMMAND, MAKEWPARAM(OpenFileCtrl::c_buttonId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(m_field.GetHwnd(), OpenFileCtrl::c_buttonId)));
        int count = 0;
        MSG msg;
        while (PeekMessageW(&msg, m_owner, c_notify, c_notify, PM_REMOVE))
            ++count;
        return count;
    }

    std::wstring EditText() const
    {
        wchar_t text[MAX_PATH];
        GetWindowTextW(GetDlgItem(m_field.GetHwnd(), OpenFileCtrl::c_editId), text, MAX_PATH);
        return text;
    }

    OpenFileCtrl m_field;
};

TEST_F(PathField, LaysOutLabelEditAndButtonInItsFont)
{
    HWND field = m_field.GetHwnd();
    RECT own;
    GetClientRect(field, &own);
    EXPECT_EQ(400, own.right);
    EXPECT_EQ(24, own.bottom);
    struct t_row {
        HWND control;
        int left, width;
        const wchar_t* text;
    };
    const t_row rows[] = {
        {FindWindowExW(field, nullptr, L"Static", nullptr), 0, 80, L"背景图片"},
        {GetDlgItem(field, OpenFileCtrl::c_editId), 82, 240, L"old.png"},
        {GetDlgItem(field, OpenFileCtrl::c_buttonId), 324, 60, L"导入..."},
    };
    for (const t_row& row : rows) {
        ASSERT_NE(nullptr, row.control) << row.left;
        RECT rect;
        GetWindowRect(row.control, &rect);
        MapWindowPoints(nullptr, field, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(row.left, rect.left);
        EXPECT_EQ(row.width, rect.right - rect.left);
        EXPECT_EQ(24, rect.bottom - rect.top);
        wchar_t text[64];
        GetWindowTextW(row.control, text, 64);
        EXPECT_STREQ(row.text, text);
        LOGFONTW font = {};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(row.control, WM_GETFONT, 0, 0)), sizeof(font), &font);
        EXPECT_EQ(n_widgetFont::Shared(), reinterpret_cast<HFONT>(SendMessageW(row.control, WM_GETFONT, 0, 0)));
        EXPECT_LT(font.lfHeight, 0);
        EXPECT_STREQ(L"宋体", font.lfFaceName);
    }
    EXPECT_TRUE(GetWindowLongW(rows[1].control, GWL_STYLE) & ES_READONLY);

    // A child field needs a parent window.
    OpenFileCtrl orphan;
    EXPECT_FALSE(orphan.Create(nullptr, RECT{0, 0, 100, 20}, L"x", 10, 50, 30, c_notify));
}

TEST_F(PathField, LongFilterIsCutAtItsRoomAndStillEnds)
{
    // 29 pairs of 9 characters: the 29th is cut inside its pattern, the rest dropped.
    std::wstring filter;
    for (int i = 0; i < 29; ++i)
        filter += std::wstring(L"图片") + L'\0' + L"*.png" + L'\0';
    m_field.SetFilter(filter.c_str(), static_cast<int>(filter.size()));
    LRESULT shown = 0;
    t_fileDialogDriver driver([&](t_fileDialogDriver& d) {
        HWND frame = d.NextDialog();
        if (!frame)
            return;
        HWND combo = GetDlgItem(frame, cmb1);
        shown = combo ? SendMessageW(combo, CB_GETCOUNT, 0, 0) : -1;
        t_fileDialogDriver::Press(frame, IDCANCEL);
    });
    EXPECT_EQ(0, BrowseAndCount());
    driver.Join();
    EXPECT_EQ(OpenFileCtrl::c_filterCapacity / 9 + 1, shown);
}

TEST_F(PathField, PostsOnlyWhenAFileWasChosen)
{
    // Cancelled: neither the path nor the parent hears of it.
    {
        t_fileDialogDriver driver([](t_fileDialogDriver& d) {
            if (HWND frame = d.NextDialog())
                t_fileDialogDriver::Press(frame, IDCANCEL);
        });
        EXPECT_EQ(0, BrowseAndCount());
        driver.Join();
        EXPECT_EQ(L"old.png", m_field.GetPath());
        EXPECT_EQ(L"old.png", EditText());
        EXPECT_EQ(L"", m_field.ChosenFile());
    }
    // Chosen: the parent gets the file and one notification; the name shown is the
    // parent's to change once it has imported the file.
    std::wstring filters;
    {
        t_fileDialogDriver driver([&](t_fileDialogDriver& d) {
            HWND frame = d.NextDialog();
            if (!frame)
                return;
            HWND combo = GetDlgItem(frame, cmb1);
            wchar_t text[64] = {};
            if (combo && SendMessageW(combo, CB_GETCOUNT, 0, 0) == 1)
                SendMessageW(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
            filters = text;
            t_fileDialogDriver::TypeFileName(frame, m_folder / L"notes.txt");
            t_fileDialogDriver::Press(frame, IDOK);
        });
        EXPECT_EQ(1, BrowseAndCount());
        driver.Join();
    }
    EXPECT_EQ(L"所有文件", filters);
    EXPECT_EQ(m_folder / L"notes.txt", m_field.ChosenFile());
    EXPECT_EQ(L"old.png", EditText());
}

}  // namespace
