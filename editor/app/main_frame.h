// The editor's main window: the page tree, the property pages, the preview, the two
// panels and the splitter in a fixed order; the File, Tools and Help commands; the
// title and menu states that follow the open skin; the fan-out of the private messages.
#pragma once

#include "editor/framework/window.h"

class SkinTypeView;
class PropertyView;
class Preview;
class t_wndSpliter;

class IMEKavrelFrame : public FrameStoreSize {
public:
    // Child list indexes.
    enum t_child {
        e_pageTree = 0,
        e_pages = 1,
        e_preview = 2,
        e_viewPanel = 3,
        e_buttonPanel = 4,
        e_splitter = 5
    };
    static const int c_minWidth = 1200;
    static const int c_minHeight = 720;
    // dwData of the WM_COPYDATA that hands the frame a package to open.
    static const ULONG_PTR c_openRequestId = 0x4B56534Fu;

    IMEKavrelFrame();

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    virtual LRESULT OnSize();
    virtual LRESULT OnCommand(int command);
    virtual LRESULT OnClose();
    virtual LRESULT OnDropFiles(HDROP drop);

    int CreateChildren();
    void SetModified(bool modified);
    bool IsModified() const { return m_modified != 0; }
    int UpdateMenus(bool skinOpen);
    int EnableSavePreview(bool enable);
    void ShowChildren(bool show);
    void SetTitle(const wchar_t* name, bool fileTitleOnly);

    int OnNew();
    int OnOpen(const wchar_t* path);
    int OpenSkinByName(const wchar_t* name);
    // A package handed over by another start of the program (WM_COPYDATA): kept and
    // opened once the frame's queue gets to it, as File > Open opens, asking about unsaved
    // changes first. False for data that is not such a request.
    bool OnCopyData(const COPYDATASTRUCT* data);
    int OnSave();
    int OnSaveAs();
    // False when the user cancels.
    bool CloseSkin();
    int OnSavePreview();

    void SelectPage(int page);
    void OnSkinChanged(int part, bool repaint);
    void SelectPreview(int preview);
    void SetViewMode(int mode);
    void SetButtonAnimation(WPARAM wParam, LPARAM lParam);
    void OnSplitter(HWND splitter, LPARAM code);

private:
    PropertyView* Pages() const;
    Preview* PreviewHost() const;
    t_wndSpliter* Splitter() const;
    // Save As's name: the picked file with the ".vsf" rules, the pages committed.
    bool AskSavePath(wchar_t* out, int capacity);
    // Asks about unsaved changes and saves on Yes; false when the user cancels or the save fails.
    bool SettleUnsavedWork();
    // Closes the open skin without asking.
    void CloseDocument();
    void ResetViews();
    // Lays out children 2..5 from the right edge of child 1.
    void PlaceRightHand(int pagesRight, int height, bool repaintSplitter);
    void Relayout();
    void CollapsePages();
    void DragSplitter(int offset);
    // Commits the pages when asked and saves, the wait cursor up meanwhile; a failed save
    // is reported with the caption.
    bool SaveToPath(const wchar_t* path, bool commit, const wchar_t* failureCaption);
    int ShowMessage(const wchar_t* text, const wchar_t* caption, UINT flags);
    void ShowOpenFailure(const wchar_t* path);
    // Closes the open skin and opens path, the wait cursor up meanwhile; the title names
    // it. A failure is reported; nothing is open then.
    bool OpenDocument(const wchar_t* path);
    // A command-line name as a path (ResolveSkinName with the user's skin root).
    bool ResolveName(const wchar_t* name, wchar_t (&path)[MAX_PATH]);
    // Opens the handed-over package unless a dialog of the editor is up; the request
    // then waits for the frame to be enabled again.
    void OpenRequested();
    bool ChoosePngFile(wchar_t (&path)[MAX_PATH]);

    int m_modified;
    int m_splitterIndex;
    // The package another start handed over, not yet opened; empty when none.
    wchar_t m_requestedPath[MAX_PATH];
};

// A save picks: the name cut to 259 units, ".vsf" appended when the filter is the first
// and the name does not already end in it (case-insensitive). False when it cannot fit.
bool ApplySaveExtension(wchar_t* name, int capacity, int filterIndex);
// A command-line name: "vsf" and "zip" endings count as extensions; a name with '\' is a
// path; otherwise it names a package in <skin root>\AllSkin; ".vsf" is appended without
// an extension. False when the skin root is unknown or the result does not fit.
bool ResolveSkinName(const wchar_t* name, const wchar_t* skinRoot, wchar_t* out, int capacity);
// The path of an open request: dwData c_openRequestId, a UTF-16 text of 1 to 259 units
// ending in its only NUL. False for anything else (the data may come from any program);
// out is then empty.
bool ReadOpenRequest(const COPYDATASTRUCT* data, wchar_t (&out)[MAX_PATH]);
// Hands the command-line name to the running editor's frame, a path made full against
// this process's folder first (the running editor's folder may be another). False when
// it does not fit or the frame did not take it within a few seconds.
bool SendOpenRequest(HWND frame, const wchar_t* name);
