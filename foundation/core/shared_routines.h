// Tiny routines shared by several subsystems.
#pragma once

#include <new>
#include <utility>

// One shared body that answers true, for virtual slots that only need to agree.
bool ReturnTrue();

// Constructs a T in the storage it is given (arena memory) and returns that
// storage; null storage, as from a failed arena allocation, gives null.
template <class T, class... TArgs>
T* PlacementNew(void* storage, TArgs&&... args)
{
    if (!storage)
        return nullptr;
    return new (storage) T(std::forward<TArgs>(args)...);
}

// One line of a static hint table of the input method's UI.
struct t_hintLine {
    int kind;  // 0, 1 or 2
    const wchar_t* text;
    bool link;       // part of the text is a link
    int linkStart;   // in characters
    int linkLength;  // in characters

    void Init(int kind, const wchar_t* text, bool link, int linkStart, int linkLength);
};
