#pragma once
// Reading a settings file whole and replacing it without ever leaving a
// half-written file behind.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace vantorel::ini {

// The path of UTF-8 text. Built from a u8string: on Windows a narrow string
// would be read in the ANSI code page.
std::filesystem::path PathFromUtf8(std::string_view utf8);

enum class ReadStatus {
    Read,
    Missing,  // nothing of that name: the normal case before the first write
    Failed,   // a folder, unreadable, or larger than allowed
};

struct FileContent {
    ReadStatus status = ReadStatus::Failed;
    std::string bytes;
};

FileContent ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes);

// Writes `bytes` to a new file beside `path` and renames it over `path`, so
// that a reader sees either the old file or the new one, never a mix. The
// old file's permissions are kept; a new file is readable and writable by
// its owner only (it holds a password). A symbolic link is followed, so the
// file it points to is replaced and the link kept. Returns false, leaving
// the old file as it was, when the folder cannot be written or the old file
// is write-protected.
bool ReplaceFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace vantorel::ini
