// Resource and command ids of the editor program (shared by the .rc file and the code).
#pragma once

#define c_iconApp 101
#define c_menuMain 109
#define c_acceleratorsMain 142
#define c_dialogPageTree 129
#define c_dialogAbout 139
#define c_pageTreeControl 1000
#define c_aboutVersion 1001
#define c_aboutMaker 1002

#define c_cmdNew 32782
#define c_cmdOpen 32783
#define c_cmdClose 32784
#define c_cmdAbout 32793
#define c_cmdSaveAs 32797
#define c_cmdSave 32798
#define c_cmdExit 32800
#define c_cmdSavePreview 32804

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// The screen colour picker.
#define c_dialogMagnifier 141
#define c_magnifierSwatch 1038
#define c_magnifierHelp 1133
#define c_magnifierRgb 1134
#define c_magnifierZoom 1126

// The picture file dialogs' child template.
#define c_dialogFilePreview 144
#define c_filePreviewStandardArea 1119
#define c_filePreviewPicture 1189

// The property pages: the skin information page, the tab view and the pages its tabs hold.
#define c_dialogGeneralInfo 130
#define c_dialogStatusPage 134
#define c_dialogCombinePage 136
#define c_dialogSeparatePage 142
#define c_dialogTabView 146
#define c_dialogButtonPage 147
#define c_tabViewTabs 1200
#define c_infoSkinName 1001
#define c_infoSkinVersion 1002
#define c_infoSkinAuthor 1003
#define c_infoSkinEmail 1004
#define c_infoSkinTime 1005
#define c_infoSkinInfo 1006
#define c_infoSkinNameLabel 1007
#define c_infoSkinVersionLabel 1008
#define c_infoSkinAuthorLabel 1009
#define c_infoSkinEmailLabel 1010
#define c_infoSkinTimeLabel 1011
#define c_infoSkinInfoLabel 1012
#define c_infoTitle 1013

// The display page.
#define c_dialogDisplay 132
#define c_displayFontChLabel 1014
#define c_displayFontEnLabel 1015
#define c_displayPinyinColorLabel 1016
#define c_displayFontSizeLabel 1017
#define c_displayFirstColorLabel 1018
#define c_displayCandColorLabel 1019
#define c_displayPreviewSizeLabel 1020
#define c_displayFontSize 1022
#define c_displayFontCh 1023
#define c_displayFontEn 1024
#define c_displayPinyinColor 1025
#define c_displayFirstColor 1026
#define c_displayCandColor 1027
#define c_displayPreviewSize 1028
#define c_displayCandCount 1030
#define c_displayLargeFont 1037
#define c_displayAero 1038
#define c_displayGlow 1039
#define c_displayWebpage 1119
#define c_displayHintColor 1126
#define c_displayHintColorLabel 1181
#define c_displayWebpageLabel 1182
#define c_displayCandCountLabel 1183
#define c_displayLargeFontTip 1204
#define c_displayFontTip 1205
