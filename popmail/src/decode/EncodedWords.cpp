#include "decode/EncodedWords.h"

#include <optional>
#include <utility>
#include <vector>

#include "decode/Charset.h"
#include "decode/CharsetText.h"
#include "decode/TransferDecode.h"
#include "decode/Utf8.h"

namespace popmail::decode {
namespace {

constexpr std::string_view kWordStart = "=?";
constexpr std::string_view kWordEnd = "?=";
constexpr char kFieldSeparator = '?';

// A decoded encoded word: where it stands in the value and its bytes.
struct Word {
    std::size_t begin;
    std::size_t end;
    Charset charset;
    std::string bytes;
};

constexpr bool IsWordChar(char c) {
    return c > ' ' && c < '\x7F' && c != kFieldSeparator;
}
constexpr bool IsLinearWhitespace(char c) {
    return c == ' ' || c == '\t';
}

// The part of `value` from `pos` made of IsWordChar characters.
std::string_view WordCharsAt(std::string_view value, std::size_t pos) {
    std::size_t end = pos;
    while (end < value.size() && IsWordChar(value[end])) {
        ++end;
    }
    return value.substr(pos, end - pos);
}

std::optional<std::string> DecodeTransfer(char encoding, std::string_view text) {
    switch (encoding) {
        case 'B':
        case 'b':
            return DecodeBase64(text);
        case 'Q':
        case 'q':
            return DecodeQ(text);
        default:
            return std::nullopt;
    }
}

// The word "=?charset?encoding?text?=" that starts at `begin`, when it is
// well formed, names an allow-listed charset and its text decodes.
std::optional<Word> ReadWordAt(std::string_view value, std::size_t begin) {
    std::size_t pos = begin + kWordStart.size();
    const std::string_view charsetName = WordCharsAt(value, pos);
    pos += charsetName.size();
    if (charsetName.empty() || pos + 2 >= value.size() || value[pos] != kFieldSeparator ||
        value[pos + 2] != kFieldSeparator) {
        return std::nullopt;
    }
    const char encoding = value[pos + 1];
    pos += 3;
    const std::string_view text = WordCharsAt(value, pos);
    pos += text.size();
    if (value.substr(pos, kWordEnd.size()) != kWordEnd) {
        return std::nullopt;
    }
    const auto charset = LookUpCharset(charsetName);
    auto bytes = charset ? DecodeTransfer(encoding, text) : std::nullopt;
    if (!bytes) {
        return std::nullopt;
    }
    return Word{begin, pos + kWordEnd.size(), *charset, std::move(*bytes)};
}

std::vector<Word> FindWords(std::string_view value) {
    std::vector<Word> words;
    std::size_t pos = value.find(kWordStart);
    while (pos != std::string_view::npos) {
        if (auto word = ReadWordAt(value, pos)) {
            pos = word->end;
            words.push_back(std::move(*word));
        } else {
            pos += kWordStart.size() - 1;  // "=?=?..." may still start a word one on
        }
        pos = value.find(kWordStart, pos);
    }
    return words;
}

bool OnlyLinearWhitespace(std::string_view text) {
    for (const char c : text) {
        if (!IsLinearWhitespace(c)) {
            return false;
        }
    }
    return true;
}

// Whether word `next` continues the run of `previous`: nothing but
// whitespace between them.
bool Adjacent(std::string_view value, const Word& previous, const Word& next) {
    return OnlyLinearWhitespace(value.substr(previous.end, next.begin - previous.end));
}

// Appends the words [first, last) of one charset, converted as one run.
void AppendWordRun(std::string_view value, const std::vector<Word>& words, std::size_t first,
                   std::size_t last, std::string& out) {
    std::string bytes;
    for (std::size_t i = first; i < last; ++i) {
        bytes.append(words[i].bytes);
    }
    if (auto text = CharsetBytesToUtf8(words[first].charset, bytes)) {
        out.append(*text);
    } else {  // no converter on this platform: show the words as they came
        const std::size_t begin = words[first].begin;
        out.append(RepairUtf8(value.substr(begin, words[last - 1].end - begin)));
    }
}

// All the text outside the words, so that it is read one way, never half one
// way, half the other.
std::string TextOutsideWords(std::string_view value, const std::vector<Word>& words) {
    std::string text;
    std::size_t pos = 0;
    for (const Word& word : words) {
        text.append(value.substr(pos, word.begin - pos));
        pos = word.end;
    }
    text.append(value.substr(pos));
    return text;
}

}  // namespace

std::string DecodeEncodedWords(std::string_view value) {
    const std::vector<Word> words = FindWords(value);
    const Charset textCharset = UnlabelledCharset(TextOutsideWords(value, words));
    const auto appendText = [textCharset](std::string_view text, std::string& out) {
        out.append(UnlabelledBytesToUtf8(textCharset, text));
    };

    std::string out;
    std::size_t textStart = 0;
    std::size_t first = 0;
    while (first < words.size()) {
        appendText(value.substr(textStart, words[first].begin - textStart), out);
        std::size_t last = first + 1;
        while (last < words.size() && words[last].charset == words[first].charset &&
               Adjacent(value, words[last - 1], words[last])) {
            ++last;
        }
        AppendWordRun(value, words, first, last, out);
        textStart = words[last - 1].end;
        // Whitespace up to a following word of another charset is dropped too.
        if (last < words.size() && Adjacent(value, words[last - 1], words[last])) {
            textStart = words[last].begin;
        }
        first = last;
    }
    appendText(value.substr(textStart), out);
    return out;
}

}  // namespace popmail::decode
