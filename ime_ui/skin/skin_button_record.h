// What the runtime skin keeps of each button and flash item of the skinned windows: the
// button's layers of state pictures, its alignment, hint and link; the flash item's file,
// size and flags. Records are found by {window, type, index}.
#pragma once

#include <cstdint>

#include "foundation/core/hash_map.h"
#include "foundation/core/str.h"
#include "foundation/process/ui_function.h"
#include "graphics/image/image.h"
#include "graphics/layout/layout_aligned.h"

// Windows of the input method's UI: 0 status bar, 1 combined window of [Scheme_H1],
// 2 and 3 composition and candidate window of [Scheme_H2], 4 combined window of
// [Scheme_V1], 5 and 6 composition and candidate window of [Scheme_V2].
const int c_skinWindowCount = 7;
const int c_skinStatusWindow = 0;

enum class t_skinItemType : int {
    e_fixed = 0,      // the sixteen built-in buttons
    e_custom = 1,     // custom buttons, by array position
    e_flash = 2,      // flash items, by array position; -1 the window's flash background
    e_component = 3,  // component buttons, by array position
};

// Index of a window's flash background in the flash map.
const int c_flashBackgroundIndex = -1;
const int c_skinFixedIndexLimit = 15;
const int c_skinItemIndexLimit = 999;

// ((window | type << 8) << 16) | (index & 0xFFFF).
inline unsigned PackSkinKey(int window, t_skinItemType type, int index)
{
    return ((static_cast<unsigned>(window) | static_cast<unsigned>(type) << 8) << 16) |
           (static_cast<unsigned>(index) & 0xFFFFu);
}

// Whether a button or flash item may be stored under the key: window 0..6, type 0..3,
// index 0..15 for the built-in buttons, else 0..999.
bool IsStorableSkinKey(int window, t_skinItemType type, int index);

// The states of a button picture, in the order Skin.ini lists them.
enum t_btnState : int {
    e_btnNormal = 0,
    e_btnDown = 1,
    e_btnHover = 2,
    e_btnIn = 3,
    e_btnOut = 4,
    e_btnDowning = 5,
    e_btnUp = 6,
};
const int c_btnStateCount = 7;
const int c_btnLayerCapacity = 3;

// One layer of a button: the host callback it calls and a picture per state. The
// pictures show sources owned by the runtime skin's handle manager.
struct t_btnLayer {
    UiFunction::t_callback callback;
    t_image states[c_btnStateCount];

    // A picture counts as missing unless it shows a bitmap.
    bool HasState(t_btnState state) const { return !states[state].IsBitmapEmpty(); }
};

struct t_btnSkinRec {
    t_btnSkinRec();

    t_btnLayer layers[c_btnLayerCapacity];
    int layerCount;
    t_alignInfo align;
    uint8_t display;
    t_str hint;
    t_str url;
    t_str BundleId;  // component buttons only
    t_str ComId;

    // Appends a layer; false when all three are in use.
    bool AddLayer(const t_btnLayer& layer);
};

struct t_flashSkinRec {
    t_flashSkinRec();

    t_str path;  // the resolved flash file
    t_str name;  // "flash_%08x" of (window << 16) | (~index & 0xFFFF)
    int32_t width;
    int32_t height;
    t_alignInfo align;
    uint8_t visible;
    uint8_t drag;
    uint8_t cursor;
    t_image preview;
    t_str param;
    uint8_t popup;
    uint8_t showDisable;
    uint8_t correct;
    int32_t stick;
    int32_t security;
    uint8_t showlikeparent;
    uint8_t hidefullscreen;
    uint8_t activate;
    int32_t state[4];  // kept for the flash windows, zero here

    static void MakeName(t_str& out, int window, int index);
};

// Records by packed key, each owned by the map. Adding under a taken key deletes the
// old record.
template <class T>
class t_skinRecordMap {
public:
    t_skinRecordMap() = default;
    ~t_skinRecordMap() { Clear(); }
    t_skinRecordMap(const t_skinRecordMap&) = delete;
    t_skinRecordMap& operator=(const t_skinRecordMap&) = delete;

    // Takes the record; false (record deleted) when memory runs out.
    bool Add(unsigned key, T* record)
    {
        t_uintHashMap::t_node* node = m_map.FindOrInsert(key);
        if (!node) {
            delete record;
            return false;
        }
        delete static_cast<T*>(node->value);
        node->value = record;
        return true;
    }
    T* Find(unsigned key) const
    {
        t_uintHashMap::t_node* node = m_map.Find(key);
        return node ? static_cast<T*>(node->value) : nullptr;
    }
    void Clear()
    {
        for (t_uintHashMap::t_iterator it = m_map.Begin(); it.NotEquals(m_map.End()); it.Next())
            delete static_cast<T*>(it.Node()->value);
        m_map.Clear();
    }
    unsigned Count() const { return m_map.Count(); }
    template <class F>
    void ForEach(F&& visit) const
    {
        for (t_uintHashMap::t_iterator it = m_map.Begin(); it.NotEquals(m_map.End()); it.Next())
            visit(it.Node()->key, *static_cast<T*>(it.Node()->value));
    }

private:
    t_uintHashMap m_map;
};
