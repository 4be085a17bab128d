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
    bool SaveToPath(const wchar_t* path, const wchar_t* failureCaption);
    int ShowMessage(const wchar_t* text, const wchar_t* caption, UINT flags);
    void ShowOpenFailure(const wchar_t* path);
    bool ChoosePngFile(wchar_t (&path)[MAX_PATH]);

    int m_modified;
    int m_splitterIndex;
};

// A save picks: the name cut to 259 units, ".vsf" appended when the filter is the first
// and the name does not already end in it (case-insensitive). False when it cannot fit.
bool ApplySaveExtension(wchar_t* name, int capacity, int filterIndex);
// A command-line name: "vsf" and "zip" endings count as extensions; a name with '\' is a
// path; otherwise it names a package in <skin root>\AllSkin; ".vsf" is appended without
// an extension. False when the skin root is unknown or the result does not fit.
bool ResolveSkinName(const wchar_t* name, const wchar_t* skinRoot, wchar_t* out, int capacity);
