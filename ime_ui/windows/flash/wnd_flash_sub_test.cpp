#include "ime_ui/windows/flash/wnd_flash_sub.h"

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <vector>

#include "interfaces/flash_interfaces.h"
#include "foundation/config/runtime.h"
#include "graphics/image/image_source.h"
#include "ime_ui/windows/flash/wnd_flash_bk_sub_impl.h"
#include "ime_ui/windows/flash/wnd_flash_popup_impl.h"
#include "ime_ui/windows/flash/wnd_flash_sender.h"
#include "ime_ui/windows/ime_messages.h"
#include "tests/support/paint_surface.h"
#include "tests/support/runtime_init.h"

namespace {

// A picture record over a caller-owned w x h buffer of one premultiplied colour.
class t_flatPicture {
public:
    t_flatPicture(int w, int h, uint32_t bgra) : m_pixels(static_cast<size_t>(w) * h, bgra)
    {
        record.Init();
        if (t_imageSource::CreateFromPixels(1, m_pixels.data(), w, h, m_source, 0, nullptr))
            record.SetPart(m_source, 0, 0, c_noColorKey, c_noColorKey, -1, -1, t_image::e_natural, t_image::e_natural,
                           true);
    }
    ~t_flatPicture() { t_imageSource::Destroy(m_source); }

    t_image record;

private:
    std::vector<uint32_t> m_pixels;
    t_imageSource* m_source = nullptr;
};

RECT Rect(int l, int t, int r, int b) { return RECT{l, t, r, b}; }

void ExpectRect(const RECT& expected, const RECT& actual, const char* what)
{
    EXPECT_EQ(expected.left, actual.left) << what;
    EXPECT_EQ(expected.top, actual.top) << what;
    EXPECT_EQ(expected.right, actual.right) << what;
    EXPECT_EQ(expected.bottom, actual.bottom) << what;
}

TEST(FlashPlaceholder, ShrinksKeepingItsAspectButNeverEnlargesAndCentres)
{
    const struct {
        int w, h;
        RECT target;
        RECT painted;
        const char* what;
    } cases[] = {
        {40, 20, Rect(0, 0, 20, 20), Rect(0, 5, 20, 15), "wider than the box: width decides"},
        {10, 30, Rect(2, 2, 22, 17), Rect(9, 2, 14, 17), "taller than the box: height decides"},
        {4, 2, Rect(0, 0, 20, 20), Rect(8, 9, 12, 11), "smaller: natural size, centred"},
        {4, 2, Rect(3, 4, 3, 20), Rect(20, 20, 0, 0), "empty box: nothing"},
    };
    for (const auto& c : cases) {
        t_flatPicture picture(c.w, c.h, 0xFFFF0000);
        t_flashPlaceholder placeholder;
        placeholder.Set(picture.record);
        t_testSurface surface(20, 20, true);
        placeholder.Paint(surface.Paint(), c.target);
        ExpectRect(c.painted, surface.AlphaBounds(), c.what);
        EXPECT_FALSE(placeholder.IsDefault()) << c.what;
        if (surface.CountAlpha() > 0) {
            EXPECT_EQ(0xFFFF0000u, surface.At(c.painted.left, c.painted.top)) << c.what;
        }
    }
}

class FlashPlaceholderDefault : public ::testing::Test {
protected:
    // The default picture comes from Resource.dll beside the test program.
    static void SetUpTestSuite()
    {
        InitRuntimeInProgramFolder();
    }
};

TEST_F(FlashPlaceholderDefault, ARecordWithoutPictureShowsTheDefaultOverAGreyBox)
{
    t_image none;
    none.Init();
    t_wndFlashSubDummy item;
    item.SetPlaceholder(none);
    ASSERT_TRUE(item.CreateFlash(nullptr, nullptr, c_flashNotifyMessage, 0xFFFF, nullptr));
    item.SetSize(64, 48);
    item.MoveTo(0, 0);
    t_testSurface surface(64, 48, true);
    item.Paint_Layout(surface.Paint());
    ASSERT_TRUE(item.placeholder.IsDefault()) << "IDR_PNG_FLASH of Resource.dll";
    // Every pixel is covered: the light outline on the edge, the grey box inside.
    EXPECT_EQ(64 * 48, surface.CountAlpha());
    const uint32_t edge = surface.At(0, 0);
    const uint32_t box = surface.At(2, 2);
    // The box: 0xDCDCDC at alpha 0xCC, premultiplied.
    EXPECT_EQ(0xCCu, box >> 24);
    EXPECT_NEAR(0xDC * 0xCC / 255, static_cast<int>(box & 0xFF), 1);
    EXPECT_EQ(box & 0xFFFFFF, ((box & 0xFF) * 0x010101u)) << "grey";
    // The outline is laid over the box.
    EXPECT_GT(edge >> 24, box >> 24);
    EXPECT_EQ(edge & 0xFFFFFF, ((edge & 0xFF) * 0x010101u)) << "grey";
    // The picture sits in the middle: something there differs from the box.
    bool pictureSeen = false;
    for (int y = 8; y < 40 && !pictureSeen; ++y) {
        for (int x = 8; x < 56 && !pictureSeen; ++x)
            pictureSeen = surface.At(x, y) != box;
    }
    EXPECT_TRUE(pictureSeen);
    EXPECT_FALSE(item.HitTest(10, 10, 0)) << "a placeholder takes no mouse";

    // A picture given later replaces the default.
    t_flatPicture picture(4, 2, 0xFF0000FF);
    item.SetPlaceholder(picture.record);
    EXPECT_FALSE(item.placeholder.IsDefault());
}

TEST(FlashSub, EachKindIsMadeAndThePlaceholderDoesNothing)
{
    t_wndFlashSub* made = NewFlashSub(t_flashSubKind::e_placeholder);
    ASSERT_NE(nullptr, dynamic_cast<t_wndFlashSubDummy*>(made));
    EXPECT_EQ(0, made->StubCall2(1, 2));
    EXPECT_EQ(0, made->StubCall3(1, 2, 3));
    made->SetNotified(true);
    EXPECT_FALSE(made->IsNotified());
    EXPECT_FALSE(made->TickFlash());
    delete made;
    const struct {
        t_flashSubKind kind;
        bool (*isIt)(t_wndFlashSub*);
    } kinds[] = {
        {t_flashSubKind::e_inWindow, [](t_wndFlashSub* s) { return typeid(*s) == typeid(t_wndFlashSubImpl); }},
        {t_flashSubKind::e_background,
         [](t_wndFlashSub* s) { return dynamic_cast<t_wndFlashBkSubImpl*>(s) != nullptr; }},
        {t_flashSubKind::e_popup, [](t_wndFlashSub* s) { return dynamic_cast<t_wndFlashPopupImpl*>(s) != nullptr; }},
    };
    for (const auto& k : kinds) {
        t_wndFlashSub* sub = NewFlashSub(k.kind);
        ASSERT_NE(nullptr, sub);
        EXPECT_TRUE(k.isIt(sub)) << static_cast<int>(k.kind);
        delete sub;
    }
    EXPECT_EQ(nullptr, NewFlashSub(static_cast<t_flashSubKind>(9)));
}

// ---- the sender

struct t_fakeStub : i_flashStub {
    std::vector<std::string> calls;
    HWND lastHost = nullptr;

    void Delete() override { calls.push_back("delete"); }
    int Version() override { return 1; }
    int Create(DWORD, DWORD, HWND, int, LPARAM) override { return 1; }
    void SetSize(const SIZE*) override {}
    bool GetFrame(t_flashFrame*) override { return false; }
    LRESULT SendMouse(HWND, UINT, WPARAM, LPARAM) override { return 0; }
    int Load(const wchar_t*) override { return 0; }
    int HitTest(int, int) override { return 0; }
    void SetCommandSink(t_flashSkinCmd*) override {}
    void Call2(intptr_t a, intptr_t b) override { calls.push_back("call2 " + std::to_string(a + b)); }
    void Call3(intptr_t a, intptr_t b, intptr_t c) override { calls.push_back("call3 " + std::to_string(a + b + c)); }
    void Call1(intptr_t) override {}
    void SetHostWindow(HWND window) override
    {
        lastHost = window;
        calls.push_back("host");
    }
    void Move(int x, int y, int w, int h) override
    {
        calls.push_back("move " + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(w) + "," +
                        std::to_string(h));
    }
    void Show(bool shown) override { calls.push_back(shown ? "show" : "hide"); }
};

t_fakeStub g_stub;
int g_made = 0;
i_flashStub* MakeFake()
{
    ++g_made;
    return &g_stub;
}
i_flashStub* MakeNothing()
{
    ++g_made;
    return nullptr;
}

TEST(FlashSender, MakesItsStubOnFirstNeedAndTellsItTheHostBeforeEachMove)
{
    t_wndFlashSenderImpl* sender = t_wndFlashSenderImpl::Instance();
    ASSERT_NE(nullptr, sender);
    EXPECT_EQ(sender, t_wndFlashSenderImpl::Instance());
    EXPECT_TRUE(sender->CreateFlash(nullptr, nullptr, 0, 0, nullptr));
    EXPECT_FALSE(sender->HitTest(0, 0, 0));
    EXPECT_EQ(nullptr, sender->CreateLayout());

    // Without a Flash component nothing happens and every call answers 0.
    sender->ReleaseStub();
    sender->SetStubMaker(MakeNothing);
    EXPECT_EQ(0, sender->StubCall2(1, 2));
    sender->FollowRect(RECT{1, 2, 3, 4});
    EXPECT_EQ(nullptr, sender->Stub());

    g_made = 0;
    sender->SetStubMaker(MakeFake);
    const HWND host = reinterpret_cast<HWND>(static_cast<intptr_t>(0x77));
    sender->SetHostWindow(host);
    EXPECT_EQ(1, sender->StubCall3(1, 2, 3));
    EXPECT_EQ(1, sender->StubCall2(4, 5));
    sender->FollowRect(RECT{10, 20, 40, 60});
    sender->FollowShow(true);
    sender->FollowShow(false);
    EXPECT_EQ(1, g_made) << "one stub for the life of the sender";
    EXPECT_EQ(host, g_stub.lastHost);
    EXPECT_EQ(
        (std::vector<std::string>{"call3 6", "call2 9", "host", "move 10,20,30,40", "host", "show", "host", "hide"}),
        g_stub.calls);
    // The stand-in is not a Flash component stub: releasing it leaves it alone.
    sender->ReleaseStub();
    EXPECT_EQ(nullptr, sender->Stub());
    EXPECT_EQ("hide", g_stub.calls.back());
    sender->SetStubMaker(MakeNothing);
}

}  // namespace
