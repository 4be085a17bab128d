// Base64 with the standard alphabet and '=' padding, no line breaks.
#pragma once

// Encodes length bytes into out as one NUL-terminated line; out needs
// (length + 2) / 3 * 4 + 1 bytes.
void Base64Encode(unsigned int length, const unsigned char* in, char* out);
// Bytes Base64Decode can write for text: strlen(text) / 4 * 3.
unsigned int Base64DecodeBound(const char* text);
// Decodes a NUL-terminated text into out (room for Base64DecodeBound(text)
// bytes); returns the number of bytes decoded, or -1 for a character outside
// the alphabet or misplaced padding. A leading "+ " is skipped; decoding stops
// after a padded group, or where the next group starts with NUL or CR.
int Base64Decode(unsigned char* out, const char* text);
