// INI documents: sections, keys, values and comment lines kept in file order in
// one arena, looked up ignoring case, and written back in plain UTF-16 or in the
// encrypted form (AES-256-CBC under the fixed text key, Base64).
#pragma once

#include "foundation/core/error_chain.h"
#include "foundation/core/hash_map.h"
#include "foundation/core/heap.h"
#include "foundation/core/heap_ptr_array.h"

#include <cstddef>

class t_fileTextWrite;
class t_textBuffer;

// A map node: key text, value (the value text in a section, the section in a file).
typedef t_wideKeyNode t_iniNode;

// The shape shared by a file and a section: a map from names to values and the
// ordered list of lines. A name in the list is the very arena string that keys
// its map node, which tells names from comment lines.
class t_iniLines {
public:
    typedef t_heapHashMap::t_iterator t_iterator;
    typedef t_heapHashMap::t_place t_place;

    explicit t_iniLines(t_heap* heap);

    // Copies the text into the arena and appends it to the lines; false when
    // the arena refuses.
    bool AddComment(const wchar_t* text);

    int LineCount() const { return m_lines.Count(); }
    // No bounds check: 0 <= index < LineCount().
    const wchar_t* Line(int index) const { return m_lines[index]; }
    // True when the line at index is a name of the map, false for a comment.
    bool IsNameLine(int index) const;

    // Iteration in bucket order, not file order.
    t_iterator Begin() const { return m_map.Begin(); }
    t_iterator End() const { return m_map.End(); }
    unsigned Count() const { return m_map.Count(); }

    t_heap* Heap() const { return m_heap; }

protected:
    // Enters a new name (copied into the arena) in the map and in the lines,
    // appended for index -1 or an index at or past the count, else inserted.
    // Null, with nothing changed, when the arena refuses.
    t_iniNode* InsertName(const wchar_t* name, const t_place& place, int index);

    t_heapHashMap m_map;
    t_heapPtrArray m_lines;
    t_heap* m_heap;
};

class t_iniSection : public t_iniLines {
public:
    explicit t_iniSection(t_heap* heap) : t_iniLines(heap) {}

    // The node of the key or null; place receives bucket, hash and predecessor.
    t_iniNode* FindKey(const wchar_t* key, t_place* place = nullptr) const;
    // Iterator form of FindKey: End() when the key is missing.
    t_iterator Find(const wchar_t* key) const { return t_iterator(FindKey(key), &m_map); }
    // The value text of the key, null when missing or without value.
    const wchar_t* Value(const wchar_t* key) const;

    // The value is copied into the arena. An existing key keeps its place; a new
    // one goes to the lines at index (appended for -1 or past the end). False,
    // with the section unchanged, when the arena refuses.
    bool SetKey(const wchar_t* key, const wchar_t* value, int index = -1);
    // Unlinks the node and removes its name from the lines.
    void RemoveKey(t_iniNode* node);
};

class t_iniFile : public t_iniLines {
public:
    explicit t_iniFile(t_heap* heap) : t_iniLines(heap) {}

    t_iniSection* FindSection(const wchar_t* name) const;
    // The section of that name, else a new empty one appended to the lines;
    // null when the arena refuses.
    t_iniSection* AddSection(const wchar_t* name);

    static t_iniSection* SectionOf(const t_iniNode* node) { return static_cast<t_iniSection*>(node->value); }
};

class t_iniDocument : public t_heap {
public:
    static const unsigned c_blockSize = 0x8000;

    explicit t_iniDocument(bool encrypted);

    // Clears the document, then reads and parses the file (text without a
    // byte-order mark is taken in codePage). A failed read leaves it empty.
    bool ReadConfig(t_errorChain& errors, const wchar_t* path, unsigned codePage);
    // Clears the document and parses bytes in the document's form. Reports no words.
    bool ReadFromMemory(const void* bytes, size_t count, unsigned codePage);
    // Renders the document and writes the file in the document's form. The file is
    // replaced safely (t_fileBakWrite): until the new text is complete on disk, the old
    // file stays whole.
    bool WriteConfig(t_errorChain& errors, const wchar_t* path);

    // Null when nothing is parsed or the section or key is missing.
    const wchar_t* GetValue(const wchar_t* section, const wchar_t* key) const;
    // Finds the section, else appends it, then sets the key (see t_iniSection::SetKey).
    bool SetValue(const wchar_t* section, const wchar_t* key, const wchar_t* value, int index = -1);

    // The root, created empty on first use; null only when the arena refuses.
    t_iniFile* Root();
    // The root when there is one, without creating it.
    t_iniFile* ParsedRoot() const { return m_root; }
    // Frees every arena block and forgets the root.
    void Clear();

    bool IsEncrypted() const { return m_encrypted; }

    // Renders the lines of a file as they are written (line ends CR LF).
    static void Render(const t_iniFile& file, t_fileTextWrite& out);

private:
    bool ReadEncryptedFile(t_errorChain& errors, const wchar_t* path, unsigned codePage);
    bool Decode(t_errorChain& errors, const void* bytes, size_t count, unsigned codePage);
    bool Parse(t_textBuffer& text);
    bool WriteEncrypted(t_errorChain& errors, const wchar_t* path, const t_fileTextWrite& text);
    // The rendered text with the byte-order mark FF FE, through the safe replace.
    static bool WriteSafely(t_errorChain& errors, const wchar_t* path, const t_fileTextWrite& text);

    t_iniFile* m_root;
    bool m_encrypted;
};
