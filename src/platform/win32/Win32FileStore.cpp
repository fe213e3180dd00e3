#include "platform/win32/Win32FileStore.h"

#include <windows.h>

#include <array>
#include <memory>
#include <vector>

#include "platform/TemporaryName.h"
#include "platform/win32/WideText.h"

namespace vantorel::win32 {

namespace {

constexpr int kNameAttempts = 8;  // a clash of two random 64-bit names is rare
constexpr DWORD kChunkBytes = 64 * 1024;

// Closes a file handle when it goes out of scope.
class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { closeNow(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool closeNow() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle == INVALID_HANDLE_VALUE || CloseHandle(handle) != FALSE;
    }

  private:
    HANDLE handle_;
};

// A security descriptor whose access list grants full access to the
// running user and to the system account, and nothing to anyone else; it
// is protected, so the folder's inheritable entries do not join it.
class PrivateSecurity {
  public:
    PrivateSecurity() { ok_ = build(); }
    // The descriptor points into the object's own members.
    PrivateSecurity(const PrivateSecurity&) = delete;
    PrivateSecurity& operator=(const PrivateSecurity&) = delete;
    SECURITY_ATTRIBUTES* attributes() { return ok_ ? &attributes_ : nullptr; }

  private:
    bool build() {
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
            return false;
        }
        DWORD size = 0;
        GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        user_.resize(size);
        const BOOL gotUser = GetTokenInformation(token, TokenUser, user_.data(), size, &size);
        CloseHandle(token);
        if (!gotUser) {
            return false;
        }
        PSID user = reinterpret_cast<TOKEN_USER*>(user_.data())->User.Sid;
        DWORD systemSize = SECURITY_MAX_SID_SIZE;
        system_.resize(systemSize);
        if (!CreateWellKnownSid(WinLocalSystemSid, nullptr, system_.data(), &systemSize)) {
            return false;
        }
        PSID system = system_.data();
        const DWORD aclSize = sizeof(ACL) + 2 * (sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD)) +
                              GetLengthSid(user) + GetLengthSid(system);
        acl_.resize(aclSize);
        PACL acl = reinterpret_cast<PACL>(acl_.data());
        if (!InitializeAcl(acl, aclSize, ACL_REVISION) ||
            !AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, user) ||
            !AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, system) ||
            !InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) ||
            !SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) ||
            !SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED)) {
            return false;
        }
        attributes_ = {sizeof(attributes_), &descriptor_, FALSE};
        return true;
    }

    bool ok_ = false;
    std::vector<BYTE> user_;
    std::vector<BYTE> system_;
    std::vector<BYTE> acl_;
    SECURITY_DESCRIPTOR descriptor_{};
    SECURITY_ATTRIBUTES attributes_{};
};

std::string SystemMessage(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length != 0 ? std::wstring(text, length) : std::wstring();
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' ||
                                message.back() == L' ' || message.back() == L'.')) {
        message.pop_back();
    }
    return message.empty() ? "error " + std::to_string(error) : Narrow(message);
}

platform::FileBytes Outcome(platform::ReadOutcome outcome, std::string detail = {}) {
    platform::FileBytes result;
    result.condition = {outcome, std::move(detail)};
    return result;
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

platform::FileBytes OpenFailure(const std::wstring& path, DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return Outcome(platform::ReadOutcome::Missing);
        case ERROR_ACCESS_DENIED:
            // A folder opened as a file fails the same way.
            return Outcome(IsFolder(path) ? platform::ReadOutcome::NotAFile
                                          : platform::ReadOutcome::AccessDenied);
        default:
            return Outcome(platform::ReadOutcome::Failed, SystemMessage(error));
    }
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk =
            bytes.size() < kChunkBytes ? static_cast<DWORD>(bytes.size()) : kChunkBytes;
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

bool IsNameTaken(DWORD error) {
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
}

}  // namespace

platform::FileBytes Win32FileStore::readWhole(const std::string& path, std::size_t maxBytes) {
    const std::wstring wide = Widen(path);
    FileHandle file(CreateFileW(wide.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        return OpenFailure(wide, GetLastError());
    }
    if (GetFileType(file.get()) != FILE_TYPE_DISK) {
        return Outcome(platform::ReadOutcome::NotAFile);
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) {
        return Outcome(platform::ReadOutcome::Failed, SystemMessage(GetLastError()));
    }
    if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
        return Outcome(platform::ReadOutcome::TooLarge);
    }
    platform::FileBytes result = Outcome(platform::ReadOutcome::Read);
    std::vector<char> buffer(kChunkBytes);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer.data(), kChunkBytes, &got, nullptr)) {
            return Outcome(platform::ReadOutcome::Failed, SystemMessage(GetLastError()));
        }
        if (got == 0) {
            return result;
        }
        // The file may grow while it is read.
        if (result.bytes.size() + got > maxBytes) {
            return Outcome(platform::ReadOutcome::TooLarge);
        }
        result.bytes.append(buffer.data(), got);
    }
}

bool Win32FileStore::replaceWhole(const std::string& path, std::string_view bytes) {
    if (isWriteProtected(path)) {
        return false;
    }
    const std::wstring target = Widen(path);
    PrivateSecurity security;
    if (security.attributes() == nullptr) {
        return false;  // never a settings file that others may read
    }
    std::string temporary;
    HANDLE created = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < kNameAttempts && created == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = platform::TemporaryNameFor(path, platform::RandomTemporaryNumber());
        created = CreateFileW(Widen(temporary).c_str(), GENERIC_WRITE, 0, security.attributes(),
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created == INVALID_HANDLE_VALUE && !IsNameTaken(GetLastError())) {
            return false;
        }
    }
    FileHandle file(created);
    if (!file.valid()) {
        return false;
    }
    if (onTemporaryCreated_) {
        onTemporaryCreated_(temporary);
    }
    const std::wstring wideTemporary = Widen(temporary);
    const bool written =
        WriteAll(file.get(), bytes) && FlushFileBuffers(file.get()) && file.closeNow();
    if (!written || !MoveFileExW(wideTemporary.c_str(), target.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        file.closeNow();
        DeleteFileW(wideTemporary.c_str());
        return false;
    }
    return true;
}

bool Win32FileStore::isWriteProtected(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

platform::AsideOutcome Win32FileStore::keepAside(const std::string& path,
                                                 const std::string& asidePath) {
    const std::wstring from = Widen(path);
    const std::wstring to = Widen(asidePath);
    const DWORD attributes = GetFileAttributesW(from.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return platform::AsideOutcome::Failed;  // a folder of that name is the user's
    }
    // A second name keeps the file exactly, even one nobody may read; then
    // a copy; then the file itself moved aside.
    if (CreateHardLinkW(to.c_str(), from.c_str(), nullptr)) {
        return platform::AsideOutcome::Kept;
    }
    if (IsNameTaken(GetLastError())) {
        return platform::AsideOutcome::NameTaken;
    }
    if (CopyFileW(from.c_str(), to.c_str(), TRUE)) {
        return platform::AsideOutcome::Kept;
    }
    if (IsNameTaken(GetLastError())) {
        return platform::AsideOutcome::NameTaken;
    }
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) {
        return platform::AsideOutcome::Moved;
    }
    return IsNameTaken(GetLastError()) ? platform::AsideOutcome::NameTaken
                                       : platform::AsideOutcome::Failed;
}

}  // namespace vantorel::win32

namespace vantorel::platform {

std::unique_ptr<FileStore> MakeFileStore() {
    return std::make_unique<win32::Win32FileStore>();
}

}  // namespace vantorel::platform
