// Facts about the running process and its machine that the whole program consults: the
// Windows version class, the account, the input method's installation folder, the
// temporary and user data folders, the command line and executable, the per-profile hash
// that names shared kernel objects, and per-process tuning bytes from "runtime.ini".
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "foundation/core/error_chain.h"
#include "foundation/core/str.h"

// One process record of "runtime.ini": which processes it applies to and the tuning
// bytes it gives them.
struct t_runtimeItem {
    static const int c_resBytes = 38;

    t_str process;
    int type = 0;
    t_str company;
    t_str version;
    uint8_t res[c_resBytes] = {};

    // "res" text to bytes: one per character, the character's code minus that of '0'.
    void SetResText(const wchar_t* text);
};

class t_runtime {
public:
    static const int c_resBytes = t_runtimeItem::c_resBytes;

    // Where the installation folder comes from.
    enum t_lookupMode {
        e_lookupRegistry = 0,       // the input method's registry key only
        e_lookupProgramFolder = 1,  // the source folder first, then the registry key
    };

    t_runtime();
    virtual ~t_runtime() = default;

    t_runtime(const t_runtime&) = delete;
    t_runtime& operator=(const t_runtime&) = delete;

    // The process-wide object (singleton "t_runtime"); null only when memory runs out.
    static t_runtime* Instance();

    virtual const t_str& CommandLine() const { return m_commandLine; }
    virtual const t_str& ExeName() const { return m_exeName; }
    virtual const t_str& ModulePath() const { return m_modulePath; }
    virtual HMODULE FindModule(const wchar_t* name) const;
    // The executable's "CompanyName"; false when it has none longer than 2 characters.
    virtual bool GetCompanyName(t_str& out) const;
    // Whether the lower-case command line contains text.
    virtual bool CommandLineContains(const wchar_t* text) const;
    // The executable's file version {major, minor, build, revision}.
    virtual bool GetModuleVersion(uint16_t out[4]) const;
    // "runtime.ini" in the installation folder; false while that folder is unknown.
    virtual bool GetRuntimeIniPath(t_errorChain& errors, t_str& out) const;

    // Makes Init take the installation folder from `folder` (null: the executable's own
    // folder) when that is an existing directory, before trying the registry key.
    void SetInstallDirSource(const wchar_t* folder);
    int LookupMode() const { return m_lookupMode; }

    // Fills the record. Every step runs even after one failed; a failure adds
    // "t_runtime初始化失败". After a success later calls return true at once.
    bool Init(t_errorChain& errors);
    bool IsInitialised() const { return m_initialised != 0; }

    const t_str& GetInstallDir() const { return m_installDir; }
    const t_str& GetTempDir() const { return m_tempDir; }
    const t_str& GetAppDataDir() const { return m_appDataDir; }
    const t_str& GetUserDataDir() const { return m_userDataDir; }
    const wchar_t* FolderHash() const { return m_folderHash; }
    const wchar_t* PerUserText() const { return m_perUser; }

    bool IsVistaOrLater() const { return m_vista != 0; }
    bool IsWin8OrLater() const { return m_win8 != 0; }
    bool IsBrowserHost() const { return m_browserHost != 0; }
    bool IsCleanBoot() const { return m_cleanBoot != 0; }
    bool IsSystemAccount() const { return m_systemAccount != 0; }
    bool IsRestricted() const { return m_restricted != 0; }
    uint8_t Res(int index) const { return index >= 0 && index < c_resBytes ? m_res[index] : 0; }

    // Flags the UI windows consult and this program never sets; cleared at construction.
    bool IsNoSkin() const { return m_noSkin != 0; }                 // skinned windows take the plain style
    bool AreCandidateTipsOff() const { return m_noCandTips != 0; }  // candidates show no tips
    bool IsCandidateScroll() const { return m_candScroll != 0; }    // the candidate list scrolls
    uint8_t CursorOverride() const { return m_cursorOverride; }     // 0: windows set their own cursors

    // Whether desktop composition is on, asked once per process and kept.
    bool DwmComposition();

    // Whether the process path contains text (case-sensitive; the path is lower case).
    bool PathContains(const wchar_t* text) const;
    // Whether the input method's UI windows are created topmost and without an owner.
    bool UseTopmostUi() const;

    // Fills each res byte that is still 0 from the items that match this process, in order:
    // for each byte the first matching item that sets it wins.
    void ApplyRuntimeItems(const std::vector<t_runtimeItem>& items);
    bool MatchesItem(const t_runtimeItem& item) const;

private:
    bool FindInstallDir(t_errorChain& errors);
    bool FindInstallDirInRegistry(t_errorChain& errors);
    bool FindTempDir(t_errorChain& errors);
    void FindOsFlags();
    bool FindAppDataDir(t_errorChain& errors);
    bool FindUserDataDir(t_errorChain& errors);
    bool FindProcessNames(t_errorChain& errors);
    void ProbeWriteAccess();
    void LoadRuntimeIni();

    uint8_t m_vista = 0;
    uint8_t m_browserHost = 0;
    uint8_t m_cleanBoot = 0;
    uint8_t m_systemAccount = 0;
    t_str m_installDir;
    t_str m_tempDir;
    t_str m_appDataDir;
    t_str m_userDataDir;
    wchar_t m_folderHash[17] = {};
    wchar_t m_perUser[11] = {};
    t_str m_commandLine;
    t_str m_commandLineLower;
    t_str m_exeName;
    t_str m_modulePath;
    uint8_t m_initialised = 0;
    uint8_t m_win8 = 0;
    uint8_t m_restricted = 0;
    int32_t m_lookupMode = e_lookupRegistry;
    uint8_t m_res[c_resBytes] = {};
    RECT m_rect = {};
    // The folder given to SetInstallDirSource; empty means the executable's folder.
    t_str m_installSource;
    uint8_t m_noSkin = 0;
    uint8_t m_noCandTips = 0;
    uint8_t m_candScroll = 0;
    uint8_t m_cursorOverride = 0;
    int8_t m_dwmComposition = -1;  // -1 not asked yet, else the answer
};

t_runtime* GetRuntime();

// Whether desktop composition is on. dwmapi.dll is used when already loaded, and loaded
// only on Windows Vista or later.
bool IsDwmCompositionEnabled();

// Picks the user data folder below the parent of the roaming AppData folder: "LocalLow" on
// Windows 8 or later without looking; else the first of "LocalLow", "Roaming" and "Local"
// that exists as a directory.
enum t_userDataChoice {
    e_userDataFound,      // out is the chosen folder
    e_userDataNone,       // no candidate exists: out is the roaming folder
    e_userDataBadFolder,  // the roaming folder has no parent
};
t_userDataChoice SelectUserDataDir(const wchar_t* roamingFolder, bool win8, t_str& out);

// Reads the process records of the encrypted "runtime.ini" at path, in file order; false
// when the file cannot be read.
bool ReadRuntimeItems(const wchar_t* path, std::vector<t_runtimeItem>& items);

// The ELF hash of a text's UTF-16 units as lower-case hexadecimal without leading zeros,
// written into a buffer of 17 characters.
void FormatFolderHash(const wchar_t* text, wchar_t (&out)[17]);
