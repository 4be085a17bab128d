// A window made from a dialog template: modeless (Create) or modal (DoModal), with a
// vertical scroll bar when its area is smaller than the template, and the control
// helpers the property pages share.
#pragma once

#include "editor/framework/window.h"

class Dialog : public Window {
public:
    Dialog();

    void GetSize(int& width, int& height) override;
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    virtual bool Create(HINSTANCE module, int templateId, HWND parent);
    virtual INT_PTR DoModal(HINSTANCE module, int templateId, HWND parent);
    // Every child's UpdateData first; then StoreToModel when save, else LoadFromModel.
    virtual int UpdateData(bool save);
    virtual void OnPaint(HDC dc);
    virtual int OnLButtonDown(WPARAM keys, int x, int y);
    virtual int OnLButtonUp(WPARAM keys, int x, int y);
    virtual int OnMouseMove(WPARAM keys, int x, int y);
    virtual int LoadFromModel();
    virtual int StoreToModel();
    virtual void OnSize(WPARAM type, LPARAM size);
    virtual void OnMouseWheel(WPARAM wParam, LPARAM lParam);
    virtual void OnHScroll(int request, HWND control);
    virtual void OnVScroll(int request, HWND control);
    virtual int OnInitDialog();
    virtual int OnCommand(WPARAM wParam, LPARAM lParam);
    virtual int OnNotify(int id, NMHDR* header, LRESULT& result);
    virtual int OnDrawItem(int id, DRAWITEMSTRUCT* item);
    virtual int GetItemRect(int id, RECT& out);
    virtual int EnableItem(int id, bool enable);
    virtual HWND GetItem(int id);
    virtual HWND FocusItem(int id);
    virtual int SetItemInt(int id, int value);
    virtual int GetItemInt(int id);
    virtual int SetItemText(int id, const wchar_t* text);
    // The whole text of the control; an empty text when there is none.
    virtual int GetItemText(int id, wchar_t* out, int capacity);
    virtual LRESULT ComboAdd(int id, const wchar_t* text);
    virtual LRESULT ComboDeleteText(int id, const wchar_t* text);
    virtual LRESULT ComboDeleteAt(int id, int index);
    virtual LRESULT ComboFind(int id, const wchar_t* text);
    virtual LRESULT ComboSelectInt(int id, int value);
    virtual int ComboGetInt(int id);
    virtual LRESULT ComboSetCurSel(int id, int index);
    virtual LRESULT ComboGetCurSel(int id);
    virtual int ComboGetText(int id, wchar_t* out, int capacity);
    virtual BOOL CheckItem(int id, UINT state);
    virtual UINT IsItemChecked(int id);
    virtual LRESULT SetSpinRange(int id, int low, int high);
    virtual void SetSliderRange(int id, int minimum, int maximum, int tickFrequency);
    virtual void SetSliderPos(int id, int position);
    virtual LRESULT GetSliderPos(int id);
    virtual LRESULT LimitText(int id, int count);

    int TemplateId() const { return m_templateId; }

protected:
    // The scroll position after a request (line step given), or the old position when the
    // request moves nothing.
    void Scroll(int bar, int request, int lineStep);

    int m_templateId;
};

// Moves a scroll bar of window as a request asks (lines of lineStep, pages, thumb track;
// top and bottom only for the vertical bar) and returns how far its position moved.
int MoveScrollBar(HWND window, int bar, int request, int lineStep);

class AboutDialog : public Dialog {
public:
    int OnInitDialog() override;
};
