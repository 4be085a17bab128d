// The open skin as the editor sees it: the fourteen model parts of Skin.ini and the work
// folder they were loaded from. It runs the package cycle: New (from the template
// "skin.dat" beside the program), Open (a zip package or a plain packed container),
// Commit (the parts into Skin.ini), Save (commit, clean and zip into a package) and Close.
//
// Files of an open skin, beside the work folder W: W.dat, the packed copy the preview
// loads; W\skinbak.ini, the committed Skin.ini kept by Save and RefreshWorkCopy;
// W.skin.ini.wtm and W.skinbak.ini.wtm, those two INI files while they are written. The
// document keeps the files of W in memory (t_skinPackCopy): Open takes them from the
// unpacked archive, and later packs re-read only the files whose size or time changed.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "foundation/core/error_chain.h"
#include "foundation/records/skin_pack.h"
#include "skin_model/base_info.h"
#include "skin_model/ptr_vector.h"
#include "skin_model/skin_cleaner.h"
#include "skin_model/zip_handler.h"

class BtnInfo;
class t_iniDocument;
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
    // Opens a package into the work folder and the parts. A path that is no file, or an
    // empty file, changes nothing; any later failure leaves the document closed (its work
    // folder gone), never half open. Skin.ini is read in its own encoding (byte-order
    // marks, UTF-16 told by its zero bytes, else GBK); a package whose Skin.ini cannot be
    // read or holds no section is refused, so that no save drops the skin's pictures.
    bool Open(const wchar_t* path);
    // After a failed Open: why, naming the package (empty, not a whole zip archive, too
    // large, a name Windows cannot create, no Skin.ini ...). After a successful one: what
    // it found wrong and left out: picture values naming files outside the skin
    // ("图片路径无效:" + the value; the pictures count as missing) and entries skipped as
    // case duplicates. The caller shows them once.
    const t_errorChain& OpenNotes() const { return m_openNotes; }
    // False when nothing is open; else the parts are cleared and the work files removed.
    bool Close();
    // The parts into the work folder's Skin.ini; with validate, a button set whose page
    // buttons disagree stops the commit with the part's name and message.
    bool Commit(t_errorChain& errors, bool validate);
    // Commits, cleans and zips the work folder into the target (null or empty: the package
    // last opened or saved). Keys of Skin.ini that no part writes are kept. The cleaning is
    // decided in memory and the package written from that list: the work folder is never
    // changed by a save, apart from skinbak.ini (the committed Skin.ini); a failed save
    // leaves the previous package as it was.
    bool Save(t_errorChain& errors, const wchar_t* target);
    // What the preview runs on every edit: Commit (without validation), skinbak.ini := the
    // committed Skin.ini, and the packed copy W.dat of the work folder with Skin.ini
    // post-processed (PostProcessIni). The work folder keeps the committed Skin.ini.
    bool RefreshWorkCopy(t_errorChain& errors);

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
    void PostProcessIni(t_iniDocument& document) const;
    // Whether PostProcessIni would change the document: a key it empties is missing or set.
    bool PostProcessChanges(const t_iniDocument& document) const;

private:
    struct t_iniKeyName {
        const wchar_t* section;
        const wchar_t* key;
    };
    // The picture keys PostProcessIni empties, in the order it sets them.
    std::vector<t_iniKeyName> BlankedPictureKeys() const;
    // No bounds check: every caller walks or names the fixed part table.
    BaseInfo* PartAt(int position) const { return static_cast<BaseInfo*>(*m_parts.At(position)); }
    // Creates the zip handler when there is none and lets the parts import into its folder.
    ZipHandler& Handler();
    // Clears the parts, removes the work files and the zip handler; editing := false.
    void CloseFiles();
    // A text file of the work folder as this document last wrote it: a write of the same
    // bytes is left out while the file's size and time show that nobody wrote it since.
    struct t_writtenText {
        std::vector<uint8_t> bytes;
        uint64_t size = 0;
        uint64_t written = 0;
        bool known = false;

        bool Holds(const wchar_t* path, const std::vector<uint8_t>& text) const;
        // The file is as this document last wrote it.
        bool Unchanged(const wchar_t* path) const;
        void Record(const wchar_t* path, const std::vector<uint8_t>& text);
    };

    // Commit's first half: the parts into SkinIni, the path of Skin.ini and the text that
    // goes into it. A listing given is started on the work folder once the parts are saved.
    bool RenderCommit(t_errorChain& errors, bool validate, wchar_t (&ini)[MAX_PATH], std::vector<uint8_t>& text,
                      t_folderListing* listing = nullptr);
    // Commit's second half: Skin.ini := text, left out when the file holds it already.
    bool WriteIni(t_errorChain& errors, const wchar_t* ini, const std::vector<uint8_t>& text);
    // Where a file of the work folder is written before it is moved in: beside the folder,
    // so that a listing of the folder never meets it.
    t_str TemporaryFor(const wchar_t* name) const;
    // Commits and gives the text as committed and as post-processed for packing; the work
    // folder's Skin.ini keeps the committed text.
    bool CommitForPacking(t_errorChain& errors, bool validate, std::vector<uint8_t>& committed,
                          std::vector<uint8_t>& packed);
    // The committed text as post-processed for packing.
    bool PackedIni(t_errorChain& errors, const std::vector<uint8_t>& committed, std::vector<uint8_t>& packed);
    // skinbak.ini := the committed text.
    bool BackUpIni(t_errorChain& errors, const std::vector<uint8_t>& committed);
    // Writes the packed copy beside the work folder from the files in memory, after a
    // listing of the folder (null: listed here).
    bool WriteWorkCopy(t_errorChain& errors, std::vector<t_listedFile>* listing, const std::vector<uint8_t>* packedIni,
                       const std::vector<uint8_t>* backupIni);

    t_ptrVector m_parts;
    ZipHandler* m_zip;
    bool m_editing;
    bool m_new;
    t_errorChain m_openNotes;
    // The work folder's files as last packed.
    t_skinPackCopy m_copy;
    t_writtenText m_ini;
    t_writtenText m_backupIni;
    // The cleaner's last plan and what it was made from: the packed Skin.ini and each
    // file's name, size and time. A save of the same text and files takes it again.
    struct t_lastPlan {
        struct t_file {
            t_str name;
            uint64_t size;
            uint64_t written;
        };
        bool made = false;
        std::vector<uint8_t> ini;
        std::vector<t_file> files;
        t_cleanPlan plan;

        bool Fits(const std::vector<uint8_t>& text, const t_skinPackCopy& copy) const;
        void Record(const std::vector<uint8_t>& text, const t_skinPackCopy& copy, const t_cleanPlan& made);
    };
    t_lastPlan m_lastPlan;
};

// An existing file, not a folder, whose first four bytes are "Skin".
bool IsSkinPackFile(const wchar_t* path);
