// A picture of the DirectUI tree, loaded through the host from an address or a resource name.
#pragma once

#include "toolkit/directui/du_delegate.h"
#include "toolkit/directui/du_element.h"

#include <string>

namespace DirectUI {

enum DuImageSource : int32_t {
    e_duSourceUrl = 0,
    e_duSourceRes = 1
};

class DuElementImage : public DuElement {
public:
    DuElementImage();
    ~DuElementImage() override;

    bool SetAttribute(const wchar_t* name, const wchar_t* value) override;
    bool DrawSelf(t_paintCtx& ctx, int x, int y) override;
    bool MeasureSelf(t_paintCtx& ctx) override;

    int SourceType() const { return m_sourceType; }
    const wchar_t* Src() const { return m_src; }
    const DuPicture* Picture() const { return m_picture; }

    // Folder and file name an address is cached under: the file after the last '/', the
    // folder the segment before it, or "DuImages\" when that segment is the host part or
    // missing. False for a src without '/'.
    static bool SplitUrl(const wchar_t* src, std::wstring& folder, std::wstring& fileName);

private:
    void LoadPicture();

    int32_t m_sourceType = e_duSourceUrl;
    wchar_t* m_src = nullptr;
    DuPicture* m_picture = nullptr;
};

}  // namespace DirectUI
