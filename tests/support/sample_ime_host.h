// An input-context host that answers as the editor's desktop preview does: the converted
// text "栖鹭" and the pinyin "pinyin" as the composition, and the first candidateCount of
// the nine sample candidates ("1.拼音 " ...) with the first highlighted.
#pragma once

#include <cwchar>

#include "ime_ui/windows/cand/wnd_cand_string.h"
#include "ime_ui/windows/comp/wnd_comp_string.h"
#include "toolkit/controls/imc_wrap.h"

class t_sampleImeHost : public ImcWrapImplBase {
public:
    static const int c_sampleCount = 9;

    bool GetComposition(HWND, wchar_t* buffer, int capacity, int*, int*, t_compositionRecord* record) override
    {
        static const wchar_t c_converted[] = L"栖鹭";
        static const wchar_t c_pinyin[] = L"pinyin";
        const int pinyinAt = static_cast<int>(wcslen(c_converted)) + 1;
        if (!buffer || !record || capacity < pinyinAt + static_cast<int>(wcslen(c_pinyin)) + 1)
            return false;
        wcscpy(buffer, c_converted);
        wcscpy(buffer + pinyinAt, c_pinyin);
        record->text1 = buffer;
        record->text2 = L"";
        record->compText = buffer + pinyinAt;
        return true;
    }

    int GetCandidates(HWND, t_candidateList* list) override
    {
        static const wchar_t* const c_samples[c_sampleCount] = {L"1.拼音 ", L"2.品 ", L"3.频 ", L"4.拼 ", L"5.贫 ",
                                                                L"6.聘 ",   L"7.嫔 ", L"8.姘 ", L"9.颦 "};
        wchar_t* at = list->buffer;
        int room = list->capacity;
        int written = 0;
        for (; written < candidateCount && written < c_sampleCount; ++written) {
            const int length = static_cast<int>(wcslen(c_samples[written])) + 1;
            if (length > room)
                break;
            wcscpy(at, c_samples[written]);
            list->records[written].text = at;
            at += length;
            room -= length;
        }
        list->selectedIndex = 0;
        return written;
    }

    int candidateCount = 5;
};
