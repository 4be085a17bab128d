// The input method's runtime skin from a user's skin package: the package is found (by
// skin name in the user's or the installation's "AllSkin" or "SkinPreview" folder, or by
// path), read whether it is a packed container or a zip archive, checked (skin version,
// Flash content) and written as a packed container, by default "skin_v3.dat" in the
// user's folder. The user's package itself is never changed or removed.
#pragma once

#include <cstdint>

#include "foundation/core/error_chain.h"
#include "foundation/core/str.h"

class t_skinPack;

// The runtime skin's default file name in the user's folder.
extern const wchar_t* const c_runtimeSkinFileName;

class t_envSkin {
public:
    // The version registry counter of fonts, colours and skin, moved when a runtime skin
    // was written.
    static const unsigned c_skinVersionCounter = 3;

    // The singleton "t_envSkin"; null only when memory runs out.
    static t_envSkin* Instance();

    // Converts the package named by source (a skin name or a path; null: the user's active
    // skin) of user userId (-1: the current user) into the container at target (a path, a
    // name in the user's folder, or null for c_runtimeSkinFileName). True when the target
    // now holds the skin's entries; false leaves it as it was, with the reason on the chain
    // and in code (t_extractCode, when code is given). Names of "skin.ini" that were left
    // out are reported on the chain on success too.
    bool Extract2(t_errorChain& errors, int userId, bool checkFlash, const wchar_t* source, const wchar_t* target,
                  int32_t* code);

    // The package's path for a skin name or path (null: the user's active skin).
    static bool FindPackageSource(t_errorChain& errors, t_str& source, int userId, const wchar_t* name);
    // An absolute name as it is, a relative one in the user's folder, none: the default.
    static bool FindPackageTarget(t_str& target, int userId, const wchar_t* name);
    // Reads, checks and writes; the source is never touched (a target naming the source is
    // refused), the target only written on success.
    static bool ConvertPackage(t_errorChain& errors, bool checkFlash, const wchar_t* source, const wchar_t* target,
                               int32_t* code);
    // The package into pack (see t_skinPackageReader::Open); libraryFolder holds
    // "ziplib.dll" (null: the installation folder).
    static bool OpenSkinPackage(t_errorChain& errors, const wchar_t* path, t_skinPack& pack, int32_t* code,
                                bool& packed, const wchar_t* libraryFolder = nullptr);
    // Containers pass; a zip package's "skin.ini" [General] "version" must be missing,
    // empty, or a number that is neither 2 nor above the highest container format.
    static bool CheckPackageVersion(const t_skinPack& pack, bool packed);
    // Hands ".ssw" entries to the Flash component and removes them from pack; with Flash
    // content the component must be installed and usable, and with checkFlash it must
    // accept every ".swf" entry. False for an empty pack.
    static bool CheckPackageFlash(t_skinPack& pack, bool checkFlash, int32_t* code);
    // "AllSkin\<name>.vsf" in the user's folder or the installation's, else the same in
    // "SkinPreview"; lines of a failed first attempt stay off the chain when the second
    // succeeds.
    static bool FindSkinFile(t_errorChain& errors, t_str& path, const wchar_t* name, int userId);
    // Moves the skin counter of the shared version registry (nothing when it is not open).
    static bool BumpSkinVersionCounter();
};
