#include "foundation/records/var_file.h"

#include <new>

int t_varFile::Deserialize(const unsigned char* in, uint32_t available, t_heap* heap)
{
    int name = m_name.Deserialize(in, available, heap);
    if (name <= 0)
        return name;
    int data = m_data.Deserialize(in + name, available - uint32_t(name), heap);
    if (data < 0)
        return -1;
    return name + data;
}

int t_varFile::Serialize(unsigned char* out)
{
    int name = m_name.Serialize(out);
    if (name < 0)
        return -1;
    int data = m_data.Serialize(out ? out + name : nullptr);
    if (data < 0 || data > int(c_varMaxImage) - name)
        return -1;
    return name + data;
}

const unsigned char* t_varFile::GetData(uint32_t* count) const
{
    if (count)
        *count = m_data.Count();
    return m_data.Data();
}

t_varFile* t_varFile::CloneInto(const t_varFile& source, t_heap* heap)
{
    if (!heap)
        return nullptr;
    void* place = VarHeapAlloc(heap, sizeof(t_varFile), alignof(t_varFile));
    if (!place)
        return nullptr;
    t_varFile* entry = new (place) t_varFile();
    entry->m_name.Set(source.GetName(), heap);
    if (source.GetName() && !entry->GetName())
        return nullptr;
    if (!entry->m_data.Assign(source.m_data.Data(), source.m_data.Count(), heap))
        return nullptr;
    if (!source.m_data.Data())
        entry->m_data.Clear();
    return entry;
}
