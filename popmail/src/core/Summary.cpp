#include "core/Summary.h"

#include "core/Limits.h"
#include "decode/Decode.h"

namespace popmail {
namespace {

constexpr char kFieldSeparator = '\t';

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// `field` cut to at most kMaxSummaryFieldBytes plus its marker, never inside
// a UTF-8 sequence.
std::string_view Capped(std::string_view field, std::size_t markerBytes) {
    const std::size_t limit = markerBytes + kMaxSummaryFieldBytes;
    if (field.size() <= limit) {
        return field;
    }
    std::size_t cut = limit;
    while (cut > markerBytes && IsContinuationByte(field[cut])) {
        --cut;
    }
    return field.substr(0, cut);
}

}  // namespace

std::string SummaryOf(std::string_view headerBlock) {
    constexpr std::string_view kMarkers[] = {"Subject:", "From:", "Date:"};
    const std::string full = decode::SummarizeHeaders(headerBlock);
    std::string capped;
    std::string_view rest = full;
    for (std::size_t i = 0; i < std::size(kMarkers); ++i) {
        const auto tab =
            i + 1 < std::size(kMarkers) ? rest.find(kFieldSeparator) : std::string_view::npos;
        const std::string_view field = rest.substr(0, tab);
        capped += Capped(field, kMarkers[i].size());
        if (tab == std::string_view::npos) {
            break;
        }
        capped += kFieldSeparator;
        rest.remove_prefix(tab + 1);
    }
    return capped;
}

}  // namespace popmail
