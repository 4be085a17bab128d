#include "toolkit/directui/du_window.h"

#include <tinyxml.h>

#include <cstring>
#include <memory>

#include "foundation/core/error_chain.h"
#include "toolkit/directui/du_strings.h"

namespace DirectUI {

bool DuElementWindow::DrawSelf(t_paintCtx&, int, int) { return true; }

bool DuElementWindow::MeasureSelf(t_paintCtx&)
{
    if (!m_fixedWidth)
        m_width = m_contentWidth;
    if (!m_fixedHeight && m_height < m_contentHeight)
        m_height = m_contentHeight;
    return true;
}

int DuElementWindow::MarkupDepth(const char* markup, int limit)
{
    // The parser recurses once per nesting level, so hostile depth must be refused before it
    // runs. Counting opening and closing tags is enough; comments, declarations and quoted
    // attribute values are skipped so their '<' and '>' do not count.
    int depth = 0, deepest = 0;
    const char* p = markup;
    while (p && *p) {
        if (*p != '<') {
            ++p;
            continue;
        }
        if (strncmp(p, "<!--", 4) == 0) {
            const char* end = strstr(p + 4, "-->");
            p = end ? end + 3 : p + strlen(p);
            continue;
        }
        if (strncmp(p, "<![CDATA[", 9) == 0) {
            const char* end = strstr(p + 9, "]]>");
            p = end ? end + 3 : p + strlen(p);
            continue;
        }
        if (p[1] == '?' || p[1] == '!') {
            const char* end = strchr(p, '>');
            p = end ? end + 1 : p + strlen(p);
            continue;
        }
        bool closing = p[1] == '/';
        // Walk to the tag's end, over quoted values.
        const char* q = p + 1;
        char quote = 0;
        for (; *q; ++q) {
            if (quote) {
                if (*q == quote)
                    quote = 0;
            } else if (*q == '"' || *q == '\'') {
                quote = *q;
            } else if (*q == '>') {
                break;
            }
        }
        bool selfClosing = *q == '>' && q > p + 1 && q[-1] == '/';
        if (closing) {
            if (depth > 0)
                --depth;
        } else if (!selfClosing) {
            if (++depth > deepest) {
                deepest = depth;
                if (deepest > limit)
                    return deepest;
            }
        }
        p = *q ? q + 1 : q;
    }
    return deepest;
}

bool DuElementWindow::LoadMarkup(t_errorChain& errors, const wchar_t* markup)
{
    ClearChildren();
    if (!markup)
        return errors.Fail(L"DirectUI: 没有标记文本");
    std::unique_ptr<char[]> utf8(WideToUtf8(markup));
    if (!utf8)
        return errors.Fail(L"DirectUI: 标记文本无法转换为 UTF-8");
    // Blank markup is an empty tree, not an error.
    const char* first = utf8.get();
    while (*first == ' ' || *first == '\t' || *first == '\r' || *first == '\n')
        ++first;
    if (!*first)
        return true;
    if (MarkupDepth(utf8.get(), c_duMaxDepth) > c_duMaxDepth)
        return errors.Fail(L"DirectUI: 标记嵌套超过 %d 层", c_duMaxDepth);
    TiXmlDocument document;
    document.Parse(utf8.get(), nullptr, TIXML_ENCODING_UNKNOWN);
    if (document.Error()) {
        std::unique_ptr<wchar_t[]> reason(Utf8ToWide(document.ErrorDesc()));
        return errors.Fail(L"DirectUI: 标记格式错误 (第 %d 行第 %d 列): %ls", document.ErrorRow(), document.ErrorCol(),
                           reason ? reason.get() : L"");
    }
    LoadFromNode(&document);
    return true;
}

}  // namespace DirectUI
