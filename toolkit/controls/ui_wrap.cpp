#include "toolkit/controls/ui_wrap.h"

void UiWrapImplBase::PopupAt(HWND, int, int, int) {}
bool UiWrapImplBase::IsLayeringOff() { return false; }
bool UiWrapImplBase::IsPassportLoggedIn() { return false; }
bool UiWrapImplBase::IsPassportToggled() { return false; }
void UiWrapImplBase::GetButtonHintText(wchar_t*, int, int, int, int, const t_uiSettings*) {}
void UiWrapImplBase::NavigateUrl(const wchar_t*) {}
void UiWrapImplBase::OnWindowShake(int) {}
void UiWrapImplBase::OnWindowShow(HWND, int) {}
bool UiWrapImplBase::DrawsHintFrame(HWND) { return false; }
bool UiWrapImplBase::GetMinWindowSize(HWND, SIZE&) { return false; }
void UiWrapImplBase::OnFlashPoint(HWND, int, int, int) {}
bool UiWrapImplBase::IsSkinBoxActive() { return false; }
void UiWrapImplBase::OnSkinBoxLaunch(int) {}
void UiWrapImplBase::RunComponent(int, int) {}
int UiWrapImplBase::GetComponentState(int, int) { return 0; }
bool UiWrapImplBase::CanShowSkinBoxHint() { return false; }
bool UiWrapImplBase::WantsSetupTip() { return false; }
void UiWrapImplBase::OnSetupTipDone(int) {}
void UiWrapImplBase::ApplyBarConfig(HWND, DWORD, DWORD) {}
void UiWrapImplBase::ReportBarConfigEvent(int) {}
bool UiWrapImplBase::WantsBarConfigOpen() { return false; }
void UiWrapImplBase::SetBarConfigOpen(int) {}
int UiWrapImplBase::GetStatusButtonMask() { return -1; }
int UiWrapImplBase::GetStatusButtonColor() { return -1; }
void UiWrapImplBase::PreviewStatusButtonMask(int) {}
void UiWrapImplBase::PreviewStatusButtonColor(int) {}
void UiWrapImplBase::EnterMessage(int) {}
bool UiWrapImplBase::WantsToolboxTip() { return false; }
void UiWrapImplBase::OnToolboxLaunch() {}
void UiWrapImplBase::OnBarConfigApplied() {}
