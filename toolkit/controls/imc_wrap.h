// The input-context side of the host that embeds the input method's skinned windows.
// Every operation of this base ignores its arguments and answers a fixed default: a host
// derives from it and overrides what it serves (the editor's preview supplies sample
// composition text and candidates). Out arguments are never written by the defaults.
#pragma once

#include <windows.h>

#include <cstdint>

class t_str;
struct t_imageSource;
// Records that the host fills for the composition and candidate strings.
struct t_compositionRecord;
struct t_candidateList;

class ImcWrapImplBase {
public:
    virtual ~ImcWrapImplBase() = default;

    // Modes shown by the status buttons.
    virtual bool IsFullWidth(HWND host);
    virtual bool IsChineseMode(HWND host);   // default true
    virtual bool IsChinesePunct(HWND host);  // default true
    virtual bool IsSoftKeyboardOn(HWND host);
    virtual bool IsTraditional(HWND host);
    virtual bool UseAltCandidateFont(HWND host);

    // Paging of the candidate list.
    virtual bool CanPageUp(HWND host);
    virtual bool CanPageDown(HWND host);  // default true
    // index >= 0 a candidate; -1, -2, -3 the actions of the composition rich hint.
    virtual void SelectCandidate(HWND host, int index);
    virtual bool IsInputDisabled();

    // Tooltips of items; true when the text was filled.
    virtual bool GetCandidateTip(HWND host, t_str& tipText, int index);
    virtual bool GetCompositionTip(HWND host, t_str& tipText);
    virtual bool GetModeIconTip(HWND host, t_str& tipText, int id, const wchar_t* name, const wchar_t* hint);

    // Orientation questions of the skinned window base.
    virtual bool GetModeFlag();
    virtual uint16_t GetModeWord();  // default 0

    virtual void PageUp(HWND host);
    virtual void PageDown(HWND host);
    // A change of the stamp restarts the fade-in of the string items.
    virtual int GetHintStamp();  // default 0

    // Fills the list and answers the number of candidates (default 0).
    virtual int GetCandidates(HWND host, t_candidateList* list);
    // Fills the record; texts go into buffer (capacity units). False: nothing to show.
    virtual bool GetComposition(HWND host, wchar_t* buffer, int capacity, int* hotIndex, int* hotValue,
                                t_compositionRecord* record);

    // Host settings reached from rich-hint elements.
    virtual void CommitEnv();
    virtual void SearchText(HWND host, const wchar_t* text);
    virtual bool GetEnvBool(const wchar_t* name, bool& value);
    virtual bool GetEnvInt(const wchar_t* name, int& value);
    virtual void SetEnvBool(const wchar_t* name, bool value);
    virtual void SetEnvInt(const wchar_t* name, int value);
    virtual void ShowQuickInput(HWND host, const wchar_t* text);

    virtual bool GetCandidateRichTip(HWND host, t_str& markup, int index);
    virtual void InputStroke(HWND host, int stroke);  // stroke 0..4
    virtual bool GetHintHalfTip(HWND host, t_str& tipText, int half);
    virtual bool GetHintTip(HWND host, t_str& tipText);
    virtual void OnHintClick(HWND host);
    virtual void RequestUiRefresh(HWND host);
    virtual void OnHintAction(HWND host);
    // Tick count on which the cloud and name-icon timings are based (default 0).
    virtual DWORD GetCloudRequestTime(HWND host);
    virtual bool ShowsCandidateIcons(HWND host);
    virtual void OnHintLink(HWND host, const wchar_t* text);
    // Picture of a DirectUI "url" image; the host stores a new source in picture.
    virtual bool LoadHintImage(const wchar_t* folder, const wchar_t* fileName, const wchar_t* url, HWND host, int kind,
                               t_imageSource** picture);

    // Geometry reports of the composition, candidate and status windows.
    virtual bool SetCompWindowRect(HWND host, int x, int y, int width, int height);
    virtual bool SetCandWindowRect(HWND host, int x, int y, int width, int height);
    virtual bool ReportWindowRect(HWND host, int x, int y, int width, int height);
    virtual bool SetCandItemRects(HWND host, const RECT* rects, int count, int left, int top, int right, int bottom);
    virtual bool SetCaretRect(HWND host, int x, int y, int width, int height);
    virtual bool OnCompWindowShow(HWND host, HWND window, bool shown, bool combined);
    virtual bool OnCandWindowShow(HWND host, HWND window, bool shown, bool combined);
    virtual bool ReportWindowShown(HWND host, HWND window, bool shown);
    virtual bool OnCompPainted(HWND host);
    virtual bool OnCandPainted(HWND host);
    virtual bool OnWindowPainted(HWND host);

    // Candidates under the mouse; points relative to the item.
    virtual bool OnCandidateHover(HWND host, int index, int x, int y);
    virtual bool OnCandidateLeave(HWND host, int index);
    // Window kinds of ReportMouse.
    enum t_mouseWindow {
        e_mouseComp = 0,
        e_mouseCand = 1,
        e_mouseStatus = 2
    };
    // Events of ReportMouse.
    enum t_mouseEvent {
        e_leftDown = 0,
        e_leftUp = 1,
        e_rightDown = 2,
        e_rightUp = 3
    };
    // Index -1 when no candidate; x, y relative to the window's top-left corner.
    virtual bool ReportMouse(HWND host, int windowKind, int event, int index, int x, int y);

    // Host-drawn pictures of candidates and mode icons, into 32-bit bitmaps.
    virtual bool GetCandidateExtraIconSize(HWND host, int index, int& width, int& height);
    virtual bool DrawCandidateExtraIcon(HWND host, int index, HDC dc, void* pixels, int width, int height);
    virtual bool OnCandidateExtraIconClick(HWND host, int index, int x, int y);
    virtual bool GetCandidateImageSize(HWND host, int index, int& width, int& height);
    virtual bool DrawCandidateImage(HWND host, int index, HDC dc, void* pixels, int width, int height);
    virtual bool DrawModeIcon(HWND host, const wchar_t* name, const wchar_t* hint, HDC dc, void* pixels, int width,
                              int height, BYTE alpha);
    virtual bool OnModeIconClick(HWND host, const wchar_t* name, const wchar_t* hint, int x, int y);
    virtual void OnRichCandidateClick(HWND host);
    virtual void OnRichCandidateBoxClick(HWND host, const RECT& box);

    // The skin's font and colour entries, when the runtime skin has both.
    virtual bool ReportSkinFont(int reserved, const wchar_t* faceName, int height, int fontValue, int colorValue);

    // A rich hint whose picture the host draws.
    virtual bool OnHintPictureEnter(HWND host);
    virtual bool OnHintPictureMove(HWND host, int x, int y);
    virtual bool OnHintPictureLeave(HWND host);
    virtual bool MeasureHintPicture(HWND host, HDC dc, SIZE& size);
    virtual bool DrawHintPicture(HWND host, HDC dc, void* pixels, int width, int height, int bitsPerPixel);
    // accepts: whether the point takes clicks, when the answer is true.
    virtual bool HitHintPicture(HWND host, int x, int y, bool& accepts);
    virtual bool OnHintPicturePress(HWND host, int x, int y);
    virtual bool OnHintPictureClick(HWND host, int x, int y);

    // After the candidate string painted, with the average colour of its sample band.
    virtual void OnCandidatesDrawn(HWND host, COLORREF colour);
};
