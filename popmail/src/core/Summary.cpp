#include "core/Summary.h"

#include <string>

#include "core/Limits.h"

namespace popmail {
namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// `field` cut to at most kMaxSummaryFieldBytes, never inside a UTF-8 sequence.
void Cap(std::string& field) {
    if (field.size() <= kMaxSummaryFieldBytes) {
        return;
    }
    std::size_t cut = kMaxSummaryFieldBytes;
    while (cut > 0 && IsContinuationByte(field[cut])) {
        --cut;
    }
    field.resize(cut);
}

}  // namespace

MessageSummary SummaryOf(std::string_view headerBlock) {
    MessageSummary summary = decode::SummarizeHeaders(headerBlock);
    Cap(summary.subject);
    Cap(summary.sender);
    Cap(summary.date);
    return summary;
}

}  // namespace popmail
