// Heap objects with one visible owner. Allocation failure is an answer here, not an
// exception: MakeOwned gives an empty pointer when the object cannot be made, and the
// caller checks it as it would a null from new (std::nothrow).
#pragma once

#include <memory>
#include <new>
#include <utility>

template <class T, class... Args>
std::unique_ptr<T> MakeOwned(Args&&... args)
{
    return std::unique_ptr<T>(new (std::nothrow) T(std::forward<Args>(args)...));
}
