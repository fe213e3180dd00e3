#include "core/Command.h"

#include "core/Limits.h"

namespace popmail {

Result<Command> ParseCommand(std::string_view text) {
    constexpr std::string_view kStat = "STAT";
    constexpr std::string_view kListPrefix = "LIST 1-";
    if (text == kStat) {
        return Command{Command::Kind::Stat, 0};
    }
    if (text.substr(0, kListPrefix.size()) != kListPrefix) {
        return Fail(FailureKind::UnknownCommand, std::string(text));
    }
    const std::string_view digits = text.substr(kListPrefix.size());
    if (digits.empty()) {
        return Fail(FailureKind::UnknownCommand, std::string(text));
    }
    std::size_t count = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return Fail(FailureKind::UnknownCommand, std::string(text));
        }
        count = count * 10 + static_cast<std::size_t>(c - '0');
        if (count > kMaxListCount) {
            return Fail(FailureKind::ListTooLarge,
                        std::string(text) + "（上限 " + std::to_string(kMaxListCount) + " 通）");
        }
    }
    return Command{Command::Kind::List, count};
}

}  // namespace popmail
