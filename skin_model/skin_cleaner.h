// The skin folder cleaner run before a skin folder is packed: it deletes pictures
// that Skin.ini does not name, merges byte-identical pictures into one file and
// points every reference at it, rewrites the picture values in a normalised form,
// drops keys that hold defaults and writes Skin.ini back. It works on the folder's
// files alone and never touches the shared Skin.ini document. Plan decides the same
// in memory, from pictures the caller holds, and changes no file.
#pragma once

#include "foundation/core/error_chain.h"
#include "foundation/config/ini_document.h"
#include "foundation/files/path.h"
#include "foundation/core/str.h"

#include <cstdint>
#include <map>
#include <set>
#include <vector>

// One item of a comma-separated picture value: the name before any '<' and the
// optional sub-rectangle "<a;b;c;d>".
struct t_pictureRef {
    t_str name;
    int rect[4] = {0, 0, 0, 0};

    // Reads the item that starts at cursor and runs to the next ',' or the end.
    // Returns the position behind that ',', or null when the item ran to the end.
    const wchar_t* ParseNext(const wchar_t* cursor);
    // Reads "<a;b;c;d>" from text (which starts at the '<'). Numbers whose ';' is
    // missing stay 0; without a closing '>' all four stay 0.
    void ParseSubRect(const wchar_t* text);
    // Places the item at position index of a value being built: commas counts the
    // commas out already holds and is kept up to date.
    void AppendAt(t_str& out, int& commas, int index) const;
};

// Where an item stands: the section and key texts of the INI document (compared
// by identity) and the item's 0-based position in the comma-separated value.
struct t_refPosition {
    const wchar_t* section;
    const wchar_t* key;
    int item;
};

struct t_refPositionLess {
    bool operator()(const t_refPosition& a, const t_refPosition& b) const;
};

// File names compared as the file system does: ordinal, ignoring case.
struct t_fileNameLess {
    bool operator()(const t_str& a, const t_str& b) const;
};

struct t_md5Digest {
    unsigned char bytes[16];
};

struct t_md5DigestLess {
    bool operator()(const t_md5Digest& a, const t_md5Digest& b) const;
};

// A picture of the folder as the caller holds it in memory.
struct t_heldPicture {
    const wchar_t* name;
    const uint8_t* data;
    uint32_t size;
};

// What a clean would do: the pictures it would delete and the Skin.ini it would write
// (the byte-order mark FF FE, then the text).
struct t_cleanPlan {
    std::set<t_str, t_fileNameLess> dropped;
    std::vector<uint8_t> ini;
};

class t_skinCleaner {
public:
    // Equal keys are allowed; a new key goes in front of the equal ones already there.
    typedef std::multimap<t_refPosition, t_pictureRef, t_refPositionLess> t_refList;
    typedef std::multimap<t_str, t_refPosition, t_fileNameLess> t_nameIndex;
    // A picture file: its size, and its bytes when the caller holds them (else null).
    struct t_pictureFile {
        uint64_t size;
        const uint8_t* held;
    };
    typedef std::multimap<t_str, t_pictureFile, t_fileNameLess> t_fileList;
    typedef std::multimap<t_md5Digest, t_str, t_md5DigestLess> t_digestIndex;

    t_skinCleaner() : m_ini(false) {}
    t_skinCleaner(const t_skinCleaner&) = delete;
    t_skinCleaner& operator=(const t_skinCleaner&) = delete;

    // Cleans the folder. False, with the folder unchanged, when it is no folder or
    // its Skin.ini is missing or unreadable.
    bool Run(t_errorChain& errors, const wchar_t* folder);
    // Decides what Run would do to a folder whose pictures are the held ones (in listing
    // order) and whose Skin.ini holds the given bytes; changes no file. False, with Run's
    // lines, when the text cannot be parsed.
    bool Plan(t_errorChain& errors, const t_heldPicture* pictures, size_t count, const void* ini, size_t iniBytes,
              t_cleanPlan& plan);

    bool SetFolder(t_errorChain& errors, const wchar_t* path);
    bool ReadIni(t_errorChain& errors);
    // Fills the reference list and the name index from the picture values of the INI.
    bool CollectReferences();
    // Fills the file list from the pictures of the folder.
    bool ScanFolder();
    // Deletes unreferenced pictures, merges identical ones, rewrites the references,
    // prunes defaults and writes Skin.ini (into the plan while planning). Deletion and
    // write errors are not reported.
    void Rewrite();

private:
    void AddReference(const wchar_t* section, const wchar_t* key, const wchar_t* value);
    // Named by some picture value, by itself or as the last part of a name with a folder.
    bool IsReferenced(const t_str& fileName) const;
    bool IsVariantOfReferenced(const t_str& fileName) const;
    bool HasHighResVariant(const t_str& fileName) const;
    void DeleteUnreferenced();
    // Fills the digest index: only pictures that share their size with another one can
    // be identical, so only those are compared (held bytes) or read and hashed, in listing order.
    void HashSameSized();
    void MergeIdentical();
    void WriteReferences();
    void PruneDefaults();
    // Deletes a file of the folder (while planning, records it); errors are not reported.
    bool RemoveFile(const t_str& fileName) const;

    t_refList m_refs;
    t_nameIndex m_names;
    t_fileList m_files;
    t_digestIndex m_digests;
    // Last parts of names that carry a folder ("pics\a.png" gives "a.png").
    std::set<t_str, t_fileNameLess> m_folderLeaves;
    // The pictures in listing order (the digest index takes them in this order).
    std::vector<t_str> m_listing;
    t_iniDocument m_ini;
    t_path m_folder;
    t_cleanPlan* m_plan = nullptr;
};

// Runs the cleaner on the folder and drops whatever it reports.
void CleanSkinFolder(const wchar_t* folder);
// The document as WriteConfig writes it: FF FE, then the rendered text. False when
// memory ran out.
bool RenderIni(t_iniDocument& document, std::vector<uint8_t>& out);

// ".bmp", ".png" or ".gif" (any case) after the last '.'.
bool IsPictureFileName(const wchar_t* name);
// A name whose part before the extension ends with "@2x" and is longer than "@2x".
bool IsHighResVariant(const wchar_t* name);
// The name's part before the extension without its "@2x"; false when it is no variant.
bool Strip2xSuffix(const wchar_t* name, t_str& base);
// Whether the key of that section holds pictures (layout, status-bar and button
// pictures); free texts such as skin information, hints and links do not.
bool IsPictureProperty(const wchar_t* section, const wchar_t* key);
// Whether the key of that section may be dropped as holding a default: only where the
// model and the input method both read the key's absence as they read the value.
bool IsDefaultSkinValue(const wchar_t* section, const wchar_t* key, const wchar_t* value, bool displayed);
// The display switch of the key's button: the key's text before its last '_'
// followed by "_display", looked up in the same section, non-zero.
bool IsButtonDisplayed(const wchar_t* key, const t_iniSection& section);
