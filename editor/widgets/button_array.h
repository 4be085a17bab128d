// The button-state editors of the button pages: a scrolling panel of picture groups (one
// per picture variant of a button), each with one row per button state (caption, the
// state's picture, "导入.." and "清除"). Subclasses add the button's placement at the top:
// alignment for the windows' buttons, a position for the status bar's, and for the web
// button its own address and hint. Pictures are files of the skin's work folder; the
// model is the button set (BtnInfo), read and written by property key and position.
#pragma once

#include <windows.h>

#include "editor/framework/editor_messages.h"
#include "editor/framework/window.h"
#include "foundation/core/str.h"
#include "graphics/image/image_source.h"

class BtnInfo;

// Window kinds of the factory: the status bar, the two combined windows, the others.
enum {
    c_arrayWindowStatus = 0,
    c_arrayWindowHorizontalCombined = 1,
    c_arrayWindowVerticalCombined = 4,
};

class ButtonArray : public SizeFrame {
public:
    // Control ids inside groups and rows.
    static const int c_idCaption = 101;
    static const int c_idPicture = 102;
    static const int c_idImport = 103;
    static const int c_idClear = 104;
    // Sizes of the layout.
    static const int c_rowWidth = 220;
    static const int c_rowHeight = 32;
    static const int c_groupCaptionHeight = 28;
    static const int c_scrollLine = 20;

    class t_item;

    // A group: the rows of one picture variant.
    class t_list : public SizeFrame {
    public:
        t_list(int key, const wchar_t* caption);
        ~t_list() override;

        bool CreateEditor(HWND parent, HINSTANCE module);
        void OnSizeChanged() override {}
        void GetContentSize(int& width, int& height) const;
        // Places the group at its full height; the rows inside it.
        void Place(int x, int y, int width);
        LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
        void OnPaint(HDC dc) override;

        t_item* FindRow(int key) const;
        // Appended at the end of the list.
        void AppendRow(t_item* row);
        int Key() const { return m_key; }
        const wchar_t* Caption() const { return m_caption.c_str(); }
        t_item* FirstRow() const { return m_rows; }
        t_list* Next() const { return m_next; }

    private:
        friend class ButtonArray;
        int m_key;
        t_str m_caption;
        t_item* m_rows;
        t_list* m_next;
    };

    // A row: one state's picture.
    class t_item : public SizeFrame {
    public:
        static const int c_fileChars = MAX_PATH;

        t_item(int key, const wchar_t* caption, bool notify, bool clearable);
        ~t_item() override;

        bool CreateEditor(HWND parent, HINSTANCE module);
        void OnSizeChanged() override {}
        void Place(int x, int y, int width);
        LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

        void SetProperty(const wchar_t* key, int variant, const wchar_t* expectedBase);
        const wchar_t* FileName() const { return m_file; }
        // Cut to the room of the name.
        void SetFileName(const wchar_t* name);

        // Loads the file of the work folder: 0 with a picture, -1 without one. With
        // notify, a row with the notify flag reports the change. A named file that cannot
        // be read is reported by its path.
        int LoadPicture(bool notify);
        // LoadPicture without the report: false when a named file could not be read.
        bool ReadPicture(bool notify);
        void ReportUnreadable();
        // Opens the picture file dialog and imports the chosen file.
        void Import();
        // The import of a chosen file: the row takes the expected name, the file is copied
        // in under it, and the picture is loaded.
        void ImportFile(const wchar_t* chosen);
        // Deletes the row's file from the work folder and empties the name.
        void Clear();
        // Gives the row's picture its expected name (a copy in the work folder); true
        // when the name changed.
        bool NormaliseFileName();

        void LoadFromModel(BtnInfo& info);
        void StoreToModel(BtnInfo& info) const;

        int Key() const { return m_key; }
        bool IsClearable() const { return m_clearable; }
        bool HasPicture() const { return m_picture != nullptr; }
        const t_imageSource* Picture() const { return m_picture.get(); }
        const wchar_t* PropertyKey() const { return m_propertyKey.c_str(); }
        int Variant() const { return m_variant; }
        const wchar_t* ExpectedBase() const { return m_expectedBase.c_str(); }
        t_item* Next() const { return m_next; }

    private:
        friend class ButtonArray;
        void FreePicture();
        void DrawPicture(const DRAWITEMSTRUCT& item);

        int m_key;
        t_str m_caption;
        wchar_t m_file[c_fileChars];
        bool m_notify;
        bool m_clearable;
        t_item* m_next;
        t_str m_propertyKey;
        int m_variant;
        t_str m_expectedBase;
        t_imageSourcePtr m_picture;
        bool m_gdip;
        HWND m_pictureButton;
    };

    ButtonArray(int editorIndex, int buttonIndex, int buttonType);
    ~ButtonArray() override;

    // The size the panel needs to show everything without scrolling.
    virtual void GetContentSize(int& width, int& height) const;
    // The panel and its groups and rows, hidden until shown (unless style has WS_VISIBLE).
    virtual bool CreateEditor(DWORD style, HWND parent, HINSTANCE module);
    virtual void OnCommand(WPARAM wParam, LPARAM lParam) = 0;
    // Places the extra controls from y on and moves y past them.
    virtual void LayoutExtra(const RECT& rect, int& y) = 0;
    virtual void SetPos(int x, int y);
    virtual void ShowExtra(bool show);
    // Every row of every group; nothing before CreateEditor.
    virtual void LoadFromModel(BtnInfo& info);
    virtual void StoreToModel(BtnInfo& info);
    virtual void SetPropertyKey(const wchar_t* key) = 0;
    // Height of the extra controls.
    virtual int ExtraHeight() const { return 0; }

    void OnSizeChanged() override;
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    // Keys are looked up in list order; a missing key does nothing and gives false. Row
    // key -1 never matches.
    bool AddGroup(int key, const wchar_t* caption);
    bool AddRow(int groupKey, int rowKey, const wchar_t* caption, bool notify, bool clearable);
    bool GetRowFile(int groupKey, int rowKey, wchar_t* out, int capacity) const;
    bool SetRowFile(int groupKey, int rowKey, const wchar_t* text);
    bool SetRowProperty(int groupKey, int rowKey, const wchar_t* propertyKey, int variant, const wchar_t* expectedBase);
    t_list* FindGroup(int key) const;
    t_item* FindRow(int groupKey, int rowKey) const;
    t_list* FirstGroup() const { return m_groups; }

    // ShowWindow and ShowExtra.
    void Show(int command);
    // Moves the panel over rect in the parent and lays it out: 0 when rect is the current
    // rectangle, else the height used.
    int Place(const RECT& rect);

    int EditorIndex() const { return m_editorIndex; }
    int ButtonIndex() const { return m_buttonIndex; }
    int ButtonType() const { return m_buttonType; }
    bool IsCreated() const { return m_created; }
    bool IsBuilding() const { return m_building; }
    int ScrollPos() const { return m_scrollPos; }

    // The font of every control of the editors: the shared widget font (widget_font.h).
    static HFONT SharedFont();
    // The message boxes of the editors; null restores MessageBoxW. Returns the old one.
    using t_messageBoxFn = int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT);
    static t_messageBoxFn SetMessageBoxHook(t_messageBoxFn fn);
    static int ShowMessage(HWND owner, const wchar_t* text, const wchar_t* caption, UINT flags);

protected:
    // Control creation with the shared font.
    HWND CreateLabel(const wchar_t* text, int id);
    HWND CreateCheckBox(const wchar_t* text, int id);
    HWND CreateNumberEdit(int id);
    HWND CreateTextEdit(int id);
    HWND CreateSpin(int id, bool alignRight);
    HWND CreateComboList(int id);
    // Runs the extra controls' creation; called by CreateEditor after the panel window.
    virtual bool CreateExtra(HINSTANCE module) { return true; }

    void ScrollTo(int position);

    int m_editorIndex;
    int m_buttonIndex;
    int m_buttonType;
    bool m_created;
    t_list* m_groups;
    bool m_building;
    RECT m_placed;
    int m_scrollPos;
    HINSTANCE m_module;
};

// Alignment of a window's button: target, area, the two direction lists and four margins.
class ButtonArrayComp : public ButtonArray {
public:
    static const int c_extraHeight = 84;
    enum {
        c_idTargetLabel = 201,
        c_idTarget,
        c_idAreaLabel,
        c_idArea,
        c_idVerticalLabel,
        c_idVertical,
        c_idHorizontalLabel,
        c_idHorizontal,
        // Margins top, bottom, left, right: label, edit and spin each.
        c_idMarginFirst = 211,
    };
    static int MarginLabelId(int margin) { return c_idMarginFirst + margin * 3; }
    static int MarginEditId(int margin) { return c_idMarginFirst + margin * 3 + 1; }
    static int MarginSpinId(int margin) { return c_idMarginFirst + margin * 3 + 2; }

    ButtonArrayComp(int editorIndex, int buttonIndex, int buttonType);

    void OnCommand(WPARAM wParam, LPARAM lParam) override;
    void LayoutExtra(const RECT& rect, int& y) override;
    void ShowExtra(bool show) override;
    void LoadFromModel(BtnInfo& info) override;
    void StoreToModel(BtnInfo& info) override;
    void SetPropertyKey(const wchar_t* key) override;
    int ExtraHeight() const override { return c_extraHeight; }
    virtual void FillTargets(HWND combo) = 0;

    // A pair of align values as a direction list entry and back.
    static int PairToEntry(int first, int second);
    static void EntryToPair(int entry, int& first, int& second);

protected:
    bool CreateExtra(HINSTANCE module) override;

    t_str m_propertyKey;
};

// The buttons of the combined windows: the whole window, the composition or the candidates.
class ButtonArrayFull : public ButtonArrayComp {
public:
    using ButtonArrayComp::ButtonArrayComp;
    void FillTargets(HWND combo) override;
};

// The buttons of a separate window: the whole window only.
class ButtonArraySep : public ButtonArrayComp {
public:
    using ButtonArrayComp::ButtonArrayComp;
    void FillTargets(HWND combo) override;
};

// Position of a status-bar button.
class ButtonArrayStatus : public ButtonArray {
public:
    static const int c_extraHeight = 24;
    enum {
        c_idXLabel = 1,
        c_idXEdit,
        c_idXSpin,
        c_idYLabel,
        c_idYEdit,
        c_idYSpin
    };

    ButtonArrayStatus(int editorIndex, int buttonIndex, int buttonType);

    void OnCommand(WPARAM wParam, LPARAM lParam) override;
    void LayoutExtra(const RECT& rect, int& y) override;
    void SetPos(int x, int y) override;
    void ShowExtra(bool show) override;
    void LoadFromModel(BtnInfo& info) override;
    void StoreToModel(BtnInfo& info) override;
    void SetPropertyKey(const wchar_t* key) override;
    int ExtraHeight() const override { return c_extraHeight; }

protected:
    bool CreateExtra(HINSTANCE module) override;

    t_str m_propertyKey;
};

// The web button: its own address and hint on two more lines, over any of the editors
// above.
template <class t_base>
class ButtonArrayWeb : public t_base {
public:
    static const int c_webHeight = 56;
    enum {
        c_idUrlCheck = 301,
        c_idUrlEdit,
        c_idHintCheck,
        c_idHintEdit
    };

    ButtonArrayWeb(int editorIndex, int buttonIndex, int buttonType);

    void OnCommand(WPARAM wParam, LPARAM lParam) override;
    void LayoutExtra(const RECT& rect, int& y) override;
    void ShowExtra(bool show) override;
    void LoadFromModel(BtnInfo& info) override;
    void StoreToModel(BtnInfo& info) override;
    int ExtraHeight() const override { return t_base::ExtraHeight() + c_webHeight; }

protected:
    bool CreateExtra(HINSTANCE module) override;
};

extern template class ButtonArrayWeb<ButtonArrayStatus>;
extern template class ButtonArrayWeb<ButtonArrayFull>;
extern template class ButtonArrayWeb<ButtonArraySep>;

// The editor of a button of window kind (0 status bar, 1 and 4 combined windows, others
// separate); the built-in web button gets the web lines over it. Null never.
ButtonArray* CreateButtonArray(int windowKind, int editorIndex, int buttonIndex, int buttonType);
