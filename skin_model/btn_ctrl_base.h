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

// The built-in buttons by index.
enum {
    c_btnCnEn = 0,
    c_btnBiaodian = 1,
    c_btnQuanBan = 2,
    c_btnQuanShuang = 3,
    c_btnFanJian = 4,
    c_btnSoftKeyboard = 5,
    c_btnMenu = 6,
    c_btnSearch = 7,
    c_btnPageUp = 8,
    c_btnPageDown = 9,
    c_btnPassport = 10,
    c_btnWebpage = 11,
    c_btnSkinManager = 12,
    c_builtInButtonCount = 13,
};

// The windows that carry buttons, each with its button set.
enum {
    c_windowStatusBar = 0,
    c_windowHorizontalCombined = 1,
    c_windowHorizontalComp = 2,
    c_windowHorizontalCand = 3,
    c_windowVerticalCombined = 4,
    c_windowVerticalComp = 5,
    c_windowVerticalCand = 6,
    c_buttonWindowCount = 7,
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
