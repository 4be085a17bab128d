// The buttons and flash items of a skinned window as Skin.ini describes them, and the
// counted arrays of custom buttons, component buttons and flash items.
#pragma once

#include "foundation/core/simple_array.h"
#include "ime_ui/skin/skin_image_value.h"
#include "ime_ui/skin/skin_number.h"
#include "ime_ui/skin/skin_part.h"

// One button, read under its button key B: B_display, B_pos, B_align, B itself (the
// normal pictures), B_down ... B_up, B_hint, B_url. Loads true when every key loaded.
class SkinBtn : public SkinPart {
public:
    // Writes every key under the names it is loaded from.
    virtual void Save(t_iniSection* section, const wchar_t* prefix, t_heap& heap);

    SkinBool display;
    SkinPos pos;
    SkinAlignEx align;
    SkinBtnUi normal;
    SkinBtnUi down;
    SkinBtnUi hover;
    SkinBtnUi in;
    SkinBtnUi out;
    SkinBtnUi downing;
    SkinBtnUi up;
    SkinStr hint;
    SkinStr url;

protected:
    void List(t_skinFieldList& fields, const wchar_t* prefix) override;
};

// A button of a component: the button keys, then B_BundleId and B_ComId.
class SkinBtnComponent : public SkinBtn {
public:
    SkinStr BundleId;
    SkinStr ComId;

protected:
    void List(t_skinFieldList& fields, const wchar_t* prefix) override;
};

// A flash item, read under its item key K: K itself (the flash file), then K_display ...
// K_framecnt. Every default is false, 0 or no text; loads true when every key loaded.
class SkinFlash : public SkinPart {
public:
    SkinStr file;
    SkinBool display;
    SkinPos pos;
    SkinAlignEx align;
    SkinInt width;
    SkinInt height;
    SkinBool drag;
    SkinStr preview;
    SkinBool cursor;
    SkinStr param;
    SkinBool popup;
    SkinBool showDisable;
    SkinInt stick;
    SkinBool correct;
    SkinInt security;
    SkinBool showlikeparent;
    SkinBool hidefullscreen;
    SkinBool activate;
    SkinBool framefree;
    SkinInt framecnt;

protected:
    void List(t_skinFieldList& fields, const wchar_t* prefix) override;
};

// Items past this many are never read: the input method drops indexes of 1000 and above.
const int c_skinArrayMaxItems = 1000;

// A counted array: the count key Q_name_cnt, then the items Q_name0, Q_name1 ...
class SkinArrayBase : public i_skinPart {
public:
    SkinArrayBase() = default;
    virtual ~SkinArrayBase() = default;
    SkinArrayBase(const SkinArrayBase&) = delete;
    SkinArrayBase& operator=(const SkinArrayBase&) = delete;

    virtual const wchar_t* Name() const = 0;

    // Empties the array, then reads the count and that many items (at most
    // c_skinArrayMaxItems; a larger count is lowered to it). Every item is appended,
    // complete or not. False, with no items, when the count doesn't load.
    bool Load(const t_iniSection* section, const wchar_t* prefix) override;
    // Deletes every item; the count keeps its value.
    virtual void Clear() = 0;
    // Clear, and the count back to its default.
    void Reset() override;
    virtual int ItemCount() const = 0;
    void Walk(i_skinValueVisitor& visitor, const wchar_t* section, const wchar_t* prefix) const override;

    SkinInt count;

protected:
    // A new item read under the item key; false when it can't be kept.
    virtual bool AppendNew(const t_iniSection* section, const wchar_t* itemKey) = 0;
    virtual void WalkItem(int index, i_skinValueVisitor& visitor, const wchar_t* section,
                          const wchar_t* itemKey) const = 0;

private:
    // name + suffix under the prefix; false when the key doesn't fit.
    bool ItemKey(const wchar_t* prefix, const wchar_t* suffix, wchar_t (&out)[c_skinKeyChars]) const;
};

template <class T>
class SkinArray : public SkinArrayBase {
public:
    ~SkinArray() override { Clear(); }

    void Clear() override
    {
        for (int i = 0; i < m_items.Count(); ++i)
            delete m_items[i];
        m_items.Clear();
    }
    int ItemCount() const override { return m_items.Count(); }
    // No bounds check: 0 <= index < ItemCount().
    T& Item(int index) const { return *m_items[index]; }

protected:
    bool AppendNew(const t_iniSection* section, const wchar_t* itemKey) override
    {
        T* item = new T;
        item->Load(section, itemKey);
        if (m_items.Append(item))
            return true;
        delete item;
        return false;
    }
    void WalkItem(int index, i_skinValueVisitor& visitor, const wchar_t* section, const wchar_t* itemKey) const override
    {
        m_items[index]->Walk(visitor, section, itemKey);
    }

private:
    itl::ImmSimpleArray<T*> m_items;
};

class SkinBtnsCustom : public SkinArray<SkinBtn> {
public:
    const wchar_t* Name() const override { return L"custom"; }
};

class SkinBtnsComponent : public SkinArray<SkinBtnComponent> {
public:
    const wchar_t* Name() const override { return L"component"; }
};

class SkinFlashs : public SkinArray<SkinFlash> {
public:
    const wchar_t* Name() const override { return L"flash"; }
};

// The sixteen fixed buttons of a window.
enum class t_skinButton : int {
    e_cnEn = 0,
    e_biaodian = 1,
    e_quanBan = 2,
    e_quanShuang = 3,
    e_fanJian = 4,
    e_softKeyboard = 5,
    e_menu = 6,
    e_vexilsearch = 7,
    e_pageUp = 8,
    e_pageDown = 9,
    e_passport = 10,
    e_webpage = 11,
    e_skinManager = 12,
    e_handInput = 13,
    e_news = 14,
    e_logo = 15,
};
const int c_skinFixedButtonCount = 16;

// The button's key name ("cn_en" ...); null out of range.
const wchar_t* SkinButtonName(int index);

// The fixed buttons of a window (B = name, or Q_name under a window prefix Q), then
// its custom buttons and component buttons. Loads everything there is; always true,
// whatever was missing.
class SkinStatusButtons : public SkinPart {
public:
    SkinBtn& Button(t_skinButton button) { return buttons[static_cast<int>(button)]; }
    const SkinBtn& Button(t_skinButton button) const { return buttons[static_cast<int>(button)]; }

    SkinBtn buttons[c_skinFixedButtonCount];
    SkinBtnsCustom custom;
    SkinBtnsComponent component;

protected:
    void List(t_skinFieldList& fields, const wchar_t* prefix) override;
};
