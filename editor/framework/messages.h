// The editor's private messages between the main frame and its children.
#pragma once

#include <windows.h>

namespace n_editorMessage {
// wParam low word: page index 0..6.
const UINT c_selectPage = WM_USER + 103;
// wParam low word: model part (1..13, or 100 / 101 for a full reload); high word 1: repaint.
const UINT c_skinChanged = WM_USER + 104;
// wParam: which preview, 0..3.
const UINT c_selectPreview = WM_USER + 105;
// wParam: view mode.
const UINT c_viewMode = WM_USER + 106;
// wParam and lParam passed on to the preview.
const UINT c_buttonAnimation = WM_USER + 107;
// wParam: the splitter window; lParam: collapse, relayout or the drag offset.
const UINT c_splitter = WM_USER + 108;

// Parts of c_skinChanged that reload everything; the second leaves the modified flag.
const int c_reloadAll = 100;
const int c_reloadAllUnmodified = 101;
}  // namespace n_editorMessage
