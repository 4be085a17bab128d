// Extracting a whole archive into a folder, after every entry passed the safety checks.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Called with the name of each entry left out because an earlier entry has the same name
// but for case or separators.
using t_skippedSink = std::function<void(const std::wstring&)>;
// Called with each file written: its name relative to the folder and its bytes.
using t_entrySink = std::function<void(const std::wstring&, const uint8_t*, uint32_t)>;

// A ZIPLIB_ result; written (may be null) receives the number of files written. Entries
// whose names equal an earlier entry's but for case are one file on Windows: the first is
// written, as UnZipFile finds it, and the later ones are skipped and passed to skipped
// (which may be empty).
int ExtractArchive(const wchar_t* archive, const wchar_t* folder, uint32_t* written,
                   const t_skippedSink& skipped = t_skippedSink(), const t_entrySink& entry = t_entrySink());
