#include "editor/pages/sub_dialog.h"

#include "editor/framework/editor_messages.h"
#include "skin_model/ime_skin.h"

namespace {
const int c_notifyClicked = BN_CLICKED;
const int c_notifySelChange = CBN_SELCHANGE;
const int c_notifyTextChange = EN_CHANGE;
const int c_notifyEditChange = CBN_EDITCHANGE;
}  // namespace

SubDialog::SubDialog(t_partIndex part) : m_part(nullptr), m_live(0), m_partNumber(part) {}

SubDialog::~SubDialog() = default;

LRESULT SubDialog::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // A change reported by an inner page or a control panel goes on up to the main frame.
    if (message == n_editorMessage::c_skinChanged)
        return SendToParent(message, wParam, lParam);
    return Dialog::WndProc(window, message, wParam, lParam);
}

void SubDialog::OnDestroy()
{
    if (m_hwnd)
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
    Dialog::OnDestroy();
}

BaseInfo* SubDialog::BindPart()
{
    if (!m_part)
        m_part = IMESkin::Instance()->GetPart(m_partNumber);
    return m_part;
}

void SubDialog::FillControls() {}

int SubDialog::LoadFromModel()
{
    SetLive(false);
    BindPart();
    FillControls();
    SetLive(true);
    return 1;
}

int SubDialog::StoreToModel() { return m_part ? 1 : 0; }

int SubDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    if (id == IDOK || id == IDCANCEL)
        return 1;
    int handled = 1;
    switch (HIWORD(wParam)) {
    case c_notifyClicked:
        handled = OnClick(id);
        break;
    case c_notifySelChange:
        handled = OnSelChange(id);
        break;
    case c_notifyTextChange:
        // Filling an edit from the model sends EN_CHANGE too: that is no edit of the user's.
        if (m_live)
            handled = OnTextChange(id);
        break;
    case c_notifyEditChange:
        handled = OnEditChange(id);
        break;
    default:
        break;
    }
    if (handled == 0)
        return 0;
    return Dialog::OnCommand(wParam, lParam);
}

int SubDialog::Clear()
{
    m_part = nullptr;
    return 1;
}

int SubDialog::OnClick(int) { return 1; }
int SubDialog::OnSelChange(int) { return 1; }
int SubDialog::OnTextChange(int) { return 1; }
int SubDialog::OnEditChange(int) { return 1; }

void SubDialog::NotifyChanged(bool repaint)
{
    if (!m_live || !StoreToModel() || !m_part)
        return;
    const WPARAM wParam = static_cast<WPARAM>(LOWORD(static_cast<int>(m_part->PartIndex()))) | (repaint ? 0x10000 : 0);
    SendToParent(n_editorMessage::c_skinChanged, wParam, 0);
}

void SubDialog::NotifyModified()
{
    SendToParent(n_editorMessage::c_skinChanged, MAKEWPARAM(n_editorMessage::c_modifiedOnly, 0), 0);
}
