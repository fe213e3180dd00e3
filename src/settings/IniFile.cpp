#include "settings/IniFile.h"

#include <cstdint>
#include <fstream>
#include <random>
#include <system_error>

namespace vantorel::ini {

namespace fs = std::filesystem;

namespace {

constexpr fs::perms kOwnerOnly = fs::perms::owner_read | fs::perms::owner_write;
constexpr std::string_view kTempInfix = ".tmp-";
constexpr int kHexBase = 16;

// A name no other writer picks: the settings file's name and a random number.
fs::path TempPathBeside(const fs::path& target) {
    constexpr int kWordBits = 32;
    std::random_device device;
    std::uint64_t number = (static_cast<std::uint64_t>(device()) << kWordBits) | device();
    std::string suffix(kTempInfix);
    do {
        suffix += "0123456789abcdef"[number % kHexBase];
        number /= kHexBase;
    } while (number != 0);
    fs::path temp = target;
    temp += PathFromUtf8(suffix);
    return temp;
}

bool WriteNewFile(const fs::path& temp, std::string_view bytes) {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) {
        return false;
    }
    // Owner only before the first byte goes in: the content holds a password.
    std::error_code error;
    fs::permissions(temp, kOwnerOnly, fs::perm_options::replace, error);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !error && !out.fail();
}

}  // namespace

fs::path PathFromUtf8(std::string_view utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

FileContent ReadWholeFile(const fs::path& path, std::size_t maxBytes) {
    FileContent content;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        content.status = ReadStatus::Missing;
        return content;
    }
    // Anything but a plain file (a folder, a pipe that would block) fails.
    if (error || status.type() != fs::file_type::regular) {
        return content;
    }
    const std::uintmax_t size = fs::file_size(path, error);
    if (error || size > maxBytes) {
        return content;
    }
    std::ifstream in(path, std::ios::binary);
    content.bytes.resize(static_cast<std::size_t>(size));
    in.read(content.bytes.data(), static_cast<std::streamsize>(size));
    if (!in || in.gcount() != static_cast<std::streamsize>(size)) {
        content.bytes.clear();
        return content;
    }
    content.status = ReadStatus::Read;
    return content;
}

bool ReplaceFile(const fs::path& path, std::string_view bytes) {
    std::error_code error;
    const bool isLink = fs::is_symlink(fs::symlink_status(path, error));
    const fs::path target = isLink ? fs::canonical(path, error) : path;
    if (isLink && error) {
        return false;  // a link to nowhere: nothing sensible to replace
    }
    fs::perms perms = kOwnerOnly;
    std::error_code statusError;  // set for a missing file too: nothing to keep then
    const fs::file_status old = fs::status(target, statusError);
    if (fs::exists(old)) {
        perms = old.permissions();
        if ((perms & fs::perms::owner_write) == fs::perms::none) {
            return false;  // the user protected the file against changes
        }
    }
    const fs::path temp = TempPathBeside(target);
    if (!WriteNewFile(temp, bytes)) {
        fs::remove(temp, error);
        return false;
    }
    fs::permissions(temp, perms, fs::perm_options::replace, error);
    if (!error) {
        fs::rename(temp, target, error);
    }
    if (error) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return false;
    }
    return true;
}

}  // namespace vantorel::ini
