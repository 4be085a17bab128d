// The base of every property page: a modeless child dialog bound to one part of the skin
// model. While the page fills its controls from the model it is not live, so the
// notifications that filling causes never reach the model; once live, a change of a
// control stores the page into its part and tells the parent (and through it the main
// frame and the preview) which part changed.
#pragma once

#include "editor/framework/dialog.h"
#include "skin_model/base_info.h"

class SubDialog : public Dialog {
public:
    explicit SubDialog(t_partIndex part);
    ~SubDialog() override;

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Detaches the object from its dialog before the children are deleted: messages that
    // reach the dialog later must not find a deleted page.
    void OnDestroy() override;
    // Binds the part when unbound, then fills the controls with live cleared; live after.
    int LoadFromModel() override;
    // 0 while unbound; pages copy their controls into the part and return 1.
    int StoreToModel() override;
    // Enter and Esc (ids 1 and 2) are swallowed so that a page never ends itself; the
    // notification code picks OnClick, OnSelChange, OnTextChange or OnEditChange, and a
    // handler that returns 0 ends the command. EN_CHANGE reaches OnTextChange only while
    // the page is live.
    int OnCommand(WPARAM wParam, LPARAM lParam) override;

    // Forgets the bound part: the next LoadFromModel looks it up again (another skin may
    // have been opened meanwhile). Returns 1.
    virtual int Clear();
    // Control handlers by control id; 1 means not handled.
    virtual int OnClick(int id);
    virtual int OnSelChange(int id);
    virtual int OnTextChange(int id);
    virtual int OnEditChange(int id);
    // While live and when StoreToModel succeeds: sends the skin-changed message to the
    // parent with the part's index in the low word and repaint in the high word.
    virtual void NotifyChanged(bool repaint);
    // Marks the skin modified for a value the preview does not show (stored on save).
    void NotifyModified();

    t_partIndex PartNumber() const { return m_partNumber; }
    BaseInfo* Part() const { return m_part; }
    bool IsLive() const { return m_live != 0; }

protected:
    // Fills the controls from the bound part; called by LoadFromModel with live cleared.
    virtual void FillControls();
    // The part of the page's number in the open skin document; null when there is none.
    BaseInfo* BindPart();
    void SetLive(bool live) { m_live = live ? 1 : 0; }

    BaseInfo* m_part;
    unsigned char m_live;

private:
    t_partIndex m_partNumber;
};
