// The three paths of an open skin: the user folder under which installed skins live, the
// skin package (the archive) and the work folder the package is unpacked into and packed
// from. Zip archives go through ZipLib.dll: UnZip and ZipFolder are imported at load time,
// our library's additions (UnZipEx4, ZipEntryList) are looked up by name, so that the
// maker's ZipLib.dll, which lacks them, serves too (slower, without the skipped-name notes).
#pragma once

#include <windows.h>

#include "interfaces/ziplib.h"
#include "foundation/core/error_chain.h"
#include "foundation/core/str.h"

// Appended to a package's path to name the file a save writes before it replaces the package.
extern const wchar_t c_saveTemporaryExtension[];

class ZipHandler {
public:
    // Paths emptied, the user folder and the work folder looked up.
    ZipHandler();
    // Removes the work folder when this handler prepared, filled or packed it.
    virtual ~ZipHandler();

    ZipHandler(const ZipHandler&) = delete;
    ZipHandler& operator=(const ZipHandler&) = delete;

    // The whole work folder tree; true for an empty work path.
    bool DeleteWorkFolder();
    // A fresh work folder holding only an empty "Skin.ini".
    bool PrepareWorkFolder();
    // full: text is the package path. Otherwise text is a name: the package becomes
    // <user folder>\AllSkin\<name>.vsf, the folder created when missing. False when the
    // text does not fit (the archive path is then empty) or the folder cannot be made.
    bool SetArchivePath(const wchar_t* text, bool full);
    const wchar_t* GetArchivePath() const { return m_archivePath; }
    const wchar_t* GetWorkFolder() const { return m_workFolder; }
    const wchar_t* GetUserFolder() const { return m_userFolder; }
    bool IsPrepared() const { return m_prepared; }
    // Work folder + "\Skin.ini" into out; true only when that file exists. False without
    // writing when the work path is empty.
    bool GetIniPath(wchar_t (&out)[MAX_PATH]) const;
    // The archive into the work folder; false when the zip library refused or failed (an
    // unsafe, encrypted or oversized archive is refused before anything is written).
    bool UnZip();
    // UnZip that adds a line to notes for each entry left out because an earlier entry has
    // the same name but for case (Windows keeps one file; the first entry is unpacked), and
    // on failure one line saying what is wrong (damaged, too large, unreadable) and where.
    // Without UnZipEx4 in the library: a plain UnZip, no case notes.
    bool UnZip(t_errorChain& notes);
    // UnZip(notes) that also hands each written file to entry (name relative to the work
    // folder, bytes valid only during the call). On failure what entry received is void.
    // Without UnZipEx4 in the library entry hears of nothing.
    bool UnZip(t_errorChain& notes, t_fnUnzipEntry entry, void* context);
    // Packs the work folder into the archive: written to archive + c_saveTemporaryExtension,
    // flushed, then moved over the old package in one step, so that the archive path never
    // holds less than a whole package; a failure leaves the old package as it was and no
    // temporary.
    bool Zip();
    // Zip that appends why it failed to errors: the system's reason and the path.
    bool Zip(t_errorChain& errors);
    // Zip(errors) that packs the listed entries instead of the work folder. Without
    // ZipEntryList in the library the entries are laid out in the folder beside the work
    // folder named like it plus ".pack", which is packed and removed again.
    bool ZipEntries(t_errorChain& errors, const t_zipListEntry* entries, uint32_t count);

    // Whether the loaded ZipLib.dll has the additions (UnZipEx4, ZipEntryList).
    static bool HasReportingUnzip();
    static bool HasEntryListZip();
    // Removes the temporary that an interrupted save of the archive may have left: only
    // once the package beside it was read whole.
    void RemoveSaveTemporary() const;

private:
    // Runs pack (which writes the archive at the path it is given and returns the
    // library's result) into a temporary beside the package, then replaces the package.
    template <class TPack>
    bool ReplaceArchive(t_errorChain& errors, TPack pack);

    wchar_t m_userFolder[MAX_PATH];
    wchar_t m_archivePath[MAX_PATH];
    wchar_t m_workFolder[MAX_PATH];
    bool m_prepared;
};

// The work folder: the long form of the user's temporary folder + "SkinTmp". Returns its
// length, 0 (and an empty buffer) when it cannot be found or does not fit.
int GetSkinTempFolder(wchar_t* out, int size);
bool GetSkinTempFolderStr(t_str& out);

// The folder under which "AllSkin" lies: the users root for user 0, else the user's own
// folder. False while the user manager records no current user or has no folders.
bool GetUserSkinRoot(wchar_t* out, int size);
