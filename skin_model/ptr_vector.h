// The editor's growable array of pointers (the skin document's parts, windows' child
// lists). It owns its slot array, not what the pointers point at.
#pragma once

class t_ptrVector {
public:
    explicit t_ptrVector(int capacity = 0);
    ~t_ptrVector();
    t_ptrVector(const t_ptrVector&) = delete;
    t_ptrVector& operator=(const t_ptrVector&) = delete;

    // Appends; grows by half plus one when full. Returns the new count, 0 when memory ran
    // out (nothing added).
    int PushBack(void* pointer);
    // The address of slot i; no bounds check.
    void** At(int i) const { return m_items + i; }
    int Count() const { return m_count; }
    int Capacity() const { return m_capacity; }
    // Frees the slots; capacity and count become 0.
    void Free();

private:
    int m_capacity;
    int m_count;
    void** m_items;
};
