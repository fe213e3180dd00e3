#include "core/JsonFields.h"

#include <cstdint>

namespace popmail {
namespace {

constexpr std::string_view kWhitespace = " \t\r\n";
constexpr std::string_view kLiteralCharacters = "+-.0123456789abcdefghijklmnopqrstuvwxyzE";
constexpr std::uint32_t kHighSurrogateFirst = 0xD800;
constexpr std::uint32_t kLowSurrogateFirst = 0xDC00;
constexpr std::uint32_t kLowSurrogateEnd = 0xE000;
constexpr std::uint32_t kSupplementaryFirst = 0x10000;
constexpr std::uint32_t kReplacementCharacter = 0xFFFD;
constexpr int kHexDigitsPerEscape = 4;

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < kSupplementaryFirst) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}

    std::optional<std::map<std::string, std::string>> Object() {
        std::map<std::string, std::string> fields;
        if (!Expect('{')) {
            return std::nullopt;
        }
        if (Peek() == '}') {
            ++at_;
            return End(std::move(fields));
        }
        for (;;) {
            auto name = String();
            if (!name || !Expect(':')) {
                return std::nullopt;
            }
            auto value = Value(1);
            if (!value) {
                return std::nullopt;
            }
            if (*value) {
                fields[*name] = std::move(**value);
            }
            const char next = Peek();
            ++at_;
            if (next == '}') {
                return End(std::move(fields));
            }
            if (next != ',') {
                return std::nullopt;
            }
        }
    }

  private:
    using Scalar = std::optional<std::string>;  // nullopt for a nested value

    std::optional<std::map<std::string, std::string>> End(
        std::map<std::string, std::string> fields) {
        SkipWhitespace();
        if (at_ != text_.size()) {
            return std::nullopt;
        }
        return fields;
    }

    void SkipWhitespace() {
        while (at_ < text_.size() && kWhitespace.find(text_[at_]) != std::string_view::npos) {
            ++at_;
        }
    }

    char Peek() {
        SkipWhitespace();
        return at_ < text_.size() ? text_[at_] : '\0';
    }

    bool Expect(char c) {
        if (Peek() != c) {
            return false;
        }
        ++at_;
        return true;
    }

    // A value: its text when it is a scalar, nullopt inside when nested.
    std::optional<Scalar> Value(int depth) {
        const char first = Peek();
        if (first == '"') {
            auto text = String();
            return text ? std::optional<Scalar>(std::move(text)) : std::nullopt;
        }
        if (first == '{' || first == '[') {
            if (depth >= kMaxJsonDepth || !SkipNested(depth)) {
                return std::nullopt;
            }
            return Scalar{};
        }
        const std::size_t start = at_;
        while (at_ < text_.size() &&
               kLiteralCharacters.find(text_[at_]) != std::string_view::npos) {
            ++at_;
        }
        if (at_ == start) {
            return std::nullopt;
        }
        return Scalar{std::string(text_.substr(start, at_ - start))};
    }

    bool SkipNested(int depth) {
        const char close = text_[at_] == '{' ? '}' : ']';
        const bool object = close == '}';
        ++at_;
        if (Peek() == close) {
            ++at_;
            return true;
        }
        for (;;) {
            if (object && (!String() || !Expect(':'))) {
                return false;
            }
            if (!Value(depth + 1)) {
                return false;
            }
            const char next = Peek();
            ++at_;
            if (next == close) {
                return true;
            }
            if (next != ',') {
                return false;
            }
        }
    }

    std::optional<std::string> String() {
        if (!Expect('"')) {
            return std::nullopt;
        }
        std::string out;
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (c == '"') {
                return out;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                return std::nullopt;
            }
            if (c != '\\') {
                out += c;
            } else if (!Escape(out)) {
                return std::nullopt;
            }
        }
        return std::nullopt;
    }

    bool Escape(std::string& out) {
        if (at_ >= text_.size()) {
            return false;
        }
        const char c = text_[at_++];
        switch (c) {
            case '"':
            case '\\':
            case '/':
                out += c;
                return true;
            case 'b':
                out += '\b';
                return true;
            case 'f':
                out += '\f';
                return true;
            case 'n':
                out += '\n';
                return true;
            case 'r':
                out += '\r';
                return true;
            case 't':
                out += '\t';
                return true;
            case 'u':
                return UnicodeEscape(out);
            default:
                return false;
        }
    }

    std::optional<std::uint32_t> Hex4() {
        if (text_.size() - at_ < kHexDigitsPerEscape) {
            return std::nullopt;
        }
        std::uint32_t value = 0;
        for (int i = 0; i < kHexDigitsPerEscape; ++i) {
            const char c = text_[at_++];
            value <<= 4;
            if (c >= '0' && c <= '9') {
                value |= static_cast<std::uint32_t>(c - '0');
            } else if (c >= 'a' && c <= 'f') {
                value |= static_cast<std::uint32_t>(c - 'a' + 10);
            } else if (c >= 'A' && c <= 'F') {
                value |= static_cast<std::uint32_t>(c - 'A' + 10);
            } else {
                return std::nullopt;
            }
        }
        return value;
    }

    // \uXXXX, with a surrogate pair joined; a lone surrogate becomes U+FFFD.
    bool UnicodeEscape(std::string& out) {
        auto code = Hex4();
        if (!code) {
            return false;
        }
        const bool high = *code >= kHighSurrogateFirst && *code < kLowSurrogateFirst;
        const bool low = *code >= kLowSurrogateFirst && *code < kLowSurrogateEnd;
        if (high && text_.substr(at_, 2) == "\\u") {
            const std::size_t pairStart = at_;
            at_ += 2;
            auto second = Hex4();
            if (second && *second >= kLowSurrogateFirst && *second < kLowSurrogateEnd) {
                AppendUtf8(out, kSupplementaryFirst + ((*code - kHighSurrogateFirst) << 10) +
                                    (*second - kLowSurrogateFirst));
                return true;
            }
            at_ = pairStart;  // not a pair: read the second escape on its own
        }
        AppendUtf8(out, high || low ? kReplacementCharacter : *code);
        return true;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace

std::optional<std::map<std::string, std::string>> JsonObjectFields(std::string_view json) {
    return Reader(json).Object();
}

}  // namespace popmail
