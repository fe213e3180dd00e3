#include "app/SettingsFileProblem.h"

#include <string_view>

#include "settings/IniFile.h"
#include "settings/IniProfile.h"

namespace vantorel {

namespace {

constexpr std::string_view kCannotRead = "設定ファイルを読み込めませんでした。";
constexpr std::string_view kReasonLabel = "理由: ";
constexpr std::string_view kTooLarge = "ファイルが大きすぎます（上限 ";
constexpr std::string_view kMegabytes = " MB）。";
constexpr std::string_view kNotAFile = "通常のファイルではありません（フォルダーなど）。";
constexpr std::string_view kAccessDenied = "読み取りが許可されていません。";
constexpr std::string_view kFailed = "読み取り中にエラーが起きました";
constexpr std::string_view kStartsWithDefaults = "設定は初期値で始まります。";
constexpr std::string_view kKeptOnSave = "設定を保存すると、このファイルは同じフォルダーに「";
constexpr std::string_view kKeptNumbered =
    "」（その名前がすでにあれば -2、-3 … を付けた名前）として残され、"
    "新しい設定ファイルが作られます。";
constexpr std::string_view kCannotSave =
    "このままでは設定を保存できません。その名前のものを移すか名前を変えてください。";
constexpr std::size_t kBytesPerMegabyte = 1024 * 1024;
constexpr int kFirstAside = 1;

std::string Reason(const platform::FileCondition& condition) {
    switch (condition.outcome) {
        case platform::ReadOutcome::TooLarge:
            return std::string(kTooLarge) +
                   std::to_string(IniProfile::kMaxFileBytes / kBytesPerMegabyte) +
                   std::string(kMegabytes);
        case platform::ReadOutcome::NotAFile:
            return std::string(kNotAFile);
        case platform::ReadOutcome::AccessDenied:
            return std::string(kAccessDenied);
        default:
            break;
    }
    std::string reason(kFailed);
    if (!condition.detail.empty()) {
        reason += "（" + condition.detail + "）";
    }
    return reason + "。";
}

std::string FileNameOf(const std::string& path) {
    const std::u8string name = ini::PathFromUtf8(path).filename().u8string();
    return std::string(name.begin(), name.end());
}

}  // namespace

std::optional<SettingsFileNotice> NoticeForSettingsFile(const std::string& path,
                                                        const platform::FileCondition& condition) {
    if (condition.outcome == platform::ReadOutcome::Read ||
        condition.outcome == platform::ReadOutcome::Missing) {
        return std::nullopt;
    }
    const std::string reason = std::string(kReasonLabel) + Reason(condition);
    // A folder or a device is never moved aside: saving waits for the user.
    const std::string next =
        std::string(kStartsWithDefaults) +
        (condition.outcome == platform::ReadOutcome::NotAFile
             ? std::string(kCannotSave)
             : std::string(kKeptOnSave) + FileNameOf(ini::AsideName(path, kFirstAside)) +
                   std::string(kKeptNumbered));
    SettingsFileNotice notice;
    notice.box = std::string(kCannotRead) + "\n" + path + "\n" + reason + "\n" + next;
    notice.line = std::string(kCannotRead) + " " + path + " " + reason + " " + next;
    return notice;
}

}  // namespace vantorel
