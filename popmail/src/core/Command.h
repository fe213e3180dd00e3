#pragma once
// The two commands the program sends: "STAT" and "LIST 1-N".

#include <cstddef>
#include <string_view>

#include "core/Failure.h"

namespace popmail {

struct Command {
    enum class Kind { Stat, List };
    Kind kind = Kind::Stat;
    std::size_t count = 0;  // N of "LIST 1-N"
};

// UnknownCommand for anything else; ListTooLarge above kMaxListCount.
Result<Command> ParseCommand(std::string_view text);

}  // namespace popmail
