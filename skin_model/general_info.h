// The general part (index 0) of the skin model: the skin's descriptive texts, section
// General of Skin.ini.
#pragma once

#include "skin_model/base_info.h"

class GeneralInfo : public BaseInfo {
public:
    GeneralInfo();

    bool Load() override;
    bool Save() override;
    // Every text empty.
    bool Reset() override;
    t_partIndex PartIndex() const override { return t_partIndex::e_general; }
    bool UsesPngOrGif() const override { return false; }

    wchar_t skinName[c_pathChars];
    wchar_t skinVersion[c_pathChars];
    wchar_t skinAuthor[c_pathChars];
    wchar_t skinEmail[c_pathChars];
    wchar_t skinTime[c_pathChars];
    wchar_t skinInfo[c_pathChars];
};
