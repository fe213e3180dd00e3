#pragma once
// What the settings file needs around its reads and writes: clearing away
// the temporary files of interrupted writes, and keeping a file that could
// not be read before a write replaces it.

#include <filesystem>
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

// Keeps the file at `path` under the first AsideName that is free, never
// replacing an earlier one. False when it could not be kept.
bool KeepUnreadableFile(platform::FileStore& store, const std::string& path);

}  // namespace vantorel::ini
