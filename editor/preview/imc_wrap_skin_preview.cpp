#include "editor/preview/imc_wrap_skin_preview.h"

#include <cstring>
#include <cwchar>

#include "ime_ui/windows/cand/wnd_cand_string.h"
#include "ime_ui/windows/comp/wnd_comp_string.h"

namespace {

const wchar_t* const c_normalCandidates[ImcWrapImplSkinPreview::c_sampleCount] = {
    L"1.拼音 ", L"2.品 ", L"3.频 ", L"4.拼 ", L"5.贫 ", L"6.聘 ", L"7.嫔 ", L"8.姘 ", L"9.颦 ",
};
// The first long candidate is a sentence of 22 characters; the pinyin spells it out.
const wchar_t* const c_longCandidates[ImcWrapImplSkinPreview::c_sampleCount] = {
    L"1.栖鹭拼音输入法打字准确快速好用让每个人都喜欢",
    L"2.爸爸",
    L"3.巴巴",
    L"4.粑粑",
    L"5.八八",
    L"6.叭叭",
    L"7.吧",
    L"8.把",
    L"9.八",
};
const wchar_t* const c_longPinyin =
    L"qi'lu'pin'yin'shu'ru'fa'da'zi'zhun'que'kuai'su'hao'yong'rang'mei'ge'ren'dou'xi'huan";

}  // namespace

const wchar_t* ImcWrapImplSkinPreview::ConvertedText(bool longSample) { return longSample ? L"" : L"栖鹭"; }

const wchar_t* ImcWrapImplSkinPreview::PinyinText(bool longSample) { return longSample ? c_longPinyin : L"pinyin"; }

const wchar_t* ImcWrapImplSkinPreview::CandidateText(int index, bool longSample)
{
    if (index < 0 || index >= c_sampleCount)
        return nullptr;
    return longSample ? c_longCandidates[index] : c_normalCandidates[index];
}

int ImcWrapImplSkinPreview::GetCandidates(HWND, t_candidateList* list)
{
    if (!list)
        return 0;
    int written = 0;
    const int wanted = m_candidateCount < c_sampleCount ? m_candidateCount : c_sampleCount;
    for (int i = 0; i < wanted && i < t_candidateList::c_recordCount; ++i) {
        const wchar_t* text = CandidateText(i, m_longSample);
        const size_t units = wcslen(text) + 1;
        if (!list->buffer || list->capacity < 0 || units > static_cast<size_t>(list->capacity))
            break;
        wmemcpy(list->buffer, text, units);
        list->records[i].text = list->buffer;
        list->buffer += units;
        list->capacity -= static_cast<int32_t>(units);
        ++written;
    }
    list->selectedIndex = 0;
    return written;
}

bool ImcWrapImplSkinPreview::GetComposition(HWND, wchar_t*, int, int*, int*, t_compositionRecord* record)
{
    if (!record)
        return false;
    std::memset(record, 0, sizeof *record);
    // The texts are constants: they outlive every call, as the record asks of host memory.
    record->text1 = ConvertedText(m_longSample);
    record->text2 = L"";
    record->compText = PinyinText(m_longSample);
    return true;
}
