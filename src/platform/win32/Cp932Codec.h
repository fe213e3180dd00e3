#pragma once
// UTF-8 <-> CP932 through the system's own code page 932 tables, the ones
// the ANSI profile functions use on a Japanese system.

#include "platform/TextCodec.h"

namespace vantorel::win32 {

class Cp932Codec : public platform::TextCodec {
  public:
    // nullopt also for a character that Windows would only map to a look-
    // alike ("best fit"): such text would not read back as written.
    std::optional<std::string> utf8ToCp932(std::string_view utf8) override;

    std::string cp932ToUtf8(std::string_view cp932) override;
};

}  // namespace vantorel::win32
