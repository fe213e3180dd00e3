#include "settings/IniProfile.h"

#include <optional>

#include "settings/IniDocument.h"
#include "settings/IniFile.h"
#include "settings/IniSyntax.h"
#include "text/Utf8.h"

namespace vantorel {

namespace {

constexpr char kNul = '\0';

bool CanStore(std::string_view section, std::string_view key, std::string_view value) {
    return ini::IsStorableSection(section) && ini::IsStorableKey(key) &&
           ini::IsStorableValue(value) && value.size() <= IniProfile::kMaxValueBytes &&
           text::IsValidUtf8(section) && text::IsValidUtf8(key) && text::IsValidUtf8(value);
}

}  // namespace

std::string IniProfile::getString(std::string_view section, std::string_view key,
                                  std::string_view fallback, const std::string& path) {
    const platform::FileBytes file = store_.readWhole(path, kMaxFileBytes);
    if (file.condition.outcome != platform::ReadOutcome::Read) {
        return std::string(fallback);
    }
    const ini::Document document = ini::Document::Parse(file.bytes, codec_);
    const std::optional<std::string> value =
        document.find(ini::TrimBlanks(section), ini::TrimBlanks(key));
    if (!value) {
        return std::string(fallback);
    }
    const std::string_view beforeNul = std::string_view(*value).substr(0, value->find(kNul));
    return std::string(text::CutAtCharacter(beforeNul, kMaxValueBytes));
}

bool IniProfile::writeString(std::string_view section, std::string_view key, std::string_view value,
                             const std::string& path) {
    section = ini::TrimBlanks(section);
    key = ini::TrimBlanks(key);
    if (!CanStore(section, key, value)) {
        return false;
    }
    const platform::FileBytes file = store_.readWhole(path, kMaxFileBytes);
    const platform::ReadOutcome outcome = file.condition.outcome;
    // Replacing a file that could not be read would lose it for good: it
    // is kept under another name first, and the new file starts empty.
    std::optional<ini::KeptFile> kept;
    if (outcome != platform::ReadOutcome::Read && outcome != platform::ReadOutcome::Missing) {
        if (store_.isWriteProtected(path)) {
            return false;  // the user keeps it as it is: no copy either
        }
        kept = ini::KeepUnreadableFile(store_, path);
        if (!kept) {
            return false;
        }
    }
    ini::Document document = ini::Document::Parse(file.bytes, codec_);
    if (!document.set(section, key, ini::QuoteForFile(value))) {
        return true;  // the file already holds exactly this
    }
    const std::string bytes = document.Serialize();
    // A file too large to read back is not written.
    if (bytes.size() > kMaxFileBytes || !store_.replaceWhole(path, bytes)) {
        if (kept) {
            ini::UndoKeep(*kept, path);
        }
        return false;
    }
    return true;
}

platform::FileCondition IniProfile::prepare(const std::string& path) {
    ini::RemoveStaleTemporaries(path);
    return store_.readWhole(path, kMaxFileBytes).condition;
}

}  // namespace vantorel
