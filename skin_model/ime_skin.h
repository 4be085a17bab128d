// The open skin as the editor sees it: the fourteen model parts of Skin.ini and the work
// folder they were loaded from. It runs the package cycle: New (from the template
// "skin.dat" beside the program), Open (a zip package or a plain packed container),
// Commit (the parts into Skin.ini), Save (commit, clean and zip into a package) and Close.
//
// Files of an open skin, beside the work folder W: W.dat, the packed copy the preview
// loads; W.tmp, the uncleaned copy of W that Save packs around; W\skinbak.ini, the
// committed Skin.ini kept by Save.
#pragma once

#include <windows.h>

#include "foundation/core/error_chain.h"
#include "skin_model/base_info.h"
#include "skin_model/ptr_vector.h"
#include "skin_model/zip_handler.h"

class BtnInfo;
class CombineInfo;
class DisplayInfo;
class GeneralInfo;
class LayoutInfo;
class SeparateInfo;
class StatusInfo;

class IMESkin {
public:
    // The parts in index order, reset where they start from reset values; nothing open.
    IMESkin();
    virtual ~IMESkin();
    IMESkin(const IMESkin&) = delete;
    IMESkin& operator=(const IMESkin&) = delete;

    // The process-wide document, built on first use and destroyed at exit.
    static IMESkin* Instance();

    // A new skin from the template beside the program; without a usable template, an empty
    // work folder with an empty Skin.ini and every part at its reset values.
    bool New();
    // Opens a package into the work folder and the parts. Reports no text: the caller
    // names the file in its own message. A path that is no file changes nothing; any later
    // failure leaves the document closed (its work folder gone), never half open.
    bool Open(const wchar_t* path);
    // What the last Open found wrong in the package and left out: picture values naming
    // files outside the skin ("图片路径无效:" + the value; the pictures count as missing)
    // and entries skipped as case duplicates. The caller shows them once.
    const t_errorChain& OpenNotes() const { return m_openNotes; }
    // False when nothing is open; else the parts are cleared and the work files removed.
    bool Close();
    // The parts into the work folder's Skin.ini; with validate, a button set whose page
    // buttons disagree stops the commit with the part's name and message.
    bool Commit(t_errorChain& errors, bool validate);
    // Commits, cleans and zips the work folder into the target (null or empty: the package
    // last opened or saved). The work folder is the same before and after, whatever the
    // outcome; a failed save leaves the previous package as it was.
    bool Save(t_errorChain& errors, const wchar_t* target);

    BaseInfo* GetPart(t_partIndex index) const { return PartAt(static_cast<int>(index)); }
    // The parts by their own types.
    GeneralInfo& General() const;
    DisplayInfo& Display() const;
    // e_horizontalCombined .. e_verticalSeparate.
    LayoutInfo& Layout(t_partIndex index) const;
    CombineInfo& HorizontalCombined() const;
    SeparateInfo& HorizontalSeparate() const;
    CombineInfo& VerticalCombined() const;
    SeparateInfo& VerticalSeparate() const;
    StatusInfo& StatusBar() const;
    // The set of window c_windowStatusBar .. c_windowVerticalCand.
    BtnInfo& ButtonSet(int window) const;
    bool IsEditing() const { return m_editing; }
    bool IsNew() const { return m_new; }
    // Null until the first New or Open.
    const wchar_t* GetWorkFolder() const;
    const ZipHandler* GetZipHandler() const { return m_zip; }
    // The work folder's Skin.ini; false without a work folder or when the file is missing.
    bool GetIniPath(wchar_t (&out)[MAX_PATH]) const;
    // A name holding '\' unchanged; else work folder + "\" + name; the work folder itself
    // for an empty name. False (and an empty buffer) when the result does not fit.
    bool ResolvePath(wchar_t (&out)[MAX_PATH], const wchar_t* name) const;
    // While editing, the current directory becomes the folder of the work folder's Skin.ini.
    void SetCurrentDirToWork() const;
    // <user skin root>\AllSkin, created when missing.
    bool GetAllSkinFolder(wchar_t (&out)[MAX_PATH]) const;
    // False for a null or empty path or one that is no existing file; else true, with
    // packed telling whether the file begins with the container magic "Skin".
    static bool ProbeFile(const wchar_t* path, bool& packed);
    bool AnyPartUsesPngOrGif() const;
    void SetUseGdip(unsigned char use);
    unsigned char GetUseGdip() const;
    // Blanks the picture keys of layouts (and the status bar) that use no picture.
    void PostProcessIni(const wchar_t* path) const;

private:
    // No bounds check: every caller walks or names the fixed part table.
    BaseInfo* PartAt(int position) const { return static_cast<BaseInfo*>(*m_parts.At(position)); }
    // Creates the zip handler when there is none and lets the parts import into its folder.
    ZipHandler& Handler();
    // Clears the parts, removes the work files and the zip handler; editing := false.
    void CloseFiles();
    // The uncleaned work folder (aside copy and skinbak.ini) back after packing.
    bool RestoreWorkFolder(t_errorChain& errors, const t_str& aside, const wchar_t* ini, const wchar_t* backupIni);

    t_ptrVector m_parts;
    ZipHandler* m_zip;
    bool m_editing;
    bool m_new;
    t_errorChain m_openNotes;
};

// An existing file, not a folder, whose first four bytes are "Skin".
bool IsSkinPackFile(const wchar_t* path);
