#include "decode/HeaderFields.h"

#include <algorithm>
#include <utility>

#include "decode/Limits.h"

namespace popmail::decode {
namespace {

constexpr char kFieldNameEnd = ':';

constexpr bool IsFoldWhitespace(char c) {
    return c == ' ' || c == '\t';
}

// Field names are printable ASCII without ':' (RFC 5322 ftext).
constexpr bool IsFieldNameChar(char c) {
    return c > ' ' && c < '\x7F' && c != kFieldNameEnd;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; };
        return lower(x) == lower(y);
    });
}

void AppendCapped(std::string& value, std::string_view text) {
    const std::size_t room = kMaxFieldValueBytes - std::min(value.size(), kMaxFieldValueBytes);
    value.append(text.substr(0, room));
}

// Reads the block line by line; a line that starts with whitespace continues
// the field before it. Lines that are no field (an mbox "From " line,
// garbage) are skipped along with their continuations.
class SummaryFieldReader {
  public:
    SummaryFields Read(std::string_view block) {
        block = block.substr(0, kMaxHeaderBlockBytes);
        std::size_t pos = 0;
        while (pos < block.size()) {
            const std::size_t newline = std::min(block.find('\n', pos), block.size());
            std::string_view line = block.substr(pos, newline - pos);
            pos = newline + 1;
            if (line.ends_with('\r')) {
                line.remove_suffix(1);
            }
            if (line.empty()) {
                break;  // the blank line that ends the header
            }
            ReadLine(line);
        }
        return std::move(fields_);
    }

  private:
    void ReadLine(std::string_view line) {
        if (IsFoldWhitespace(line.front())) {
            if (current_ != nullptr) {
                AppendCapped(*current_, line);
            }
            return;
        }
        current_ = nullptr;
        const std::size_t colon = line.find(kFieldNameEnd);
        if (colon == std::string_view::npos) {
            return;
        }
        std::string_view name = line.substr(0, colon);
        while (!name.empty() && IsFoldWhitespace(name.back())) {
            name.remove_suffix(1);  // "Subject :" is an obsolete but valid form
        }
        if (name.empty() || !std::all_of(name.begin(), name.end(), IsFieldNameChar)) {
            return;
        }
        current_ = FieldFor(name);
        if (current_ != nullptr) {
            AppendCapped(*current_, line.substr(colon + 1));
        }
    }

    // Where the field called `name` goes: nullptr when it is not wanted or an
    // earlier field of that name was already read.
    std::string* FieldFor(std::string_view name) {
        struct Wanted {
            std::string_view name;
            std::string* value;
            bool* seen;
        };
        const Wanted wanted[] = {{"Subject", &fields_.subject, &seenSubject_},
                                 {"From", &fields_.from, &seenFrom_},
                                 {"Date", &fields_.date, &seenDate_}};
        for (const Wanted& field : wanted) {
            if (EqualsIgnoringAsciiCase(name, field.name)) {
                if (*field.seen) {
                    return nullptr;
                }
                *field.seen = true;
                return field.value;
            }
        }
        return nullptr;
    }

    SummaryFields fields_;
    std::string* current_ = nullptr;
    bool seenSubject_ = false;
    bool seenFrom_ = false;
    bool seenDate_ = false;
};

}  // namespace

SummaryFields FindSummaryFields(std::string_view headerBlock) {
    return SummaryFieldReader().Read(headerBlock);
}

std::string Unfold(std::string_view rawValue) {
    std::string value;
    value.reserve(std::min(rawValue.size(), kMaxFieldValueBytes));
    for (std::size_t pos = 0; pos < rawValue.size() && value.size() < kMaxFieldValueBytes; ++pos) {
        const std::string_view rest = rawValue.substr(pos);
        const std::size_t breakLength = rest.starts_with("\r\n") ? 2
                                        : rest.starts_with('\n') ? 1
                                                                 : 0;
        if (breakLength > 0 && rest.size() > breakLength && IsFoldWhitespace(rest[breakLength])) {
            pos += breakLength - 1;
            continue;
        }
        value.push_back(rawValue[pos]);
    }
    return value;
}

}  // namespace popmail::decode
