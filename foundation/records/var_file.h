// One named file of a packed set: a name and its bytes. Image: the name's
// image directly followed by the data's image.
#pragma once

#include "foundation/records/var_base.h"

class t_varFile {
public:
    int Deserialize(const unsigned char* in, uint32_t available, t_heap* heap);
    int Serialize(unsigned char* out);

    const wchar_t* GetName() const { return m_name.Text(); }
    // The data pointer; count (optional) receives the byte count.
    const unsigned char* GetData(uint32_t* count = nullptr) const;

    // Name and data with the rules of VarStringW::Set and
    // VarSimpleDynArray::Assign (copied into the arena when one is given).
    void SetName(const wchar_t* name, t_heap* heap) { m_name.Set(name, heap); }
    bool SetData(const unsigned char* data, uint32_t count, t_heap* heap) { return m_data.Assign(data, count, heap); }

    // A new entry in the arena with the source's name and bytes copied there
    // (a source without bytes gives none); null without an arena or when it fails.
    static t_varFile* CloneInto(const t_varFile& source, t_heap* heap);

private:
    VarStringW m_name;
    VarSimpleDynArray<unsigned char> m_data;
};
