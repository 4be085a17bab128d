#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "foundation/core/error_chain.h"

// Collects UTF-16 text with every line end (CR LF, LF CR, lone CR, lone LF) turned into
// CR LF, then writes it with the byte-order mark FF FE.
class t_fileTextWrite {
public:
    explicit t_fileTextWrite(size_t initialBytes = 65536);
    virtual ~t_fileTextWrite();

    // A null text adds nothing.
    t_fileTextWrite& Append(const wchar_t* text);
    // Writes FF FE and the text to a new file; the text is released on success and kept
    // on failure, so that the caller may try again.
    bool WriteToFile(t_errorChain& errors, const wchar_t* path);
    // size holds the target's room in bytes and receives the room needed (text + 2).
    // False, nothing copied, when the room is too small.
    bool CopyOutWithBom(size_t& size, void* target);

    const wchar_t* Text() const { return reinterpret_cast<const wchar_t*>(m_buffer); }
    size_t UsedBytes() const { return m_used; }
    // False once the buffer could not grow: the text is cut and must not be saved.
    bool Complete() const { return !m_outOfMemory; }

    t_fileTextWrite(const t_fileTextWrite&) = delete;
    t_fileTextWrite& operator=(const t_fileTextWrite&) = delete;

private:
    bool Put(wchar_t c);
    bool ReportOutOfMemory(t_errorChain& errors);
    void Release();

    uint8_t* m_buffer = nullptr;
    size_t m_capacity = 0;
    size_t m_used = 0;
    // Set when the buffer could not grow: the text is incomplete and is never written.
    bool m_outOfMemory = false;
};

// Text loaded whole and decoded to UTF-16, read line by line in place.
class t_textBuffer {
public:
    t_textBuffer() = default;
    ~t_textBuffer() { Free(); }

    void Free();
    // The next line, trimmed of control characters and blanks, or null after the last.
    wchar_t* NextLine();
    const wchar_t* Text() const { return m_text; }

    t_textBuffer(const t_textBuffer&) = delete;
    t_textBuffer& operator=(const t_textBuffer&) = delete;

private:
    friend struct t_textLoader;

    void* m_allocation = nullptr;
    wchar_t* m_cursor = nullptr;
    wchar_t* m_text = nullptr;
};

// How text bytes are encoded: by their byte-order mark (FF FE UTF-16LE, FE FF UTF-16BE,
// EF BB BF UTF-8); without one, UTF-16 when the data holds zero bytes, which no text in a
// multi-byte code page has (little-endian when more of them stand at odd offsets, as the
// high bytes of ASCII do); else the caller's code page. markBytes: the mark's length.
enum class t_textEncoding {
    e_utf16le,
    e_utf16be,
    e_utf8,
    e_codePage,
};
t_textEncoding DetectTextEncoding(const void* bytes, size_t count, size_t& markBytes);
// The text of bytes by DetectTextEncoding, with codePage where no other applies; false when
// the code page conversion fails.
bool DecodeText(const void* bytes, size_t count, unsigned codePage, std::wstring& out);

// Decoding follows DetectTextEncoding.
bool LoadTextFile(t_errorChain& errors, const wchar_t* path, unsigned codePage, t_textBuffer& out);
bool LoadTextMemory(t_errorChain& errors, const void* bytes, size_t count, unsigned codePage, t_textBuffer& out);
