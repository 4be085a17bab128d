// Saving a rectangle of 32-bit premultiplied pixels (BGRA, rows bottom-up) as a PNG file
// through GDI+'s flat interface, bound and started on first use.
#pragma once

#include <windows.h>

#include <cstdint>

// Starts GDI+ (version 1) the first time; true when started now or before.
bool StartGdiplusOnce();
// Index of the image encoder whose MIME type is exactly `mimeType`, its class id copied
// out; -1 when there is none (the class id is then left alone).
int FindEncoderClsid(const wchar_t* mimeType, CLSID& clsid);
// Writes rect (top-down, right and bottom exclusive) of a width x height source as a PNG
// file. False for a rectangle outside the source, or when GDI+ fails.
bool SavePixelsAsPng(const void* pixels, const RECT& rect, SIZE size, const wchar_t* path);
// The same over a 32-bit DIB section of exactly `size`.
bool SavePng(HBITMAP bitmap, const RECT& rect, SIZE size, const wchar_t* path);
