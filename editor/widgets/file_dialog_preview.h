// The open and save dialogs for pictures: the Explorer-style file dialog with a child
// template whose owner-drawn area shows the selected file scaled to fit, black keyed out,
// with its pixel size below it; animated pictures play. One such dialog runs at a time.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "graphics/image/image_source.h"
#include "toolkit/controls/wnd_base_handle.h"

// The filter of the picture file dialogs: NUL-separated, double NUL at the end; set by
// start-up from the UseGdip setting.
const wchar_t* GetImageFilter();
int GetImageFilterLength();
void SetImageFilter(bool anyPicture);

class CFileDialogPreview : public t_wndBaseHandle {
public:
    // The animation timer of the template window and its period.
    static constexpr UINT_PTR c_animationTimer = 121;
    static constexpr UINT c_animationPeriodMs = 10;
    // Height of the size label's band below the picture.
    static constexpr int c_labelHeight = 20;
    // Posted to the template window once the dialog is set up: the file-name box takes
    // the focus (the dialog would leave it on its first control, the folder combo).
    static constexpr UINT c_focusNameBox = WM_APP + 1;

    // Where a picture of pictureWidth x pictureHeight goes in a preview area of width x
    // height: scaled to fit above the label's band (small pictures are enlarged), the
    // picture and the band below it centred together. Empty rectangles when nothing fits.
    struct t_layout {
        RECT picture;
        RECT label;
    };
    static t_layout Layout(int width, int height, int pictureWidth, int pictureHeight);

    CFileDialogPreview();
    ~CFileDialogPreview() override;

    // The template (a child dialog of module) and its owner-drawn preview control.
    void Configure(HINSTANCE module, int templateId, int previewId);
    // True when the user chose a file (GetPath); false for a cancel or a failure, after
    // which the path is empty.
    bool ChooseOpenFile(HWND owner, const wchar_t* filter, const wchar_t* initialDir);
    // As ChooseOpenFile; the dialog asks before overwriting an existing file.
    bool ChooseSaveFile(HWND owner, const wchar_t* filter, const wchar_t* initialDir);
    const wchar_t* GetPath() const { return m_path; }
    // CommDlgExtendedError after the last dialog: 0 for a choice or a plain cancel.
    DWORD ExtendedError() const { return m_extendedError; }

    // The dialog procedure of the template window.
    virtual UINT_PTR HookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    // The template window (not subclassed: its messages reach HookProc).
    virtual void SetHwnd(HWND dialog);
    // Paints the preview control through a memory bitmap of its size.
    virtual void DrawPreview(const DRAWITEMSTRUCT& item);

    // The picture shown; null when none.
    const t_imageSource* Picture() const { return m_picture.get(); }
    // The Explorer dialog around the template; null until it finished setting up.
    HWND FrameWindow() const { return m_frame; }
    // The preview dialog running now; null when none.
    static CFileDialogPreview* Current();

private:
    bool Choose(bool save, HWND owner, const wchar_t* filter, const wchar_t* initialDir);
    void UpdatePreview();
    void FitPreview();
    void FocusNameBox();
    void AnimatePreview();
    void FreePicture();
    // The current picture (its current frame) scaled to width x height into m_scaled;
    // kept while picture, frame and size stay. False when its pixels cannot be read.
    bool ScalePicture(int width, int height);
    HWND PreviewControl() const;

    static UINT_PTR CALLBACK Hook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    wchar_t m_path[MAX_PATH];
    int m_templateId;
    int m_previewId;
    HINSTANCE m_module;
    HWND m_frame;
    t_imageSourcePtr m_picture;
    // The picture scaled for the preview area: premultiplied, rows bottom-up, black of an
    // opaque picture transparent; and the frame pixels and size it was made from.
    std::vector<uint32_t> m_scaled;
    const void* m_scaledFrom;
    int m_scaledWidth, m_scaledHeight;
    bool m_configured;
    DWORD m_extendedError;
};
