#include "foundation/env/env_entries.h"

namespace n_env {

// One row per entry: name, change group (not for unsigned long), id, default, type and
// synchronisation mode. Entries whose meaning lies elsewhere in the input method are
// remote, in no group, and default to zero, false or the empty text.
// clang-format off
t_envEntry<int> HanziSet(L"HanziSet", -1, 1, 5, t_envType::integer, t_syncMode::remote);
t_envEntry<int> CodePage(L"CodePage", -1, 2, 936, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FreqUpMode(L"FreqUpMode", -1, 3, 4, t_envType::integer, t_syncMode::remote);
t_envEntry<bool> LearnNewWord(L"LearnNewWord", -1, 4, true, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> LearnFreq(L"LearnFreq", -1, 5, true, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> ContextAware(L"ContextAware", -1, 6, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> QuanPin(L"QuanPin", 5, 7, true, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> ShuangPin(L"ShuangPin", 5, 8, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> SuperSPJP(L"SuperSPJP", -1, 9, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> JianPin(L"JianPin", 5, 10, true, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> ZCSForZhChSh(L"ZCSForZhChSh", 5, 11, true, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> MohuYin(L"MohuYin", 5, 12, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> MohuSmart(L"MohuSmart", 5, 13, true, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> MohuTip(L"MohuTip", 5, 14, true, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> QuickInput(L"QuickInput", 5, 15, true, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> Correction(L"Correction", 5, 16, true, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> NoPhrase(L"NoPhrase", -1, 17, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> HintSP(L"HintSP", -1, 18, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> AllowQuanPin(L"AllowQuanPin", 5, 19, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> HintCorrect(L"HintCorrect", -1, 20, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> SoftKbdIndex(L"SoftKbdIndex", -1, 21, 0, t_envType::integer, t_syncMode::local);
t_envEntry<int> StatusPosX(L"StatusPosX", -1, 22, -1, t_envType::integer, t_syncMode::local);
t_envEntry<int> StatusPosY(L"StatusPosY", -1, 23, -1, t_envType::integer, t_syncMode::local);
t_envEntry<int> CompPosX(L"CompPosX", -1, 24, 0, t_envType::integer, t_syncMode::local);
t_envEntry<int> CompPosY(L"CompPosY", -1, 25, 0, t_envType::integer, t_syncMode::local);
t_envEntry<bool> CursorFollow(L"CursorFollow", -1, 26, true, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> LimitWordCand(L"LimitWordCand", -1, 27, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> MaxWordCand(L"MaxWordCand", -1, 28, 10, t_envType::integer, t_syncMode::remote);
t_envEntry<int> PageSize(L"PageSize", -1, 29, 5, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FontSize(L"FontSize", 3, 30, 16, t_envType::integer, t_syncMode::remote);
t_envEntry<const wchar_t*> FontCh(L"FontCh", 3, 31, L"宋体", t_envType::string, t_syncMode::remote);
t_envEntry<const wchar_t*> FontEn(L"FontEn", 3, 32, L"Arial", t_envType::string, t_syncMode::remote);
t_envEntry<int> ColorPinyin(L"ColorPinyin", 3, 33, 0xB96205, t_envType::integer, t_syncMode::remote);
t_envEntry<int> ColorPrimary(L"ColorPrimary", 3, 34, 0x0000FF, t_envType::integer, t_syncMode::remote);
t_envEntry<int> ColorNonPrimary(L"ColorNonPrimary", 3, 35, 0xE58200, t_envType::integer, t_syncMode::remote);
t_envEntry<int> ColorBorder(L"ColorBorder", 3, 36, 0xD8D8D8, t_envType::integer, t_syncMode::remote);
t_envEntry<int> ColorBackground(L"ColorBackground", 3, 37, 0xFFFFFF, t_envType::integer, t_syncMode::remote);
t_envEntry<int> ColorCursor(L"ColorCursor", 3, 38, 0x0000C0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> MarginCand(L"MarginCand", 3, 39, 4, t_envType::integer, t_syncMode::remote);
t_envEntry<int> InputStyle(L"InputStyle", -1, 40, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> CompStyle(L"CompStyle", -1, 41, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> CandStyle(L"CandStyle", -1, 42, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> CandAlign(L"CandAlign", -1, 43, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<bool> ConvertStyle(L"ConvertStyle", -1, 44, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> SelectStyle(L"SelectStyle", -1, 45, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> DefaultNative(L"DefaultNative", -1, 46, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> DefaultShape(L"DefaultShape", -1, 47, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<bool> DefaultSymbol(L"DefaultSymbol", -1, 48, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> DefaultTradition(L"DefaultTradition", -1, 49, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> KeyEnCnSwitch(L"KeyEnCnSwitch", -1, 50, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> KeyCanSwitch(L"KeyCanSwitch", -1, 51, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> KeyPageUpDown(L"KeyPageUpDown", -1, 52, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> KeySelectWord(L"KeySelectWord", -1, 53, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> KeyFocusWord(L"KeyFocusWord", -1, 54, 1, t_envType::integer, t_syncMode::remote);
t_envEntry<int> KeyDeleteWord(L"KeyDeleteWord", -1, 55, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<bool> VModeSP(L"VModeSP", -1, 56, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> UModeSP(L"UModeSP", -1, 57, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> ArtSP(L"ArtSP", -1, 58, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> Art(L"Art", -1, 59, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> KeyVModeSP(L"KeyVModeSP", -1, 60, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> KeyUModeSP(L"KeyUModeSP", -1, 61, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> KeyArtSP(L"KeyArtSP", -1, 62, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<bool> ShortCutMenu(L"ShortCutMenu", -1, 63, true, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> ShortcutOn(L"ShortcutOn", -1, 64, true, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> ShortCutArt(L"ShortCutArt", -1, 65, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> ShortCutFanJian(L"ShortCutFanJian", -1, 66, true, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> ShortcutQuickInputEmotion(L"ShortcutQuickInputEmotion", -1, 67, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> ShortcutQuickInputSymbol(L"ShortcutQuickInputSymbol", -1, 68, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> ShortcutSearch(L"ShortcutSearch", -1, 69, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> KeyMenuSwitch(L"KeyMenuSwitch", -1, 70, 12, t_envType::integer, t_syncMode::remote);
t_envEntry<int> KeySoftKeyboardSwitch(L"KeySoftKeyboardSwitch", -1, 71, 10, t_envType::integer, t_syncMode::remote);
t_envEntry<int> KeyArtSwitch(L"KeyArtSwitch", -1, 72, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> KeyFanJianSwitch(L"KeyFanJianSwitch", -1, 73, 5, t_envType::integer, t_syncMode::remote);
t_envEntry<int> KeyQuickInputEmotion(L"KeyQuickInputEmotion", -1, 74, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> KeyQuickInputSymbol(L"KeyQuickInputSymbol", -1, 75, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> KeyShortcutSearch(L"KeyShortcutSearch", -1, 76, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<bool> ShortCutArtSimple(L"ShortCutArtSimple", -1, 77, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> PadNumAsSelect(L"PadNumAsSelect", -1, 78, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> AllowVmode(L"AllowVmode", -1, 79, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> AllowImode(L"AllowImode", -1, 80, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> AllowNetMode(L"AllowNetMode", -1, 81, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> UserPhrase(L"UserPhrase", 4, 82, true, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> SystemUserPhrase(L"SystemUserPhrase", -1, 83, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> DigitalFullSymbol(L"DigitalFullSymbol", -1, 84, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> IntelligentDeleteWord(L"IntelligentDeleteWord", -1, 85, true, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> TruncateInputWhnEnOn(L"TruncateInputWhnEnOn", -1, 86, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> MakeName(L"MakeName", -1, 87, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<const wchar_t*> ShuangPinName(L"ShuangPinName", -1, 88, L"Vexil", t_envType::string, t_syncMode::remote);
t_envEntry<int> StatusAppearance(L"StatusAppearance", -1, 89, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<bool> SkinEnabled(L"SkinEnabled", 3, 90, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<const wchar_t*> ActiveSkinName(L"ActiveSkinName", 3, 91, L"Default(黑系)", t_envType::string, t_syncMode::remote);
t_envEntry<bool> IgnoreSkinFontSetting(L"IgnoreSkinFontSetting", 3, 93, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> IgnoreSkinColorSetting(L"IgnoreSkinColorSetting", 3, 94, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> AllowArt(L"AllowArt", -1, 95, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> ArtWordMode(L"ArtWordMode", -1, 96, 0, t_envType::integer, t_syncMode::plain);
t_envEntry<int> PasteType(L"PasteType", -1, 97, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> AutoUpdate(L"AutoUpdate", -1, 98, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> DictUpdate(L"DictUpdate", -1, 99, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<bool> ForecastLongWord(L"ForecastLongWord", -1, 100, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> LongWordNumGate(L"LongWordNumGate", -1, 101, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> LongWordCandPos(L"LongWordCandPos", -1, 102, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> MaxLongWord(L"MaxLongWord", -1, 103, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<bool> UseGdiplus(L"UseGdiplus", 3, 104, true, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> UseLayeredWindow(L"UseLayeredWindow", 3, 105, true, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> InputStatistics(L"InputStatistics", -1, 106, true, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> InputStatistics_HistoryCout(L"InputStatistics_HistoryCout", -1, 107, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> InputStatistics_TodayCount(L"InputStatistics_TodayCount", -1, 108, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> InputStatistics_YesterdayCount(L"InputStatistics_YesterdayCount", -1, 109, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> InputStatistics_MinuteSpeedCurrent(L"InputStatistics_MinuteSpeedCurrent", -1, 110, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> InputStatistics_MinuteSpeedMax(L"InputStatistics_MinuteSpeedMax", -1, 111, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<unsigned long> InputStatistics_TimeStart(L"InputStatistics_TimeStart", 112, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> InputStatistics_TimeEnd(L"InputStatistics_TimeEnd", 113, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> InputStatistics_TimeMinuteSpeedMax(L"InputStatistics_TimeMinuteSpeedMax", 114, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> GapLevel(L"GapLevel", 115, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<bool> PyCorrectTip(L"PyCorrectTip", -1, 116, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> UseCellDict(L"UseCellDict", -1, 117, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> CellDictAutoUpate(L"CellDictAutoUpate", -1, 118, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> FCDAutoUpdate(L"FCDAutoUpdate", -1, 119, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> NeverHintB2F(L"NeverHintB2F", -1, 120, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> UpdateTime(L"UpdateTime", -1, 121, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> UpdateTimesToday(L"UpdateTimesToday", -1, 122, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> UploadUxlogTime(L"UploadUxlogTime", -1, 123, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> UpTipTime(L"UpTipTime", -1, 125, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> LastUpImeIdxTime(L"LastUpImeIdxTime", -1, 126, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<bool> ClearFontEdge(L"ClearFontEdge", 3, 128, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> LogonWeb(L"LogonWeb", -1, 129, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> HideStatusWhenFullScreen(L"HideStatusWhenFullScreen", -1, 130, true, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> UrlGuide(L"UrlGuide", -1, 137, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> UrlGuide_AutoUpdate(L"UrlGuide_AutoUpdate", -1, 138, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> UrlGuide_AppendCR(L"UrlGuide_AppendCR", -1, 139, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> ForcedAutoUpdate(L"ForcedAutoUpdate", -1, 140, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FuncStat_SelectCandRateX(L"FuncStat_SelectCandRateX", -1, 141, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FuncStat_SelectCandRateY(L"FuncStat_SelectCandRateY", -1, 142, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FuncStat_SelectCandRateXL1(L"FuncStat_SelectCandRateXL1", -1, 143, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FuncStat_SelectCandRateYL1(L"FuncStat_SelectCandRateYL1", -1, 144, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FuncStat_SelectCandRateXL2(L"FuncStat_SelectCandRateXL2", -1, 145, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FuncStat_SelectCandRateYL2(L"FuncStat_SelectCandRateYL2", -1, 146, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FuncStat_SelectCandRateXL3(L"FuncStat_SelectCandRateXL3", -1, 147, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FuncStat_SelectCandRateYL3(L"FuncStat_SelectCandRateYL3", -1, 148, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FuncStat_SelectCandRateXL4(L"FuncStat_SelectCandRateXL4", -1, 149, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FuncStat_SelectCandRateYL4(L"FuncStat_SelectCandRateYL4", -1, 150, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FuncStat_SelectCandRateXL5(L"FuncStat_SelectCandRateXL5", -1, 151, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FuncStat_SelectCandRateYL5(L"FuncStat_SelectCandRateYL5", -1, 152, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FuncStat_SelectCandRateXL6(L"FuncStat_SelectCandRateXL6", -1, 153, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FuncStat_SelectCandRateYL6(L"FuncStat_SelectCandRateYL6", -1, 154, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FuncStat_SelectCandRateXL6M(L"FuncStat_SelectCandRateXL6M", -1, 155, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FuncStat_SelectCandRateYL6M(L"FuncStat_SelectCandRateYL6M", -1, 156, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FuncStat_StartUp(L"FuncStat_StartUp", -1, 157, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FuncStat_FirstKey(L"FuncStat_FirstKey", -1, 158, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FuncStat_Sel2(L"FuncStat_Sel2", -1, 159, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FuncStat_Sel3(L"FuncStat_Sel3", -1, 160, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FuncStat_Sel4(L"FuncStat_Sel4", -1, 161, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FuncStat_Sel5(L"FuncStat_Sel5", -1, 162, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FuncStat_Sel6(L"FuncStat_Sel6", -1, 163, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FuncStat_Sel7(L"FuncStat_Sel7", -1, 164, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FuncStat_Sel8(L"FuncStat_Sel8", -1, 165, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> FuncStat_Sel9(L"FuncStat_Sel9", -1, 166, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<unsigned long> BDFlag(L"BDFlag", 167, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<int> ScdCharaUpdateTime(L"ScdCharaUpdateTime", -1, 168, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<bool> EngFill(L"EngFill", -1, 169, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> EnglishInput_Autofill_Space(L"EnglishInput_Autofill_Space", -1, 171, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> EnglishInput_Autofill_Enter(L"EnglishInput_Autofill_Enter", -1, 172, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> EnglishInput_Autofill_Tab(L"EnglishInput_Autofill_Tab", -1, 173, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> EnglishInput_AddSpace(L"EnglishInput_AddSpace", -1, 174, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> ShortCutEnglishInput(L"ShortCutEnglishInput", -1, 175, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> KeyEnglishInputSwitch(L"KeyEnglishInputSwitch", -1, 176, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<bool> DefaultEnglishInput(L"DefaultEnglishInput", -1, 177, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> EnglishInput_LearnNewWord(L"EnglishInput_LearnNewWord", -1, 178, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> EnglishInput_LearnFreq(L"EnglishInput_LearnFreq", -1, 179, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> EnglishInput_ExactMatches(L"EnglishInput_ExactMatches", -1, 180, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> EnglishInput_StarAsWildcard(L"EnglishInput_StarAsWildcard", -1, 181, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<unsigned long> InvalidSkinTime(L"InvalidSkinTime", 182, 0u, t_envType::ulong, t_syncMode::local);
t_envEntry<const wchar_t*> InvalidSkinName(L"InvalidSkinName", -1, 183, L"", t_envType::string, t_syncMode::local);
t_envEntry<int> QuickInputPage(L"QuickInputPage", -1, 184, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<bool> ShortcutImeManager(L"ShortcutImeManager", -1, 185, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> KeyImeManager(L"KeyImeManager", -1, 186, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<bool> ImeTray(L"ImeTray", -1, 187, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> ShowLangBar(L"ShowLangBar", -1, 190, true, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> UseCanSwitch(L"UseCanSwitch", -1, 191, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> ShortcutChangeSkin(L"ShortcutChangeSkin", -1, 192, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> KeyChangeSkin(L"KeyChangeSkin", -1, 193, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> LastInputTime(L"LastInputTime", -1, 194, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<bool> SplitZi(L"SplitZi", -1, 195, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> TimeSetDefault_EngFill(L"TimeSetDefault_EngFill", -1, 196, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> TimeSetDefault_UrlAssist(L"TimeSetDefault_UrlAssist", -1, 197, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> CountBiHuaFilter(L"CountBiHuaFilter", -1, 198, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> CountBiHua(L"CountBiHua", -1, 199, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> CountEngFill(L"CountEngFill", -1, 200, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> CountEngInput(L"CountEngInput", -1, 201, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> CountNames(L"CountNames", -1, 202, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> CountNormal(L"CountNormal", -1, 203, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> CountSpSw(L"CountSpSw", -1, 204, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> CountTempEng(L"CountTempEng", -1, 205, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> CountUrlFill(L"CountUrlFill", -1, 206, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> CountVMode(L"CountVMode", -1, 207, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<unsigned long> ImeStat_TimeFirstStart(L"ImeStat_TimeFirstStart", 209, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> ImeStat_TimeStart0(L"ImeStat_TimeStart0", 210, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> ImeStat_TimeStart1(L"ImeStat_TimeStart1", 211, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> ImeStat_TimeChangeSkin(L"ImeStat_TimeChangeSkin", 212, 0u, t_envType::ulong, t_syncMode::local);
t_envEntry<unsigned long> ImeStat_TimeInstallSkin(L"ImeStat_TimeInstallSkin", 213, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> ImeStat_TimeChangeDict(L"ImeStat_TimeChangeDict", 214, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> ImeStat_TimeInstallDict(L"ImeStat_TimeInstallDict", 215, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> Popup_TimeLastQuery(L"Popup_TimeLastQuery", 216, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> Popup_TimeLastCheck(L"Popup_TimeLastCheck", 217, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> Popup_TimeQueryInterval(L"Popup_TimeQueryInterval", 218, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> Popup_TimeCheckInterval(L"Popup_TimeCheckInterval", 219, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<bool> ShowSearchBtn(L"ShowSearchBtn", -1, 220, true, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> EditMode(L"EditMode", -1, 221, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> CountUsrDictRepair(L"CountUsrDictRepair", -1, 222, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> CountRepair(L"CountRepair", -1, 223, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> IndexPrePair(L"IndexPrePair", -1, 224, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> IndexAfterRepair(L"IndexAfterRepair", -1, 225, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<unsigned long> SkinChannel_TimeLastUpdate(L"SkinChannel_TimeLastUpdate", 226, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<bool> ShowBB_Fashion(L"ShowBB_Fashion", -1, 227, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> fixfirstEnable(L"fixfirstEnable", -1, 228, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> HalfSymbolOnPad(L"HalfSymbolOnPad", -1, 229, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> ShortcutImeHotKey(L"ShortcutImeHotKey", -1, 230, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> KeyShortcutImeHotKey(L"KeyShortcutImeHotKey", -1, 231, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<unsigned long> ScdListSortInfo(L"ScdListSortInfo", 232, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<const wchar_t*> RandSkinName(L"RandSkinName", -1, 233, L"", t_envType::string, t_syncMode::local);
t_envEntry<bool> DeleteSkinToRecycle(L"DeleteSkinToRecycle", -1, 234, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<unsigned long> TimeChangeSkin(L"TimeChangeSkin", 235, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<int> QueryTimesToday(L"QueryTimesToday", -1, 236, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<bool> QuickInputShutDown(L"QuickInputShutDown", -1, 301, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> StateKeyShortcutEngFill(L"StateKeyShortcutEngFill", -1, 302, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> StateKeyShortcutMailUrl(L"StateKeyShortcutMailUrl", -1, 303, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> StateKeyShortcutName(L"StateKeyShortcutName", -1, 304, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> StateKeyShortcutQuickInput(L"StateKeyShortcutQuickInput", -1, 305, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> StateKeyShortcutUrlGuide(L"StateKeyShortcutUrlGuide", -1, 306, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> StateKeyShortcutSearch(L"StateKeyShortcutSearch", -1, 307, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> SearchEngine(L"SearchEngine", -1, 310, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<bool> MailUrlFill(L"MailUrlFill", -1, 311, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> UrlGuideConfirmType(L"UrlGuideConfirmType", -1, 312, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> ShowSmartHint(L"ShowSmartHint", -1, 313, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> LastLoginShowTime(L"LastLoginShowTime", -1, 314, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> LastUserWordNumber(L"LastUserWordNumber", -1, 315, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<bool> CursorMoveLeftBaseChar(L"CursorMoveLeftBaseChar", -1, 316, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<const wchar_t*> WizardReadFlags(L"WizardReadFlags", -1, 317, nullptr, t_envType::string, t_syncMode::local);
t_envEntry<unsigned long> SkinRecommend_TimeLastUpdate(L"SkinRecommend_TimeLastUpdate", 318, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<bool> IsotropicSkin(L"IsotropicSkin", -1, 321, true, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> ShowHintIcon(L"ShowHintIcon", -1, 322, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> CustomSearchEngine(L"CustomSearchEngine", -1, 323, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> ExitAfterIChangeSkin(L"ExitAfterIChangeSkin", -1, 324, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> UseAero(L"UseAero", -1, 325, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> IgnoreSkinColorSetting_Real(L"IgnoreSkinColorSetting_Real", -1, 327, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> BackspaceCount(L"BackspaceCount", -1, 328, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<bool> SmartSymbolsAfterNum(L"SmartSymbolsAfterNum", -1, 329, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<unsigned long> PluginRecommend_TimeLastUpdate(L"PluginRecommend_TimeLastUpdate", 330, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<bool> IModeQuickChangeSkin(L"IModeQuickChangeSkin", -1, 331, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> EnableCloudRequest(L"EnableCloudRequest", -1, 332, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> CloudCandShown(L"CloudCandShown", -1, 333, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> CloudCandSelected(L"CloudCandSelected", -1, 334, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<unsigned long> PKETMS(L"PKETMS", 335, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<bool> Popup_DisableSkinBubble(L"Popup_DisableSkinBubble", -1, 336, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<unsigned long> CloudCanceledNum(L"CloudCanceledNum", 337, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> CloudFailNum(L"CloudFailNum", 338, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> Popup_TimeLastInfo(L"Popup_TimeLastInfo", 339, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> Popup_TimeInfoInterval(L"Popup_TimeInfoInterval", 340, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> CloudRequestNum(L"CloudRequestNum", 342, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> CloudCombineNum(L"CloudCombineNum", 343, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> CloudSendNum(L"CloudSendNum", 344, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> CloudCacheHitNum(L"CloudCacheHitNum", 345, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> SpellAdjustNum(L"SpellAdjustNum", 346, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> SpellAdjustFailNum(L"SpellAdjustFailNum", 347, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<int> UploadKeyHzTime(L"UploadKeyHzTime", -1, 350, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> CompHintIconType(L"CompHintIconType", -1, 351, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<bool> EnableAddressSearch(L"EnableAddressSearch", -1, 352, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<unsigned long> LastAddressSearchTick(L"LastAddressSearchTick", 353, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> ABSSuccessedCount(L"ABSSuccessedCount", 354, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> ABSFailedCount(L"ABSFailedCount", 355, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<bool> ShowCandExtIcon(L"ShowCandExtIcon", -1, 356, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> AdsRandomStartTick(L"AdsRandomStartTick", -1, 360, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> AdsRandomIndex(L"AdsRandomIndex", -1, 361, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<bool> ShortcutJJGMenu(L"ShortcutJJGMenu", -1, 362, true, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> KeyShortcutJJGMenu(L"KeyShortcutJJGMenu", -1, 363, 186, t_envType::integer, t_syncMode::remote);
t_envEntry<const wchar_t*> QuickMenuBack(L"QuickMenuBack", -1, 365, L"", t_envType::string, t_syncMode::remote);
t_envEntry<unsigned long> QuickMenuBackTime(L"QuickMenuBackTime", 366, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<const wchar_t*> AEKBHD(L"AEKBHD", -1, 377, L"", t_envType::string, t_syncMode::remote);
t_envEntry<const wchar_t*> ASUSD(L"ASUSD", -1, 378, L"", t_envType::string, t_syncMode::remote);
t_envEntry<const wchar_t*> SSUSD(L"SSUSD", -1, 379, L"", t_envType::string, t_syncMode::remote);
t_envEntry<const wchar_t*> ENV_VERSION(L"ENV_VERSION", -1, 380, L"", t_envType::string, t_syncMode::local);
t_envEntry<unsigned long> PERF_TIME_START(L"PERF_TIME_START", 381, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> PERF_THRESHOLD_START(L"PERF_THRESHOLD_START", 382, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> PERF_NUM_START(L"PERF_NUM_START", 383, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> PERF_TIME_KEY(L"PERF_TIME_KEY", 384, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> PERF_THRESHOLD_KEY(L"PERF_THRESHOLD_KEY", 385, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> PERF_NUM_KEY(L"PERF_NUM_KEY", 386, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> PERF_TIME_UI(L"PERF_TIME_UI", 387, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> PERF_THRESHOLD_UI(L"PERF_THRESHOLD_UI", 388, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> PERF_NUM_UI(L"PERF_NUM_UI", 389, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<bool> FirstIme(L"FirstIme", -1, 390, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> FixIme_Hint(L"FixIme_Hint", -1, 391, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> FixIme_Default(L"FixIme_Default", -1, 392, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<const wchar_t*> FixIme_Time(L"FixIme_Time", -1, 393, L"", t_envType::string, t_syncMode::remote);
t_envEntry<unsigned long> LastCheckIme(L"LastCheckIme", 394, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<bool> DiagonalConvert(L"DiagonalConvert", -1, 395, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> ReDiagonalConvert(L"ReDiagonalConvert", -1, 396, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<unsigned long> UpdateSkin_Time(L"UpdateSkin_Time", 397, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<bool> EnableHolidayTip(L"EnableHolidayTip", -1, 398, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<bool> IModeHint(L"IModeHint", -1, 399, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<unsigned long> IModeHint_Time(L"IModeHint_Time", 400, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<bool> ShortcutBig5(L"ShortcutBig5", -1, 401, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> KeyShortcutBig5(L"KeyShortcutBig5", -1, 402, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<bool> FlashDebugMode(L"FlashDebugMode", -1, 403, false, t_envType::boolean, t_syncMode::local);
t_envEntry<unsigned long> ThirdPassport_TimeLastUpdate(L"ThirdPassport_TimeLastUpdate", 405, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> CloudSpellAdjustCound(L"CloudSpellAdjustCound", 406, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> CloudSpellAdjustSelectCound(L"CloudSpellAdjustSelectCound", 407, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> UpdateWidget_Time(L"UpdateWidget_Time", 408, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<bool> FirstShowSkinBoxHint(L"FirstShowSkinBoxHint", -1, 409, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> Component_UpdateTime(L"Component_UpdateTime", -1, 414, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> Component_UpdateTimesToday(L"Component_UpdateTimesToday", -1, 415, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<unsigned long> ABSSuccessedCountOther(L"ABSSuccessedCountOther", 416, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<int> UploadPerfTime(L"UploadPerfTime", -1, 417, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> HandInputProcCount(L"HandInputProcCount", -1, 418, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<bool> ShowSkinBoxHint(L"ShowSkinBoxHint", -1, 419, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<unsigned long> StatusBtnFlag(L"StatusBtnFlag", 420, 0x9467u, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> StatusBtnColor(L"StatusBtnColor", 421, 0xFFFFFFFFu, t_envType::ulong, t_syncMode::remote);
t_envEntry<bool> ShortcutComManager(L"ShortcutComManager", -1, 422, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> KeyComManager(L"KeyComManager", -1, 423, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<bool> FirstShowBarConfigHint(L"FirstShowBarConfigHint", -1, 424, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> OptLongShowCnt(L"OptLongShowCnt", -1, 425, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> OptLongFirstCnt(L"OptLongFirstCnt", -1, 426, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> OptLongSelectCnt(L"OptLongSelectCnt", -1, 427, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> OptLongSelFirstCnt(L"OptLongSelFirstCnt", -1, 428, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> BarConfigShowCnt(L"BarConfigShowCnt", -1, 429, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> BarConfigChangeCnt(L"BarConfigChangeCnt", -1, 430, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> BarConfigBtnChangeCnt(L"BarConfigBtnChangeCnt", -1, 431, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> BarConfigColorChangeCnt(L"BarConfigColorChangeCnt", -1, 432, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<bool> EmbedLanguageHintFirst(L"EmbedLanguageHintFirst", -1, 433, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<int> BarConfigOkCnt(L"BarConfigOkCnt", -1, 434, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> BarConfigCloseCnt(L"BarConfigCloseCnt", -1, 435, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> BarConfigLogoCnt(L"BarConfigLogoCnt", -1, 436, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<bool> ShowBarConfig(L"ShowBarConfig", -1, 437, false, t_envType::boolean, t_syncMode::plain);
t_envEntry<unsigned long> ShowBarConfigFlag(L"ShowBarConfigFlag", 438, 0xFFFFFFFFu, t_envType::ulong, t_syncMode::plain);
t_envEntry<unsigned long> ShowBarConfigColor(L"ShowBarConfigColor", 439, 0xFFFFFFFFu, t_envType::ulong, t_syncMode::plain);
t_envEntry<int> BarConfigRevertCnt(L"BarConfigRevertCnt", -1, 440, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<unsigned long> FixIme_Times(L"FixIme_Times", 441, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> FixIme_TimeRob(L"FixIme_TimeRob", 442, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<bool> HaveScreenKeyboard(L"HaveScreenKeyboard", -1, 443, false, t_envType::boolean, t_syncMode::plain);
t_envEntry<int> OpenSkinConfigCnt(L"OpenSkinConfigCnt", -1, 444, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<bool> NerverUseFontSetting(L"NerverUseFontSetting", -1, 445, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<const wchar_t*> SpeedMeterExStatistics(L"SpeedMeterExStatistics", -1, 446, L"", t_envType::string, t_syncMode::remote);
t_envEntry<bool> EnablePairedSymbol(L"EnablePairedSymbol", -1, 447, false, t_envType::boolean, t_syncMode::remote);
t_envEntry<unsigned long> PairedSymbolShowCnt(L"PairedSymbolShowCnt", 448, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> PairedSymbolConfirmCnt(L"PairedSymbolConfirmCnt", 449, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> PairedSymbolSpaceConfirmCnt(L"PairedSymbolSpaceConfirmCnt", 450, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> PairedSymbolEnterConfirmCnt(L"PairedSymbolEnterConfirmCnt", 451, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> PairedSymbolMCConfirmCnt(L"PairedSymbolMCConfirmCnt", 452, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> AppBoxUpdateTime(L"AppBoxUpdateTime", 453, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> AppBoxPingbackTime(L"AppBoxPingbackTime", 454, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<unsigned long> AppBoxShowTime(L"AppBoxShowTime", 455, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<int> GrayFuzzyShowCnt(L"GrayFuzzyShowCnt", -1, 456, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> GrayFuzzySelectCnt(L"GrayFuzzySelectCnt", -1, 457, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> GrayFuzzyNeedButNotCnt(L"GrayFuzzyNeedButNotCnt", -1, 458, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> ConcelLearnedFuzzy(L"ConcelLearnedFuzzy", -1, 459, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<unsigned long> KeySwitchtoBig5(L"KeySwitchtoBig5", 460, 0, t_envType::ulong, t_syncMode::remote);
t_envEntry<int> OptLongBkspCnt(L"OptLongBkspCnt", -1, 461, 0, t_envType::integer, t_syncMode::remote);
t_envEntry<int> OptLongOutputCharCnt(L"OptLongOutputCharCnt", -1, 462, 0, t_envType::integer, t_syncMode::remote);
// clang-format on

namespace {

const t_envEntryBase* const c_all[] = {
    &HanziSet,
    &CodePage,
    &FreqUpMode,
    &LearnNewWord,
    &LearnFreq,
    &ContextAware,
    &QuanPin,
    &ShuangPin,
    &SuperSPJP,
    &JianPin,
    &ZCSForZhChSh,
    &MohuYin,
    &MohuSmart,
    &MohuTip,
    &QuickInput,
    &Correction,
    &NoPhrase,
    &HintSP,
    &AllowQuanPin,
    &HintCorrect,
    &SoftKbdIndex,
    &StatusPosX,
    &StatusPosY,
    &CompPosX,
    &CompPosY,
    &CursorFollow,
    &LimitWordCand,
    &MaxWordCand,
    &PageSize,
    &FontSize,
    &FontCh,
    &FontEn,
    &ColorPinyin,
    &ColorPrimary,
    &ColorNonPrimary,
    &ColorBorder,
    &ColorBackground,
    &ColorCursor,
    &MarginCand,
    &InputStyle,
    &CompStyle,
    &CandStyle,
    &CandAlign,
    &ConvertStyle,
    &SelectStyle,
    &DefaultNative,
    &DefaultShape,
    &DefaultSymbol,
    &DefaultTradition,
    &KeyEnCnSwitch,
    &KeyCanSwitch,
    &KeyPageUpDown,
    &KeySelectWord,
    &KeyFocusWord,
    &KeyDeleteWord,
    &VModeSP,
    &UModeSP,
    &ArtSP,
    &Art,
    &KeyVModeSP,
    &KeyUModeSP,
    &KeyArtSP,
    &ShortCutMenu,
    &ShortcutOn,
    &ShortCutArt,
    &ShortCutFanJian,
    &ShortcutQuickInputEmotion,
    &ShortcutQuickInputSymbol,
    &ShortcutSearch,
    &KeyMenuSwitch,
    &KeySoftKeyboardSwitch,
    &KeyArtSwitch,
    &KeyFanJianSwitch,
    &KeyQuickInputEmotion,
    &KeyQuickInputSymbol,
    &KeyShortcutSearch,
    &ShortCutArtSimple,
    &PadNumAsSelect,
    &AllowVmode,
    &AllowImode,
    &AllowNetMode,
    &UserPhrase,
    &SystemUserPhrase,
    &DigitalFullSymbol,
    &IntelligentDeleteWord,
    &TruncateInputWhnEnOn,
    &MakeName,
    &ShuangPinName,
    &StatusAppearance,
    &SkinEnabled,
    &ActiveSkinName,
    &IgnoreSkinFontSetting,
    &IgnoreSkinColorSetting,
    &AllowArt,
    &ArtWordMode,
    &PasteType,
    &AutoUpdate,
    &DictUpdate,
    &ForecastLongWord,
    &LongWordNumGate,
    &LongWordCandPos,
    &MaxLongWord,
    &UseGdiplus,
    &UseLayeredWindow,
    &InputStatistics,
    &InputStatistics_HistoryCout,
    &InputStatistics_TodayCount,
    &InputStatistics_YesterdayCount,
    &InputStatistics_MinuteSpeedCurrent,
    &InputStatistics_MinuteSpeedMax,
    &InputStatistics_TimeStart,
    &InputStatistics_TimeEnd,
    &InputStatistics_TimeMinuteSpeedMax,
    &GapLevel,
    &PyCorrectTip,
    &UseCellDict,
    &CellDictAutoUpate,
    &FCDAutoUpdate,
    &NeverHintB2F,
    &UpdateTime,
    &UpdateTimesToday,
    &UploadUxlogTime,
    &UpTipTime,
    &LastUpImeIdxTime,
    &ClearFontEdge,
    &LogonWeb,
    &HideStatusWhenFullScreen,
    &UrlGuide,
    &UrlGuide_AutoUpdate,
    &UrlGuide_AppendCR,
    &ForcedAutoUpdate,
    &FuncStat_SelectCandRateX,
    &FuncStat_SelectCandRateY,
    &FuncStat_SelectCandRateXL1,
    &FuncStat_SelectCandRateYL1,
    &FuncStat_SelectCandRateXL2,
    &FuncStat_SelectCandRateYL2,
    &FuncStat_SelectCandRateXL3,
    &FuncStat_SelectCandRateYL3,
    &FuncStat_SelectCandRateXL4,
    &FuncStat_SelectCandRateYL4,
    &FuncStat_SelectCandRateXL5,
    &FuncStat_SelectCandRateYL5,
    &FuncStat_SelectCandRateXL6,
    &FuncStat_SelectCandRateYL6,
    &FuncStat_SelectCandRateXL6M,
    &FuncStat_SelectCandRateYL6M,
    &FuncStat_StartUp,
    &FuncStat_FirstKey,
    &FuncStat_Sel2,
    &FuncStat_Sel3,
    &FuncStat_Sel4,
    &FuncStat_Sel5,
    &FuncStat_Sel6,
    &FuncStat_Sel7,
    &FuncStat_Sel8,
    &FuncStat_Sel9,
    &BDFlag,
    &ScdCharaUpdateTime,
    &EngFill,
    &EnglishInput_Autofill_Space,
    &EnglishInput_Autofill_Enter,
    &EnglishInput_Autofill_Tab,
    &EnglishInput_AddSpace,
    &ShortCutEnglishInput,
    &KeyEnglishInputSwitch,
    &DefaultEnglishInput,
    &EnglishInput_LearnNewWord,
    &EnglishInput_LearnFreq,
    &EnglishInput_ExactMatches,
    &EnglishInput_StarAsWildcard,
    &InvalidSkinTime,
    &InvalidSkinName,
    &QuickInputPage,
    &ShortcutImeManager,
    &KeyImeManager,
    &ImeTray,
    &ShowLangBar,
    &UseCanSwitch,
    &ShortcutChangeSkin,
    &KeyChangeSkin,
    &LastInputTime,
    &SplitZi,
    &TimeSetDefault_EngFill,
    &TimeSetDefault_UrlAssist,
    &CountBiHuaFilter,
    &CountBiHua,
    &CountEngFill,
    &CountEngInput,
    &CountNames,
    &CountNormal,
    &CountSpSw,
    &CountTempEng,
    &CountUrlFill,
    &CountVMode,
    &ImeStat_TimeFirstStart,
    &ImeStat_TimeStart0,
    &ImeStat_TimeStart1,
    &ImeStat_TimeChangeSkin,
    &ImeStat_TimeInstallSkin,
    &ImeStat_TimeChangeDict,
    &ImeStat_TimeInstallDict,
    &Popup_TimeLastQuery,
    &Popup_TimeLastCheck,
    &Popup_TimeQueryInterval,
    &Popup_TimeCheckInterval,
    &ShowSearchBtn,
    &EditMode,
    &CountUsrDictRepair,
    &CountRepair,
    &IndexPrePair,
    &IndexAfterRepair,
    &SkinChannel_TimeLastUpdate,
    &ShowBB_Fashion,
    &fixfirstEnable,
    &HalfSymbolOnPad,
    &ShortcutImeHotKey,
    &KeyShortcutImeHotKey,
    &ScdListSortInfo,
    &RandSkinName,
    &DeleteSkinToRecycle,
    &TimeChangeSkin,
    &QueryTimesToday,
    &QuickInputShutDown,
    &StateKeyShortcutEngFill,
    &StateKeyShortcutMailUrl,
    &StateKeyShortcutName,
    &StateKeyShortcutQuickInput,
    &StateKeyShortcutUrlGuide,
    &StateKeyShortcutSearch,
    &SearchEngine,
    &MailUrlFill,
    &UrlGuideConfirmType,
    &ShowSmartHint,
    &LastLoginShowTime,
    &LastUserWordNumber,
    &CursorMoveLeftBaseChar,
    &WizardReadFlags,
    &SkinRecommend_TimeLastUpdate,
    &IsotropicSkin,
    &ShowHintIcon,
    &CustomSearchEngine,
    &ExitAfterIChangeSkin,
    &UseAero,
    &IgnoreSkinColorSetting_Real,
    &BackspaceCount,
    &SmartSymbolsAfterNum,
    &PluginRecommend_TimeLastUpdate,
    &IModeQuickChangeSkin,
    &EnableCloudRequest,
    &CloudCandShown,
    &CloudCandSelected,
    &PKETMS,
    &Popup_DisableSkinBubble,
    &CloudCanceledNum,
    &CloudFailNum,
    &Popup_TimeLastInfo,
    &Popup_TimeInfoInterval,
    &CloudRequestNum,
    &CloudCombineNum,
    &CloudSendNum,
    &CloudCacheHitNum,
    &SpellAdjustNum,
    &SpellAdjustFailNum,
    &UploadKeyHzTime,
    &CompHintIconType,
    &EnableAddressSearch,
    &LastAddressSearchTick,
    &ABSSuccessedCount,
    &ABSFailedCount,
    &ShowCandExtIcon,
    &AdsRandomStartTick,
    &AdsRandomIndex,
    &ShortcutJJGMenu,
    &KeyShortcutJJGMenu,
    &QuickMenuBack,
    &QuickMenuBackTime,
    &AEKBHD,
    &ASUSD,
    &SSUSD,
    &ENV_VERSION,
    &PERF_TIME_START,
    &PERF_THRESHOLD_START,
    &PERF_NUM_START,
    &PERF_TIME_KEY,
    &PERF_THRESHOLD_KEY,
    &PERF_NUM_KEY,
    &PERF_TIME_UI,
    &PERF_THRESHOLD_UI,
    &PERF_NUM_UI,
    &FirstIme,
    &FixIme_Hint,
    &FixIme_Default,
    &FixIme_Time,
    &LastCheckIme,
    &DiagonalConvert,
    &ReDiagonalConvert,
    &UpdateSkin_Time,
    &EnableHolidayTip,
    &IModeHint,
    &IModeHint_Time,
    &ShortcutBig5,
    &KeyShortcutBig5,
    &FlashDebugMode,
    &ThirdPassport_TimeLastUpdate,
    &CloudSpellAdjustCound,
    &CloudSpellAdjustSelectCound,
    &UpdateWidget_Time,
    &FirstShowSkinBoxHint,
    &Component_UpdateTime,
    &Component_UpdateTimesToday,
    &ABSSuccessedCountOther,
    &UploadPerfTime,
    &HandInputProcCount,
    &ShowSkinBoxHint,
    &StatusBtnFlag,
    &StatusBtnColor,
    &ShortcutComManager,
    &KeyComManager,
    &FirstShowBarConfigHint,
    &OptLongShowCnt,
    &OptLongFirstCnt,
    &OptLongSelectCnt,
    &OptLongSelFirstCnt,
    &BarConfigShowCnt,
    &BarConfigChangeCnt,
    &BarConfigBtnChangeCnt,
    &BarConfigColorChangeCnt,
    &EmbedLanguageHintFirst,
    &BarConfigOkCnt,
    &BarConfigCloseCnt,
    &BarConfigLogoCnt,
    &ShowBarConfig,
    &ShowBarConfigFlag,
    &ShowBarConfigColor,
    &BarConfigRevertCnt,
    &FixIme_Times,
    &FixIme_TimeRob,
    &HaveScreenKeyboard,
    &OpenSkinConfigCnt,
    &NerverUseFontSetting,
    &SpeedMeterExStatistics,
    &EnablePairedSymbol,
    &PairedSymbolShowCnt,
    &PairedSymbolConfirmCnt,
    &PairedSymbolSpaceConfirmCnt,
    &PairedSymbolEnterConfirmCnt,
    &PairedSymbolMCConfirmCnt,
    &AppBoxUpdateTime,
    &AppBoxPingbackTime,
    &AppBoxShowTime,
    &GrayFuzzyShowCnt,
    &GrayFuzzySelectCnt,
    &GrayFuzzyNeedButNotCnt,
    &ConcelLearnedFuzzy,
    &KeySwitchtoBig5,
    &OptLongBkspCnt,
    &OptLongOutputCharCnt,
};

}  // namespace

const t_envEntryBase* const* AllEntries(size_t& count)
{
    count = sizeof(c_all) / sizeof(c_all[0]);
    return c_all;
}

}  // namespace n_env
