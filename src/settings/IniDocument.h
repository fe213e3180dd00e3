#pragma once
// One INI file in memory, line by line, as its bytes: lines the program
// does not change are written back exactly as they were read.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextCodec.h"
#include "settings/IniSyntax.h"

namespace vantorel::ini {

enum class FileEncoding {
    Cp932,        // no byte-order mark: Shift-JIS, as the Windows functions write it
    Utf8WithBom,  // chosen once a text appears that CP932 cannot hold
};

struct Line {
    std::string raw;     // the bytes in the file's encoding, without the line end
    std::string ending;  // "\r\n", "\n", "\r", or "" for a last line without one
    LineKind kind = LineKind::Other;
    std::string name;            // Section and Key: the name in UTF-8, trimmed
    std::string value;           // Key: the value in UTF-8, trimmed, quotes kept
    std::size_t valueBegin = 0;  // Key: where the value starts in `raw`
};

class Document {
  public:
    explicit Document(platform::TextCodec& codec) : codec_(codec) {}

    // Any bytes at all make a document; what is not understood stays Other.
    static Document Parse(std::string_view fileBytes, platform::TextCodec& codec);

    std::string Serialize() const;

    FileEncoding encoding() const { return encoding_; }

    // The value text of the first `key` in the first `section` (a later
    // section of the same name is ignored, as the Windows functions do),
    // unquoted; nullopt when there is none.
    std::optional<std::string> find(std::string_view section, std::string_view key) const;

    // Stores `fileValue` (already quoted for the file) as the text after
    // "=": in place when the key exists, else as a new key after the last
    // key of its section, else in a new section at the end. Switches the
    // whole document to UTF-8 first when CP932 cannot hold the new text.
    // Returns false when the file's bytes are unchanged.
    bool set(std::string_view section, std::string_view key, std::string_view fileValue);

  private:
    void appendLine(std::string_view raw, std::string_view ending);
    void reshape(Line& line) const;
    std::string decode(std::string_view raw) const;
    std::optional<std::string> encode(std::string_view utf8) const;
    void convertToUtf8();
    std::optional<std::size_t> findSection(std::string_view section) const;
    std::size_t sectionEnd(std::size_t header) const;
    void insertLine(std::size_t at, std::string raw);
    void appendSection(std::string_view section, std::string keyLine);

    platform::TextCodec& codec_;
    FileEncoding encoding_ = FileEncoding::Cp932;
    std::vector<Line> lines_;
};

}  // namespace vantorel::ini
