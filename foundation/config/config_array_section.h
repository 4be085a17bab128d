// Repeated sections: items named by the array's key name followed by 0, 1, 2 ...,
// as many as a linked integer value says.
#pragma once

#include "foundation/config/config_struct.h"

#include <new>

namespace n_config {

class t_arraySectionBase : public t_typeBase {
public:
    // The item count comes from a file: more items than this are not read, so a
    // hostile count cannot make loading allocate or loop without end.
    static const int c_maxItems = 1024;

    // count: the value that holds the number of items; textArena: the arena
    // of the items' text values.
    t_arraySectionBase(const wchar_t* name, t_int* count, t_heap* textArena);
    ~t_arraySectionBase() override;

    bool FromString(const wchar_t*, t_heap*) override { return false; }
    bool ToString(wchar_t*, unsigned) const override { return false; }
    bool Read(const t_iniSection&, const wchar_t*) override { return false; }
    bool Write(t_iniSection&, t_textCursor&, const wchar_t*) override { return false; }
    // Destroys every item.
    void Reset() override;
    bool IsSet() const override;
    t_arraySectionBase* AsArray() override { return this; }

    // Replaces the items by count items (clamped to 0..c_maxItems), each read
    // from its section when the file (which may be null) has one.
    virtual bool Load(const t_iniFile* file, const wchar_t* prefix = nullptr);
    // Writes every item with something set into its section, created when
    // missing. The count value is left to its owner.
    virtual bool Save(t_iniFile& file, t_textCursor& cursor, const wchar_t* prefix = nullptr);

    int ItemCount() const { return m_items.Count(); }
    t_section* ItemAt(int index) const { return m_items[index]; }

protected:
    // A new item of the derived type, or null.
    virtual t_section* CreateItem(const wchar_t* itemName, t_heap* textArena) = 0;

private:
    // The item's section name: the array's key name followed by the item name.
    const wchar_t* SectionName(wchar_t* buffer, unsigned size, const wchar_t* prefix, const t_section& item) const;

    t_heap m_names;
    itl::ImmSimpleArray<t_section*> m_items;
    int m_firstIndex;
    t_int* m_count;
    t_heap* m_textArena;
};

// T: a t_section constructed from (item name, text arena).
template <class T>
class t_arraySection : public t_arraySectionBase {
public:
    t_arraySection(const wchar_t* name, t_int* count, t_heap* textArena) : t_arraySectionBase(name, count, textArena) {}

    T* Item(int index) const { return static_cast<T*>(ItemAt(index)); }

protected:
    t_section* CreateItem(const wchar_t* itemName, t_heap* textArena) override
    {
        return new (std::nothrow) T(itemName, textArena);
    }
};

}  // namespace n_config
