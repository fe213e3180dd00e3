// libFuzzer target: the settings file store on a file of fuzzed bytes,
// then a fuzzed series of look-ups and writes. Every call goes to the file,
// so each read parses what the last write produced. Properties:
//   - a read gives the fallback or UTF-8 text within the value limit;
//   - a key the store can hold is never refused;
//   - what was written reads back equal;
//   - a write changes no other key that read cleanly before it;
//   - a refused write leaves the file's bytes as they were.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FuzzChecks.h"
#include "platform/FileStore.h"
#include "platform/SystemTextCodec.h"
#include "settings/IniProfile.h"
#include "settings/IniSyntax.h"
#include "text/Utf8.h"

namespace {

using vantorel::IniProfile;
namespace platform = vantorel::platform;
namespace ini = vantorel::ini;

constexpr std::string_view kPath = "/fuzz/vantorel.ini";
constexpr std::string_view kFallback = "\x01<none>";
constexpr std::size_t kMaxFileBytes = 4096;
constexpr std::size_t kMaxNameBytes = 24;
constexpr std::size_t kMaxValueBytes = 64;
constexpr int kMaxCalls = 32;
constexpr std::size_t kMaxProbes = 8;

// The settings file in memory, standing in for the disk.
class MemoryFileStore : public platform::FileStore {
  public:
    explicit MemoryFileStore(std::string bytes) { files_[std::string(kPath)] = std::move(bytes); }

    platform::FileBytes readWhole(const std::string& path, std::size_t maxBytes) override {
        platform::FileBytes result;
        const auto file = files_.find(path);
        if (file == files_.end()) {
            result.condition.outcome = platform::ReadOutcome::Missing;
        } else if (file->second.size() > maxBytes) {
            result.condition.outcome = platform::ReadOutcome::TooLarge;
        } else {
            result.condition.outcome = platform::ReadOutcome::Read;
            result.bytes = file->second;
        }
        return result;
    }
    bool replaceWhole(const std::string& path, std::string_view bytes) override {
        files_[path] = std::string(bytes);
        return true;
    }
    bool isWriteProtected(const std::string& /*path*/) override { return false; }
    platform::AsideOutcome keepAside(const std::string& path,
                                     const std::string& asidePath) override {
        if (files_.count(asidePath) != 0) {
            return platform::AsideOutcome::NameTaken;
        }
        files_[asidePath] = files_.at(path);
        return platform::AsideOutcome::Kept;
    }

    const std::string& bytes() const { return files_.at(std::string(kPath)); }

  private:
    std::map<std::string, std::string> files_;
};

[[noreturn]] void Broken(const char* what, std::string_view section, std::string_view key) {
    std::fprintf(stderr, "broken property: %s (section \"%.*s\", key \"%.*s\")\n", what,
                 static_cast<int>(section.size()), section.data(), static_cast<int>(key.size()),
                 key.data());
    std::abort();
}

bool Storable(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view s = ini::TrimBlanks(section);
    const std::string_view k = ini::TrimBlanks(key);
    return ini::IsStorableSection(s) && ini::IsStorableKey(k) && ini::IsStorableValue(value) &&
           value.size() <= IniProfile::kMaxValueBytes && vantorel::text::IsValidUtf8(s) &&
           vantorel::text::IsValidUtf8(k) && vantorel::text::IsValidUtf8(value);
}

bool SameEntry(const std::pair<std::string, std::string>& probe, std::string_view section,
               std::string_view key) {
    return ini::NamesMatch(ini::TrimBlanks(probe.first), ini::TrimBlanks(section)) &&
           ini::NamesMatch(ini::TrimBlanks(probe.second), ini::TrimBlanks(key));
}

class Session {
  public:
    explicit Session(std::string file)
        : codec_(vantorel::MakeSystemTextCodec()),
          store_(std::move(file)),
          profile_(*codec_, store_) {}

    std::string read(std::string_view section, std::string_view key) {
        std::string value = profile_.getString(section, key, kFallback, std::string(kPath));
        if (value != kFallback &&
            (!popmail::fuzz::IsStrictUtf8(value) || value.size() > IniProfile::kMaxValueBytes)) {
            Broken("a read gave no UTF-8 text within the limit", section, key);
        }
        return value;
    }

    void lookUp(const std::string& section, const std::string& key) {
        read(section, key);
        if (probes_.size() < kMaxProbes) {
            probes_.emplace_back(section, key);
        }
    }

    void write(const std::string& section, const std::string& key, const std::string& value) {
        const std::string before = store_.bytes();
        std::vector<std::string> others;
        for (const auto& probe : probes_) {
            others.push_back(read(probe.first, probe.second));
        }
        if (!profile_.writeString(section, key, value, std::string(kPath))) {
            if (Storable(section, key, value)) {
                Broken("a storable key was refused", section, key);
            }
            if (store_.bytes() != before) {
                Broken("a refused write changed the file", section, key);
            }
            return;
        }
        if (read(section, key) != value) {
            Broken("what was written does not read back equal", section, key);
        }
        for (std::size_t i = 0; i < probes_.size(); ++i) {
            const auto& probe = probes_[i];
            if (!SameEntry(probe, section, key) &&
                !vantorel::text::HasReplacementCharacter(others[i]) &&
                read(probe.first, probe.second) != others[i]) {
                Broken("a write changed another key", probe.first, probe.second);
            }
        }
    }

  private:
    std::unique_ptr<platform::TextCodec> codec_;
    MemoryFileStore store_;
    IniProfile profile_;
    std::vector<std::pair<std::string, std::string>> probes_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    Session session(input.ConsumeRandomLengthString(kMaxFileBytes));
    for (int call = 0; call < kMaxCalls && input.remaining_bytes() > 0; ++call) {
        const bool isWrite = input.ConsumeBool();
        const std::string section = input.ConsumeRandomLengthString(kMaxNameBytes);
        const std::string key = input.ConsumeRandomLengthString(kMaxNameBytes);
        if (isWrite) {
            session.write(section, key, input.ConsumeRandomLengthString(kMaxValueBytes));
        } else {
            session.lookUp(section, key);
        }
    }
    return 0;
}
