// libFuzzer target: a header block through SummarizeHeaders and the same
// bytes as one field value through DecodeHeaderValue.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzChecks.h"
#include "decode/Decode.h"
#include "decode/Limits.h"

namespace {

using popmail::fuzz::Fail;

void CheckField(std::string_view field) {
    if (field.size() > popmail::decode::kMaxFieldTextBytes) {
        Fail("field longer than its bound", field);
    }
    if (!field.empty() && (field.front() == ' ' || field.back() == ' ')) {
        Fail("field not trimmed", field);
    }
}

void CheckSummary(std::string_view summary) {
    if (!popmail::fuzz::IsStrictUtf8(summary)) {
        Fail("summary is not UTF-8", summary);
    }
    constexpr std::string_view kSubject = "Subject:";
    constexpr std::string_view kFrom = "\tFrom:";
    constexpr std::string_view kDate = "\tDate:";
    const std::size_t from = summary.find('\t');
    const std::size_t date = from == std::string_view::npos ? from : summary.find('\t', from + 1);
    if (!summary.starts_with(kSubject) || date == std::string_view::npos ||
        summary.find('\t', date + 1) != std::string_view::npos ||
        summary.substr(from, kFrom.size()) != kFrom ||
        summary.substr(date, kDate.size()) != kDate) {
        Fail("summary markers", summary);
    }
    const std::string_view subject = summary.substr(kSubject.size(), from - kSubject.size());
    const std::string_view sender = summary.substr(from + kFrom.size(), date - from - kFrom.size());
    const std::string_view when = summary.substr(date + kDate.size());
    for (const std::string_view field : {subject, sender, when}) {
        if (!popmail::fuzz::HasNoControls(field)) {
            Fail("control character in a field", field);
        }
        CheckField(field);
    }
}

void CheckValue(std::string_view value) {
    if (!popmail::fuzz::IsStrictUtf8(value)) {
        Fail("value is not UTF-8", value);
    }
    if (!popmail::fuzz::HasNoControls(value)) {
        Fail("control character in a value", value);
    }
    CheckField(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    CheckSummary(popmail::decode::SummarizeHeaders(input));
    CheckValue(popmail::decode::DecodeHeaderValue(input));
    return 0;
}
