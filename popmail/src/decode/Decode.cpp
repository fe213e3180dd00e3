#include "decode/Decode.h"

#include "decode/EncodedWords.h"
#include "decode/HeaderFields.h"
#include "decode/Limits.h"
#include "decode/Utf8.h"

namespace popmail::decode {
namespace {

std::string_view TrimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string DecodeHeaderValue(std::string_view rawValue) {
    const std::string text = ControlsToSpaces(DecodeEncodedWords(Unfold(rawValue)));
    return TruncateUtf8(TrimSpaces(text), kMaxFieldTextBytes);
}

MessageSummary SummarizeHeaders(std::string_view headerBlock) {
    const SummaryFields fields = FindSummaryFields(headerBlock);
    return {DecodeHeaderValue(fields.subject), DecodeHeaderValue(fields.from),
            DecodeHeaderValue(fields.date)};
}

}  // namespace popmail::decode
