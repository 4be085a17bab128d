#include "skin_model/btn_type_helper.h"

#include "foundation/core/singleton.h"

#include <cstdlib>
#include <cwchar>

namespace {

struct t_builtInRow {
    const wchar_t* key;
    const wchar_t* caption;
    const wchar_t* variants[3];
    int variantCount;
};

const t_builtInRow c_builtIn[t_btnTypeHelper_Normal::c_count] = {
    {L"cn_en", L"中/英文", {L"中文状态", L"英文状态", L"Caps锁定"}, 3},
    {L"biaodian", L"中/英标点", {L"中文标点", L"英文标点", nullptr}, 2},
    {L"quan_ban", L"全/半角", {L"全角", L"半角", nullptr}, 2},
    {L"quan_shuang", L"全/双拼", {L"全拼状态", L"双拼状态", nullptr}, 2},
    {L"fan_jian", L"繁/简体", {L"繁体输入", L"简体输入", nullptr}, 2},
    {L"softkeyboard", L"软键盘", {nullptr, nullptr, nullptr}, 1},
    {L"menu", L"系统菜单", {nullptr, nullptr, nullptr}, 1},
    {L"vexilsearch", L"栖鹭搜索", {nullptr, nullptr, nullptr}, 1},
    {L"pageup", L"向上翻页", {L"可翻页", L"不可翻页", nullptr}, 2},
    {L"pagedown", L"向下翻页", {L"可翻页", L"不可翻页", nullptr}, 2},
    {L"passport", L"登录通行证", {L"未登录状态", L"已登录状态", nullptr}, 2},
    {L"webpage", L"访问网页", {nullptr, nullptr, nullptr}, 1},
    {L"skinmanager", L"皮肤管理器", {nullptr, nullptr, nullptr}, 1},
};

// "%s%d" into a helper buffer; a number too long for it is cut, never overrun.
const wchar_t* FormatNumbered(wchar_t (&buffer)[t_btnTypeHelper_Numbered::c_bufferChars], const wchar_t* word,
                              int index)
{
    const int room = t_btnTypeHelper_Numbered::c_bufferChars - 1;
    _snwprintf(buffer, room, L"%s%d", word, index);
    buffer[room] = 0;
    return buffer;
}

}  // namespace

bool t_btnTypeHelper::IsValidIndex(int index) const { return index >= 0 && index < Count(); }

const wchar_t* t_btnTypeHelper_Normal::Key(int index) { return IsValidIndex(index) ? c_builtIn[index].key : nullptr; }

const wchar_t* t_btnTypeHelper_Normal::Caption(int index)
{
    return IsValidIndex(index) ? c_builtIn[index].caption : nullptr;
}

const wchar_t* t_btnTypeHelper_Normal::VariantCaption(int index, int variant)
{
    if (!IsValidIndex(index))
        return nullptr;
    const t_builtInRow& row = c_builtIn[index];
    if (variant >= 0 && variant < 3 && row.variants[variant])
        return row.variants[variant];
    return row.caption;
}

int t_btnTypeHelper_Normal::VariantCount(int index) const
{
    return IsValidIndex(index) ? c_builtIn[index].variantCount : 1;
}

bool t_btnTypeHelper_Normal::ParseKey(const wchar_t*, int&) const { return false; }

t_btnTypeHelper_Numbered::t_btnTypeHelper_Numbered(const wchar_t* word, const wchar_t* captionWord,
                                                   const wchar_t* countKey)
    : m_word(word), m_captionWord(captionWord), m_countKey(countKey), m_key(), m_caption()
{
    for (int i = 0; i < c_count; ++i) {
        FormatNumbered(m_keys[i], m_word, i);
        FormatNumbered(m_captions[i], m_captionWord, i);
    }
}

const wchar_t* t_btnTypeHelper_Numbered::Key(int index)
{
    return IsValidIndex(index) ? m_keys[index] : FormatNumbered(m_key, m_word, index);
}

const wchar_t* t_btnTypeHelper_Numbered::Caption(int index)
{
    return IsValidIndex(index) ? m_captions[index] : FormatNumbered(m_caption, m_captionWord, index);
}

const wchar_t* t_btnTypeHelper_Numbered::VariantCaption(int, int) { return m_captionWord; }

bool t_btnTypeHelper_Numbered::ParseKey(const wchar_t* key, int& index) const
{
    if (!key)
        return false;
    const wchar_t* at = wcsstr(key, m_word);
    if (!at)
        return false;
    // long is 32 bits here; an out-of-range number saturates and IsValidIndex rejects it.
    index = static_cast<int>(wcstol(at + wcslen(m_word), nullptr, 10));
    return true;
}

t_btnTypeHelper_Custom::t_btnTypeHelper_Custom() : t_btnTypeHelper_Numbered(L"custom", L"自定义图片", L"custom_cnt") {}

t_btnTypeHelper_Flash::t_btnTypeHelper_Flash() : t_btnTypeHelper_Numbered(L"flash", L"Flash", L"flash_cnt") {}

t_btnTypeHelper_PhotoFrame::t_btnTypeHelper_PhotoFrame()
    : t_btnTypeHelper_Numbered(L"photoframe", L"相框", L"photoframe_cnt")
{}

t_btnTypeHelper* TypeHelperOf(int type)
{
    switch (type) {
    case 0:
        return ImmSingleton<t_btnTypeHelper_Normal>::Instance("t_btnTypeHelper_Normal");
    case 1:
        return ImmSingleton<t_btnTypeHelper_Custom>::Instance("t_btnTypeHelper_Custom");
    case 2:
        return ImmSingleton<t_btnTypeHelper_Flash>::Instance("t_btnTypeHelper_Flash");
    case 3:
        return ImmSingleton<t_btnTypeHelper_PhotoFrame>::Instance("t_btnTypeHelper_PhotoFrame");
    default:
        return nullptr;
    }
}
