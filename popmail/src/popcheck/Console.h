#pragma once
// popcheck's arguments and standard streams in UTF-8, the library's own
// encoding, whatever the system's console uses.

#include <string>
#include <string_view>
#include <vector>

namespace popcheck {

// The command line, program name first.
std::vector<std::string> Arguments(int argc, char** argv);

// The first line of standard input, without its line end.
std::string ReadLine();

// Writes `text` to standard output.
void Write(std::string_view text);

}  // namespace popcheck
