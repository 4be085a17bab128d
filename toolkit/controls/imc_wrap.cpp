#include "toolkit/controls/imc_wrap.h"

bool ImcWrapImplBase::IsFullWidth(HWND) { return false; }
bool ImcWrapImplBase::IsChineseMode(HWND) { return true; }
bool ImcWrapImplBase::IsChinesePunct(HWND) { return true; }
bool ImcWrapImplBase::IsSoftKeyboardOn(HWND) { return false; }
bool ImcWrapImplBase::IsTraditional(HWND) { return false; }
bool ImcWrapImplBase::UseAltCandidateFont(HWND) { return false; }
bool ImcWrapImplBase::CanPageUp(HWND) { return false; }
bool ImcWrapImplBase::CanPageDown(HWND) { return true; }
void ImcWrapImplBase::SelectCandidate(HWND, int) {}
bool ImcWrapImplBase::IsInputDisabled() { return false; }
bool ImcWrapImplBase::GetCandidateTip(HWND, t_str&, int) { return false; }
bool ImcWrapImplBase::GetCompositionTip(HWND, t_str&) { return false; }
bool ImcWrapImplBase::GetModeIconTip(HWND, t_str&, int, const wchar_t*, const wchar_t*) { return false; }
bool ImcWrapImplBase::GetModeFlag() { return false; }
uint16_t ImcWrapImplBase::GetModeWord() { return 0; }
void ImcWrapImplBase::PageUp(HWND) {}
void ImcWrapImplBase::PageDown(HWND) {}
int ImcWrapImplBase::GetHintStamp() { return 0; }
int ImcWrapImplBase::GetCandidates(HWND, t_candidateList*) { return 0; }
bool ImcWrapImplBase::GetComposition(HWND, wchar_t*, int, int*, int*, t_compositionRecord*) { return false; }
void ImcWrapImplBase::CommitEnv() {}
void ImcWrapImplBase::SearchText(HWND, const wchar_t*) {}
bool ImcWrapImplBase::GetEnvBool(const wchar_t*, bool&) { return false; }
bool ImcWrapImplBase::GetEnvInt(const wchar_t*, int&) { return false; }
void ImcWrapImplBase::SetEnvBool(const wchar_t*, bool) {}
void ImcWrapImplBase::SetEnvInt(const wchar_t*, int) {}
void ImcWrapImplBase::ShowQuickInput(HWND, const wchar_t*) {}
bool ImcWrapImplBase::GetCandidateRichTip(HWND, t_str&, int) { return false; }
void ImcWrapImplBase::InputStroke(HWND, int) {}
bool ImcWrapImplBase::GetHintHalfTip(HWND, t_str&, int) { return false; }
bool ImcWrapImplBase::GetHintTip(HWND, t_str&) { return false; }
void ImcWrapImplBase::OnHintClick(HWND) {}
void ImcWrapImplBase::RequestUiRefresh(HWND) {}
void ImcWrapImplBase::OnHintAction(HWND) {}
DWORD ImcWrapImplBase::GetCloudRequestTime(HWND) { return 0; }
bool ImcWrapImplBase::ShowsCandidateIcons(HWND) { return false; }
void ImcWrapImplBase::OnHintLink(HWND, const wchar_t*) {}
bool ImcWrapImplBase::LoadHintImage(const wchar_t*, const wchar_t*, const wchar_t*, HWND, int, t_imageSource**)
{
    return false;
}
bool ImcWrapImplBase::SetCompWindowRect(HWND, int, int, int, int) { return false; }
bool ImcWrapImplBase::SetCandWindowRect(HWND, int, int, int, int) { return false; }
bool ImcWrapImplBase::ReportWindowRect(HWND, int, int, int, int) { return false; }
bool ImcWrapImplBase::SetCandItemRects(HWND, const RECT*, int, int, int, int, int) { return false; }
bool ImcWrapImplBase::SetCaretRect(HWND, int, int, int, int) { return false; }
bool ImcWrapImplBase::OnCompWindowShow(HWND, HWND, bool, bool) { return false; }
bool ImcWrapImplBase::OnCandWindowShow(HWND, HWND, bool, bool) { return false; }
bool ImcWrapImplBase::ReportWindowShown(HWND, HWND, bool) { return false; }
bool ImcWrapImplBase::OnCompPainted(HWND) { return false; }
bool ImcWrapImplBase::OnCandPainted(HWND) { return false; }
bool ImcWrapImplBase::OnWindowPainted(HWND) { return false; }
bool ImcWrapImplBase::OnCandidateHover(HWND, int, int, int) { return false; }
bool ImcWrapImplBase::OnCandidateLeave(HWND, int) { return false; }
bool ImcWrapImplBase::ReportMouse(HWND, int, int, int, int, int) { return false; }
bool ImcWrapImplBase::GetCandidateExtraIconSize(HWND, int, int&, int&) { return false; }
bool ImcWrapImplBase::DrawCandidateExtraIcon(HWND, int, HDC, void*, int, int) { return false; }
bool ImcWrapImplBase::OnCandidateExtraIconClick(HWND, int, int, int) { return false; }
bool ImcWrapImplBase::GetCandidateImageSize(HWND, int, int&, int&) { return false; }
bool ImcWrapImplBase::DrawCandidateImage(HWND, int, HDC, void*, int, int) { return false; }
bool ImcWrapImplBase::DrawModeIcon(HWND, const wchar_t*, const wchar_t*, HDC, void*, int, int, BYTE) { return false; }
bool ImcWrapImplBase::OnModeIconClick(HWND, const wchar_t*, const wchar_t*, int, int) { return false; }
void ImcWrapImplBase::OnRichCandidateClick(HWND) {}
void ImcWrapImplBase::OnRichCandidateBoxClick(HWND, const RECT&) {}
bool ImcWrapImplBase::ReportSkinFont(int, const wchar_t*, int, int, int) { return false; }
bool ImcWrapImplBase::OnHintPictureEnter(HWND) { return false; }
bool ImcWrapImplBase::OnHintPictureMove(HWND, int, int) { return false; }
bool ImcWrapImplBase::OnHintPictureLeave(HWND) { return false; }
bool ImcWrapImplBase::MeasureHintPicture(HWND, HDC, SIZE&) { return false; }
bool ImcWrapImplBase::DrawHintPicture(HWND, HDC, void*, int, int, int) { return false; }
bool ImcWrapImplBase::HitHintPicture(HWND, int, int, bool&) { return false; }
bool ImcWrapImplBase::OnHintPicturePress(HWND, int, int) { return false; }
bool ImcWrapImplBase::OnHintPictureClick(HWND, int, int) { return false; }
void ImcWrapImplBase::OnCandidatesDrawn(HWND, COLORREF) {}
