// The record through which a skinned window reaches its UI settings and the
// runtime skin. The window toolkit creates and owns it; the fields it adds
// follow these two.
#pragma once

struct t_uiSettings;
class t_uiSkinData;

struct t_uiContext {
    t_uiSettings* settings;  // not owned
    t_uiSkinData* skin;      // runtime skin; not owned

    t_uiSkinData* GetSkin() const;
};
