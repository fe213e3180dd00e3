#pragma once
// Whole-file reads and replacements for the settings file. A replacement is
// atomic (a reader sees the old file or the new one, never a mix) and the
// new file is private to the user from its first byte, because it holds the
// mail password. Each backend folder defines MakeFileStore.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace vantorel::platform {

enum class ReadOutcome {
    Read,
    Missing,       // nothing of that name: the normal case before the first write
    NotAFile,      // a folder, a device or a pipe
    TooLarge,      // more bytes than the caller allows
    AccessDenied,  // the system refuses to let the user read it
    Failed,        // any other failure; `detail` holds the system's words
};

// What a read found, without the bytes.
struct FileCondition {
    ReadOutcome outcome = ReadOutcome::Missing;
    std::string detail;  // the system's message for Failed, else empty
};

struct FileBytes {
    FileCondition condition;
    std::string bytes;  // only for Read
};

enum class AsideOutcome {
    Kept,       // the file is there under the new name as well
    Moved,      // the file is there under the new name only
    NameTaken,  // something already has the new name; nothing was changed
    Failed,
};

class FileStore {
  public:
    virtual ~FileStore() = default;

    // The file's bytes when it is a plain file of at most `maxBytes`. A
    // symbolic link is followed. Never blocks on a pipe.
    virtual FileBytes readWhole(const std::string& path, std::size_t maxBytes) = 0;

    // Writes `bytes` to a new file beside `path` (named by TemporaryNameFor),
    // created readable and writable by the user only, flushes it to disk and
    // renames it over `path`, then flushes the folder. An existing file's
    // permissions are kept; a symbolic link is followed, so the file it
    // points to is replaced and the link kept. Returns false, leaving the
    // old file as it was and no temporary file behind, when the folder
    // cannot be written or the old file is write-protected.
    virtual bool replaceWhole(const std::string& path, std::string_view bytes) = 0;

    // True when the user protected the file at `path` against changes
    // (no write permission for its owner, the read-only attribute):
    // replaceWhole refuses such a file.
    virtual bool isWriteProtected(const std::string& path) = 0;

    // Keeps the file at `path` (whatever it holds, even when it cannot be
    // read) under `asidePath` in the same folder: a second name for it where
    // the file system has them, else a copy, else the file itself moved
    // there. Never replaces anything already called `asidePath`. Fails for
    // anything but a plain file (a folder is left where it is).
    virtual AsideOutcome keepAside(const std::string& path, const std::string& asidePath) = 0;
};

// The store of the system the program runs on; never null.
std::unique_ptr<FileStore> MakeFileStore();

}  // namespace vantorel::platform
