// Loads markup nested as deep as its argument says, so that a test can see from the exit
// code whether the load was refused cleanly (3), accepted (2) or the process died.
#include <cstdlib>
#include <string>

#include "foundation/core/error_chain.h"
#include "toolkit/directui/du_window.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 1;
    int depth = _wtoi(argv[1]);
    std::wstring markup;
    for (int i = 0; i < depth; ++i)
        markup += L"<frame>";
    for (int i = 0; i < depth; ++i)
        markup += L"</frame>";
    DirectUI::DuElementWindow root;
    t_errorChain errors;
    return root.LoadMarkup(errors, markup.c_str()) ? 2 : 3;
}
