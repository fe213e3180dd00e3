#include "settings/IniSyntax.h"

#include "text/AsciiCase.h"

namespace vantorel::ini {

namespace {

constexpr char kSectionOpen = '[';
constexpr char kSectionClose = ']';
constexpr char kAssign = '=';
constexpr std::string_view kCommentStarts = ";#";
constexpr std::string_view kLineBreakers{"\r\n\0", 3};
constexpr char kDoubleQuote = '"';
constexpr char kSingleQuote = '\'';

std::size_t SkipBlanks(std::string_view text, std::size_t from, std::size_t end) {
    while (from < end && IsBlank(text[from])) {
        ++from;
    }
    return from;
}

std::size_t TrimBlanksBack(std::string_view text, std::size_t begin, std::size_t end) {
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    return end;
}

bool IsQuote(char c) {
    return c == kDoubleQuote || c == kSingleQuote;
}

bool HoldsLineBreaker(std::string_view text) {
    return text.find_first_of(kLineBreakers) != std::string_view::npos;
}

}  // namespace

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t begin = SkipBlanks(text, 0, text.size());
    const std::size_t end = TrimBlanksBack(text, begin, text.size());
    return text.substr(begin, end - begin);
}

LineShape ShapeOfLine(std::string_view line) {
    LineShape shape;
    const std::size_t begin = SkipBlanks(line, 0, line.size());
    const std::size_t end = TrimBlanksBack(line, begin, line.size());
    if (begin == end) {
        shape.kind = LineKind::Blank;
        return shape;
    }
    const char first = line[begin];
    if (kCommentStarts.find(first) != std::string_view::npos) {
        shape.kind = LineKind::Comment;
        return shape;
    }
    if (first == kSectionOpen) {
        shape.kind = LineKind::Section;
        shape.nameBegin = begin + 1;
        shape.nameEnd = end;
        return shape;
    }
    const std::size_t assign = line.find(kAssign, begin);
    if (assign == std::string_view::npos || assign >= end) {
        return shape;
    }
    const std::size_t nameEnd = TrimBlanksBack(line, begin, assign);
    if (nameEnd == begin) {
        return shape;  // "=value": a key without a name is never matched
    }
    shape.kind = LineKind::Key;
    shape.nameBegin = begin;
    shape.nameEnd = nameEnd;
    shape.valueBegin = SkipBlanks(line, assign + 1, end);
    shape.valueEnd = end;
    return shape;
}

std::optional<std::string_view> SectionHeaderName(std::string_view afterBracket) {
    // The last bracket closes the name, as the Windows functions read it.
    const std::size_t close = afterBracket.rfind(kSectionClose);
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return TrimBlanks(afterBracket.substr(0, close));
}

bool NamesMatch(std::string_view a, std::string_view b) {
    return text::EqualsIgnoringAsciiCase(a, b);
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string QuoteForFile(std::string_view value) {
    const bool blankAtEnd = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()));
    if (blankAtEnd || Unquote(value).size() != value.size()) {
        std::string quoted;
        quoted.reserve(value.size() + 2);
        quoted += kDoubleQuote;
        quoted += value;
        quoted += kDoubleQuote;
        return quoted;
    }
    return std::string(value);
}

bool IsStorableSection(std::string_view name) {
    return !name.empty() && name.find(kSectionClose) == std::string_view::npos &&
           !HoldsLineBreaker(name);
}

bool IsStorableKey(std::string_view name) {
    const bool looksLikeOtherLine =
        !name.empty() && (name.front() == kSectionOpen ||
                          kCommentStarts.find(name.front()) != std::string_view::npos);
    return !name.empty() && !looksLikeOtherLine && name.find(kAssign) == std::string_view::npos &&
           !HoldsLineBreaker(name);
}

bool IsStorableValue(std::string_view value) {
    return !HoldsLineBreaker(value);
}

}  // namespace vantorel::ini
