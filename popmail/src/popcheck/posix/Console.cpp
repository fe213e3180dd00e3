// On POSIX systems the terminal and the pipes carry UTF-8 bytes as they are.
#include "popcheck/Console.h"

#include <iostream>

namespace popcheck {

std::vector<std::string> Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

std::string ReadLine() {
    std::string line;
    std::getline(std::cin, line);
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

void Write(std::string_view text) {
    std::cout << text;
}

}  // namespace popcheck
