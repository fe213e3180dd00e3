#pragma once
// Texts for failure details: system error messages, and UTF-8 <-> UTF-16
// for the wide Windows calls.

#include <string>
#include <string_view>

namespace popmail::net::win32 {

// The system's message for a Win32, Winsock or SECURITY_STATUS code, in
// English where the system has it (the details on Linux are English too),
// followed by the code in hex.
std::string SystemErrorText(unsigned long code);

// UTF-8 to UTF-16 and back; invalid sequences become U+FFFD.
std::wstring ToWide(std::string_view utf8);
std::string ToUtf8(std::wstring_view wide);

}  // namespace popmail::net::win32
