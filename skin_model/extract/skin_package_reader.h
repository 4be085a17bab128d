// Reading a user's skin package into a t_skinPack: a packed container as it stands, or from
// a zip archive "skin.ini" and the files it names by a picture or Flash extension. Other
// files of the archive are not taken.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "foundation/core/error_chain.h"
#include "foundation/core/str.h"

class t_skinPack;
class t_zipLib;

// Result codes of a package extraction, written through the caller's code pointer.
enum class t_extractCode : int32_t {
    e_started = 0,         // reading began
    e_noUser = 1,          // reading the current user failed
    e_noSource = 2,        // no source package
    e_noTarget = 3,        // no target path
    e_zipLibLoad = 4,      // the zip library failed to load
    e_zipPrepare = 5,      // the zip library failed to prepare the archive
    e_noIndex = 6,         // the archive holds no readable "skin.ini"
    e_badIndex = 7,        // the archive's "skin.ini" is shorter than 2 bytes
    e_writeFailed = 8,     // writing the container failed
    e_badContainer = 9,    // reading the packed container failed
    e_flashUnusable = 11,  // Flash content, Flash cannot be used
    e_swfLoad = 12,        // the Flash component refused a ".swf" entry
    e_flashMissing = 13,   // Flash content, the Flash component is not installed
};

inline void SetExtractCode(int32_t* code, t_extractCode value)
{
    if (code)
        *code = static_cast<int32_t>(value);
}

// The extensions, without the dot, after which "skin.ini" text names a file of the package.
extern const wchar_t* const c_referencedExtensions[7];

// Calls visit with each file name that text refers to: wherever a '.' is followed by one of
// c_referencedExtensions (ignoring case, the first in table order wins), the name runs from
// after the nearest ' ', ',' or '=' before it (or the start) to the extension's end. The
// scan goes on after the extension.
void ForEachReferencedName(const wchar_t* text, size_t length,
                           const std::function<void(const wchar_t* name, size_t length)>& visit);

// One package read; the zip library is bound on construction (and never unloaded).
class t_skinPackageReader {
public:
    // Longest name taken from "skin.ini", in characters.
    static const size_t c_maxNameChars = 259;
    // Files left out that are named one line each; the rest are counted in one line.
    static const size_t c_maxLeftOutLines = 20;

    // libraryFolder: where "ziplib.dll" lies; null or empty for the installation folder.
    explicit t_skinPackageReader(const wchar_t* libraryFolder = nullptr);
    ~t_skinPackageReader();
    t_skinPackageReader(const t_skinPackageReader&) = delete;
    t_skinPackageReader& operator=(const t_skinPackageReader&) = delete;

    // Empties pack and fills it from the package at path; packed tells whether it was a
    // packed container. The code becomes 0 at the start and the failure's code on failure.
    // Names of "skin.ini" that cannot become entries of the flat container (a folder part,
    // a drive, a leading dot, a device name, too long) and named files that the archive
    // does not give are left out, each with a line on the chain; the read still succeeds.
    bool Open(t_errorChain& errors, const wchar_t* path, t_skinPack& pack, int32_t* code, bool& packed);
    // The bytes of the last packed container opened, as read (empty after a zip archive).
    const std::vector<uint8_t>& ContainerBytes() const { return m_container; }

private:
    bool ReadContainer(t_errorChain& errors, const wchar_t* path, t_skinPack& pack);
    bool ReadZip(t_errorChain& errors, const wchar_t* path, t_skinPack& pack, int32_t* code);
    // The lines of files left out: the first c_maxLeftOutLines, then one line with how
    // many more.
    class t_leftOut {
    public:
        explicit t_leftOut(t_errorChain& errors) : m_errors(errors) {}
        void Add(const wchar_t* why, const wchar_t* name);
        void Finish();

    private:
        t_errorChain& m_errors;
        size_t m_count = 0;
    };
    // A name that "skin.ini" refers to, and why it cannot become an entry (empty: it can).
    struct t_named {
        t_str name;
        t_str why;
    };
    // Adds the named entry as the archive gave it, or reports why it is left out.
    void AddReferenced(t_leftOut& leftOut, const t_str& name, bool read, const uint8_t* bytes, uint32_t size,
                       uint32_t reason, t_skinPack& pack);

    t_zipLib* m_zipLib;
    std::vector<uint8_t> m_container;
};
