#pragma once
// CP932 <-> UTF-8 through the C library's iconv ("CP932": Shift-JIS with
// the NEC and IBM extensions, as Windows reads it). One thread at a time:
// the converters keep state between calls.

#include <iconv.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/TextCodec.h"

namespace vantorel::posix {

class IconvCodec : public platform::TextCodec {
  public:
    IconvCodec();
    ~IconvCodec() override;
    IconvCodec(const IconvCodec&) = delete;
    IconvCodec& operator=(const IconvCodec&) = delete;

    // Also nullopt for characters that iconv would map to a different
    // character (¥ to "\", 〜 to ～): such text would not read back as
    // written. Without a CP932 converter only ASCII is accepted.
    std::optional<std::string> utf8ToCp932(std::string_view utf8) override;

    // Without a CP932 converter every non-ASCII byte becomes U+FFFD.
    std::string cp932ToUtf8(std::string_view cp932) override;

  private:
    std::optional<std::string> encode(std::string_view utf8);

    iconv_t toCp932_;
    iconv_t fromCp932_;
};

}  // namespace vantorel::posix
