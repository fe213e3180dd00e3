#pragma once
// The text rules of an INI file as the Windows profile functions apply them:
// what a line is, how names compare, how a value is trimmed and unquoted,
// and how a value must be written so that it reads back unchanged.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vantorel::ini {

enum class LineKind {
    Blank,    // nothing but blanks
    Comment,  // first non-blank is ";" or "#"
    Section,  // "[name]"; text after the closing bracket is ignored
    Key,      // "name=value"
    Other,    // anything else: kept, never matched
};

// Where the parts of one line lie, as byte offsets into the line. The
// offsets are found on the raw bytes: the characters they look for (blanks,
// "=", ";", "#", "[") are never the second byte of a CP932 character.
struct LineShape {
    LineKind kind = LineKind::Other;
    std::size_t nameBegin = 0;  // Key: the key; Section: just after "["
    std::size_t nameEnd = 0;
    std::size_t valueBegin = 0;  // Key only
    std::size_t valueEnd = 0;
};

LineShape ShapeOfLine(std::string_view line);

// The section name of a header line's text after "[" (already decoded):
// up to the last "]", trimmed; nullopt when there is no "]".
std::optional<std::string_view> SectionHeaderName(std::string_view afterBracket);

// Blanks are space, tab, vertical tab and form feed.
bool IsBlank(char c);
std::string_view TrimBlanks(std::string_view text);

// Section and key names are equal without regard to the case of ASCII letters.
bool NamesMatch(std::string_view a, std::string_view b);

// A value wholly inside matching double or single quotes loses them.
std::string_view Unquote(std::string_view value);

// The text to put after "=" so that trimming and Unquote give `value` back:
// a value with blanks at either end, or wholly inside matching quotes, is
// put inside double quotes.
std::string QuoteForFile(std::string_view value);

// Whether a name or value can be stored so that it reads back. None may
// hold CR, LF or NUL (they would split the line); names must not be empty;
// a section name must not hold "]"; a key name must not hold "=" nor start
// like a comment or a section header.
bool IsStorableSection(std::string_view name);
bool IsStorableKey(std::string_view name);
bool IsStorableValue(std::string_view value);

}  // namespace vantorel::ini
