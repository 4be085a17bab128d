// The table of environment entries: every key of the input method's settings as a named
// static object, registered by name and id before the program's entry function runs.
#pragma once

#include <cstddef>

#include "foundation/env/env_entry.h"

namespace n_env {

// Every entry of the table, in id order.
const t_envEntryBase* const* AllEntries(size_t& count);

// Every entry of the table, in id order, as X(type, name, arguments): the arguments after
// the entry's name are its change group (not for unsigned long), id, default, type and
// synchronisation mode. Entries whose meaning lies elsewhere in the input method are
// remote, in no group, and default to zero, false or the empty text. The one list serves
// the declarations below, the definitions and the table of AllEntries.
// clang-format off
#define KAVREL_ENV_ENTRIES(X) \
    X(int, HanziSet, -1, 1, 5, t_envType::integer, t_syncMode::remote)                                 \
    X(int, CodePage, -1, 2, 936, t_envType::integer, t_syncMode::remote)                               \
    X(int, FreqUpMode, -1, 3, 4, t_envType::integer, t_syncMode::remote)                               \
    X(bool, LearnNewWord, -1, 4, true, t_envType::boolean, t_syncMode::remote)                         \
    X(bool, LearnFreq, -1, 5, true, t_envType::boolean, t_syncMode::remote)                            \
    X(bool, ContextAware, -1, 6, false, t_envType::boolean, t_syncMode::remote)                        \
    X(bool, QuanPin, 5, 7, true, t_envType::boolean, t_syncMode::remote)                               \
    X(bool, ShuangPin, 5, 8, false, t_envType::boolean, t_syncMode::remote)                            \
    X(bool, SuperSPJP, -1, 9, false, t_envType::boolean, t_syncMode::remote)                           \
    X(bool, JianPin, 5, 10, true, t_envType::boolean, t_syncMode::remote)                              \
    X(bool, ZCSForZhChSh, 5, 11, true, t_envType::boolean, t_syncMode::remote)                         \
    X(bool, MohuYin, 5, 12, false, t_envType::boolean, t_syncMode::remote)                             \
    X(bool, MohuSmart, 5, 13, true, t_envType::boolean, t_syncMode::remote)                            \
    X(bool, MohuTip, 5, 14, true, t_envType::boolean, t_syncMode::remote)                              \
    X(bool, QuickInput, 5, 15, true, t_envType::boolean, t_syncMode::remote)                           \
    X(bool, Correction, 5, 16, true, t_envType::boolean, t_syncMode::remote)                           \
    X(bool, NoPhrase, -1, 17, false, t_envType::boolean, t_syncMode::remote)                           \
    X(bool, HintSP, -1, 18, false, t_envType::boolean, t_syncMode::remote)                             \
    X(bool, AllowQuanPin, 5, 19, false, t_envType::boolean, t_syncMode::remote)                        \
    X(bool, HintCorrect, -1, 20, false, t_envType::boolean, t_syncMode::remote)                        \
    X(int, SoftKbdIndex, -1, 21, 0, t_envType::integer, t_syncMode::local)                             \
    X(int, StatusPosX, -1, 22, -1, t_envType::integer, t_syncMode::local)                              \
    X(int, StatusPosY, -1, 23, -1, t_envType::integer, t_syncMode::local)                              \
    X(int, CompPosX, -1, 24, 0, t_envType::integer, t_syncMode::local)                                 \
    X(int, CompPosY, -1, 25, 0, t_envType::integer, t_syncMode::local)                                 \
    X(bool, CursorFollow, -1, 26, true, t_envType::boolean, t_syncMode::remote)                        \
    X(bool, LimitWordCand, -1, 27, false, t_envType::boolean, t_syncMode::remote)                      \
    X(int, MaxWordCand, -1, 28, 10, t_envType::integer, t_syncMode::remote)                            \
    X(int, PageSize, -1, 29, 5, t_envType::integer, t_syncMode::remote)                                \
    X(int, FontSize, 3, 30, 16, t_envType::integer, t_syncMode::remote)                                \
    X(const wchar_t*, FontCh, 3, 31, L"宋体", t_envType::string, t_syncMode::remote)                     \
    X(const wchar_t*, FontEn, 3, 32, L"Arial", t_envType::string, t_syncMode::remote)                  \
    X(int, ColorPinyin, 3, 33, 0xB96205, t_envType::integer, t_syncMode::remote)                       \
    X(int, ColorPrimary, 3, 34, 0x0000FF, t_envType::integer, t_syncMode::remote)                      \
    X(int, ColorNonPrimary, 3, 35, 0xE58200, t_envType::integer, t_syncMode::remote)                   \
    X(int, ColorBorder, 3, 36, 0xD8D8D8, t_envType::integer, t_syncMode::remote)                       \
    X(int, ColorBackground, 3, 37, 0xFFFFFF, t_envType::integer, t_syncMode::remote)                   \
    X(int, ColorCursor, 3, 38, 0x0000C0, t_envType::integer, t_syncMode::remote)                       \
    X(int, MarginCand, 3, 39, 4, t_envType::integer, t_syncMode::remote)                               \
    X(int, InputStyle, -1, 40, 0, t_envType::integer, t_syncMode::remote)                              \
    X(int, CompStyle, -1, 41, 0, t_envType::integer, t_syncMode::remote)                               \
    X(int, CandStyle, -1, 42, 0, t_envType::integer, t_syncMode::remote)                               \
    X(int, CandAlign, -1, 43, 0, t_envType::integer, t_syncMode::remote)                               \
    X(bool, ConvertStyle, -1, 44, false, t_envType::boolean, t_syncMode::remote)                       \
    X(bool, SelectStyle, -1, 45, false, t_envType::boolean, t_syncMode::remote)                        \
    X(int, DefaultNative, -1, 46, 0, t_envType::integer, t_syncMode::remote)                           \
    X(int, DefaultShape, -1, 47, 0, t_envType::integer, t_syncMode::remote)                            \
    X(bool, DefaultSymbol, -1, 48, false, t_envType::boolean, t_syncMode::remote)                      \
    X(int, DefaultTradition, -1, 49, 0, t_envType::integer, t_syncMode::remote)                        \
    X(int, KeyEnCnSwitch, -1, 50, 0, t_envType::integer, t_syncMode::remote)                           \
    X(int, KeyCanSwitch, -1, 51, 0, t_envType::integer, t_syncMode::remote)                            \
    X(int, KeyPageUpDown, -1, 52, 0, t_envType::integer, t_syncMode::remote)                           \
    X(int, KeySelectWord, -1, 53, 0, t_envType::integer, t_syncMode::remote)                           \
    X(int, KeyFocusWord, -1, 54, 1, t_envType::integer, t_syncMode::remote)                            \
    X(int, KeyDeleteWord, -1, 55, 0, t_envType::integer, t_syncMode::remote)                           \
    X(bool, VModeSP, -1, 56, false, t_envType::boolean, t_syncMode::remote)                            \
    X(bool, UModeSP, -1, 57, false, t_envType::boolean, t_syncMode::remote)                            \
    X(bool, ArtSP, -1, 58, false, t_envType::boolean, t_syncMode::remote)                              \
    X(bool, Art, -1, 59, false, t_envType::boolean, t_syncMode::remote)                                \
    X(int, KeyVModeSP, -1, 60, 0, t_envType::integer, t_syncMode::remote)                              \
    X(int, KeyUModeSP, -1, 61, 0, t_envType::integer, t_syncMode::remote)                              \
    X(int, KeyArtSP, -1, 62, 0, t_envType::integer, t_syncMode::remote)                                \
    X(bool, ShortCutMenu, -1, 63, true, t_envType::boolean, t_syncMode::remote)                        \
    X(bool, ShortcutOn, -1, 64, true, t_envType::boolean, t_syncMode::remote)                          \
    X(bool, ShortCutArt, -1, 65, false, t_envType::boolean, t_syncMode::remote)                        \
    X(bool, ShortCutFanJian, -1, 66, true, t_envType::boolean, t_syncMode::remote)                     \
    X(bool, ShortcutQuickInputEmotion, -1, 67, false, t_envType::boolean, t_syncMode::remote)          \
    X(bool, ShortcutQuickInputSymbol, -1, 68, false, t_envType::boolean, t_syncMode::remote)           \
    X(bool, ShortcutSearch, -1, 69, false, t_envType::boolean, t_syncMode::remote)                     \
    X(int, KeyMenuSwitch, -1, 70, 12, t_envType::integer, t_syncMode::remote)                          \
    X(int, KeySoftKeyboardSwitch, -1, 71, 10, t_envType::integer, t_syncMode::remote)                  \
    X(int, KeyArtSwitch, -1, 72, 0, t_envType::integer, t_syncMode::remote)                            \
    X(int, KeyFanJianSwitch, -1, 73, 5, t_envType::integer, t_syncMode::remote)                        \
    X(int, KeyQuickInputEmotion, -1, 74, 0, t_envType::integer, t_syncMode::remote)                    \
    X(int, KeyQuickInputSymbol, -1, 75, 0, t_envType::integer, t_syncMode::remote)                     \
    X(int, KeyShortcutSearch, -1, 76, 0, t_envType::integer, t_syncMode::remote)                       \
    X(bool, ShortCutArtSimple, -1, 77, false, t_envType::boolean, t_syncMode::remote)                  \
    X(bool, PadNumAsSelect, -1, 78, false, t_envType::boolean, t_syncMode::remote)                     \
    X(bool, AllowVmode, -1, 79, false, t_envType::boolean, t_syncMode::remote)                         \
    X(bool, AllowImode, -1, 80, false, t_envType::boolean, t_syncMode::remote)                         \
    X(bool, AllowNetMode, -1, 81, false, t_envType::boolean, t_syncMode::remote)                       \
    X(bool, UserPhrase, 4, 82, true, t_envType::boolean, t_syncMode::remote)                           \
    X(bool, SystemUserPhrase, -1, 83, false, t_envType::boolean, t_syncMode::remote)                   \
    X(bool, DigitalFullSymbol, -1, 84, false, t_envType::boolean, t_syncMode::remote)                  \
    X(bool, IntelligentDeleteWord, -1, 85, true, t_envType::boolean, t_syncMode::remote)               \
    X(bool, TruncateInputWhnEnOn, -1, 86, false, t_envType::boolean, t_syncMode::remote)               \
    X(bool, MakeName, -1, 87, false, t_envType::boolean, t_syncMode::remote)                           \
    X(const wchar_t*, ShuangPinName, -1, 88, L"Vexil", t_envType::string, t_syncMode::remote)          \
    X(int, StatusAppearance, -1, 89, 0, t_envType::integer, t_syncMode::remote)                        \
    X(bool, SkinEnabled, 3, 90, false, t_envType::boolean, t_syncMode::remote)                         \
    X(const wchar_t*, ActiveSkinName, 3, 91, L"Default(黑系)", t_envType::string, t_syncMode::remote)    \
    X(bool, IgnoreSkinFontSetting, 3, 93, false, t_envType::boolean, t_syncMode::remote)               \
    X(bool, IgnoreSkinColorSetting, 3, 94, false, t_envType::boolean, t_syncMode::remote)              \
    X(bool, AllowArt, -1, 95, false, t_envType::boolean, t_syncMode::remote)                           \
    X(int, ArtWordMode, -1, 96, 0, t_envType::integer, t_syncMode::plain)                              \
    X(int, PasteType, -1, 97, 0, t_envType::integer, t_syncMode::remote)                               \
    X(int, AutoUpdate, -1, 98, 0, t_envType::integer, t_syncMode::remote)                              \
    X(int, DictUpdate, -1, 99, 0, t_envType::integer, t_syncMode::remote)                              \
    X(bool, ForecastLongWord, -1, 100, false, t_envType::boolean, t_syncMode::remote)                  \
    X(int, LongWordNumGate, -1, 101, 0, t_envType::integer, t_syncMode::remote)                        \
    X(int, LongWordCandPos, -1, 102, 0, t_envType::integer, t_syncMode::remote)                        \
    X(int, MaxLongWord, -1, 103, 0, t_envType::integer, t_syncMode::remote)                            \
    X(bool, UseGdiplus, 3, 104, true, t_envType::boolean, t_syncMode::remote)                          \
    X(bool, UseLayeredWindow, 3, 105, true, t_envType::boolean, t_syncMode::remote)                    \
    X(bool, InputStatistics, -1, 106, true, t_envType::boolean, t_syncMode::remote)                    \
    X(int, InputStatistics_HistoryCout, -1, 107, 0, t_envType::integer, t_syncMode::remote)            \
    X(int, InputStatistics_TodayCount, -1, 108, 0, t_envType::integer, t_syncMode::remote)             \
    X(int, InputStatistics_YesterdayCount, -1, 109, 0, t_envType::integer, t_syncMode::remote)         \
    X(int, InputStatistics_MinuteSpeedCurrent, -1, 110, 0, t_envType::integer, t_syncMode::remote)     \
    X(int, InputStatistics_MinuteSpeedMax, -1, 111, 0, t_envType::integer, t_syncMode::remote)         \
    X(unsigned long, InputStatistics_TimeStart, 112, 0, t_envType::ulong, t_syncMode::remote)          \
    X(unsigned long, InputStatistics_TimeEnd, 113, 0, t_envType::ulong, t_syncMode::remote)            \
    X(unsigned long, InputStatistics_TimeMinuteSpeedMax, 114, 0, t_envType::ulong, t_syncMode::remote) \
    X(unsigned long, GapLevel, 115, 0, t_envType::ulong, t_syncMode::remote)                           \
    X(bool, PyCorrectTip, -1, 116, false, t_envType::boolean, t_syncMode::remote)                      \
    X(bool, UseCellDict, -1, 117, false, t_envType::boolean, t_syncMode::remote)                       \
    X(bool, CellDictAutoUpate, -1, 118, false, t_envType::boolean, t_syncMode::remote)                 \
    X(bool, FCDAutoUpdate, -1, 119, false, t_envType::boolean, t_syncMode::remote)                     \
    X(bool, NeverHintB2F, -1, 120, false, t_envType::boolean, t_syncMode::remote)                      \
    X(int, UpdateTime, -1, 121, 0, t_envType::integer, t_syncMode::remote)                             \
    X(int, UpdateTimesToday, -1, 122, 0, t_envType::integer, t_syncMode::remote)                       \
    X(int, UploadUxlogTime, -1, 123, 0, t_envType::integer, t_syncMode::remote)                        \
    X(int, UpTipTime, -1, 125, 0, t_envType::integer, t_syncMode::remote)                              \
    X(int, LastUpImeIdxTime, -1, 126, 0, t_envType::integer, t_syncMode::remote)                       \
    X(bool, ClearFontEdge, 3, 128, false, t_envType::boolean, t_syncMode::remote)                      \
    X(bool, LogonWeb, -1, 129, false, t_envType::boolean, t_syncMode::remote)                          \
    X(bool, HideStatusWhenFullScreen, -1, 130, true, t_envType::boolean, t_syncMode::remote)           \
    X(bool, UrlGuide, -1, 137, false, t_envType::boolean, t_syncMode::remote)                          \
    X(bool, UrlGuide_AutoUpdate, -1, 138, false, t_envType::boolean, t_syncMode::remote)               \
    X(bool, UrlGuide_AppendCR, -1, 139, false, t_envType::boolean, t_syncMode::remote)                 \
    X(int, ForcedAutoUpdate, -1, 140, 0, t_envType::integer, t_syncMode::remote)                       \
    X(int, FuncStat_SelectCandRateX, -1, 141, 0, t_envType::integer, t_syncMode::remote)               \
    X(int, FuncStat_SelectCandRateY, -1, 142, 0, t_envType::integer, t_syncMode::remote)               \
    X(int, FuncStat_SelectCandRateXL1, -1, 143, 0, t_envType::integer, t_syncMode::remote)             \
    X(int, FuncStat_SelectCandRateYL1, -1, 144, 0, t_envType::integer, t_syncMode::remote)             \
    X(int, FuncStat_SelectCandRateXL2, -1, 145, 0, t_envType::integer, t_syncMode::remote)             \
    X(int, FuncStat_SelectCandRateYL2, -1, 146, 0, t_envType::integer, t_syncMode::remote)             \
    X(int, FuncStat_SelectCandRateXL3, -1, 147, 0, t_envType::integer, t_syncMode::remote)             \
    X(int, FuncStat_SelectCandRateYL3, -1, 148, 0, t_envType::integer, t_syncMode::remote)             \
    X(int, FuncStat_SelectCandRateXL4, -1, 149, 0, t_envType::integer, t_syncMode::remote)             \
    X(int, FuncStat_SelectCandRateYL4, -1, 150, 0, t_envType::integer, t_syncMode::remote)             \
    X(int, FuncStat_SelectCandRateXL5, -1, 151, 0, t_envType::integer, t_syncMode::remote)             \
    X(int, FuncStat_SelectCandRateYL5, -1, 152, 0, t_envType::integer, t_syncMode::remote)             \
    X(int, FuncStat_SelectCandRateXL6, -1, 153, 0, t_envType::integer, t_syncMode::remote)             \
    X(int, FuncStat_SelectCandRateYL6, -1, 154, 0, t_envType::integer, t_syncMode::remote)             \
    X(int, FuncStat_SelectCandRateXL6M, -1, 155, 0, t_envType::integer, t_syncMode::remote)            \
    X(int, FuncStat_SelectCandRateYL6M, -1, 156, 0, t_envType::integer, t_syncMode::remote)            \
    X(int, FuncStat_StartUp, -1, 157, 0, t_envType::integer, t_syncMode::remote)                       \
    X(int, FuncStat_FirstKey, -1, 158, 0, t_envType::integer, t_syncMode::remote)                      \
    X(int, FuncStat_Sel2, -1, 159, 0, t_envType::integer, t_syncMode::remote)                          \
    X(int, FuncStat_Sel3, -1, 160, 0, t_envType::integer, t_syncMode::remote)                          \
    X(int, FuncStat_Sel4, -1, 161, 0, t_envType::integer, t_syncMode::remote)                          \
    X(int, FuncStat_Sel5, -1, 162, 0, t_envType::integer, t_syncMode::remote)                          \
    X(int, FuncStat_Sel6, -1, 163, 0, t_envType::integer, t_syncMode::remote)                          \
    X(int, FuncStat_Sel7, -1, 164, 0, t_envType::integer, t_syncMode::remote)                          \
    X(int, FuncStat_Sel8, -1, 165, 0, t_envType::integer, t_syncMode::remote)                          \
    X(int, FuncStat_Sel9, -1, 166, 0, t_envType::integer, t_syncMode::remote)                          \
    X(unsigned long, BDFlag, 167, 0, t_envType::ulong, t_syncMode::remote)                             \
    X(int, ScdCharaUpdateTime, -1, 168, 0, t_envType::integer, t_syncMode::remote)                     \
    X(bool, EngFill, -1, 169, false, t_envType::boolean, t_syncMode::remote)                           \
    X(bool, EnglishInput_Autofill_Space, -1, 171, false, t_envType::boolean, t_syncMode::remote)       \
    X(bool, EnglishInput_Autofill_Enter, -1, 172, false, t_envType::boolean, t_syncMode::remote)       \
    X(bool, EnglishInput_Autofill_Tab, -1, 173, false, t_envType::boolean, t_syncMode::remote)         \
    X(bool, EnglishInput_AddSpace, -1, 174, false, t_envType::boolean, t_syncMode::remote)             \
    X(bool, ShortCutEnglishInput, -1, 175, false, t_envType::boolean, t_syncMode::remote)              \
    X(int, KeyEnglishInputSwitch, -1, 176, 0, t_envType::integer, t_syncMode::remote)                  \
    X(bool, DefaultEnglishInput, -1, 177, false, t_envType::boolean, t_syncMode::remote)               \
    X(bool, EnglishInput_LearnNewWord, -1, 178, false, t_envType::boolean, t_syncMode::remote)         \
    X(bool, EnglishInput_LearnFreq, -1, 179, false, t_envType::boolean, t_syncMode::remote)            \
    X(bool, EnglishInput_ExactMatches, -1, 180, false, t_envType::boolean, t_syncMode::remote)         \
    X(bool, EnglishInput_StarAsWildcard, -1, 181, false, t_envType::boolean, t_syncMode::remote)       \
    X(unsigned long, InvalidSkinTime, 182, 0u, t_envType::ulong, t_syncMode::local)                    \
    X(const wchar_t*, InvalidSkinName, -1, 183, L"", t_envType::string, t_syncMode::local)             \
    X(int, QuickInputPage, -1, 184, 0, t_envType::integer, t_syncMode::remote)                         \
    X(bool, ShortcutImeManager, -1, 185, false, t_envType::boolean, t_syncMode::remote)                \
    X(int, KeyImeManager, -1, 186, 0, t_envType::integer, t_syncMode::remote)                          \
    X(bool, ImeTray, -1, 187, false, t_envType::boolean, t_syncMode::remote)                           \
    X(bool, ShowLangBar, -1, 190, true, t_envType::boolean, t_syncMode::remote)                        \
    X(bool, UseCanSwitch, -1, 191, false, t_envType::boolean, t_syncMode::remote)                      \
    X(bool, ShortcutChangeSkin, -1, 192, false, t_envType::boolean, t_syncMode::remote)                \
    X(int, KeyChangeSkin, -1, 193, 0, t_envType::integer, t_syncMode::remote)                          \
    X(int, LastInputTime, -1, 194, 0, t_envType::integer, t_syncMode::remote)                          \
    X(bool, SplitZi, -1, 195, false, t_envType::boolean, t_syncMode::remote)                           \
    X(int, TimeSetDefault_EngFill, -1, 196, 0, t_envType::integer, t_syncMode::remote)                 \
    X(int, TimeSetDefault_UrlAssist, -1, 197, 0, t_envType::integer, t_syncMode::remote)               \
    X(int, CountBiHuaFilter, -1, 198, 0, t_envType::integer, t_syncMode::remote)                       \
    X(int, CountBiHua, -1, 199, 0, t_envType::integer, t_syncMode::remote)                             \
    X(int, CountEngFill, -1, 200, 0, t_envType::integer, t_syncMode::remote)                           \
    X(int, CountEngInput, -1, 201, 0, t_envType::integer, t_syncMode::remote)                          \
    X(int, CountNames, -1, 202, 0, t_envType::integer, t_syncMode::remote)                             \
    X(int, CountNormal, -1, 203, 0, t_envType::integer, t_syncMode::remote)                            \
    X(int, CountSpSw, -1, 204, 0, t_envType::integer, t_syncMode::remote)                              \
    X(int, CountTempEng, -1, 205, 0, t_envType::integer, t_syncMode::remote)                           \
    X(int, CountUrlFill, -1, 206, 0, t_envType::integer, t_syncMode::remote)                           \
    X(int, CountVMode, -1, 207, 0, t_envType::integer, t_syncMode::remote)                             \
    X(unsigned long, ImeStat_TimeFirstStart, 209, 0, t_envType::ulong, t_syncMode::remote)             \
    X(unsigned long, ImeStat_TimeStart0, 210, 0, t_envType::ulong, t_syncMode::remote)                 \
    X(unsigned long, ImeStat_TimeStart1, 211, 0, t_envType::ulong, t_syncMode::remote)                 \
    X(unsigned long, ImeStat_TimeChangeSkin, 212, 0u, t_envType::ulong, t_syncMode::local)             \
    X(unsigned long, ImeStat_TimeInstallSkin, 213, 0, t_envType::ulong, t_syncMode::remote)            \
    X(unsigned long, ImeStat_TimeChangeDict, 214, 0, t_envType::ulong, t_syncMode::remote)             \
    X(unsigned long, ImeStat_TimeInstallDict, 215, 0, t_envType::ulong, t_syncMode::remote)            \
    X(unsigned long, Popup_TimeLastQuery, 216, 0, t_envType::ulong, t_syncMode::remote)                \
    X(unsigned long, Popup_TimeLastCheck, 217, 0, t_envType::ulong, t_syncMode::remote)                \
    X(unsigned long, Popup_TimeQueryInterval, 218, 0, t_envType::ulong, t_syncMode::remote)            \
    X(unsigned long, Popup_TimeCheckInterval, 219, 0, t_envType::ulong, t_syncMode::remote)            \
    X(bool, ShowSearchBtn, -1, 220, true, t_envType::boolean, t_syncMode::remote)                      \
    X(bool, EditMode, -1, 221, false, t_envType::boolean, t_syncMode::remote)                          \
    X(int, CountUsrDictRepair, -1, 222, 0, t_envType::integer, t_syncMode::remote)                     \
    X(int, CountRepair, -1, 223, 0, t_envType::integer, t_syncMode::remote)                            \
    X(int, IndexPrePair, -1, 224, 0, t_envType::integer, t_syncMode::remote)                           \
    X(int, IndexAfterRepair, -1, 225, 0, t_envType::integer, t_syncMode::remote)                       \
    X(unsigned long, SkinChannel_TimeLastUpdate, 226, 0, t_envType::ulong, t_syncMode::remote)         \
    X(bool, ShowBB_Fashion, -1, 227, false, t_envType::boolean, t_syncMode::remote)                    \
    X(bool, fixfirstEnable, -1, 228, false, t_envType::boolean, t_syncMode::remote)                    \
    X(bool, HalfSymbolOnPad, -1, 229, false, t_envType::boolean, t_syncMode::remote)                   \
    X(bool, ShortcutImeHotKey, -1, 230, false, t_envType::boolean, t_syncMode::remote)                 \
    X(int, KeyShortcutImeHotKey, -1, 231, 0, t_envType::integer, t_syncMode::remote)                   \
    X(unsigned long, ScdListSortInfo, 232, 0, t_envType::ulong, t_syncMode::remote)                    \
    X(const wchar_t*, RandSkinName, -1, 233, L"", t_envType::string, t_syncMode::local)                \
    X(bool, DeleteSkinToRecycle, -1, 234, false, t_envType::boolean, t_syncMode::remote)               \
    X(unsigned long, TimeChangeSkin, 235, 0, t_envType::ulong, t_syncMode::remote)                     \
    X(int, QueryTimesToday, -1, 236, 0, t_envType::integer, t_syncMode::remote)                        \
    X(bool, QuickInputShutDown, -1, 301, false, t_envType::boolean, t_syncMode::remote)                \
    X(int, StateKeyShortcutEngFill, -1, 302, 0, t_envType::integer, t_syncMode::remote)                \
    X(int, StateKeyShortcutMailUrl, -1, 303, 0, t_envType::integer, t_syncMode::remote)                \
    X(int, StateKeyShortcutName, -1, 304, 0, t_envType::integer, t_syncMode::remote)                   \
    X(int, StateKeyShortcutQuickInput, -1, 305, 0, t_envType::integer, t_syncMode::remote)             \
    X(int, StateKeyShortcutUrlGuide, -1, 306, 0, t_envType::integer, t_syncMode::remote)               \
    X(int, StateKeyShortcutSearch, -1, 307, 0, t_envType::integer, t_syncMode::remote)                 \
    X(int, SearchEngine, -1, 310, 0, t_envType::integer, t_syncMode::remote)                           \
    X(bool, MailUrlFill, -1, 311, false, t_envType::boolean, t_syncMode::remote)                       \
    X(bool, UrlGuideConfirmType, -1, 312, false, t_envType::boolean, t_syncMode::remote)               \
    X(bool, ShowSmartHint, -1, 313, false, t_envType::boolean, t_syncMode::remote)                     \
    X(int, LastLoginShowTime, -1, 314, 0, t_envType::integer, t_syncMode::remote)                      \
    X(int, LastUserWordNumber, -1, 315, 0, t_envType::integer, t_syncMode::remote)                     \
    X(bool, CursorMoveLeftBaseChar, -1, 316, false, t_envType::boolean, t_syncMode::remote)            \
    X(const wchar_t*, WizardReadFlags, -1, 317, nullptr, t_envType::string, t_syncMode::local)         \
    X(unsigned long, SkinRecommend_TimeLastUpdate, 318, 0, t_envType::ulong, t_syncMode::remote)       \
    X(bool, IsotropicSkin, -1, 321, true, t_envType::boolean, t_syncMode::remote)                      \
    X(bool, ShowHintIcon, -1, 322, false, t_envType::boolean, t_syncMode::remote)                      \
    X(bool, CustomSearchEngine, -1, 323, false, t_envType::boolean, t_syncMode::remote)                \
    X(bool, ExitAfterIChangeSkin, -1, 324, false, t_envType::boolean, t_syncMode::remote)              \
    X(bool, UseAero, -1, 325, false, t_envType::boolean, t_syncMode::remote)                           \
    X(bool, IgnoreSkinColorSetting_Real, -1, 327, false, t_envType::boolean, t_syncMode::remote)       \
    X(int, BackspaceCount, -1, 328, 0, t_envType::integer, t_syncMode::remote)                         \
    X(bool, SmartSymbolsAfterNum, -1, 329, false, t_envType::boolean, t_syncMode::remote)              \
    X(unsigned long, PluginRecommend_TimeLastUpdate, 330, 0, t_envType::ulong, t_syncMode::remote)     \
    X(bool, IModeQuickChangeSkin, -1, 331, false, t_envType::boolean, t_syncMode::remote)              \
    X(bool, EnableCloudRequest, -1, 332, false, t_envType::boolean, t_syncMode::remote)                \
    X(int, CloudCandShown, -1, 333, 0, t_envType::integer, t_syncMode::remote)                         \
    X(int, CloudCandSelected, -1, 334, 0, t_envType::integer, t_syncMode::remote)                      \
    X(unsigned long, PKETMS, 335, 0, t_envType::ulong, t_syncMode::remote)                             \
    X(bool, Popup_DisableSkinBubble, -1, 336, false, t_envType::boolean, t_syncMode::remote)           \
    X(unsigned long, CloudCanceledNum, 337, 0, t_envType::ulong, t_syncMode::remote)                   \
    X(unsigned long, CloudFailNum, 338, 0, t_envType::ulong, t_syncMode::remote)                       \
    X(unsigned long, Popup_TimeLastInfo, 339, 0, t_envType::ulong, t_syncMode::remote)                 \
    X(unsigned long, Popup_TimeInfoInterval, 340, 0, t_envType::ulong, t_syncMode::remote)             \
    X(unsigned long, CloudRequestNum, 342, 0, t_envType::ulong, t_syncMode::remote)                    \
    X(unsigned long, CloudCombineNum, 343, 0, t_envType::ulong, t_syncMode::remote)                    \
    X(unsigned long, CloudSendNum, 344, 0, t_envType::ulong, t_syncMode::remote)                       \
    X(unsigned long, CloudCacheHitNum, 345, 0, t_envType::ulong, t_syncMode::remote)                   \
    X(unsigned long, SpellAdjustNum, 346, 0, t_envType::ulong, t_syncMode::remote)                     \
    X(unsigned long, SpellAdjustFailNum, 347, 0, t_envType::ulong, t_syncMode::remote)                 \
    X(int, UploadKeyHzTime, -1, 350, 0, t_envType::integer, t_syncMode::remote)                        \
    X(int, CompHintIconType, -1, 351, 0, t_envType::integer, t_syncMode::remote)                       \
    X(bool, EnableAddressSearch, -1, 352, false, t_envType::boolean, t_syncMode::remote)               \
    X(unsigned long, LastAddressSearchTick, 353, 0, t_envType::ulong, t_syncMode::remote)              \
    X(unsigned long, ABSSuccessedCount, 354, 0, t_envType::ulong, t_syncMode::remote)                  \
    X(unsigned long, ABSFailedCount, 355, 0, t_envType::ulong, t_syncMode::remote)                     \
    X(bool, ShowCandExtIcon, -1, 356, false, t_envType::boolean, t_syncMode::remote)                   \
    X(int, AdsRandomStartTick, -1, 360, 0, t_envType::integer, t_syncMode::remote)                     \
    X(int, AdsRandomIndex, -1, 361, 0, t_envType::integer, t_syncMode::remote)                         \
    X(bool, ShortcutJJGMenu, -1, 362, true, t_envType::boolean, t_syncMode::remote)                    \
    X(int, KeyShortcutJJGMenu, -1, 363, 186, t_envType::integer, t_syncMode::remote)                   \
    X(const wchar_t*, QuickMenuBack, -1, 365, L"", t_envType::string, t_syncMode::remote)              \
    X(unsigned long, QuickMenuBackTime, 366, 0, t_envType::ulong, t_syncMode::remote)                  \
    X(const wchar_t*, AEKBHD, -1, 377, L"", t_envType::string, t_syncMode::remote)                     \
    X(const wchar_t*, ASUSD, -1, 378, L"", t_envType::string, t_syncMode::remote)                      \
    X(const wchar_t*, SSUSD, -1, 379, L"", t_envType::string, t_syncMode::remote)                      \
    X(const wchar_t*, ENV_VERSION, -1, 380, L"", t_envType::string, t_syncMode::local)                 \
    X(unsigned long, PERF_TIME_START, 381, 0, t_envType::ulong, t_syncMode::remote)                    \
    X(unsigned long, PERF_THRESHOLD_START, 382, 0, t_envType::ulong, t_syncMode::remote)               \
    X(unsigned long, PERF_NUM_START, 383, 0, t_envType::ulong, t_syncMode::remote)                     \
    X(unsigned long, PERF_TIME_KEY, 384, 0, t_envType::ulong, t_syncMode::remote)                      \
    X(unsigned long, PERF_THRESHOLD_KEY, 385, 0, t_envType::ulong, t_syncMode::remote)                 \
    X(unsigned long, PERF_NUM_KEY, 386, 0, t_envType::ulong, t_syncMode::remote)                       \
    X(unsigned long, PERF_TIME_UI, 387, 0, t_envType::ulong, t_syncMode::remote)                       \
    X(unsigned long, PERF_THRESHOLD_UI, 388, 0, t_envType::ulong, t_syncMode::remote)                  \
    X(unsigned long, PERF_NUM_UI, 389, 0, t_envType::ulong, t_syncMode::remote)                        \
    X(bool, FirstIme, -1, 390, false, t_envType::boolean, t_syncMode::remote)                          \
    X(bool, FixIme_Hint, -1, 391, false, t_envType::boolean, t_syncMode::remote)                       \
    X(bool, FixIme_Default, -1, 392, false, t_envType::boolean, t_syncMode::remote)                    \
    X(const wchar_t*, FixIme_Time, -1, 393, L"", t_envType::string, t_syncMode::remote)                \
    X(unsigned long, LastCheckIme, 394, 0, t_envType::ulong, t_syncMode::remote)                       \
    X(bool, DiagonalConvert, -1, 395, false, t_envType::boolean, t_syncMode::remote)                   \
    X(bool, ReDiagonalConvert, -1, 396, false, t_envType::boolean, t_syncMode::remote)                 \
    X(unsigned long, UpdateSkin_Time, 397, 0, t_envType::ulong, t_syncMode::remote)                    \
    X(bool, EnableHolidayTip, -1, 398, false, t_envType::boolean, t_syncMode::remote)                  \
    X(bool, IModeHint, -1, 399, false, t_envType::boolean, t_syncMode::remote)                         \
    X(unsigned long, IModeHint_Time, 400, 0, t_envType::ulong, t_syncMode::remote)                     \
    X(bool, ShortcutBig5, -1, 401, false, t_envType::boolean, t_syncMode::remote)                      \
    X(int, KeyShortcutBig5, -1, 402, 0, t_envType::integer, t_syncMode::remote)                        \
    X(bool, FlashDebugMode, -1, 403, false, t_envType::boolean, t_syncMode::local)                     \
    X(unsigned long, ThirdPassport_TimeLastUpdate, 405, 0, t_envType::ulong, t_syncMode::remote)       \
    X(unsigned long, CloudSpellAdjustCound, 406, 0, t_envType::ulong, t_syncMode::remote)              \
    X(unsigned long, CloudSpellAdjustSelectCound, 407, 0, t_envType::ulong, t_syncMode::remote)        \
    X(unsigned long, UpdateWidget_Time, 408, 0, t_envType::ulong, t_syncMode::remote)                  \
    X(bool, FirstShowSkinBoxHint, -1, 409, false, t_envType::boolean, t_syncMode::remote)              \
    X(int, Component_UpdateTime, -1, 414, 0, t_envType::integer, t_syncMode::remote)                   \
    X(int, Component_UpdateTimesToday, -1, 415, 0, t_envType::integer, t_syncMode::remote)             \
    X(unsigned long, ABSSuccessedCountOther, 416, 0, t_envType::ulong, t_syncMode::remote)             \
    X(int, UploadPerfTime, -1, 417, 0, t_envType::integer, t_syncMode::remote)                         \
    X(int, HandInputProcCount, -1, 418, 0, t_envType::integer, t_syncMode::remote)                     \
    X(bool, ShowSkinBoxHint, -1, 419, false, t_envType::boolean, t_syncMode::remote)                   \
    X(unsigned long, StatusBtnFlag, 420, 0x9467u, t_envType::ulong, t_syncMode::remote)                \
    X(unsigned long, StatusBtnColor, 421, 0xFFFFFFFFu, t_envType::ulong, t_syncMode::remote)           \
    X(bool, ShortcutComManager, -1, 422, false, t_envType::boolean, t_syncMode::remote)                \
    X(int, KeyComManager, -1, 423, 0, t_envType::integer, t_syncMode::remote)                          \
    X(bool, FirstShowBarConfigHint, -1, 424, false, t_envType::boolean, t_syncMode::remote)            \
    X(int, OptLongShowCnt, -1, 425, 0, t_envType::integer, t_syncMode::remote)                         \
    X(int, OptLongFirstCnt, -1, 426, 0, t_envType::integer, t_syncMode::remote)                        \
    X(int, OptLongSelectCnt, -1, 427, 0, t_envType::integer, t_syncMode::remote)                       \
    X(int, OptLongSelFirstCnt, -1, 428, 0, t_envType::integer, t_syncMode::remote)                     \
    X(int, BarConfigShowCnt, -1, 429, 0, t_envType::integer, t_syncMode::remote)                       \
    X(int, BarConfigChangeCnt, -1, 430, 0, t_envType::integer, t_syncMode::remote)                     \
    X(int, BarConfigBtnChangeCnt, -1, 431, 0, t_envType::integer, t_syncMode::remote)                  \
    X(int, BarConfigColorChangeCnt, -1, 432, 0, t_envType::integer, t_syncMode::remote)                \
    X(bool, EmbedLanguageHintFirst, -1, 433, false, t_envType::boolean, t_syncMode::remote)            \
    X(int, BarConfigOkCnt, -1, 434, 0, t_envType::integer, t_syncMode::remote)                         \
    X(int, BarConfigCloseCnt, -1, 435, 0, t_envType::integer, t_syncMode::remote)                      \
    X(int, BarConfigLogoCnt, -1, 436, 0, t_envType::integer, t_syncMode::remote)                       \
    X(bool, ShowBarConfig, -1, 437, false, t_envType::boolean, t_syncMode::plain)                      \
    X(unsigned long, ShowBarConfigFlag, 438, 0xFFFFFFFFu, t_envType::ulong, t_syncMode::plain)         \
    X(unsigned long, ShowBarConfigColor, 439, 0xFFFFFFFFu, t_envType::ulong, t_syncMode::plain)        \
    X(int, BarConfigRevertCnt, -1, 440, 0, t_envType::integer, t_syncMode::remote)                     \
    X(unsigned long, FixIme_Times, 441, 0, t_envType::ulong, t_syncMode::remote)                       \
    X(unsigned long, FixIme_TimeRob, 442, 0, t_envType::ulong, t_syncMode::remote)                     \
    X(bool, HaveScreenKeyboard, -1, 443, false, t_envType::boolean, t_syncMode::plain)                 \
    X(int, OpenSkinConfigCnt, -1, 444, 0, t_envType::integer, t_syncMode::remote)                      \
    X(bool, NerverUseFontSetting, -1, 445, false, t_envType::boolean, t_syncMode::remote)              \
    X(const wchar_t*, SpeedMeterExStatistics, -1, 446, L"", t_envType::string, t_syncMode::remote)     \
    X(bool, EnablePairedSymbol, -1, 447, false, t_envType::boolean, t_syncMode::remote)                \
    X(unsigned long, PairedSymbolShowCnt, 448, 0, t_envType::ulong, t_syncMode::remote)                \
    X(unsigned long, PairedSymbolConfirmCnt, 449, 0, t_envType::ulong, t_syncMode::remote)             \
    X(unsigned long, PairedSymbolSpaceConfirmCnt, 450, 0, t_envType::ulong, t_syncMode::remote)        \
    X(unsigned long, PairedSymbolEnterConfirmCnt, 451, 0, t_envType::ulong, t_syncMode::remote)        \
    X(unsigned long, PairedSymbolMCConfirmCnt, 452, 0, t_envType::ulong, t_syncMode::remote)           \
    X(unsigned long, AppBoxUpdateTime, 453, 0, t_envType::ulong, t_syncMode::remote)                   \
    X(unsigned long, AppBoxPingbackTime, 454, 0, t_envType::ulong, t_syncMode::remote)                 \
    X(unsigned long, AppBoxShowTime, 455, 0, t_envType::ulong, t_syncMode::remote)                     \
    X(int, GrayFuzzyShowCnt, -1, 456, 0, t_envType::integer, t_syncMode::remote)                       \
    X(int, GrayFuzzySelectCnt, -1, 457, 0, t_envType::integer, t_syncMode::remote)                     \
    X(int, GrayFuzzyNeedButNotCnt, -1, 458, 0, t_envType::integer, t_syncMode::remote)                 \
    X(int, ConcelLearnedFuzzy, -1, 459, 0, t_envType::integer, t_syncMode::remote)                     \
    X(unsigned long, KeySwitchtoBig5, 460, 0, t_envType::ulong, t_syncMode::remote)                    \
    X(int, OptLongBkspCnt, -1, 461, 0, t_envType::integer, t_syncMode::remote)                         \
    X(int, OptLongOutputCharCnt, -1, 462, 0, t_envType::integer, t_syncMode::remote)
// clang-format on

#define KAVREL_ENV_DECLARE(type, name, ...) extern t_envEntry<type> name;
KAVREL_ENV_ENTRIES(KAVREL_ENV_DECLARE)
#undef KAVREL_ENV_DECLARE

}  // namespace n_env
