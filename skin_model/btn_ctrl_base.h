// Button names and the flat numbering of the buttons of one window, shared by the
// button sets of the model and the editor's button view.
#pragma once

// Button types.
enum {
    c_btnBuiltIn = 0,
    c_btnCustom = 1,
    c_btnFlash = 2,
    c_btnPhotoFrame = 3,
    c_btnTypeCount = 4,
};

// A button: its index within its type and the type (-1 for none).
struct t_btnDesc {
    int index;
    int type;

    bool IsBuiltIn(int n) const { return type == c_btnBuiltIn && index == n; }
};

// The order in which the editor lists the 13 built-in buttons: by index, except that
// the system menu (6) comes after the passport button (10).
const t_btnDesc* BuiltInOrderTable();

// Flat numbers: the built-in buttons in the order of the order table, then the custom
// buttons by index, the Flash buttons and the photo frames.
class BtnCtrlBase {
public:
    BtnCtrlBase(const t_btnDesc* orderTable, int builtInCount, int windowIndex);

    // 0 for a type out of range.
    int Count(int type) const;
    void SetCount(int type, int n);
    int WindowIndex() const { return m_windowIndex; }

    // The button of a flat number, (0, -1) past the last one.
    t_btnDesc FromFlat(int flat) const;
    // The flat number of a button, -1 for a built-in index missing from the order
    // table or a type out of range.
    int ToFlat(int index, int type) const;
    // Extra types: index below the count; built-in: listed in the order table.
    bool Exists(int index, int type) const;

protected:
    const t_btnDesc* m_orderTable;
    int m_windowIndex;
    int m_counts[c_btnTypeCount];
};
