#pragma once
// What the settings file needs around its reads and writes: clearing away
// the temporary files of interrupted writes, and keeping a file that could
// not be read before a write replaces it.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileStore.h"

namespace vantorel::ini {

// The path of UTF-8 text. Built from a u8string: on Windows a narrow string
// would be read in the ANSI code page.
std::filesystem::path PathFromUtf8(std::string_view utf8);

// Removes the temporary files that interrupted replacements of the file at
// `path` left in its folder. Returns how many were removed.
int RemoveStaleTemporaries(const std::string& path);

// The name a file that could not be read is kept under: `path` +
// ".unreadable" for the first (number 1), then ".unreadable-2", "-3" ...
std::string AsideName(const std::string& path, int number);

// A file kept under another name before it is replaced.
struct KeptFile {
    std::string asidePath;
    bool moved = false;  // no longer under its own name
};

// Keeps the file at `path` under the first AsideName that is free, never
// replacing an earlier one. Nothing when it could not be kept.
std::optional<KeptFile> KeepUnreadableFile(platform::FileStore& store, const std::string& path);

// Undoes KeepUnreadableFile when the replacement it was for failed, so
// that failing saves do not pile up copies: the file moves back to `path`,
// or its second name or copy goes.
void UndoKeep(const KeptFile& kept, const std::string& path);

}  // namespace vantorel::ini
