#include "decode/Jis.h"

#include <cstdint>
#include <optional>
#include <utility>

#include "decode/CodePageText.h"

namespace popmail::decode {
namespace {

constexpr std::uint8_t kEscape = 0x1B;
constexpr std::uint8_t kShiftOut = 0x0E;  // half-width katakana until kShiftIn
constexpr std::uint8_t kShiftIn = 0x0F;
constexpr std::uint8_t kFirstGraphic = 0x21;
constexpr std::uint8_t kLastGraphic = 0x7E;
constexpr std::uint8_t kLastKatakana = 0x5F;    // in 7-bit JIS X 0201 katakana
constexpr std::uint8_t kKatakanaOffset = 0x80;  // 7-bit katakana -> CP932 0xA1-0xDF
constexpr std::uint8_t kEucOffset = 0x80;       // EUC bytes are JIS bytes plus 0x80
constexpr std::uint8_t kEucKatakana = 0x8E;     // SS2: one half-width katakana follows
constexpr std::uint8_t kEucJisX0212 = 0x8F;     // SS3: two bytes of JIS X 0212 follow
constexpr int kJisByteToIndex = 0x20;           // 0x21 is row or cell 1
constexpr int kRowsInFirstLeadRange = 62;       // rows 1-62 use CP932 leads 0x81-0x9F

std::uint8_t ByteAt(std::string_view bytes, std::size_t pos) {
    return static_cast<std::uint8_t>(bytes[pos]);
}

constexpr bool IsGraphic(std::uint8_t byte) {
    return byte >= kFirstGraphic && byte <= kLastGraphic;
}

void PutByte(std::string& out, int byte) {
    out.push_back(static_cast<char>(byte));
}

// JIS row and cell (1-94 each) -> the CP932 code of the same character: the
// Shift_JIS arithmetic, which CP932 keeps for the NEC and IBM rows too.
void AppendJisAsCp932(std::string& out, std::uint8_t first, std::uint8_t second) {
    const int row = first - kJisByteToIndex;
    const int cell = second - kJisByteToIndex;
    const int lead = row <= kRowsInFirstLeadRange ? 0x81 + (row - 1) / 2
                                                  : 0xE0 + (row - kRowsInFirstLeadRange - 1) / 2;
    int trail = 0;
    if (row % 2 == 1) {
        trail = cell + 0x3F + (cell >= 64 ? 1 : 0);  // 0x40-0x9E, skipping 0x7F
    } else {
        trail = cell + 0x9E;  // 0x9F-0xFC
    }
    PutByte(out, lead);
    PutByte(out, trail);
}

enum class JisMode { Ascii, Katakana, Kanji, Unsupported };

struct Escape {
    std::string_view sequence;
    std::optional<JisMode> mode;  // nullopt: the mode stays
};

// The designations CP50220/50221 honour. "ESC ( J" (JIS-Roman) is read as
// ASCII, as Windows does; "ESC & @" only announces the 1990 revision.
// JIS X 0213 plane 1 is read as the JIS X 0208 it extends.
constexpr Escape kEscapes[] = {
    {"\x1B(B", JisMode::Ascii},  {"\x1B(J", JisMode::Ascii},  {"\x1B(I", JisMode::Katakana},
    {"\x1B$@", JisMode::Kanji},  {"\x1B$B", JisMode::Kanji},  {"\x1B$(B", JisMode::Kanji},
    {"\x1B$(O", JisMode::Kanji}, {"\x1B$(Q", JisMode::Kanji}, {"\x1B$(D", JisMode::Unsupported},
    {"\x1B&@", std::nullopt},
};

class Iso2022JpReader {
  public:
    explicit Iso2022JpReader(std::string_view bytes) : bytes_(bytes) { out_.reserve(bytes.size()); }

    std::string Read() {
        while (pos_ < bytes_.size()) {
            const std::uint8_t byte = ByteAt(bytes_, pos_);
            if (byte == kEscape) {
                ReadEscape();
            } else if (byte == kShiftOut || byte == kShiftIn) {
                shifted_ = byte == kShiftOut;
                ++pos_;
            } else if (!IsGraphic(byte)) {
                // Controls, space and 8-bit bytes read alike in every mode.
                PutByte(out_, byte < kKatakanaOffset ? byte : kInvalidCp932Byte);
                ++pos_;
            } else {
                ReadGraphic(byte);
            }
        }
        return std::move(out_);
    }

  private:
    void ReadEscape() {
        for (const auto& escape : kEscapes) {
            if (bytes_.substr(pos_).starts_with(escape.sequence)) {
                mode_ = escape.mode.value_or(mode_);
                pos_ += escape.sequence.size();
                return;
            }
        }
        PutByte(out_, kInvalidCp932Byte);
        ++pos_;
    }

    void ReadGraphic(std::uint8_t byte) {
        const JisMode mode = shifted_ ? JisMode::Katakana : mode_;
        switch (mode) {
            case JisMode::Ascii:
                PutByte(out_, byte);
                ++pos_;
                return;
            case JisMode::Katakana:
                PutByte(out_, byte <= kLastKatakana ? byte + kKatakanaOffset : kInvalidCp932Byte);
                ++pos_;
                return;
            case JisMode::Kanji:
            case JisMode::Unsupported:
                ReadDoubleByte(mode);
                return;
        }
    }

    void ReadDoubleByte(JisMode mode) {
        if (pos_ + 1 >= bytes_.size() || !IsGraphic(ByteAt(bytes_, pos_ + 1))) {
            PutByte(out_, kInvalidCp932Byte);  // a half character
            ++pos_;
            return;
        }
        if (mode == JisMode::Kanji) {
            AppendJisAsCp932(out_, ByteAt(bytes_, pos_), ByteAt(bytes_, pos_ + 1));
        } else {
            PutByte(out_, kInvalidCp932Byte);
        }
        pos_ += 2;
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
    JisMode mode_ = JisMode::Ascii;
    bool shifted_ = false;
    std::string out_;
};

constexpr bool IsEucGraphic(std::uint8_t byte) {
    return byte >= kFirstGraphic + kEucOffset && byte <= kLastGraphic + kEucOffset;
}

// Bytes the EUC-JP character at `pos` takes, appending its CP932 form.
std::size_t ReadEucCharacter(std::string_view bytes, std::size_t pos, std::string& out) {
    const std::uint8_t byte = ByteAt(bytes, pos);
    const bool hasNext = pos + 1 < bytes.size();
    const std::uint8_t next = hasNext ? ByteAt(bytes, pos + 1) : 0;
    if (byte < kEucOffset) {
        PutByte(out, byte);
        return 1;
    }
    if (byte == kEucKatakana && hasNext && next >= 0xA1 && next <= 0xDF) {
        PutByte(out, next);  // the CP932 byte of the same katakana
        return 2;
    }
    if (byte == kEucJisX0212 && hasNext && IsEucGraphic(next) && pos + 2 < bytes.size() &&
        IsEucGraphic(ByteAt(bytes, pos + 2))) {
        PutByte(out, kInvalidCp932Byte);
        return 3;
    }
    if (IsEucGraphic(byte) && hasNext && IsEucGraphic(next)) {
        AppendJisAsCp932(out, byte - kEucOffset, next - kEucOffset);
        return 2;
    }
    PutByte(out, kInvalidCp932Byte);
    return 1;
}

}  // namespace

std::string Iso2022JpToCp932(std::string_view bytes) {
    return Iso2022JpReader(bytes).Read();
}

std::string EucJpToCp932(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t pos = 0; pos < bytes.size();) {
        pos += ReadEucCharacter(bytes, pos, out);
    }
    return out;
}

}  // namespace popmail::decode
