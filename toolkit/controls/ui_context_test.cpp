#include "toolkit/controls/ui_context.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "foundation/core/str.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/ui_settings.h"
#include "toolkit/controls/ui_wrap.h"
#include "toolkit/controls/wnd_ui_sub.h"

namespace {

// Records what the settings handler hands to the skin.
struct t_handedSettings {
    t_uiSkinData* skin;
    t_uiSettings* settings;
};
std::vector<t_handedSettings> g_handed;

void RecordHandedSettings(t_uiSkinData* skin, t_uiSettings* settings) { g_handed.push_back({skin, settings}); }

class UiContextTest : public ::testing::Test {
protected:
    UiContextTest()
    {
        g_handed.clear();
        t_uiContext::SetSkinSettingsHandler(RecordHandedSettings);
    }
    ~UiContextTest() override { t_uiContext::SetSkinSettingsHandler(nullptr); }

    // Stand-ins: the context only stores and compares these pointers.
    t_uiSettings m_settings{};
    t_uiSkinData* m_skin = reinterpret_cast<t_uiSkinData*>(&m_skinStorage);
    int m_skinStorage = 0;
};

TEST_F(UiContextTest, ConstructionZeroesEveryField)
{
    t_uiContext context;
    EXPECT_EQ(nullptr, context.settings);
    EXPECT_EQ(nullptr, context.GetSkin());
    EXPECT_EQ(nullptr, context.positionRecord);
    EXPECT_EQ(nullptr, context.imcWrap);
    EXPECT_EQ(nullptr, context.uiWrap);
    EXPECT_EQ(nullptr, context.hostWindow);
    EXPECT_EQ(0, context.userId);
}

TEST_F(UiContextTest, SettingsReachTheSkinWhicheverComesFirst)
{
    t_uiContext settingsFirst;
    settingsFirst.SetSettings(&m_settings);
    EXPECT_TRUE(g_handed.empty());  // no skin yet
    settingsFirst.SetSkin(m_skin);
    ASSERT_EQ(1u, g_handed.size());
    EXPECT_EQ(m_skin, g_handed[0].skin);
    EXPECT_EQ(&m_settings, g_handed[0].settings);
    EXPECT_EQ(m_skin, settingsFirst.GetSkin());

    g_handed.clear();
    t_uiContext skinFirst;
    skinFirst.SetSkin(m_skin);
    EXPECT_TRUE(g_handed.empty());  // no settings yet
    skinFirst.SetSettings(&m_settings);
    ASSERT_EQ(1u, g_handed.size());
    EXPECT_EQ(m_skin, g_handed[0].skin);
    EXPECT_EQ(&m_settings, g_handed[0].settings);

    // Clearing either pointer hands nothing on.
    g_handed.clear();
    skinFirst.SetSkin(nullptr);
    skinFirst.SetSettings(&m_settings);
    EXPECT_TRUE(g_handed.empty());
    EXPECT_EQ(&m_settings, skinFirst.settings);

    // Without a runtime skin linked in there is no handler: stores only.
    t_uiContext::SetSkinSettingsHandler(nullptr);
    t_uiContext plain;
    plain.SetSettings(&m_settings);
    plain.SetSkin(m_skin);
    EXPECT_EQ(m_skin, plain.GetSkin());
    EXPECT_TRUE(g_handed.empty());
}

TEST_F(UiContextTest, PlainStores)
{
    ImcWrapImplBase imc;
    UiWrapImplBase ui;
    t_uiContext context;
    context.SetUserId(7);
    context.SetImcWrap(&imc);
    context.SetUiWrap(&ui);
    context.SetHostWindow(reinterpret_cast<HWND>(0x1234));
    EXPECT_EQ(7, context.userId);
    EXPECT_EQ(&imc, context.imcWrap);
    EXPECT_EQ(&ui, context.uiWrap);
    EXPECT_EQ(&imc, &context.Imc());
    EXPECT_EQ(&ui, &context.Ui());
    EXPECT_EQ(reinterpret_cast<HWND>(0x1234), context.hostWindow);
    EXPECT_TRUE(g_handed.empty());
}

TEST_F(UiContextTest, DefaultContextIsOneRecordWithDefaultInterfaces)
{
    t_uiContext* context = GetDefaultUiContext();
    ASSERT_NE(nullptr, context);
    EXPECT_EQ(context, GetDefaultUiContext());
    EXPECT_EQ(nullptr, context->settings);
    EXPECT_EQ(nullptr, context->skin);
    EXPECT_EQ(nullptr, context->positionRecord);
    EXPECT_EQ(nullptr, context->hostWindow);
    EXPECT_EQ(0, context->userId);
    ASSERT_NE(nullptr, context->imcWrap);
    ASSERT_NE(nullptr, context->uiWrap);
    // A context without interfaces falls back on the same defaults.
    t_uiContext bare;
    EXPECT_EQ(context->imcWrap, &bare.Imc());
    EXPECT_EQ(context->uiWrap, &bare.Ui());
}

TEST_F(UiContextTest, WindowWithoutContextUsesTheDefault)
{
    t_wndUiSub window;
    EXPECT_EQ(GetDefaultUiContext(), window.GetContext());
    t_uiContext own;
    window.SetContext(&own);
    EXPECT_EQ(&own, window.GetContext());
    window.SetContext(nullptr);
    EXPECT_EQ(GetDefaultUiContext(), window.GetContext());
}

// What one host operation answered, as text, so one table holds every result type.
using t_call = std::function<std::string(t_uiContext&)>;
struct t_hostCase {
    const char* name;
    t_call call;
    const char* expected;
};

std::string Text(bool b) { return b ? "true" : "false"; }
std::string Text(int v) { return std::to_string(v); }
const char* const c_none = "-";

// Each out argument starts at a sentinel: the defaults must leave it as it was.
TEST(HostDefaults, DefaultContextAnswersEveryQuestionWithTheFixedDefault)
{
    const HWND host = nullptr;
    t_str tip(L"sentinel");
    int w = 77, h = 88;
    SIZE size = {77, 88};
    bool flag = true;
    int value = 77;
    wchar_t buffer[16] = L"sentinel";
    t_imageSource* picture = reinterpret_cast<t_imageSource*>(&picture);
    t_imageSource* const pictureBefore = picture;
    const RECT rects[2] = {};
    auto same = [&] {
        return tip.Equals(L"sentinel") && w == 77 && h == 88 && size.cx == 77 && size.cy == 88 && flag && value == 77 &&
               std::wstring(buffer) == L"sentinel" && picture == pictureBefore;
    };
    auto none = [&](auto op) {
        return [&, op](t_uiContext& c) {
            op(c);
            return std::string(same() ? c_none : "wrote an out argument");
        };
    };
    auto answer = [&](auto op) {
        return [&, op](t_uiContext& c) {
            const std::string result = Text(op(c));
            return same() ? result : std::string("wrote an out argument");
        };
    };

    const t_hostCase imcCases[] = {
        {"IsFullWidth", answer([&](t_uiContext& c) { return c.imcWrap->IsFullWidth(host); }), "false"},
        {"IsChineseMode", answer([&](t_uiContext& c) { return c.imcWrap->IsChineseMode(host); }), "true"},
        {"IsChinesePunct", answer([&](t_uiContext& c) { return c.imcWrap->IsChinesePunct(host); }), "true"},
        {"IsSoftKeyboardOn", answer([&](t_uiContext& c) { return c.imcWrap->IsSoftKeyboardOn(host); }), "false"},
        {"IsTraditional", answer([&](t_uiContext& c) { return c.imcWrap->IsTraditional(host); }), "false"},
        {"UseAltCandidateFont", answer([&](t_uiContext& c) { return c.imcWrap->UseAltCandidateFont(host); }), "false"},
        {"CanPageUp", answer([&](t_uiContext& c) { return c.imcWrap->CanPageUp(host); }), "false"},
        {"CanPageDown", answer([&](t_uiContext& c) { return c.imcWrap->CanPageDown(host); }), "true"},
        {"SelectCandidate", none([&](t_uiContext& c) { c.imcWrap->SelectCandidate(host, -3); }), c_none},
        {"IsInputDisabled", answer([&](t_uiContext& c) { return c.imcWrap->IsInputDisabled(); }), "false"},
        {"GetCandidateTip", answer([&](t_uiContext& c) { return c.imcWrap->GetCandidateTip(host, tip, 0); }), "false"},
        {"GetCompositionTip", answer([&](t_uiContext& c) { return c.imcWrap->GetCompositionTip(host, tip); }), "false"},
        {"GetModeIconTip",
         answer([&](t_uiContext& c) { return c.imcWrap->GetModeIconTip(host, tip, 1, L"name", L"hint"); }), "false"},
        {"GetModeFlag", answer([&](t_uiContext& c) { return c.imcWrap->GetModeFlag(); }), "false"},
        {"GetModeWord", answer([&](t_uiContext& c) { return int(c.imcWrap->GetModeWord()); }), "0"},
        {"PageUp", none([&](t_uiContext& c) { c.imcWrap->PageUp(host); }), c_none},
        {"PageDown", none([&](t_uiContext& c) { c.imcWrap->PageDown(host); }), c_none},
        {"GetHintStamp", answer([&](t_uiContext& c) { return c.imcWrap->GetHintStamp(); }), "0"},
        {"GetCandidates", answer([&](t_uiContext& c) { return c.imcWrap->GetCandidates(host, nullptr); }), "0"},
        {"GetComposition",
         answer([&](t_uiContext& c) { return c.imcWrap->GetComposition(host, buffer, 16, &value, &value, nullptr); }),
         "false"},
        {"CommitEnv", none([&](t_uiContext& c) { c.imcWrap->CommitEnv(); }), c_none},
        {"SearchText", none([&](t_uiContext& c) { c.imcWrap->SearchText(host, L"text"); }), c_none},
        {"GetEnvBool", answer([&](t_uiContext& c) { return c.imcWrap->GetEnvBool(L"QuanPin", flag); }), "false"},
        {"GetEnvInt", answer([&](t_uiContext& c) { return c.imcWrap->GetEnvInt(L"PageSize", value); }), "false"},
        {"SetEnvBool", none([&](t_uiContext& c) { c.imcWrap->SetEnvBool(L"QuanPin", false); }), c_none},
        {"SetEnvInt", none([&](t_uiContext& c) { c.imcWrap->SetEnvInt(L"PageSize", 3); }), c_none},
        {"ShowQuickInput", none([&](t_uiContext& c) { c.imcWrap->ShowQuickInput(host, L"text"); }), c_none},
        {"GetCandidateRichTip", answer([&](t_uiContext& c) { return c.imcWrap->GetCandidateRichTip(host, tip, 0); }),
         "false"},
        {"InputStroke", none([&](t_uiContext& c) { c.imcWrap->InputStroke(host, 4); }), c_none},
        {"GetHintHalfTip", answer([&](t_uiContext& c) { return c.imcWrap->GetHintHalfTip(host, tip, 1); }), "false"},
        {"GetHintTip", answer([&](t_uiContext& c) { return c.imcWrap->GetHintTip(host, tip); }), "false"},
        {"OnHintClick", none([&](t_uiContext& c) { c.imcWrap->OnHintClick(host); }), c_none},
        {"RequestUiRefresh", none([&](t_uiContext& c) { c.imcWrap->RequestUiRefresh(host); }), c_none},
        {"OnHintAction", none([&](t_uiContext& c) { c.imcWrap->OnHintAction(host); }), c_none},
        {"GetCloudRequestTime", answer([&](t_uiContext& c) { return int(c.imcWrap->GetCloudRequestTime(host)); }), "0"},
        {"ShowsCandidateIcons", answer([&](t_uiContext& c) { return c.imcWrap->ShowsCandidateIcons(host); }), "false"},
        {"OnHintLink", none([&](t_uiContext& c) { c.imcWrap->OnHintLink(host, L"http://a"); }), c_none},
        {"LoadHintImage", answer([&](t_uiContext& c) {
             return c.imcWrap->LoadHintImage(L"C:\\", L"a.png", L"http://a", host, 5, &picture);
         }),
         "false"},
        {"SetCompWindowRect", answer([&](t_uiContext& c) { return c.imcWrap->SetCompWindowRect(host, 1, 2, 3, 4); }),
         "false"},
        {"SetCandWindowRect", answer([&](t_uiContext& c) { return c.imcWrap->SetCandWindowRect(host, 1, 2, 3, 4); }),
         "false"},
        {"ReportWindowRect", answer([&](t_uiContext& c) { return c.imcWrap->ReportWindowRect(host, 1, 2, 3, 4); }),
         "false"},
        {"SetCandItemRects",
         answer([&](t_uiContext& c) { return c.imcWrap->SetCandItemRects(host, rects, 2, 0, 0, 10, 10); }), "false"},
        {"SetCaretRect", answer([&](t_uiContext& c) { return c.imcWrap->SetCaretRect(host, 1, 2, 3, 4); }), "false"},
        {"OnCompWindowShow",
         answer([&](t_uiContext& c) { return c.imcWrap->OnCompWindowShow(host, nullptr, true, false); }), "false"},
        {"OnCandWindowShow",
         answer([&](t_uiContext& c) { return c.imcWrap->OnCandWindowShow(host, nullptr, true, true); }), "false"},
        {"ReportWindowShown", answer([&](t_uiContext& c) { return c.imcWrap->ReportWindowShown(host, nullptr, true); }),
         "false"},
        {"OnCompPainted", answer([&](t_uiContext& c) { return c.imcWrap->OnCompPainted(host); }), "false"},
        {"OnCandPainted", answer([&](t_uiContext& c) { return c.imcWrap->OnCandPainted(host); }), "false"},
        {"OnWindowPainted", answer([&](t_uiContext& c) { return c.imcWrap->OnWindowPainted(host); }), "false"},
        {"OnCandidateHover", answer([&](t_uiContext& c) { return c.imcWrap->OnCandidateHover(host, 0, 1, 2); }),
         "false"},
        {"OnCandidateLeave", answer([&](t_uiContext& c) { return c.imcWrap->OnCandidateLeave(host, 0); }), "false"},
        {"ReportMouse", answer([&](t_uiContext& c) {
             return c.imcWrap->ReportMouse(host, ImcWrapImplBase::e_mouseStatus, ImcWrapImplBase::e_rightUp, -1, 1, 2);
         }),
         "false"},
        {"GetCandidateExtraIconSize",
         answer([&](t_uiContext& c) { return c.imcWrap->GetCandidateExtraIconSize(host, 0, w, h); }), "false"},
        {"DrawCandidateExtraIcon",
         answer([&](t_uiContext& c) { return c.imcWrap->DrawCandidateExtraIcon(host, 0, nullptr, nullptr, 1, 1); }),
         "false"},
        {"OnCandidateExtraIconClick",
         answer([&](t_uiContext& c) { return c.imcWrap->OnCandidateExtraIconClick(host, 0, 1, 1); }), "false"},
        {"GetCandidateImageSize",
         answer([&](t_uiContext& c) { return c.imcWrap->GetCandidateImageSize(host, 0, w, h); }), "false"},
        {"DrawCandidateImage",
         answer([&](t_uiContext& c) { return c.imcWrap->DrawCandidateImage(host, 0, nullptr, nullptr, 1, 1); }),
         "false"},
        {"DrawModeIcon", answer([&](t_uiContext& c) {
             return c.imcWrap->DrawModeIcon(host, L"name", L"hint", nullptr, nullptr, 1, 1, 255);
         }),
         "false"},
        {"OnModeIconClick",
         answer([&](t_uiContext& c) { return c.imcWrap->OnModeIconClick(host, L"name", L"hint", 1, 1); }), "false"},
        {"OnRichCandidateClick", none([&](t_uiContext& c) { c.imcWrap->OnRichCandidateClick(host); }), c_none},
        {"OnRichCandidateBoxClick", none([&](t_uiContext& c) { c.imcWrap->OnRichCandidateBoxClick(host, rects[0]); }),
         c_none},
        {"ReportSkinFont", answer([&](t_uiContext& c) { return c.imcWrap->ReportSkinFont(0, L"宋体", 12, 1, 2); }),
         "false"},
        {"OnHintPictureEnter", answer([&](t_uiContext& c) { return c.imcWrap->OnHintPictureEnter(host); }), "false"},
        {"OnHintPictureMove", answer([&](t_uiContext& c) { return c.imcWrap->OnHintPictureMove(host, 1, 2); }),
         "false"},
        {"OnHintPictureLeave", answer([&](t_uiContext& c) { return c.imcWrap->OnHintPictureLeave(host); }), "false"},
        {"MeasureHintPicture",
         answer([&](t_uiContext& c) { return c.imcWrap->MeasureHintPicture(host, nullptr, size); }), "false"},
        {"DrawHintPicture",
         answer([&](t_uiContext& c) { return c.imcWrap->DrawHintPicture(host, nullptr, nullptr, 1, 1, 32); }), "false"},
        {"HitHintPicture", answer([&](t_uiContext& c) { return c.imcWrap->HitHintPicture(host, 1, 2, flag); }),
         "false"},
        {"OnHintPicturePress", answer([&](t_uiContext& c) { return c.imcWrap->OnHintPicturePress(host, 1, 2); }),
         "false"},
        {"OnHintPictureClick", answer([&](t_uiContext& c) { return c.imcWrap->OnHintPictureClick(host, 1, 2); }),
         "false"},
        {"OnCandidatesDrawn", none([&](t_uiContext& c) { c.imcWrap->OnCandidatesDrawn(host, RGB(1, 2, 3)); }), c_none},
    };
    const t_hostCase uiCases[] = {
        {"PopupAt", none([&](t_uiContext& c) { c.uiWrap->PopupAt(host, 1, 2, UiWrapImplBase::e_popupStatusBar); }),
         c_none},
        {"IsLayeringOff", answer([&](t_uiContext& c) { return c.uiWrap->IsLayeringOff(); }), "false"},
        {"IsPassportLoggedIn", answer([&](t_uiContext& c) { return c.uiWrap->IsPassportLoggedIn(); }), "false"},
        {"IsPassportToggled", answer([&](t_uiContext& c) { return c.uiWrap->IsPassportToggled(); }), "false"},
        {"GetButtonHintText", none([&](t_uiContext& c) { c.uiWrap->GetButtonHintText(buffer, 16, 0, 0, 1, nullptr); }),
         c_none},
        {"NavigateUrl", none([&](t_uiContext& c) { c.uiWrap->NavigateUrl(L"http://a"); }), c_none},
        {"OnWindowShake", none([&](t_uiContext& c) { c.uiWrap->OnWindowShake(1); }), c_none},
        {"OnWindowShow", none([&](t_uiContext& c) { c.uiWrap->OnWindowShow(host, 1); }), c_none},
        {"DrawsHintFrame", answer([&](t_uiContext& c) { return c.uiWrap->DrawsHintFrame(host); }), "false"},
        {"GetMinWindowSize", answer([&](t_uiContext& c) { return c.uiWrap->GetMinWindowSize(host, size); }), "false"},
        {"OnFlashPoint", none([&](t_uiContext& c) { c.uiWrap->OnFlashPoint(host, 1, 2, 3); }), c_none},
        {"IsSkinBoxActive", answer([&](t_uiContext& c) { return c.uiWrap->IsSkinBoxActive(); }), "false"},
        {"OnSkinBoxLaunch", none([&](t_uiContext& c) { c.uiWrap->OnSkinBoxLaunch(0); }), c_none},
        {"RunComponent", none([&](t_uiContext& c) { c.uiWrap->RunComponent(1, 2); }), c_none},
        {"GetComponentState", answer([&](t_uiContext& c) { return c.uiWrap->GetComponentState(1, 2); }), "0"},
        {"CanShowSkinBoxHint", answer([&](t_uiContext& c) { return c.uiWrap->CanShowSkinBoxHint(); }), "false"},
        {"WantsSetupTip", answer([&](t_uiContext& c) { return c.uiWrap->WantsSetupTip(); }), "false"},
        {"OnSetupTipDone", none([&](t_uiContext& c) { c.uiWrap->OnSetupTipDone(0); }), c_none},
        {"ApplyBarConfig", none([&](t_uiContext& c) { c.uiWrap->ApplyBarConfig(host, 0x9467, 0xFFFFFF); }), c_none},
        {"ReportBarConfigEvent",
         none([&](t_uiContext& c) { c.uiWrap->ReportBarConfigEvent(UiWrapImplBase::e_barConfigOpening); }), c_none},
        {"WantsBarConfigOpen", answer([&](t_uiContext& c) { return c.uiWrap->WantsBarConfigOpen(); }), "false"},
        {"SetBarConfigOpen", none([&](t_uiContext& c) { c.uiWrap->SetBarConfigOpen(1); }), c_none},
        {"GetStatusButtonMask", answer([&](t_uiContext& c) { return c.uiWrap->GetStatusButtonMask(); }), "-1"},
        {"GetStatusButtonColor", answer([&](t_uiContext& c) { return c.uiWrap->GetStatusButtonColor(); }), "-1"},
        {"PreviewStatusButtonMask", none([&](t_uiContext& c) { c.uiWrap->PreviewStatusButtonMask(-1); }), c_none},
        {"PreviewStatusButtonColor", none([&](t_uiContext& c) { c.uiWrap->PreviewStatusButtonColor(-1); }), c_none},
        {"EnterMessage", none([&](t_uiContext& c) { c.uiWrap->EnterMessage(1); }), c_none},
        {"WantsToolboxTip", answer([&](t_uiContext& c) { return c.uiWrap->WantsToolboxTip(); }), "false"},
        {"OnToolboxLaunch", none([&](t_uiContext& c) { c.uiWrap->OnToolboxLaunch(); }), c_none},
        {"OnBarConfigApplied", none([&](t_uiContext& c) { c.uiWrap->OnBarConfigApplied(); }), c_none},
    };

    // Reached the way every window reaches its host: through a window without a context.
    t_wndUiSub window;
    t_uiContext& context = *window.GetContext();
    for (const t_hostCase& c : imcCases)
        EXPECT_EQ(c.expected, c.call(context)) << "ImcWrapImplBase::" << c.name;
    for (const t_hostCase& c : uiCases)
        EXPECT_EQ(c.expected, c.call(context)) << "UiWrapImplBase::" << c.name;
}

// A host overrides what it serves and keeps the defaults for the rest.
TEST(HostDefaults, HostOverridesOnlyWhatItServes)
{
    struct t_sampleHost : ImcWrapImplBase {
        int GetCandidates(HWND, t_candidateList*) override { return 5; }
    } host;
    t_uiContext context;
    context.SetImcWrap(&host);
    t_wndUiSub window;
    window.SetContext(&context);
    EXPECT_EQ(5, window.GetContext()->Imc().GetCandidates(nullptr, nullptr));
    EXPECT_TRUE(window.GetContext()->Imc().CanPageDown(nullptr));
    EXPECT_EQ(-1, window.GetContext()->Ui().GetStatusButtonMask());
}

}  // namespace
