#include "platform/qt/x11/Properties.h"

#include <algorithm>
#include <cstring>

#include "platform/qt/x11/TextCoding.h"
#include "text/Utf8.h"

namespace vantorel::x11 {

namespace {
// Titles are short; this bounds what a hostile window can make us copy.
constexpr long kMaxPropertyBytes = 4L * 1024 * 1024;
constexpr long kBytesPerRequestUnit = 4;
constexpr int kTextFormat = 8;
constexpr int kShortFormat = 16;

std::size_t ClientItemSize(int format) {
    if (format == kTextFormat) {
        return 1;
    }
    return format == kShortFormat ? sizeof(short) : sizeof(long);
}

// The first string of a possibly NUL-separated list.
std::string_view FirstString(const RawProperty& property) {
    const auto* begin = reinterpret_cast<const char*>(property.data.data());
    const std::string_view all(begin, property.data.size());
    return all.substr(0, all.find('\0'));
}

bool IsText(const RawProperty& property) {
    return property.present && property.format == kTextFormat;
}

std::optional<std::string> ConvertedByLocale(Display* display, const RawProperty& property) {
    XTextProperty text{};
    text.value = const_cast<unsigned char*>(property.data.data());
    text.encoding = property.type;
    text.format = property.format;
    text.nitems = property.items;
    char** list = nullptr;
    int count = 0;
    // A positive result counts characters replaced by a default one.
    const int result = Xutf8TextPropertyToTextList(display, &text, &list, &count);
    std::optional<std::string> converted;
    if (result >= 0 && count > 0 && list != nullptr) {
        converted = text::SanitizeUtf8(list[0]);
    }
    if (list != nullptr) {
        XFreeStringList(list);
    }
    return converted;
}

std::string LegacyTitle(Display* display, const Atoms& atoms, const RawProperty& wmName) {
    const std::string_view bytes = FirstString(wmName);
    if (bytes.empty()) {
        return {};
    }
    if (wmName.type == XA_STRING) {
        return Latin1ToUtf8(bytes);
    }
    if (wmName.type == atoms.utf8String) {
        return text::SanitizeUtf8(bytes);
    }
    if (auto converted = ConvertedByLocale(display, wmName)) {
        return *converted;
    }
    return wmName.type == atoms.compoundText ? CompoundTextAsLatin1(bytes)
                                             : text::SanitizeUtf8(bytes);
}

void ChangeText(Display* display, Window window, Atom property, Atom type,
                const std::string& bytes) {
    XChangeProperty(display, window, property, type, kTextFormat, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(bytes.data()),
                    static_cast<int>(bytes.size()));
}

// WM_NAME as ICCCM wants it, or UTF8_STRING should Xlib fail to make
// compound text of it.
void WriteLegacyName(Display* display, const Atoms& atoms, Window window, const std::string& utf8) {
    if (const auto latin1 = Utf8ToLatin1(utf8)) {
        ChangeText(display, window, XA_WM_NAME, XA_STRING, *latin1);
        return;
    }
    char* list[] = {const_cast<char*>(utf8.c_str())};
    XTextProperty compound{};
    const int result = Xutf8TextListToTextProperty(display, list, 1, XCompoundTextStyle, &compound);
    if (result == Success) {
        XSetWMName(display, window, &compound);
    } else {
        ChangeText(display, window, XA_WM_NAME, atoms.utf8String, utf8);
    }
    if (compound.value != nullptr) {
        XFree(compound.value);
    }
}
}  // namespace

std::optional<RawProperty> ReadProperty(Display* display, Window window, Atom property) {
    Atom type = 0;
    int format = 0;
    unsigned long items = 0;
    unsigned long bytesAfter = 0;
    unsigned char* data = nullptr;
    const int status =
        XGetWindowProperty(display, window, property, 0, kMaxPropertyBytes / kBytesPerRequestUnit,
                           False, AnyPropertyType, &type, &format, &items, &bytesAfter, &data);
    if (status != Success) {
        return std::nullopt;
    }
    RawProperty raw;
    if (type != None) {
        raw.present = true;
        raw.type = type;
        raw.format = format;
        raw.items = items;
        raw.whole = bytesAfter == 0;
        if (data != nullptr) {
            raw.data.assign(data, data + items * ClientItemSize(format));
        }
    }
    if (data != nullptr) {
        XFree(data);
    }
    return raw;
}

std::vector<unsigned long> LongsOf(const RawProperty& property) {
    constexpr int kLongFormat = 32;
    std::vector<unsigned long> values;
    if (!property.present || property.format != kLongFormat || property.items == 0) {
        return values;
    }
    values.resize(property.items);
    std::memcpy(values.data(), property.data.data(),
                std::min(property.data.size(), values.size() * sizeof(unsigned long)));
    return values;
}

void WriteProperty(Display* display, Window window, Atom property, const RawProperty& value) {
    if (!value.present) {
        XDeleteProperty(display, window, property);
        return;
    }
    static constexpr unsigned char kNothing = 0;
    XChangeProperty(display, window, property, value.type, value.format, PropModeReplace,
                    value.data.empty() ? &kNothing : value.data.data(),
                    static_cast<int>(value.items));
}

std::string TitleFrom(Display* display, const Atoms& atoms, const RawProperty& netWmName,
                      const RawProperty& wmName) {
    if (IsText(netWmName) && netWmName.type == atoms.utf8String) {
        const std::string_view title = FirstString(netWmName);
        if (!title.empty()) {
            return text::SanitizeUtf8(title);
        }
    }
    return IsText(wmName) ? LegacyTitle(display, atoms, wmName) : std::string();
}

void WriteTitle(Display* display, const Atoms& atoms, Window window, const std::string& utf8) {
    const std::string title = text::SanitizeUtf8(utf8);
    ChangeText(display, window, atoms.netWmName, atoms.utf8String, title);
    WriteLegacyName(display, atoms, window, title);
}

}  // namespace vantorel::x11
