// The editor's private window messages, each value once: between the main frame and its
// children, and between the pages and their controls.
#pragma once

#include <windows.h>

namespace n_editorMessage {
// wParam low word: page index 0..6.
const UINT c_selectPage = WM_USER + 103;
// wParam low word: model part (1..13, 100 / 101 for a full reload, 102 to mark modified only);
// high word 1: repaint. Pages pass it on to the main frame.
const UINT c_skinChanged = WM_USER + 104;
// wParam: which preview, 0..3.
const UINT c_selectPreview = WM_USER + 105;
// wParam: view mode.
const UINT c_viewMode = WM_USER + 106;
// wParam and lParam passed on to the preview.
const UINT c_buttonAnimation = WM_USER + 107;
// wParam: the splitter window; lParam: collapse, relayout or the drag offset.
const UINT c_splitter = WM_USER + 108;
// Posted by the main frame to itself: open the package another start handed over.
const UINT c_openRequested = WM_USER + 109;

// Parts of c_skinChanged that reload everything; the second leaves the modified flag.
const int c_reloadAll = 100;
const int c_reloadAllUnmodified = 101;
// A part of c_skinChanged that only marks the skin modified: the preview is left as it is.
const int c_modifiedOnly = 102;
}  // namespace n_editorMessage

// The button-state editors (button_array.h) to their page.
// A row's picture changed: wParam the row's file name; lParam 0 from the row, the group adds
// its key, the panel sends MAKELPARAM(group key, editor index).
const UINT c_msgButtonPictureChanged = WM_USER + 1282;
// The placement changed: wParam the editor index; lParam 0 (alignment) or MAKELPARAM(x, y)
// (position).
const UINT c_msgButtonPlacementChanged = WM_USER + 1285;
// A status button's editor loaded: wParam the first row's file name, lParam
// MAKELPARAM(1, editor index).
const UINT c_msgButtonEditorLoaded = WM_USER + 1290;
// A picture was imported or cleared: wParam 1, lParam 0.
const UINT c_msgButtonStateEdited = WM_USER + 1291;

namespace n_colorPicker {
// Sent to the parent (wParam 0, lParam 0) after the colour dialog closed, changed or not.
const UINT c_dialogClosed = WM_USER + 264;
// Sent to the parent (wParam 0, lParam 0) after the magnifier closed, picked or not.
const UINT c_magnifierClosed = WM_USER + 265;
}  // namespace n_colorPicker

namespace n_statusAdjust {
// page -> editor, wParam 0, lParam 0: reload the bar picture from the status part's `pic`;
// result 0, or c_noBackground.
const UINT c_reloadBar = WM_USER + 257;
// page -> editor: wParam the picture's name in the work folder (wide text, "" = none),
// HIWORD(lParam) the button index.
const UINT c_setButtonPicture = WM_USER + 258;
// button -> background -> editor -> page: wParam the button index; the button got the focus.
const UINT c_buttonFocused = WM_USER + 259;
// button -> background -> editor -> page: wParam the button index, lParam MAKELONG(x, y)
// in bar coordinates; the user moved the button there.
const UINT c_buttonMoved = WM_USER + 260;
// page -> editor -> background: wParam the button index, lParam MAKELONG(x, y) (signed);
// move the button without reporting it.
const UINT c_moveButton = WM_USER + 261;
// button -> background: wParam the button index; raise it above the others. It shares its
// number with the colour picker's c_dialogClosed: the two never reach the same window.
const UINT c_raiseButton = n_colorPicker::c_dialogClosed;
}  // namespace n_statusAdjust

namespace n_statusView {
// Posted by the path controls when a file was chosen: the bar picture, the bar mask.
const UINT c_pictureChosen = WM_USER + 262;
const UINT c_maskChosen = WM_USER + 263;
}  // namespace n_statusView

namespace n_manualAdjust {
// grip -> adjust window: wParam grip index, lParam y << 16 | x (client pixels, signed).
// adjust window -> parent: wParam control id << 16 | grip index, lParam y << 16 | x in
// picture pixels, once a drag ended.
const UINT c_gripMoved = WM_USER + 1100;
// parent -> adjust window: wParam bottom << 16 | top, lParam right << 16 | left.
const UINT c_setMargins = WM_USER + 1101;
// parent -> adjust window: lParam the picture file's wide path.
const UINT c_loadPicture = WM_USER + 1103;
// grip -> adjust window: wParam grip index | c_dragEndFlag, lParam y << 16 | x.
const UINT c_dragEnded = WM_USER + 1104;
// parent -> adjust window: wParam y << 16 | x in picture pixels.
const UINT c_setPoint = WM_USER + 1105;
}  // namespace n_manualAdjust
