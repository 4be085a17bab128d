// The status buttons over a runtime skin loaded from a generated skin pack, with a fake
// host: the class made for each key, modes that follow the host's answers, clicks that
// call the layer callbacks, the host and the window the button lives in, hints, the
// button layer's placement as rendered, and the default skin's hover look.
#include "ime_ui/windows/buttons/wnd_status_btn.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "foundation/process/ui_function.h"
#include "graphics/layout/layout_aligned.h"
#include "graphics/layout/layout_grid.h"
#include "graphics/layout/layout_wnd.h"
#include "graphics/layout/render.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/pixel_ops.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "ime_ui/windows/buttons/button_layer.h"
#include "ime_ui/windows/buttons/status_button_factory.h"
#include "ime_ui/windows/buttons/status_buttons.h"
#include "tests/support/exe_folder.h"
#include "tests/support/flat_png.h"
#include "tests/support/painted_tree.h"
#include "tests/support/temp_folder.h"
#include "tests/support/utf16_file.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/input_hooks.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_settings.h"
#include "toolkit/controls/ui_wrap.h"
#include "toolkit/controls/wnd_image.h"

namespace {

// Every call of the host's callback table: the entry number, with the arguments seen.
std::vector<int> g_callbacks;
HWND g_callbackHost = nullptr;
t_uiSettings* g_callbackSettings = nullptr;

template <int N>
int RecordCallback(HWND host, t_uiSettings* settings)
{
    g_callbacks.push_back(N);
    g_callbackHost = host;
    g_callbackSettings = settings;
    return 0;
}

template <int... N>
void FillCallbacks(std::integer_sequence<int, N...>)
{
    (UiFunction::Instance()->Set(N, &RecordCallback<N>), ...);
}

class t_fakeImc : public ImcWrapImplBase {
public:
    bool IsFullWidth(HWND host) override { return Seen(host, fullWidth); }
    bool IsChineseMode(HWND host) override { return Seen(host, chinese); }
    bool IsChinesePunct(HWND host) override { return Seen(host, punct); }
    bool IsSoftKeyboardOn(HWND host) override { return Seen(host, softKeyboard); }
    bool IsTraditional(HWND host) override { return Seen(host, traditional); }
    bool CanPageUp(HWND host) override { return Seen(host, pageUp); }
    bool CanPageDown(HWND host) override { return Seen(host, pageDown); }
    bool IsInputDisabled() override { return disabled; }

    bool Seen(HWND host, bool answer)
    {
        lastHost = host;
        return answer;
    }

    bool fullWidth = false, chinese = true, punct = true, softKeyboard = false, traditional = false;
    bool pageUp = false, pageDown = true, disabled = false;
    HWND lastHost = nullptr;
};

class t_fakeUi : public UiWrapImplBase {
public:
    struct t_popup {
        HWND host;
        int x, y, mode;
    };
    void PopupAt(HWND host, int x, int y, int popupMode) override { popups.push_back({host, x, y, popupMode}); }
    bool IsPassportLoggedIn() override { return loggedIn; }
    bool IsPassportToggled() override { return toggled; }
    void GetButtonHintText(wchar_t* text, int capacity, int window, int type, int index, const t_uiSettings*) override
    {
        const std::wstring hint =
            L"host " + std::to_wstring(window) + L"/" + std::to_wstring(type) + L"/" + std::to_wstring(index);
        wcsncpy(text, hint.c_str(), capacity - 1);
    }
    void NavigateUrl(const wchar_t* url) override { urls.push_back(url); }
    bool IsSkinBoxActive() override { return skinBoxActive; }
    void OnSkinBoxLaunch(int flag) override { skinBoxLaunches.push_back(flag); }
    void RunComponent(int bundleId, int componentId) override { runs.push_back({bundleId, componentId}); }
    int GetComponentState(int bundleId, int componentId) override
    {
        asked = {bundleId, componentId};
        return componentState;
    }

    std::vector<t_popup> popups;
    std::vector<std::wstring> urls;
    std::vector<int> skinBoxLaunches;
    std::vector<std::pair<int, int>> runs;
    std::pair<int, int> asked = {0, 0};
    bool loggedIn = false, toggled = false, skinBoxActive = false;
    int componentState = 0;
};

// Flat pictures of 10 x 10, each of its own colour (0xRRGGBBAA); the background bk.png is
// 100 x 30, the size of the window.
const struct {
    const wchar_t* name;
    uint32_t rgba;
} c_pictures[] = {
    {L"red.png", 0xFF0000FF},  {L"green.png", 0x00FF00FF}, {L"blue.png", 0x0000FFFF},  {L"yellow.png", 0xFFFF00FF},
    {L"cyan.png", 0x00FFFFFF}, {L"pink.png", 0xFF00FFFF},  {L"white.png", 0xFFFFFFFF}, {L"orange.png", 0xFF8000FF},
    {L"half.png", 0x80808080}, {L"clear.png", 0x00000000},
};

// The common part of the test skins: every built-in kind shown with three layers, a
// hint on the menu button, three custom buttons (only the middle one with a url) and a
// component button.
std::wstring SkinIni(const std::wstring& extra)
{
    std::wstring ini = L"[General]\r\nskin_id=t\r\n[Display]\r\nwebpage=http://example.com/a/long/address/x\r\n" +
                       extra + L"[StatusBar]\r\npic=bk.png\r\n";
    for (int kind = 0; kind < c_skinFixedButtonCount; ++kind) {
        const std::wstring name = SkinButtonName(kind);
        ini += name + L"_display=1\r\n" + name + L"=red.png,green.png,blue.png\r\n";
    }
    ini += L"menu_hint=Toolbox\r\n"
           L"custom_cnt=3\r\n"
           L"custom0_display=1\r\ncustom0=cyan.png\r\n"
           L"custom1_display=1\r\ncustom1=pink.png\r\ncustom1_url=http://c.example/\r\n"
           L"custom2_display=1\r\ncustom2=white.png\r\n"
           L"component_cnt=1\r\ncomponent0_display=1\r\ncomponent0=red.png,green.png,blue.png\r\n"
           L"component0_BundleId=12\r\ncomponent0_ComId=34\r\n";
    return ini;
}

class StatusButtonTest : public t_tempFolderTest {
protected:
    StatusButtonTest() : t_tempFolderTest(L"status_btn")
    {
        g_callbacks.clear();
        g_callbackHost = nullptr;
        g_callbackSettings = nullptr;
        // The layers take their callbacks when the skin loads.
        FillCallbacks(std::make_integer_sequence<int, UiFunction::c_count>());
        settings.statusBtnColor = 0xFFFFFFFFu;
        settings.skinEnabled = true;
        settings.fontSize = 12;
        context.SetImcWrap(&imc);
        context.SetUiWrap(&ui);
        context.SetHostWindow(reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234)));
        MakeWindowlessTop(top, 100, 200, 100, 30);
    }
    ~StatusButtonTest() override
    {
        for (int i = 0; i < UiFunction::c_count; ++i)
            UiFunction::Instance()->Set(i, nullptr);
    }

    // Loads a skin pack made of the pictures and ini into the context.
    void LoadSkin(const std::wstring& ini)
    {
        const std::wstring folder = dir / L"src";
        t_tempFolder::RemoveTree(folder);
        CreateDirectoryW(folder.c_str(), nullptr);
        for (const auto& picture : c_pictures)
            ASSERT_TRUE(WriteRaw(folder + L"\\" + picture.name, FlatPng(10, 10, {picture.rgba})));
        ASSERT_TRUE(WriteRaw(folder + L"\\bk.png", FlatPng(100, 30, {0x202020FF})));
        // Three frames: red, green, blue.
        ASSERT_TRUE(WriteRaw(folder + L"\\anim.png", FlatPng(10, 10, {0xFF0000FF, 0x00FF00FF, 0x0000FFFF}, 5)));
        ASSERT_TRUE(WriteRaw(folder + L"\\Skin.ini", Utf16File(ini)));
        const std::wstring pack = dir / L"skin.dat";
        t_skinPack packer;
        t_errorChain errors;
        ASSERT_TRUE(packer.AddFolder(folder.c_str()));
        ASSERT_TRUE(packer.Export(errors, pack.c_str(), true));
        skin.SetSkinPath(pack.c_str(), true);
        skin.SetSettings(&settings);
        ASSERT_TRUE(skin.ParseSkinIni(errors, pack.c_str()));
        context.SetSettings(&settings);
        context.SetSkin(&skin);
    }

    // A button of the status bar under the windowless top.
    template <class T = t_wndStatusBtn>
    T* Make(t_skinItemType type, int index)
    {
        t_wndStatusBtn* button = CreateStatusButton(&context, &top, 0, type, index);
        EXPECT_NE(nullptr, button) << static_cast<int>(type) << " " << index;
        T* typed = dynamic_cast<T*>(button);
        EXPECT_NE(nullptr, typed) << static_cast<int>(type) << " " << index;
        return typed;
    }
    template <class T = t_wndStatusBtn>
    T* Fixed(t_skinButton kind)
    {
        return Make<T>(t_skinItemType::e_fixed, static_cast<int>(kind));
    }

    t_uiSettings settings = {};
    t_fakeImc imc;
    t_fakeUi ui;
    t_uiContext context;
    t_uiSkinData skin;
    t_wndTop top;
};

TEST_F(StatusButtonTest, FactoryMakesTheClassOfEachKeyForEnabledRecordsOnly)
{
    LoadSkin(SkinIni(L""));
    t_flashKeyMap buttons;
    EXPECT_EQ(16 + 3 + 1, CreateWindowButtons(buttons, 0, &top, &context));
    EXPECT_EQ(20u, buttons.Count());
    EXPECT_EQ(20, top.ChildCount());
    const struct {
        t_skinItemType type;
        int index;
        bool (*isClass)(t_wndStatusBtn*);
    } cases[] = {
        {t_skinItemType::e_fixed, 0, [](t_wndStatusBtn* b) { return dynamic_cast<t_wndButtonEn*>(b) != nullptr; }},
        {t_skinItemType::e_fixed, 1, [](t_wndStatusBtn* b) { return dynamic_cast<t_wndButtonPunct*>(b) != nullptr; }},
        {t_skinItemType::e_fixed, 2, [](t_wndStatusBtn* b) { return dynamic_cast<t_wndButtonHalf*>(b) != nullptr; }},
        {t_skinItemType::e_fixed, 3, [](t_wndStatusBtn* b) { return dynamic_cast<t_wndButtonPin*>(b) != nullptr; }},
        {t_skinItemType::e_fixed, 4,
         [](t_wndStatusBtn* b) { return dynamic_cast<t_wndButtonTradition*>(b) != nullptr; }},
        {t_skinItemType::e_fixed, 5,
         [](t_wndStatusBtn* b) { return dynamic_cast<t_wndButtonSoftKeyboard*>(b) != nullptr; }},
        {t_skinItemType::e_fixed, 6, [](t_wndStatusBtn* b) { return dynamic_cast<t_wndButtonMenu*>(b) != nullptr; }},
        {t_skinItemType::e_fixed, 7, [](t_wndStatusBtn* b) { return dynamic_cast<t_wndButtonSearch*>(b) != nullptr; }},
        {t_skinItemType::e_fixed, 8, [](t_wndStatusBtn* b) { return dynamic_cast<t_wndButtonPageUp*>(b) != nullptr; }},
        {t_skinItemType::e_fixed, 9,
         [](t_wndStatusBtn* b) { return dynamic_cast<t_wndButtonPageDown*>(b) != nullptr; }},
        {t_skinItemType::e_fixed, 10,
         [](t_wndStatusBtn* b) { return dynamic_cast<t_wndButtonPassport*>(b) != nullptr; }},
        {t_skinItemType::e_fixed, 11,
         [](t_wndStatusBtn* b) { return dynamic_cast<t_wndButtonWebpage*>(b) != nullptr; }},
        {t_skinItemType::e_fixed, 12,
         [](t_wndStatusBtn* b) { return dynamic_cast<t_wndButtonSkinManager*>(b) != nullptr; }},
        {t_skinItemType::e_fixed, 13,
         [](t_wndStatusBtn* b) { return dynamic_cast<t_wndButtonHandInput*>(b) != nullptr; }},
        {t_skinItemType::e_fixed, 14, [](t_wndStatusBtn* b) { return dynamic_cast<t_wndButtonNews*>(b) != nullptr; }},
        {t_skinItemType::e_fixed, 15,
         [](t_wndStatusBtn* b) { return dynamic_cast<t_wndButtonBarConfig*>(b) != nullptr; }},
        {t_skinItemType::e_custom, 2, [](t_wndStatusBtn* b) { return dynamic_cast<t_wndButtonCustom*>(b) != nullptr; }},
        {t_skinItemType::e_component, 0,
         [](t_wndStatusBtn* b) { return dynamic_cast<t_wndButtonComponent*>(b) != nullptr; }},
    };
    for (const auto& c : cases) {
        t_wndStatusBtn* button = FindStatusButton(buttons, 0, c.type, c.index);
        ASSERT_NE(nullptr, button) << static_cast<int>(c.type) << " " << c.index;
        EXPECT_TRUE(c.isClass(button)) << c.index;
        EXPECT_EQ(0, button->window);
        EXPECT_EQ(static_cast<int>(c.type), button->type);
        EXPECT_EQ(c.index, button->index);
        EXPECT_EQ(&top, button->parent);
        EXPECT_TRUE(button->visible);
        EXPECT_GT(button->imageSets.count, 0) << c.index;
    }

    // No record, a kind past 15, a flash type, another window, no skin: no button.
    EXPECT_EQ(nullptr, CreateStatusButton(&context, &top, 0, t_skinItemType::e_fixed, 16));
    EXPECT_EQ(nullptr, CreateStatusButton(&context, &top, 0, t_skinItemType::e_flash, 0));
    EXPECT_EQ(nullptr, CreateStatusButton(&context, &top, 0, t_skinItemType::e_custom, 3));
    EXPECT_EQ(nullptr, CreateStatusButton(&context, &top, 1, t_skinItemType::e_fixed, 0));
    t_uiContext empty;
    EXPECT_EQ(nullptr, CreateStatusButton(&empty, &top, 0, t_skinItemType::e_fixed, 0));
    EXPECT_EQ(nullptr, CreateStatusButton(nullptr, nullptr, 0, t_skinItemType::e_fixed, 0));
    EXPECT_EQ(20, top.ChildCount());
}

TEST_F(StatusButtonTest, HiddenRecordsMakeNoButton)
{
    LoadSkin(L"[StatusBar]\r\npic=bk.png\r\ncn_en_display=0\r\ncn_en=red.png\r\nmenu=red.png\r\n"
             L"logo_display=1\r\nlogo=red.png\r\n");
    t_flashKeyMap buttons;
    EXPECT_EQ(1, CreateWindowButtons(buttons, 0, &top, &context));
    EXPECT_NE(nullptr, FindStatusButton(buttons, 0, t_skinItemType::e_fixed, 15));
    EXPECT_EQ(nullptr, FindStatusButton(buttons, 0, t_skinItemType::e_fixed, 0));
}

TEST_F(StatusButtonTest, ModesFollowTheHostsAnswers)
{
    LoadSkin(SkinIni(L""));
    t_wndButtonEn* en = Fixed<t_wndButtonEn>(t_skinButton::e_cnEn);
    t_wndButtonPunct* punct = Fixed<t_wndButtonPunct>(t_skinButton::e_biaodian);
    t_wndButtonHalf* half = Fixed<t_wndButtonHalf>(t_skinButton::e_quanBan);
    t_wndButtonPin* pin = Fixed<t_wndButtonPin>(t_skinButton::e_quanShuang);
    t_wndButtonTradition* tradition = Fixed<t_wndButtonTradition>(t_skinButton::e_fanJian);
    t_wndButtonPageUp* pageUp = Fixed<t_wndButtonPageUp>(t_skinButton::e_pageUp);
    t_wndButtonPageDown* pageDown = Fixed<t_wndButtonPageDown>(t_skinButton::e_pageDown);
    t_wndButtonSoftKeyboard* softKeyboard = Fixed<t_wndButtonSoftKeyboard>(t_skinButton::e_softKeyboard);
    t_wndButtonPassport* passport = Fixed<t_wndButtonPassport>(t_skinButton::e_passport);
    ASSERT_TRUE(en && punct && half && pin && tradition && pageUp && pageDown && softKeyboard && passport);

    struct t_case {
        const char* what;
        void (*set)(t_fakeImc&, t_fakeUi&, t_uiSettings&);
        t_wndStatusBtn* button;
        int mode;
        bool clicks;
        int toggleOn;  // -1: not a toggle
    };
    const t_case cases[] = {
        {"chinese", [](t_fakeImc& i, t_fakeUi&, t_uiSettings&) { i.chinese = true; }, en, 0, true, -1},
        {"english", [](t_fakeImc& i, t_fakeUi&, t_uiSettings&) { i.chinese = false; }, en, 1, true, -1},
        {"disabled", [](t_fakeImc& i, t_fakeUi&, t_uiSettings&) { i.disabled = true; }, en, 2, false, -1},
        {"enabled again",
         [](t_fakeImc& i, t_fakeUi&, t_uiSettings&) {
             i.disabled = false;
             i.chinese = true;
         },
         en, 0, true, -1},
        {"punct", [](t_fakeImc&, t_fakeUi&, t_uiSettings&) {}, punct, 0, true, -1},
        {"punct english", [](t_fakeImc& i, t_fakeUi&, t_uiSettings&) { i.chinese = false; }, punct, 1, true, -1},
        {"punct disabled",
         [](t_fakeImc& i, t_fakeUi&, t_uiSettings&) {
             i.chinese = true;
             i.disabled = true;
         },
         punct, 1, true, -1},
        {"punct ascii",
         [](t_fakeImc& i, t_fakeUi&, t_uiSettings&) {
             i.disabled = false;
             i.punct = false;
         },
         punct, 1, true, -1},
        {"half", [](t_fakeImc&, t_fakeUi&, t_uiSettings&) {}, half, 1, true, -1},
        {"full", [](t_fakeImc& i, t_fakeUi&, t_uiSettings&) { i.fullWidth = true; }, half, 0, true, -1},
        {"double pinyin", [](t_fakeImc&, t_fakeUi&, t_uiSettings&) {}, pin, 1, true, -1},
        {"full pinyin", [](t_fakeImc&, t_fakeUi&, t_uiSettings& s) { s.quanPin = true; }, pin, 0, true, -1},
        {"simplified", [](t_fakeImc&, t_fakeUi&, t_uiSettings&) {}, tradition, 1, true, -1},
        {"traditional", [](t_fakeImc& i, t_fakeUi&, t_uiSettings&) { i.traditional = true; }, tradition, 0, true, -1},
        {"no page up", [](t_fakeImc&, t_fakeUi&, t_uiSettings&) {}, pageUp, 1, false, -1},
        {"page up", [](t_fakeImc& i, t_fakeUi&, t_uiSettings&) { i.pageUp = true; }, pageUp, 0, true, -1},
        {"page down", [](t_fakeImc&, t_fakeUi&, t_uiSettings&) {}, pageDown, 0, true, -1},
        {"no page down", [](t_fakeImc& i, t_fakeUi&, t_uiSettings&) { i.pageDown = false; }, pageDown, 1, false, -1},
        {"soft keyboard off", [](t_fakeImc&, t_fakeUi&, t_uiSettings&) {}, softKeyboard, 0, true, 0},
        {"soft keyboard on", [](t_fakeImc& i, t_fakeUi&, t_uiSettings&) { i.softKeyboard = true; }, softKeyboard, 0,
         true, 1},
        {"logged out", [](t_fakeImc&, t_fakeUi&, t_uiSettings&) {}, passport, 0, true, 0},
        {"logged in",
         [](t_fakeImc&, t_fakeUi& u, t_uiSettings&) {
             u.loggedIn = true;
             u.toggled = true;
         },
         passport, 1, true, 1},
    };
    for (const t_case& c : cases) {
        c.set(imc, ui, settings);
        imc.lastHost = nullptr;
        c.button->UpdateState();
        EXPECT_EQ(c.mode, c.button->mode) << c.what;
        EXPECT_EQ(c.clicks, (c.button->stateFlags & t_wndButton::e_noClick) == 0) << c.what;
        if (c.toggleOn >= 0) {
            EXPECT_EQ(c.toggleOn == 1, (c.button->stateFlags & t_wndButton::e_toggleOn) != 0) << c.what;
            EXPECT_TRUE(c.button->style & t_wndButton::e_styleToggle) << c.what;
        }
        if (c.button != pin && c.button != passport && !(c.button == en && imc.disabled)) {
            EXPECT_EQ(context.hostWindow, imc.lastHost) << c.what;
        }
    }
    // A locked mode stays.
    en->modeLocked = true;
    imc.chinese = false;
    en->UpdateState();
    EXPECT_EQ(0, en->mode);
    EXPECT_TRUE(pageUp->cursorRestore);
    EXPECT_TRUE(pageDown->cursorRestore);
}

TEST_F(StatusButtonTest, ComponentModeIsTheHostsStateHeldToThreeLayers)
{
    LoadSkin(SkinIni(L""));
    t_wndButtonComponent* component = Make<t_wndButtonComponent>(t_skinItemType::e_component, 0);
    ASSERT_NE(nullptr, component);
    const struct {
        int state;
        int mode;
    } cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 2}, {7, 2}, {0x7FFFFFFF, 2}, {-1, 0}, {-0x7FFFFFFF - 1, 0}};
    for (const auto& c : cases) {
        ui.componentState = c.state;
        component->UpdateState();
        EXPECT_EQ(c.mode, component->mode) << c.state;
        EXPECT_EQ(std::make_pair(12, 34), ui.asked);
        // The picture shown is one the button has.
        EXPECT_NE(nullptr, component->GetCurrentImage()) << c.state;
    }
    component->OnClick();
    ASSERT_EQ(1u, ui.runs.size());
    EXPECT_EQ(std::make_pair(12, 34), ui.runs[0]);
}

TEST_F(StatusButtonTest, ChineseEnglishClickCallsTheLayerCallbackAndStepsTwoZeroOne)
{
    LoadSkin(SkinIni(L""));
    t_wndButtonEn* en = Fixed<t_wndButtonEn>(t_skinButton::e_cnEn);
    ASSERT_NE(nullptr, en);
    imc.disabled = true;
    en->UpdateState();
    ASSERT_EQ(2, en->mode);
    // Layer 2 of cn_en has no callback; layer 0 calls entry 1, layer 1 entry 0.
    en->OnClick();
    EXPECT_EQ(0, en->mode);
    EXPECT_TRUE(g_callbacks.empty());
    en->OnClick();
    EXPECT_EQ(1, en->mode);
    en->OnClick();
    EXPECT_EQ(0, en->mode);
    EXPECT_EQ((std::vector<int>{1, 0}), g_callbacks);
    EXPECT_EQ(context.hostWindow, g_callbackHost);
    EXPECT_EQ(&settings, g_callbackSettings);
    // The other toggling kinds call their own layer's callback and toggle the same way.
    g_callbacks.clear();
    t_wndButtonHalf* half = Fixed<t_wndButtonHalf>(t_skinButton::e_quanBan);
    ASSERT_NE(nullptr, half);
    half->OnClick();
    half->OnClick();
    EXPECT_EQ(0, half->mode);
    // quan_ban layers: function index 7 (entry 2), then 6 (entry 3).
    EXPECT_EQ((std::vector<int>{2, 3}), g_callbacks);
}

TEST_F(StatusButtonTest, ClicksReachTheHostAndTheWindowTheButtonLivesIn)
{
    LoadSkin(SkinIni(L""));
    HWND sink = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, sink);
    auto take = [&](UINT message, MSG& msg) { return PeekMessageW(&msg, sink, message, message, PM_REMOVE) != 0; };
    MSG msg = {};

    t_wndButtonBarConfig* logo = Fixed<t_wndButtonBarConfig>(t_skinButton::e_logo);
    t_wndButtonMenu* menu = Fixed<t_wndButtonMenu>(t_skinButton::e_menu);
    ASSERT_TRUE(logo && menu);
    logo->SetPostWindow(sink);
    menu->SetPostWindow(sink);
    logo->OnClick();
    ASSERT_TRUE(take(c_msgBarConfigOpen, msg));
    EXPECT_EQ(0u, msg.wParam);
    EXPECT_EQ(0, msg.lParam);
    // The menu button sends its screen rectangle: left and top, width and height.
    menu->SetBounds(130, 210, 16, 12, false);
    menu->OnClick();
    ASSERT_TRUE(take(c_msgToolbox, msg));
    EXPECT_EQ(static_cast<WPARAM>((210 << 16) | 130), msg.wParam);
    EXPECT_EQ(static_cast<LPARAM>((12 << 16) | 16), msg.lParam);
    EXPECT_TRUE(g_callbacks.empty());

    // The web page: the address, then the layer callback (function index 21, entry 21).
    t_wndButtonWebpage* webpage = Fixed<t_wndButtonWebpage>(t_skinButton::e_webpage);
    ASSERT_NE(nullptr, webpage);
    webpage->OnClick();
    EXPECT_EQ((std::vector<std::wstring>{L"http://example.com/a/long/address/x"}), ui.urls);
    EXPECT_EQ((std::vector<int>{21}), g_callbacks);

    // Custom: the record's url, then entry 21; without a url nothing.
    ui.urls.clear();
    g_callbacks.clear();
    t_wndButtonCustom* linked = Make<t_wndButtonCustom>(t_skinItemType::e_custom, 1);
    t_wndButtonCustom* unlinked = Make<t_wndButtonCustom>(t_skinItemType::e_custom, 0);
    ASSERT_TRUE(linked && unlinked);
    unlinked->OnClick();
    EXPECT_TRUE(ui.urls.empty());
    linked->OnClick();
    EXPECT_EQ((std::vector<std::wstring>{L"http://c.example/"}), ui.urls);
    EXPECT_EQ((std::vector<int>{21}), g_callbacks);

    // Search, hand input, news, page buttons: their layer's callback only.
    g_callbacks.clear();
    for (t_skinButton kind : {t_skinButton::e_vexilsearch, t_skinButton::e_handInput, t_skinButton::e_news,
                              t_skinButton::e_pageUp, t_skinButton::e_pageDown}) {
        t_wndStatusBtn* button = Fixed(kind);
        ASSERT_NE(nullptr, button);
        button->OnClick();
        EXPECT_EQ(0, button->mode) << static_cast<int>(kind);
    }
    // Function indexes 14, 23, 24, 15, 16 are entries 18, 24, 25, 14, 15.
    EXPECT_EQ((std::vector<int>{18, 24, 25, 14, 15}), g_callbacks);

    // The skin manager: the host's launch when its box is active, the launcher, the layer.
    g_callbacks.clear();
    static std::vector<HWND> launched;
    launched.clear();
    t_wndButtonSkinManager::SetSkinBoxLauncher([](t_uiContext*, HWND window) { launched.push_back(window); });
    t_wndButtonSkinManager* manager = Fixed<t_wndButtonSkinManager>(t_skinButton::e_skinManager);
    ASSERT_NE(nullptr, manager);
    manager->SetPostWindow(sink);
    manager->OnClick();
    ui.skinBoxActive = true;
    manager->OnClick();
    t_wndButtonSkinManager::SetSkinBoxLauncher(nullptr);
    EXPECT_EQ((std::vector<int>{0}), ui.skinBoxLaunches);
    EXPECT_EQ((std::vector<HWND>{sink, sink}), launched);
    EXPECT_EQ((std::vector<int>{23, 23}), g_callbacks);
    DestroyWindow(sink);
}

TEST_F(StatusButtonTest, TogglesAndRightClicksAskForTheirPopups)
{
    LoadSkin(SkinIni(L""));
    t_wndButtonSoftKeyboard* softKeyboard = Fixed<t_wndButtonSoftKeyboard>(t_skinButton::e_softKeyboard);
    t_wndButtonTradition* tradition = Fixed<t_wndButtonTradition>(t_skinButton::e_fanJian);
    t_wndButtonPassport* passport = Fixed<t_wndButtonPassport>(t_skinButton::e_passport);
    ASSERT_TRUE(softKeyboard && tradition && passport);
    softKeyboard->SetBounds(140, 205, 10, 10, false);
    tradition->SetBounds(160, 205, 10, 10, false);
    for (t_wndStatusBtn* button : {static_cast<t_wndStatusBtn*>(softKeyboard), static_cast<t_wndStatusBtn*>(tradition)})
        button->Measure(nullptr);

    // Off: the soft-keyboard popup at the button's corner. On: entry 7 and off.
    softKeyboard->OnClick();
    ASSERT_EQ(1u, ui.popups.size());
    EXPECT_EQ(context.hostWindow, ui.popups[0].host);
    EXPECT_EQ(140, ui.popups[0].x);
    EXPECT_EQ(205, ui.popups[0].y);
    EXPECT_EQ(UiWrapImplBase::e_popupSoftKbd, ui.popups[0].mode);
    softKeyboard->stateFlags |= t_wndButton::e_toggleOn;
    softKeyboard->OnClick();
    EXPECT_EQ(0, softKeyboard->stateFlags & t_wndButton::e_toggleOn);
    EXPECT_EQ((std::vector<int>{7}), g_callbacks);

    // Right-button releases on the buttons; one beside a button is not its own.
    ui.popups.clear();
    EXPECT_TRUE(softKeyboard->OnRButtonUp(0, 145, 208));
    EXPECT_TRUE(tradition->OnRButtonUp(0, 161, 214));
    EXPECT_FALSE(tradition->OnRButtonUp(0, 171, 214));
    ASSERT_EQ(2u, ui.popups.size());
    EXPECT_EQ(UiWrapImplBase::e_popupSoftKbdMenu, ui.popups[0].mode);
    EXPECT_EQ(145, ui.popups[0].x);
    EXPECT_EQ(UiWrapImplBase::e_popupFanJian, ui.popups[1].mode);
    EXPECT_EQ(214, ui.popups[1].y);

    // Passport: entry 19 when off, 20 when on; the on bit flips each time.
    g_callbacks.clear();
    passport->OnClick();
    EXPECT_NE(0, passport->stateFlags & t_wndButton::e_toggleOn);
    passport->OnClick();
    EXPECT_EQ(0, passport->stateFlags & t_wndButton::e_toggleOn);
    EXPECT_EQ((std::vector<int>{19, 20}), g_callbacks);
}

TEST_F(StatusButtonTest, HintsComeFromTheRecordTheHostOrTheAddress)
{
    LoadSkin(SkinIni(L"[Scheme_H1]\r\nwebpage_url=http://\x4e2d\x6587\x4e2d\x6587\x4e2d\x6587\x4e2d\x6587\r\n"));
    t_wndStatusBtn* menu = Fixed(t_skinButton::e_menu);
    t_wndStatusBtn* logo = Fixed(t_skinButton::e_logo);
    t_wndButtonWebpage* webpage = Fixed<t_wndButtonWebpage>(t_skinButton::e_webpage);
    t_wndButtonCustom* linked = Make<t_wndButtonCustom>(t_skinItemType::e_custom, 1);
    t_wndButtonCustom* unlinked = Make<t_wndButtonCustom>(t_skinItemType::e_custom, 0);
    ASSERT_TRUE(menu && logo && webpage && linked && unlinked);
    EXPECT_STREQ(L"Toolbox", menu->text.c_str());
    EXPECT_STREQ(L"host 0/0/15", logo->text.c_str());
    EXPECT_STREQ(L"访问: http://example.com/a...", webpage->text.c_str());
    EXPECT_EQ(0, webpage->stateFlags & t_wndButton::e_noClick);
    EXPECT_STREQ(L"访问: http://c.example/", linked->text.c_str());
    EXPECT_TRUE(linked->acceptsMouse);
    // A link button without a url takes no click and shows no hint.
    EXPECT_STREQ(L"", unlinked->text.c_str());
    EXPECT_FALSE(unlinked->acceptsMouse);
    EXPECT_NE(0, unlinked->stateFlags & t_wndButton::e_noClick);

    // A window's own page wins over [Display]'s.
    t_wndStatusBtn* own = CreateStatusButton(&context, &top, 1, t_skinItemType::e_fixed, 11);
    EXPECT_EQ(nullptr, own) << "no record in window 1";
    webpage->window = 1;
    webpage->UpdateState();
    EXPECT_STREQ(L"访问: http://中文中文中文...", webpage->text.c_str());
}

TEST_F(StatusButtonTest, AWebpageButtonWithoutAPageTakesNoClick)
{
    LoadSkin(L"[StatusBar]\r\npic=bk.png\r\nwebpage_display=1\r\nwebpage=red.png\r\n");
    t_wndButtonWebpage* webpage = Fixed<t_wndButtonWebpage>(t_skinButton::e_webpage);
    ASSERT_NE(nullptr, webpage);
    EXPECT_STREQ(L"", webpage->text.c_str());
    EXPECT_NE(0, webpage->stateFlags & t_wndButton::e_noClick);
    webpage->OnClick();
    EXPECT_TRUE(ui.urls.empty());
    EXPECT_TRUE(g_callbacks.empty());
}

TEST(ShortenUrl, TwentyColumnsThenDots)
{
    const struct {
        const wchar_t* url;
        const wchar_t* shown;
    } cases[] = {
        {L"", L""},
        {L"abcdefghijklmnopqrst", L"abcdefghijklmnopqrst"},
        {L"abcdefghijklmnopqrstu", L"abcdefghijklmnopqrst..."},
        {L"http://www.example.com/abcdefg", L"http://www.example.c..."},
        {L"中文中文中文中文中文中", L"中文中文中文中文中文..."},
        {L"中文中文中文中文中文", L"中文中文中文中文中文"},
        {L"a中文中文中文中文中文", L"a中文中文中文中文中..."},
        {L"a\tb\x1f~\x7f", L"a?b?~\x7f"},
    };
    for (const auto& c : cases) {
        t_str out(L"old");
        t_wndButtonWebpage::ShortenUrl(out, c.url);
        EXPECT_STREQ(c.shown, out.c_str()) << testing::PrintToString(std::wstring(c.url));
    }
    t_str out(L"old");
    t_wndButtonWebpage::ShortenUrl(out, nullptr);
    EXPECT_STREQ(L"", out.c_str());
}

TEST(StatusButtonKeys, CustomButtonsSortHigherWindowLowerTypeHigherIndexFirst)
{
    t_wndStatusBtn a, b;
    const struct {
        int window1, type1, index1, window2, type2, index2, sign;
    } cases[] = {
        {0, 1, 2, 0, 1, 1, -1}, {0, 1, 0, 0, 1, 2, 1}, {2, 1, 0, 1, 1, 9, -1},
        {0, 0, 0, 0, 1, 9, -1}, {0, 3, 9, 0, 1, 0, 1}, {1, 1, 1, 1, 1, 1, 0},
    };
    for (const auto& c : cases) {
        a.SetKey(c.window1, static_cast<t_skinItemType>(c.type1), c.index1);
        b.SetKey(c.window2, static_cast<t_skinItemType>(c.type2), c.index2);
        const int r = t_wndStatusBtn::CompareButtonKeys(a, b);
        EXPECT_EQ(c.sign, r < 0 ? -1 : r > 0 ? 1 : 0) << c.window1 << c.type1 << c.index1;
    }
}

// Skin.ini alignment text: top, bottom, left, right margin; top, bottom, left, right mode;
// target; layer.
std::wstring Align(const std::wstring& key, int left, int top, int target, int layer)
{
    return key + L"_align=" + std::to_wstring(top) + L",0," + std::to_wstring(left) + L",0,1,0,1,0," +
           std::to_wstring(target) + L"," + std::to_wstring(layer) + L"\r\n";
}

TEST_F(StatusButtonTest, TheLayerPlacesEachButtonInItsTargetAsRendered)
{
    std::wstring ini = L"[StatusBar]\r\npic=bk.png\r\n"
                       L"cn_en_display=1\r\ncn_en=red.png\r\ncn_en_pos=2,1\r\n"
                       L"biaodian_display=1\r\nbiaodian=green.png\r\n"
                       L"quan_ban_display=1\r\nquan_ban=blue.png\r\n"
                       L"menu_display=1\r\nmenu=yellow.png\r\n"
                       L"logo_display=1\r\nlogo=orange.png\r\n"
                       L"custom_cnt=3\r\ncustom0_display=1\r\ncustom0=cyan.png\r\ncustom1_display=1\r\n"
                       L"custom1=pink.png\r\ncustom2_display=1\r\ncustom2=white.png\r\n";
    ini += Align(L"biaodian", 0, 0, 3, 0) + Align(L"quan_ban", 0, 0, 7, 0) + Align(L"menu", 0, 0, 5, 1) +
           Align(L"logo", 0, 0, 12, 0) + Align(L"custom0", 0, 0, 9, 0) + Align(L"custom1", 0, 0, 9, 0) +
           Align(L"custom2", 0, 0, 9, 0);
    LoadSkin(ini);
    t_flashKeyMap buttons;
    ASSERT_EQ(8, CreateWindowButtons(buttons, 0, &top, &context));

    t_layoutAligned* content = new t_layoutAligned;
    t_layoutGrid* grid = nullptr;
    std::unique_ptr<t_layoutAligned> made = BuildButtonLayer(t_layoutPtr(content), buttons, 0, grid);
    t_layoutAligned* layer = made.get();
    ASSERT_NE(nullptr, layer);
    ASSERT_NE(nullptr, grid);
    // The content itself is the centre cell; targets that no button names stay empty.
    EXPECT_EQ(content, ButtonLayerCell(grid, 5));
    EXPECT_EQ(nullptr, ButtonLayerCell(grid, 1));
    EXPECT_EQ(nullptr, ButtonLayerCell(grid, 0));
    EXPECT_EQ(nullptr, ButtonLayerCell(grid, 10));
    // Three custom buttons in one cell go in as 2, 1, 0.
    t_layoutAligned* corner = ButtonLayerCell(grid, 9);
    ASSERT_NE(nullptr, corner);
    ASSERT_EQ(3, corner->ChildCount());
    for (int i = 0; i < 3; ++i) {
        const t_layoutWnd* node = static_cast<const t_layoutWnd*>(corner->ChildAt(i));
        EXPECT_EQ(static_cast<i_element*>(FindStatusButton(buttons, 0, t_skinItemType::e_custom, 2 - i)),
                  node->GetElement())
            << i;
    }

    top.SetLayout(std::move(made));
    layer->SetRect(top.rect);
    layer->Measure(nullptr);
    layer->SetRect(top.rect);
    layer->Layout(nullptr);
    t_memDC dib;
    ASSERT_TRUE(top.RenderToDib(nullptr, dib, 100, 30));
    GdiFlush();
    auto at = [&](int x, int y) { return dib.Pixels()[(30 - 1 - y) * 100 + x] & 0xFFFFFF; };
    // Target 0 at its position, the top-right, bottom-left and bottom-right cells; the
    // custom button added first is drawn on top.
    EXPECT_EQ(0xFF0000u, at(7, 6));
    EXPECT_EQ(0x00FF00u, at(95, 5));
    EXPECT_EQ(0x0000FFu, at(5, 25));
    EXPECT_EQ(0xFFFFFFu, at(95, 25));
    // A button deleted before the layout: its node paints and measures nothing.
    delete FindStatusButton(buttons, 0, t_skinItemType::e_fixed, 1);
    layer->Measure(nullptr);
    layer->Layout(nullptr);
    ASSERT_TRUE(top.RenderToDib(nullptr, dib, 100, 30));
    GdiFlush();
    EXPECT_EQ(0x000000u, at(95, 5));
    const RECT menu = FindStatusButton(buttons, 0, t_skinItemType::e_fixed, 6)->GetRect();
    EXPECT_TRUE(IsRectEmpty(&menu)) << "another layer: not placed";
    const RECT logo = FindStatusButton(buttons, 0, t_skinItemType::e_fixed, 15)->GetRect();
    EXPECT_TRUE(IsRectEmpty(&logo)) << "target 12: not placed";
    const RECT en = FindStatusButton(buttons, 0, t_skinItemType::e_fixed, 0)->GetRect();
    EXPECT_EQ(102, en.left);
    EXPECT_EQ(201, en.top);
    EXPECT_EQ(112, en.right);
    EXPECT_EQ(211, en.bottom);
}

TEST_F(StatusButtonTest, TheLayerWrapsContentThatIsNotAligned)
{
    LoadSkin(SkinIni(L""));
    t_flashKeyMap buttons;
    t_layoutGrid* inner = new t_layoutGrid(1, 1);
    t_layoutGrid* grid = nullptr;
    std::unique_ptr<t_layoutAligned> layer = BuildButtonLayer(t_layoutPtr(inner), buttons, 0, grid);
    ASSERT_NE(nullptr, layer);
    t_layoutAligned* centre = ButtonLayerCell(grid, 5);
    ASSERT_NE(nullptr, centre);
    ASSERT_EQ(1, centre->ChildCount());
    EXPECT_EQ(inner, centre->ChildAt(0));
    // No content at all: an empty centre.
    layer = BuildButtonLayer(nullptr, buttons, 0, grid);
    ASSERT_NE(nullptr, layer);
    ASSERT_NE(nullptr, ButtonLayerCell(grid, 5));
    EXPECT_EQ(0, ButtonLayerCell(grid, 5)->ChildCount());
}

uint32_t g_now = 100000;
uint32_t FakeTick() { return g_now; }

// An animated hover-in picture: the out state plays it backwards, continuing from the
// frame the in state had reached.
TEST_F(StatusButtonTest, HoverOutPlaysTheInAnimationBackFromWhereItGot)
{
    t_inputHooksScope hooks(t_inputHooks{&FakeTick, nullptr, nullptr});
    LoadSkin(L"[StatusBar]\r\npic=bk.png\r\ncn_en_display=1\r\ncn_en=red.png\r\ncn_en_in=anim.png\r\n");
    t_wndStatusBtn* button = Fixed(t_skinButton::e_cnEn);
    ASSERT_NE(nullptr, button);
    const t_image* in = button->GetImage(0, t_wndButton::e_in);
    const t_image* out = button->GetImage(0, t_wndButton::e_out);
    ASSERT_TRUE(in && out && in->source && out->source);
    ASSERT_EQ(t_imageSource::e_frames, in->source->kind);
    const t_imageFrames& inFrames = in->source->Frames();
    const t_imageFrames& outFrames = out->source->Frames();
    const unsigned cycle = inFrames.cycle;
    ASSERT_GT(cycle, 0u);
    EXPECT_EQ(cycle, button->GetStateAnimationLength(0, t_wndButton::e_in));
    EXPECT_EQ(cycle, button->GetStateAnimationLength(0, t_wndButton::e_out));
    EXPECT_EQ(0u, button->GetStateAnimationLength(0, t_wndButton::e_normal));
    // Layers 1 and 2 repeat the last picture of each list; there is no layer 3.
    EXPECT_EQ(cycle, button->GetStateAnimationLength(2, t_wndButton::e_in));
    EXPECT_EQ(0u, button->GetStateAnimationLength(3, t_wndButton::e_in));

    t_image shown;
    shown.Init();
    bool changed = false;
    // In: forwards from the first frame.
    button->stateFlags = t_wndButton::e_in;
    button->CopyCurrentPicture(shown, changed, true);
    ASSERT_TRUE(changed);
    EXPECT_EQ(0, inFrames.reverse);
    EXPECT_EQ(0, inFrames.current);
    // Most of the way through frame 1 of 0..2 at the time the mouse leaves.
    const int frameDelay = inFrames.frames[0].delay;
    const_cast<t_imageFrames&>(inFrames).start = static_cast<int>(g_now / 10) - frameDelay - 1;
    EXPECT_EQ(static_cast<unsigned>(frameDelay + 1), button->GetStateAnimationPos(0, t_wndButton::e_in, g_now / 10));
    button->stateFlags = t_wndButton::e_out;
    button->CopyCurrentPicture(shown, changed, true);
    ASSERT_TRUE(changed);
    EXPECT_EQ(1, outFrames.reverse);
    EXPECT_EQ(1, outFrames.current);
    EXPECT_EQ(out->source->GetBitmapRef().handle, button->GetImage(0, t_wndButton::e_out)->ref.handle);

    // Out after hover (not its counterpart): from the last frame backwards.
    button->stateFlags = t_wndButton::e_hover;
    button->CopyCurrentPicture(shown, changed, true);
    button->stateFlags = t_wndButton::e_out;
    button->CopyCurrentPicture(shown, changed, true);
    EXPECT_EQ(1, outFrames.reverse);
    EXPECT_EQ(outFrames.count - 1, outFrames.current);

    // A looping animation: asked with restart it only answers; else it turns and starts.
    EXPECT_EQ(outFrames.loopLimit == 0, button->StartStateAnimation(500, true));
    EXPECT_EQ(1, outFrames.reverse);
    if (outFrames.loopLimit == 0) {
        EXPECT_TRUE(button->StartStateAnimation(500, false));
        EXPECT_EQ(500, outFrames.start);
    }
    // A button whose state pictures are not animated answers 0 and false.
    button->stateFlags = t_wndButton::e_hover;
    EXPECT_FALSE(button->StartStateAnimation(500, true));
    EXPECT_EQ(0u, button->GetStateAnimationPos(0, t_wndButton::e_hover, 500));
}

bool g_down = false;
POINT g_cursor = {0, 0};
bool FakeDown() { return g_down; }
bool FakeCursor(POINT& point)
{
    point = g_cursor;
    return true;
}

// Pressing and releasing the mouse on the Chinese/English button: no click while input is
// disabled; otherwise the layer's callback and the other mode.
TEST_F(StatusButtonTest, MouseClicksAreSuppressedWhileInputIsDisabled)
{
    t_inputHooksScope hooks(t_inputHooks{&FakeTick, &FakeDown, &FakeCursor});
    LoadSkin(SkinIni(L""));
    t_wndButtonEn* en = Fixed<t_wndButtonEn>(t_skinButton::e_cnEn);
    ASSERT_NE(nullptr, en);
    en->SetBounds(110, 205, 10, 10, false);
    auto click = [&] {
        g_cursor = {115, 210};
        en->OnMouseEnter();
        g_down = true;
        EXPECT_TRUE(en->OnLButtonDown(MK_LBUTTON, 115, 210));
        g_down = false;
        EXPECT_TRUE(en->OnLButtonUp(0, 115, 210));
    };
    imc.disabled = true;
    en->Measure(nullptr);
    ASSERT_EQ(2, en->mode);
    click();
    EXPECT_EQ(2, en->mode);
    EXPECT_TRUE(g_callbacks.empty());

    imc.disabled = false;
    en->Measure(nullptr);
    ASSERT_EQ(0, en->mode);
    click();
    EXPECT_EQ(1, en->mode);
    EXPECT_EQ((std::vector<int>{1}), g_callbacks);
    // The next measure shows the host's state again.
    en->Measure(nullptr);
    EXPECT_EQ(0, en->mode);
}

// The default skin: the hover background under a dimmed button picture, and the whole
// rectangle hit.
TEST_F(StatusButtonTest, DefaultSkinHoverDrawsTheBackgroundAndDimsThePicture)
{
    const std::wstring library = ExeFolder() + L"\\Resource.dll";
    HMODULE module = LoadLibraryW(library.c_str());
    ASSERT_NE(nullptr, module) << "Resource.dll beside the test";
    t_wndStatusBtn::RequestBackgroundReload(module);
    t_image hoverBackground;
    ASSERT_TRUE(hoverBackground.LoadResource(module, L"IDR_BTNBK_HOVER"));
    hoverBackground.Release();

    LoadSkin(L"[Display]\r\ndefault_skin=1\r\n[StatusBar]\r\npic=bk.png\r\n"
             L"cn_en_display=1\r\ncn_en=clear.png\r\ncn_en_pos=0,0\r\n"
             L"quan_ban_display=1\r\nquan_ban=red.png\r\nquan_ban_pos=40,0\r\n"
             L"custom_cnt=1\r\ncustom0_display=1\r\ncustom0=red.png\r\ncustom0_pos=20,0\r\n"
             L"custom0_url=http://x/\r\n");
    ASSERT_TRUE(skin.IsDefaultSkin());
    t_flashKeyMap buttons;
    ASSERT_EQ(3, CreateWindowButtons(buttons, 0, &top, &context));
    // Transparent pixels stay transparent in the rendering.
    top.SetPerPixelAlpha(true);
    t_layoutGrid* grid = nullptr;
    std::unique_ptr<t_layoutAligned> made = BuildButtonLayer(t_layoutPtr(new t_layoutAligned), buttons, 0, grid);
    t_layoutAligned* layer = made.get();
    ASSERT_NE(nullptr, layer);
    top.SetLayout(std::move(made));
    layer->SetRect(top.rect);
    layer->Measure(nullptr);
    layer->SetRect(top.rect);
    layer->Layout(nullptr);
    t_wndStatusBtn* clear = FindStatusButton(buttons, 0, t_skinItemType::e_fixed, 0);
    t_wndStatusBtn* red = FindStatusButton(buttons, 0, t_skinItemType::e_fixed, 2);
    t_wndStatusBtn* custom = FindStatusButton(buttons, 0, t_skinItemType::e_custom, 0);
    ASSERT_TRUE(clear && red && custom);

    auto render = [&](int x, int y) {
        t_memDC dib;
        EXPECT_TRUE(top.RenderToDib(nullptr, dib, 100, 30));
        GdiFlush();
        return dib.Pixels()[(30 - 1 - y) * 100 + x];
    };
    EXPECT_EQ(0u, render(5, 5) >> 24) << "a clear picture shows nothing";
    const uint32_t redNormal = render(45, 5);
    const uint32_t customNormal = render(25, 5);
    for (t_wndStatusBtn* button : {clear, red, custom})
        button->stateFlags = t_wndButton::e_hover;
    // Under the hovered built-in buttons the hover background shows; the red picture is
    // dimmed over it; the custom button keeps its look.
    EXPECT_NE(0u, render(5, 5) >> 24);
    EXPECT_NE(redNormal, render(45, 5));
    EXPECT_EQ(customNormal, render(25, 5));
    EXPECT_EQ(t_wndStatusBtn::c_defaultSkinHoverAlpha, InnerImageRender(red->layout)->alpha);
    EXPECT_EQ(255, InnerImageRender(custom->layout)->alpha);
    // Pressed: the down background, the picture at full strength.
    clear->stateFlags = red->stateFlags = t_wndButton::e_down;
    EXPECT_NE(0u, render(5, 5) >> 24);
    EXPECT_EQ(255, InnerImageRender(red->layout)->alpha);
    clear->stateFlags = red->stateFlags = 0;
    EXPECT_EQ(0u, render(5, 5) >> 24);
    EXPECT_EQ(redNormal, render(45, 5));

    // Every pixel of the clear picture hits over the default skin.
    clear->Measure(nullptr);
    EXPECT_TRUE(clear->HitTest(100, 200, 0));
    EXPECT_TRUE(clear->HitTest(109, 209, 0));
    EXPECT_FALSE(clear->HitTest(110, 209, 0));
    t_wndStatusBtn::RequestBackgroundReload(nullptr);
    FreeLibrary(module);
}

}  // namespace
