#pragma once
// The settings file as the Windows profile functions see it, on every
// platform: section and key names without regard to letter case, blanks
// around names and values trimmed, a value wholly inside matching quotes
// unquoted, the first of duplicate keys and of duplicate sections used,
// lines starting with ";" or "#" taken as comments, CRLF or LF line ends.
//
// The file is Shift-JIS (CP932) with CRLF line ends. Once it must hold a
// character that CP932 lacks, it is written as UTF-8 with a byte-order mark
// and stays so; a file with that mark is read as UTF-8.
//
// Every value reads back exactly as written: values with blanks at the ends
// or wholly inside quotes are stored inside double quotes, and what cannot
// be stored (CR, LF, NUL, names the file syntax cannot hold) is refused.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/FileStore.h"
#include "platform/Profile.h"
#include "platform/TextCodec.h"

namespace vantorel {

class IniProfile : public platform::Profile {
  public:
    // Values are read whole up to this many bytes of UTF-8; a longer value
    // (only a hand-edited file has one) is cut here at a character
    // boundary, and writing a longer value is refused.
    static constexpr std::size_t kMaxValueBytes = 64 * 1024;

    // A larger file is not read: reads give their defaults.
    static constexpr std::size_t kMaxFileBytes = 16 * 1024 * 1024;

    IniProfile(platform::TextCodec& codec, platform::FileStore& store)
        : codec_(codec), store_(store) {}

    // Bad bytes in the file read as U+FFFD; a value ends at a NUL byte.
    std::string getString(std::string_view section, std::string_view key, std::string_view fallback,
                          const std::string& path) override;

    // Changes only the key's own line (or adds one); every other line keeps
    // its bytes. The file is replaced whole through a temporary file beside
    // it; a new file is readable by its owner only. A file that cannot be
    // read (too large, refused, failing) is first kept beside itself under
    // a name of its own (see ini::AsideName), then replaced by a new file
    // that holds the one key; when it cannot be kept (a folder of that
    // name), nothing is written.
    bool writeString(std::string_view section, std::string_view key, std::string_view value,
                     const std::string& path) override;

    // Removes the temporary files of interrupted writes and tries a read.
    platform::FileCondition prepare(const std::string& path) override;

  private:
    platform::TextCodec& codec_;
    platform::FileStore& store_;
};

}  // namespace vantorel
