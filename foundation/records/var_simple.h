// Fixed-size serialisable records: a bool (1 byte), 32-bit integers (4 bytes
// little-endian), a fixed byte block, and an {index, offset} pair. They need no arena.
#pragma once

#include "foundation/records/var_base.h"

#include <type_traits>

template <class T>
class VarSimple : public VarBase {
    static_assert(std::is_same<T, bool>::value || sizeof(T) == 4, "bool or a 32-bit integer");

public:
    static const uint32_t c_size = std::is_same<T, bool>::value ? 1 : 4;

    VarSimple() : m_value() {}
    explicit VarSimple(T value) : m_value(value) {}

    int Deserialize(const unsigned char* in, uint32_t available, t_heap* /*heap*/) override
    {
        if (!in || available < c_size)
            return -1;
        if (c_size == 1)
            m_value = static_cast<T>(in[0] != 0);
        else
            m_value = static_cast<T>(VarReadU32(in));
        return int(c_size);
    }
    int Serialize(unsigned char* out) override
    {
        if (out) {
            if (c_size == 1)
                out[0] = m_value ? 1 : 0;
            else
                VarWriteU32(out, static_cast<uint32_t>(m_value));
        }
        return int(c_size);
    }
    void Clear() override { m_value = T(); }

    T Get() const { return m_value; }
    void Set(T value) { m_value = value; }

private:
    T m_value;
};

template <class T, int N>
class VarSimpleArray : public VarBase {
    static_assert(sizeof(T) == 1 && N > 0, "a block of bytes");

public:
    VarSimpleArray() { Clear(); }

    int Deserialize(const unsigned char* in, uint32_t available, t_heap* /*heap*/) override
    {
        if (!in || available < uint32_t(N))
            return -1;
        memcpy(m_data, in, N);
        return N;
    }
    int Serialize(unsigned char* out) override
    {
        if (out)
            memcpy(out, m_data, N);
        return N;
    }
    void Clear() override { memset(m_data, 0, N); }

    const T* Data() const { return m_data; }
    void Set(const T* data) { memcpy(m_data, data, N); }

private:
    T m_data[N];
};

// Where one value of a table-of-contents payload lies: {index, offset}, 8 bytes.
class VarPairOffset : public VarBase {
public:
    VarPairOffset() = default;
    VarPairOffset(int index, int offset) : m_index(index), m_offset(offset) {}

    int Deserialize(const unsigned char* in, uint32_t available, t_heap* heap) override
    {
        int a = m_index.Deserialize(in, available, heap);
        if (a < 0)
            return -1;
        int b = m_offset.Deserialize(in + a, available - uint32_t(a), heap);
        return b < 0 ? -1 : a + b;
    }
    int Serialize(unsigned char* out) override
    {
        int a = m_index.Serialize(out);
        return a + m_offset.Serialize(out ? out + a : nullptr);
    }
    void Clear() override
    {
        m_index.Clear();
        m_offset.Clear();
    }

    int Index() const { return m_index.Get(); }
    int Offset() const { return m_offset.Get(); }
    void Set(int index, int offset)
    {
        m_index.Set(index);
        m_offset.Set(offset);
    }

private:
    VarSimple<int> m_index;
    VarSimple<int> m_offset;
};
