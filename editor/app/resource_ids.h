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
