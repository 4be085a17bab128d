// The picture field of the property pages: a label, a read-only edit with the picture's
// name in the skin and an "导入..." button that opens the picture file dialog and tells the
// parent window, which imports the chosen file and shows the name it got.
#pragma once

#include <windows.h>

#include <string>

#include "editor/framework/window.h"

class OpenFileCtrl : public Frame {
public:
    // Control ids of the edit and the button inside the field.
    static constexpr int c_editId = 1;
    static constexpr int c_buttonId = 2;
    // Room of the filter, in characters.
    static constexpr int c_filterCapacity = 260;

    OpenFileCtrl();
    ~OpenFileCtrl() override;

    // The field as a child of parent over rect: label, edit and button side by side, each
    // as tall as rect. notifyMessage is posted to the parent (wParam 0, lParam 0) when a
    // file was chosen (ChosenFile). False when the window cannot be made.
    bool Create(HWND parent, const RECT& rect, const wchar_t* label, int labelWidth, int editWidth, int buttonWidth,
                UINT notifyMessage);
    // A filter as the file dialog takes it (pairs of texts, each ended by a NUL); count
    // characters are copied, at most c_filterCapacity.
    void SetFilter(const wchar_t* filter, int count);
    // Stores the name and shows it in the edit.
    void SetPath(const wchar_t* path);
    const std::wstring& GetPath() const { return m_path; }
    // The full path of the file last chosen in the dialog; the shown name stays until the
    // parent has imported it.
    const std::wstring& ChosenFile() const { return m_chosen; }

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint(HDC dc) override;

    // Opens the picture file dialog; on a choice, ChosenFile and the notification.
    void Browse();

private:
    HWND m_edit;
    HWND m_button;
    std::wstring m_path;
    std::wstring m_chosen;
    UINT m_notifyMessage;
    // Two more NULs than the capacity, so the list always ends with an empty text.
    wchar_t m_filter[c_filterCapacity + 2];
};
