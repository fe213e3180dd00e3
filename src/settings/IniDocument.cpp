#include "settings/IniDocument.h"

#include <algorithm>

#include "text/Utf8.h"

namespace vantorel::ini {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kCrLf = "\r\n";
constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr char kNul = '\0';

// The line end starting at `at` ("\r\n", "\r" or "\n").
std::string_view LineEndAt(std::string_view bytes, std::size_t at) {
    if (bytes[at] == kCr && at + 1 < bytes.size() && bytes[at + 1] == kLf) {
        return bytes.substr(at, 2);
    }
    return bytes.substr(at, 1);
}

}  // namespace

Document Document::Parse(std::string_view fileBytes, platform::TextCodec& codec) {
    Document document(codec);
    if (fileBytes.starts_with(kUtf8Bom)) {
        document.encoding_ = FileEncoding::Utf8WithBom;
        fileBytes.remove_prefix(kUtf8Bom.size());
    }
    // CR and LF are never part of a CP932 or UTF-8 character, so the
    // bytes split into lines before any decoding.
    while (!fileBytes.empty()) {
        const std::size_t end = fileBytes.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            document.appendLine(fileBytes, "");
            break;
        }
        const std::string_view ending = LineEndAt(fileBytes, end);
        document.appendLine(fileBytes.substr(0, end), ending);
        fileBytes.remove_prefix(end + ending.size());
    }
    return document;
}

std::string Document::Serialize() const {
    std::string bytes;
    if (encoding_ == FileEncoding::Utf8WithBom) {
        bytes += kUtf8Bom;
    }
    for (const Line& line : lines_) {
        bytes += line.raw;
        bytes += line.ending;
    }
    return bytes;
}

void Document::appendLine(std::string_view raw, std::string_view ending) {
    Line line;
    line.raw = raw;
    line.ending = ending;
    reshape(line);
    lines_.push_back(std::move(line));
}

void Document::reshape(Line& line) const {
    const LineShape shape = ShapeOfLine(line.raw);
    const std::string_view raw = line.raw;
    line.kind = shape.kind;
    line.name.clear();
    line.value.clear();
    line.valueBegin = 0;
    if (shape.kind == LineKind::Section) {
        // Decoded first: "]" can be the second byte of a CP932 character.
        const std::string text =
            decode(raw.substr(shape.nameBegin, shape.nameEnd - shape.nameBegin));
        const std::optional<std::string_view> name = SectionHeaderName(text);
        if (name) {
            line.name = *name;
        } else {
            line.kind = LineKind::Other;
        }
    } else if (shape.kind == LineKind::Key) {
        line.name = decode(raw.substr(shape.nameBegin, shape.nameEnd - shape.nameBegin));
        line.value = decode(raw.substr(shape.valueBegin, shape.valueEnd - shape.valueBegin));
        line.valueBegin = shape.valueBegin;
    }
}

std::string Document::decode(std::string_view raw) const {
    return encoding_ == FileEncoding::Cp932 ? codec_.cp932ToUtf8(raw) : text::SanitizeUtf8(raw);
}

std::optional<std::string> Document::encode(std::string_view utf8) const {
    if (encoding_ == FileEncoding::Cp932) {
        return codec_.utf8ToCp932(utf8);
    }
    return std::string(utf8);
}

std::optional<std::string> Document::find(std::string_view section, std::string_view key) const {
    const std::optional<std::size_t> header = findSection(section);
    if (!header) {
        return std::nullopt;
    }
    const std::size_t end = sectionEnd(*header);
    for (std::size_t i = *header + 1; i < end; ++i) {
        const Line& line = lines_[i];
        if (line.kind == LineKind::Key && NamesMatch(line.name, key)) {
            return std::string(Unquote(line.value));
        }
    }
    return std::nullopt;
}

bool Document::set(std::string_view section, std::string_view key, std::string_view fileValue) {
    if (!encode(section) || !encode(key) || !encode(fileValue)) {
        convertToUtf8();
    }
    const std::string sectionBytes = *encode(section);
    const std::string keyBytes = *encode(key);
    const std::string valueBytes = *encode(fileValue);
    const std::optional<std::size_t> header = findSection(section);
    if (!header) {
        appendSection(sectionBytes, keyBytes + "=" + valueBytes);
        return true;
    }
    const std::size_t end = sectionEnd(*header);
    std::size_t lastKey = *header;
    for (std::size_t i = *header + 1; i < end; ++i) {
        Line& line = lines_[i];
        if (line.kind != LineKind::Key) {
            continue;
        }
        if (NamesMatch(line.name, key)) {
            // The name and everything up to the value keep their bytes.
            std::string raw = line.raw.substr(0, line.valueBegin) + valueBytes;
            if (raw == line.raw) {
                return false;
            }
            line.raw = std::move(raw);
            reshape(line);
            return true;
        }
        lastKey = i;
    }
    insertLine(lastKey + 1, keyBytes + "=" + valueBytes);
    return true;
}

void Document::convertToUtf8() {
    if (encoding_ == FileEncoding::Utf8WithBom) {
        return;
    }
    for (Line& line : lines_) {
        // A value ends at a NUL, so only the part before one is ever read:
        // it is converted on its own, and the bytes from the NUL on stay as
        // they are. A part that is not CP932 keeps its bytes: converting it
        // would turn them into U+FFFD and lose them for good.
        const std::size_t readPart = std::min(line.raw.find(kNul), line.raw.size());
        std::string converted = codec_.cp932ToUtf8(std::string_view(line.raw).substr(0, readPart));
        if (!text::HasReplacementCharacter(converted)) {
            line.raw = std::move(converted) + line.raw.substr(readPart);
        }
    }
    encoding_ = FileEncoding::Utf8WithBom;
    for (Line& line : lines_) {
        reshape(line);
    }
}

std::optional<std::size_t> Document::findSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == LineKind::Section && NamesMatch(lines_[i].name, section)) {
            return i;
        }
    }
    return std::nullopt;
}

std::size_t Document::sectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && lines_[i].kind != LineKind::Section) {
        ++i;
    }
    return i;
}

void Document::insertLine(std::size_t at, std::string raw) {
    // The line before may be the file's last one, without a line end.
    if (at > 0 && lines_[at - 1].ending.empty()) {
        lines_[at - 1].ending = kCrLf;
    }
    Line line;
    line.raw = std::move(raw);
    line.ending = kCrLf;
    reshape(line);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

void Document::appendSection(std::string_view section, std::string keyLine) {
    // A blank line keeps the new section apart from the one before it.
    if (!lines_.empty() && lines_.back().kind != LineKind::Blank) {
        insertLine(lines_.size(), "");
    }
    insertLine(lines_.size(), "[" + std::string(section) + "]");
    insertLine(lines_.size(), std::move(keyLine));
}

}  // namespace vantorel::ini
