// The input-context host of the desktop preview: it feeds the composition and candidate
// windows with sample text, the normal sample (a short pinyin and up to nine single
// candidates) or the long sample (a long sentence as the first candidate). Every other
// question keeps the base's default answer.
#pragma once

#include "toolkit/controls/imc_wrap.h"

class ImcWrapImplSkinPreview : public ImcWrapImplBase {
public:
    // Sample candidates there are; a larger count offers these.
    static const int c_sampleCount = 9;
    static const int c_defaultCandidateCount = 5;

    // The sample texts.
    static const wchar_t* ConvertedText(bool longSample);
    static const wchar_t* PinyinText(bool longSample);
    // Candidate i (0..c_sampleCount - 1), label included; null outside.
    static const wchar_t* CandidateText(int index, bool longSample);

    // Writes the first candidates (as many as the count, at most the samples) into the
    // list's buffer, each terminated; stops at a text that does not fit. The first is
    // selected; the result is the number written.
    int GetCandidates(HWND host, t_candidateList* list) override;
    // The record is cleared, then names the converted text, an empty text and the pinyin.
    bool GetComposition(HWND host, wchar_t* buffer, int capacity, int* hotIndex, int* hotValue,
                        t_compositionRecord* record) override;

    // A negative count offers none.
    void SetCandidateCount(int count) { m_candidateCount = count < 0 ? 0 : count; }
    int CandidateCount() const { return m_candidateCount; }
    void SetLongSample(bool on) { m_longSample = on; }
    bool LongSample() const { return m_longSample; }

private:
    int m_candidateCount = c_defaultCandidateCount;
    bool m_longSample = false;
};
