// Reading the attribute list of a rich-hint tag: name=value pieces split at blanks outside
// double quotes, and the value forms (quoted text, leading integers, hex colours, aligns).
#pragma once

#include <cstdint>

#include "foundation/core/simple_array.h"
#include "foundation/core/str.h"

struct t_richHintAttribute {
    t_str name;
    t_str value;  // as written, quotes kept
};

// Splits text[0..length) at separator; with honourQuotes a separator between double quotes
// does not split. Never splits at the first character and drops empty pieces.
void SplitRichHintPieces(const wchar_t* text, int length, wchar_t separator, bool honourQuotes,
                         itl::ImmSimpleArray<t_str>& pieces);
// The attributes of a whole tag token: what follows the tag name and its blank, without a
// final '>'. With quotedEquals an '=' between quotes does not split name from value;
// otherwise the value ends at the next '='.
void ParseRichHintAttributes(const wchar_t* token, int length, bool quotedEquals,
                             itl::ImmSimpleArray<t_richHintAttribute>& attributes);

// The value without its first and last character (empty when shorter than two).
t_str RichHintQuoted(const t_str& value);
// Leading decimal integer (optional sign), clamped to the int range; 0 when none.
int RichHintInt(const t_str& value);
// Up to eight leading hex digits, forced opaque (top byte 0xFF).
uint32_t RichHintColor(const t_str& value);
// "right" 2, "center" 1, anything else 0.
int RichHintAlign(const t_str& value);
