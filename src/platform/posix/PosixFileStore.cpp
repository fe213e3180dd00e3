#include "platform/posix/PosixFileStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/TemporaryName.h"

namespace vantorel::posix {

namespace {

constexpr mode_t kOwnerOnly = S_IRUSR | S_IWUSR;  // the file holds a password
constexpr mode_t kPermissionBits = 07777;
constexpr int kNameAttempts = 8;  // a clash of two random 64-bit names is rare
constexpr std::size_t kChunkBytes = 64 * 1024;

// Closes a descriptor when it goes out of scope.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now, reporting the error a late write-back may bring.
    bool closeNow() {
        const int fd = fd_;
        fd_ = -1;
        return close(fd) == 0;
    }

  private:
    int fd_;
};

platform::FileBytes Outcome(platform::ReadOutcome outcome, std::string detail = {}) {
    platform::FileBytes result;
    result.condition = {outcome, std::move(detail)};
    return result;
}

platform::FileBytes OpenFailure(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return Outcome(platform::ReadOutcome::Missing);
        case EACCES:
        case EPERM:
            return Outcome(platform::ReadOutcome::AccessDenied);
        case ENXIO:  // a socket or a pipe without a writer
            return Outcome(platform::ReadOutcome::NotAFile);
        default:
            return Outcome(platform::ReadOutcome::Failed, std::strerror(error));
    }
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The rename is only durable once the folder's entry is on the disk.
bool SyncFolder(const std::string& folder) {
    Descriptor fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return fd.valid() && fsync(fd.get()) == 0;
}

// The file a replacement must write: the target of a symbolic link.
bool ResolveTarget(const std::string& path, std::string& target) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        target = path;
        return true;
    }
    std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr), &std::free);
    if (!real) {
        return false;  // a link to nowhere: nothing sensible to replace
    }
    target = real.get();
    return true;
}

// Creates a new, private temporary file beside `target`: never an existing
// file, never through a link someone put in its place.
int CreateTemporary(const std::string& target, std::string& temporary) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        temporary = platform::TemporaryNameFor(target, platform::RandomTemporaryNumber());
        const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                            kOwnerOnly);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

bool CopyInto(const std::string& from, int toFd) {
    Descriptor in(open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!in.valid()) {
        return false;
    }
    std::array<char, kChunkBytes> buffer{};
    for (;;) {
        const ssize_t got = read(in.get(), buffer.data(), buffer.size());
        if (got == 0) {
            return fsync(toFd) == 0;
        }
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0 ||
            !WriteAll(toFd, std::string_view(buffer.data(), static_cast<std::size_t>(got)))) {
            return false;
        }
    }
}

platform::AsideOutcome CopyAside(const std::string& path, const std::string& asidePath) {
    Descriptor out(
        open(asidePath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kOwnerOnly));
    if (!out.valid()) {
        return errno == EEXIST ? platform::AsideOutcome::NameTaken : platform::AsideOutcome::Failed;
    }
    if (CopyInto(path, out.get()) && out.closeNow()) {
        return platform::AsideOutcome::Kept;
    }
    unlink(asidePath.c_str());
    return platform::AsideOutcome::Failed;
}

}  // namespace

platform::FileBytes PosixFileStore::readWhole(const std::string& path, std::size_t maxBytes) {
    // O_NONBLOCK: opening a pipe must not wait for a writer.
    Descriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) {
        return OpenFailure(errno);
    }
    struct stat info {};
    if (fstat(fd.get(), &info) != 0) {
        return Outcome(platform::ReadOutcome::Failed, std::strerror(errno));
    }
    if (!S_ISREG(info.st_mode)) {
        return Outcome(platform::ReadOutcome::NotAFile);
    }
    if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
        return Outcome(platform::ReadOutcome::TooLarge);
    }
    platform::FileBytes result = Outcome(platform::ReadOutcome::Read);
    std::array<char, kChunkBytes> buffer{};
    for (;;) {
        const ssize_t got = read(fd.get(), buffer.data(), buffer.size());
        if (got == 0) {
            return result;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Outcome(platform::ReadOutcome::Failed, std::strerror(errno));
        }
        // The file may grow while it is read.
        if (result.bytes.size() + static_cast<std::size_t>(got) > maxBytes) {
            return Outcome(platform::ReadOutcome::TooLarge);
        }
        result.bytes.append(buffer.data(), static_cast<std::size_t>(got));
    }
}

bool PosixFileStore::replaceWhole(const std::string& path, std::string_view bytes) {
    std::string target;
    if (!ResolveTarget(path, target)) {
        return false;
    }
    mode_t mode = kOwnerOnly;
    struct stat old {};
    if (stat(target.c_str(), &old) == 0) {
        if ((old.st_mode & S_IWUSR) == 0) {
            return false;  // the user protected the file against changes
        }
        mode = old.st_mode & kPermissionBits;
    }
    std::string temporary;
    Descriptor fd(CreateTemporary(target, temporary));
    if (!fd.valid()) {
        return false;
    }
    if (onTemporaryCreated_) {
        onTemporaryCreated_(temporary);
    }
    const bool written = WriteAll(fd.get(), bytes) &&
                         (mode == kOwnerOnly || fchmod(fd.get(), mode) == 0) &&
                         fsync(fd.get()) == 0 && fd.closeNow();
    // The new file's entry is on the disk before it takes the old file's
    // place. Like the flush after the rename, a failure here only weakens
    // the write's survival of a power cut (some file systems refuse to
    // flush a folder), so it does not fail the write.
    if (written) {
        SyncFolder(FolderOf(target));
    }
    if (!written || rename(temporary.c_str(), target.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    // The new content is in place; a failed folder flush only weakens its
    // survival of a power cut, so it does not make the write a failure.
    SyncFolder(FolderOf(target));
    return true;
}

bool PosixFileStore::isWriteProtected(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && (info.st_mode & S_IWUSR) == 0;
}

platform::AsideOutcome PosixFileStore::keepAside(const std::string& path,
                                                 const std::string& asidePath) {
    // Only a file is kept: a folder of that name is the user's, not ours.
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return platform::AsideOutcome::Failed;
    }
    // A second name keeps the file exactly, even one nobody may read.
    if (linkat(AT_FDCWD, path.c_str(), AT_FDCWD, asidePath.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        SyncFolder(FolderOf(asidePath));
        return platform::AsideOutcome::Kept;
    }
    if (errno == EEXIST) {
        return platform::AsideOutcome::NameTaken;
    }
    const platform::AsideOutcome copied = CopyAside(path, asidePath);
    if (copied != platform::AsideOutcome::Failed) {
        return copied;
    }
    // Neither: the file itself goes aside, unless the name is taken.
    if (renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, asidePath.c_str(), RENAME_NOREPLACE) == 0) {
        SyncFolder(FolderOf(asidePath));
        return platform::AsideOutcome::Moved;
    }
    return errno == EEXIST ? platform::AsideOutcome::NameTaken : platform::AsideOutcome::Failed;
}

}  // namespace vantorel::posix

namespace vantorel::platform {

std::unique_ptr<FileStore> MakeFileStore() {
    return std::make_unique<posix::PosixFileStore>();
}

}  // namespace vantorel::platform
