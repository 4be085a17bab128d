#include "toolkit/richhint/rich_hint_parser.h"

#include <cwchar>
#include <new>

#include "toolkit/richhint/rich_hint_button.h"
#include "toolkit/richhint/rich_hint_check_box.h"
#include "toolkit/richhint/rich_hint_hyper_link.h"
#include "toolkit/richhint/rich_hint_image.h"
#include "toolkit/richhint/rich_hint_radio_button.h"
#include "toolkit/richhint/rich_hint_rich_text.h"
#include "toolkit/richhint/rich_hint_row.h"
#include "toolkit/richhint/rich_hint_text.h"

namespace {

bool StartsWith(const wchar_t* token, int length, const wchar_t* prefix)
{
    const int n = static_cast<int>(wcslen(prefix));
    return length >= n && wcsncmp(token, prefix, n) == 0;
}

t_wndRichHintElement* MakeElement(t_wndRichHintDelegate* delegate, const wchar_t* token, int length)
{
    if (length <= 0 || token[0] != L'<' || StartsWith(token, length, L"<b "))
        return new (std::nothrow) t_wndRichHintText(delegate);
    if (StartsWith(token, length, L"<a"))
        return new (std::nothrow) t_wndRichHintHyperLink(delegate);
    if (StartsWith(token, length, L"<img"))
        return new (std::nothrow) t_wndRichHintImage(delegate);
    if (StartsWith(token, length, L"<radio"))
        return new (std::nothrow) t_wndRichHintRadioButton(delegate);
    if (StartsWith(token, length, L"<check"))
        return new (std::nothrow) t_wndRichHintCheckBox(delegate);
    if (StartsWith(token, length, L"<button"))
        return new (std::nothrow) t_wndRichHintButton(delegate);
    if (StartsWith(token, length, L"<t "))
        return new (std::nothrow) t_wndRichHintRichText(delegate);
    return new (std::nothrow) t_wndRichHintText(delegate);
}

}  // namespace

t_wndRichHintElement* CreateRichHintElement(t_richHintRow& row, const wchar_t* token, int length, HMODULE module)
{
    t_wndRichHintElement* element = MakeElement(row.delegate, token, length);
    if (!element)
        return nullptr;
    element->ParseAttributes(token, length, module);
    if (!row.elements.Add(element)) {
        element->Release();
        return nullptr;
    }
    return element;
}

void ParseRichHintLine(HMODULE module, const wchar_t* line, int length, t_richHintRow& row)
{
    row.Clear();
    if (length < 0)
        return;
    if (!line || length == 0 || line[0] == 0) {
        CreateRichHintElement(row, L"", 0, module);
        return;
    }
    bool inTag = false;
    int start = 0;
    for (int i = 0; i < length; ++i) {
        const wchar_t c = line[i];
        if (!inTag && c == L'<') {
            if (i > start)
                CreateRichHintElement(row, line + start, i - start, module);
            start = i;
            inTag = true;
        } else if (inTag && c == L'>') {
            CreateRichHintElement(row, line + start, i - start + 1, module);
            start = i + 1;
            inTag = false;
        }
    }
    if (length > start)
        CreateRichHintElement(row, line + start, length - start, module);
}
