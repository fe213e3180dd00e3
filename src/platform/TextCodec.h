#pragma once
// Conversion between the program's UTF-8 text and Shift-JIS (code page 932
// with its NEC and IBM extensions), the encoding of the settings file.

#include <optional>
#include <string>
#include <string_view>

namespace vantorel::platform {

class TextCodec {
  public:
    virtual ~TextCodec() = default;

    // The CP932 bytes of `utf8`, or nullopt when a character has no CP932
    // form or `utf8` is not valid UTF-8. Never substitutes "?".
    virtual std::optional<std::string> utf8ToCp932(std::string_view utf8) = 0;

    // The UTF-8 text of CP932 bytes. A byte sequence that is not CP932
    // becomes U+FFFD; never fails.
    virtual std::string cp932ToUtf8(std::string_view cp932) = 0;
};

}  // namespace vantorel::platform
