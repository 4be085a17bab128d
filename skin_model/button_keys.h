// The key scheme of the buttons in Skin.ini: button properties, button keys and
// captions, count keys, default picture names and the recognition of a key.
#pragma once

#include "foundation/core/str.h"
#include "skin_model/base_info.h"
#include "skin_model/btn_ctrl_base.h"

// Button properties in the order they are kept and written.
enum {
    c_propDisplay = 0,
    c_propPos = 1,
    c_propAlign = 2,
    c_propNormal = 3,  // the button key itself: the normal-state pictures
    c_propDown = 4,
    c_propHover = 5,
    c_propIn = 6,
    c_propOut = 7,
    c_propDowning = 8,
    c_propUp = 9,
    c_propUrl = 10,
    c_propHint = 11,
    c_propFlashFile = 12,
    c_propFlashPreview = 13,
    c_propCount = 14,
};

// Property key suffix; the empty text for the normal pictures, null out of range.
const wchar_t* PropertyKeyOf(int property);
const wchar_t* PropertyCaptionOf(int property);
// Cells of the property: its fixed count, or variantCount for the picture states;
// 0 out of range.
int PropertyCellCount(int property, int variantCount);
// e_none out of range.
t_cellKind PropertyKind(int property);
// The property the editor shows for placement: align (2) when set, pos (1) when clear.
int PlacementPropertyOf(bool alignFlag);

// Through the type helpers; null, 0 or false for a type or index out of range.
const wchar_t* ButtonKeyOf(int index, int type);
const wchar_t* ButtonCaptionOf(int index, int type);
const wchar_t* ButtonVariantCaptionOf(int index, int type, int variant);
int ButtonVariantCountOf(int index, int type);
const wchar_t* CountKeyOf(int type);
bool IsValidButton(int index, int type);

// Button key alone for the normal pictures, else button key + "_" + property key.
// False (out cleared) when the button has no key or the property is out of range.
bool MakePropertyKey(t_str& out, int index, int type, int property);

// The button a property key belongs to, (0, -1) for none. A type recognises the key
// only when the key is exactly a property key of the button it names, so that words
// inside property keys ("flashfile") never name a button by themselves.
t_btnDesc ParseButtonKey(const wchar_t* key);

// Default picture names: window prefix + picture base + state suffix.
const wchar_t* WindowPicturePrefix(int window);
// Built-in: the base of the variant; other types: the button key (copied into out).
bool PictureBaseName(t_str& out, int index, int type, int variant);
// Picture-grid row of a property: normal 0, hover 1, down 2, in 3, out 4, downing 5,
// up 6, flashfile 7, flashpreview 8, others 0.
int StateImageIndex(int property);
// "1.bmp" .. "7.bmp" for rows 0..6; the Flash file gets ".swf" and its preview
// picture ".bmp", so that the two never share a name with each other or a state.
const wchar_t* StateSuffixOf(int property);
bool MakeDefaultImageName(t_str& out, int index, int type, int variant, int property, int window);
