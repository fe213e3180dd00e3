#pragma once
// The names of the temporary files a replacement writes beside its target.
// A write that was interrupted (power cut, killed process) leaves one
// behind; the names let start-up recognise and remove them.

#include <cstdint>
#include <string>
#include <string_view>

namespace vantorel::platform {

// `target` + ".tmp-" + `number` as 16 lower-case hexadecimal digits.
std::string TemporaryNameFor(std::string_view target, std::uint64_t number);

// Whether `fileName` is a temporary file of a file named `targetName` in
// the same folder: the target's name (ASCII letters in any case, as the
// settings file's name is matched), ".tmp-", then 1 to 16 lower-case
// hexadecimal digits.
bool IsTemporaryNameOf(std::string_view fileName, std::string_view targetName);

// A random number for TemporaryNameFor, different in every call.
std::uint64_t RandomTemporaryNumber();

}  // namespace vantorel::platform
