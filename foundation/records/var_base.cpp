#include "foundation/records/var_base.h"

#include <cwchar>

void* VarHeapAlloc(t_heap* heap, uint32_t size, uint32_t align)
{
    if (!heap || size > 0xFFFFFFFFu - align)
        return nullptr;
    unsigned char* p = static_cast<unsigned char*>(heap->Alloc(size + align - 1));
    if (!p)
        return nullptr;
    uintptr_t misalign = reinterpret_cast<uintptr_t>(p) % align;
    return misalign ? p + (align - misalign) : p;
}

int VarStringW::Deserialize(const unsigned char* in, uint32_t available, t_heap* heap)
{
    if (!in || !heap)
        return 0;
    if (available < 4)
        return -1;
    uint32_t bytes = VarReadU32(in);
    if (bytes % 2 != 0 || bytes > available - 4 || bytes > c_varMaxImage - 4)
        return -1;
    wchar_t* text = static_cast<wchar_t*>(VarHeapAlloc(heap, bytes + 2, alignof(wchar_t)));
    if (!text)
        return -1;
    memcpy(text, in + 4, bytes);
    text[bytes / 2] = 0;
    m_text = text;
    return static_cast<int>(bytes + 4);
}

int VarStringW::Serialize(unsigned char* out)
{
    size_t length = m_text ? wcslen(m_text) : 0;
    if (length > (c_varMaxImage - 4) / 2)
        return -1;
    uint32_t bytes = uint32_t(length * 2);
    if (out) {
        VarWriteU32(out, bytes);
        if (bytes)
            memcpy(out + 4, m_text, bytes);
    }
    return static_cast<int>(bytes + 4);
}

void VarStringW::Set(const wchar_t* text, t_heap* heap)
{
    if (!text || !heap) {
        m_text = text;
        return;
    }
    size_t length = wcslen(text);
    wchar_t* copy = length < c_varMaxImage / 2
                        ? static_cast<wchar_t*>(VarHeapAlloc(heap, uint32_t(length + 1) * 2, alignof(wchar_t)))
                        : nullptr;
    if (copy)
        memcpy(copy, text, (length + 1) * 2);
    m_text = copy;
}

const wchar_t* VarStringW::Get(uint32_t* count)
{
    if (count)
        *count = m_text ? uint32_t(wcslen(m_text)) : 0;
    return m_text;
}
