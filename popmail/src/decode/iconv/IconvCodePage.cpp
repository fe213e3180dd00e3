// ConvertCodePage through glibc's iconv. Only the fixed converter names
// below ever reach iconv_open.
#include <errno.h>
#include <iconv.h>

#include <array>
#include <cstddef>
#include <memory>

#include "decode/CodePage.h"

namespace popmail::decode {
namespace {

constexpr std::size_t kCodePageCount = static_cast<std::size_t>(CodePage::Koi8R) + 1;

// glibc converter names, in CodePage order.
constexpr std::array<const char*, kCodePageCount> kIconvNames{
    "CP932",       "ISO-8859-1",  "ISO-8859-2",  "ISO-8859-3",  "ISO-8859-4",
    "ISO-8859-5",  "ISO-8859-6",  "ISO-8859-7",  "ISO-8859-8",  "ISO-8859-9",
    "ISO-8859-10", "ISO-8859-11", "ISO-8859-13", "ISO-8859-14", "ISO-8859-15",
    "CP1250",      "CP1251",      "CP1252",      "CP1253",      "CP1254",
    "CP1255",      "CP1256",      "CP1257",      "CP1258",      "KOI8-R",
};

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// One thread's open converters, opened on first use and closed with the
// thread: opening a converter costs far more than a header's conversion.
class ConverterCache {
  public:
    ConverterCache() { converters_.fill(kNoConverter); }
    ~ConverterCache() {
        for (iconv_t converter : converters_) {
            if (converter != kNoConverter) {
                iconv_close(converter);
            }
        }
    }
    ConverterCache(const ConverterCache&) = delete;
    ConverterCache& operator=(const ConverterCache&) = delete;

    iconv_t Get(CodePage page) {
        const auto index = static_cast<std::size_t>(page);
        if (converters_[index] == kNoConverter) {
            converters_[index] = iconv_open("UTF-8", kIconvNames[index]);
        }
        return converters_[index];
    }

  private:
    std::array<iconv_t, kCodePageCount> converters_{};
};

// UTF-8 is at most three bytes for each byte of these code pages (a CP932
// single byte is a half-width katakana, three bytes in UTF-8).
constexpr std::size_t kMaxUtf8BytesPerInputByte = 3;

// Room for a character held back to the end of the input (see below).
constexpr std::size_t kHeldBackRoom = 8;

constexpr std::size_t kIconvFailed = static_cast<std::size_t>(-1);

iconv_t OpenConverter(CodePage page) {
    thread_local ConverterCache cache;
    return cache.Get(page);
}

}  // namespace

bool CodePageAvailable(CodePage page) {
    return OpenConverter(page) != kNoConverter;
}

std::optional<std::string> ConvertCodePage(CodePage page, std::string_view bytes) {
    iconv_t converter = OpenConverter(page);
    if (converter == kNoConverter) {
        return std::nullopt;
    }
    iconv(converter, nullptr, nullptr, nullptr, nullptr);  // back to the initial state

    std::string out(bytes.size() * kMaxUtf8BytesPerInputByte + kHeldBackRoom, '\0');
    // iconv's interface takes a non-const input pointer but does not write through it.
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* outPos = out.data();
    std::size_t outLeft = out.size();
    const std::size_t converted = iconv(converter, &in, &inLeft, &outPos, &outLeft);
    // glibc's CP1255 and CP1258 hold the last character back, waiting for a
    // combining mark; without this call it would be lost.
    const std::size_t flushed = iconv(converter, nullptr, nullptr, &outPos, &outLeft);
    if (converted == kIconvFailed || flushed == kIconvFailed) {
        return std::nullopt;
    }
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace popmail::decode
