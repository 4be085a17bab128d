#pragma once

#include "foundation/core/error_chain.h"
#include "foundation/files/file_buf.h"

// A write buffer that replaces its target file safely: the data is written to
// "<target>.wtm.vxbak", moved to "<target>.wtm" and only then moved over the target, so
// the target holds either its old content or the complete new one.
class t_fileBakWrite : public t_fileBufWrite {
public:
    // On success the buffer is released. On failure the target keeps its old content, the
    // temporary files are removed and the buffer keeps the data, so the caller may try again.
    bool Save(t_errorChain& errors, const wchar_t* target);
};
