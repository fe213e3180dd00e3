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

void CheckSummary(const popmail::decode::MessageSummary& summary) {
    for (const std::string_view field : {summary.subject, summary.sender, summary.date}) {
        if (!popmail::fuzz::IsStrictUtf8(field)) {
            Fail("summary field is not UTF-8", field);
        }
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
