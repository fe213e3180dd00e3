#include "core/FailureText.h"

#include <cstdint>
#include <optional>

#include "core/Limits.h"

namespace popmail {
namespace {

constexpr std::string_view kReplacement = "?";
constexpr std::string_view kReplyLabel = "サーバーの応答: ";
constexpr std::string_view kDetailLabel = "詳細: ";

// What went wrong ("...ため") and what the user can check about it ("...
// してください"): together one sentence.
struct Wording {
    std::string_view cause;
    std::string_view check;
};

constexpr std::string_view kCheckServerAndPort = "サーバー名とポート番号を確認してください";
constexpr std::string_view kCheckPortAndTls =
    "ポート番号と暗号化（pop3s:// か STLS か）の設定を確認してください";
constexpr std::string_view kCheckVersions =
    "プログラムとメールライブラリ（popmail）の版が合っているか確認してください";
constexpr std::string_view kAskTheAdministrator =
    "続くときはメールサーバーの管理者に問い合わせてください";

Wording WordingOf(FailureKind kind) {
    switch (kind) {
        case FailureKind::MissingHost:
            return {"メールサーバーが設定されていないため",
                    "メールサーバーの名前を設定してください"};
        case FailureKind::BadServerSetting:
            return {"メールサーバーの書き方が正しくないため",
                    "サーバー名とポート番号（例: mail.example.jp、pop3s://mail.example.jp:995）"
                    "を確認してください"};
        case FailureKind::ForbiddenCharacter:
            return {"サーバー名・ユーザー名・パスワードに使えない文字（改行など）があるため",
                    "それぞれを入力しなおしてください"};
        case FailureKind::BadAccessToken:
            return {"アクセストークンが空か、トークンに使えない文字を含んでいるため",
                    "アクセストークンの取得方法を確認してください"};
        case FailureKind::UnknownCommand:
            return {"メールライブラリが知らないコマンドのため", std::string_view(kCheckVersions)};
        case FailureKind::ListTooLarge:
            return {"一度に取得できるメッセージ数の上限を超えているため",
                    std::string_view(kCheckVersions)};
        case FailureKind::ResolveFailed:
            return {"メールサーバーの名前が見つからないため",
                    "サーバー名のつづりとネットワークの接続を確認してください"};
        case FailureKind::ConnectRefused:
            return {"メールサーバーに接続を拒否されたため", std::string_view(kCheckServerAndPort)};
        case FailureKind::ConnectTimedOut:
            return {"メールサーバーへの接続がタイムアウトしたため",
                    "サーバー名・ポート番号とネットワークの接続を確認してください"};
        case FailureKind::NetworkError:
            return {"メールサーバーとの通信に失敗したため", "ネットワークの接続を確認してください"};
        case FailureKind::ReplyTimedOut:
            return {"メールサーバーの応答がタイムアウトしたため",
                    std::string_view(kCheckPortAndTls)};
        case FailureKind::DeadlineExceeded:
            return {"メールの確認が制限時間内に終わらなかったため",
                    "ネットワークの接続とメールボックスのメッセージ数を確認してください"};
        case FailureKind::ConnectionClosed:
            return {"メールサーバーが接続を切断したため", std::string_view(kCheckPortAndTls)};
        case FailureKind::ReplyTooLarge:
            return {"メールサーバーの応答が大きすぎて接続を切ったため",
                    "サーバー名とポート番号が POP3 のものか確認してください"};
        case FailureKind::ProtocolError:
            return {"メールサーバーの応答を解釈できないため",
                    "サーバー名とポート番号が POP3 のものか確認してください"};
        case FailureKind::TlsFailed:
            return {"暗号化通信（TLS）を開始できないため", std::string_view(kCheckPortAndTls)};
        case FailureKind::CertificateNameMismatch:
            return {"サーバー証明書の名前がサーバー名と一致しないため",
                    "サーバー名を証明書にある名前で書いているか確認してください"};
        case FailureKind::CertificateUntrusted:
            return {"サーバー証明書を信頼できない（発行元が不明な）ため",
                    "サーバー名と証明書の発行元を確認してください"};
        case FailureKind::CertificateExpired:
            return {"サーバー証明書の有効期限が切れているか、まだ有効ではないため",
                    "パソコンの日付と時刻、サーバーの証明書を確認してください"};
        case FailureKind::CertificateInvalid:
            return {"サーバー証明書を検証できないため",
                    "サーバー名とサーバーの証明書を確認してください"};
        case FailureKind::TlsNotOffered:
            return {"メールサーバーが暗号化（STLS）に対応していないため",
                    std::string_view(kCheckServerAndPort)};
        case FailureKind::TlsNotOfferedForToken:
            return {
                "メールサーバーが暗号化（STLS）に対応しておらず、OAuth 2.0 "
                "のアクセストークンは暗号化した接続でだけ送るため",
                std::string_view(kCheckServerAndPort)};
        case FailureKind::StlsRefused:
            return {"メールサーバーが暗号化（STLS）を拒否したため",
                    std::string_view(kCheckPortAndTls)};
        case FailureKind::NoLoginMethod:
            return {"メールサーバーに安全なログイン方法がないため",
                    std::string_view(kCheckServerAndPort)};
        case FailureKind::LoginRefused:
            return {"ログインできないため",
                    "ユーザー名（アカウント）とパスワードを確認してください"};
        case FailureKind::NoOAuthMechanism:
            return {
                "メールサーバーが OAuth 2.0 のログイン（OAUTHBEARER、XOAUTH2）に対応していないため",
                "サーバー名とログイン方法の設定を確認してください"};
        case FailureKind::TokenInvalid:
            return {"アクセストークンが無効か、有効期限が切れているため",
                    "アクセストークンの取得方法とアカウントを確認してください"};
        case FailureKind::TokenScope:
            return {"アクセストークンにメールを読む権限（スコープ）がないため",
                    "トークンを取得するときのスコープを確認してください"};
        case FailureKind::TokenRefused:
            return {"アクセストークンでログインできないため",
                    "ユーザー名（アカウント）とアクセストークンを確認してください"};
        case FailureKind::CommandRefused:
            return {"メールサーバーが要求を拒否したため", std::string_view(kAskTheAdministrator)};
        case FailureKind::BadStatReply:
            return {"メールサーバーのメッセージ数の応答を解釈できないため",
                    std::string_view(kAskTheAdministrator)};
        case FailureKind::NotEnoughMessages:
            return {"メールボックスのメッセージ数が要求より少なくなっているため",
                    "次の確認を待ってください"};
    }
    return {"メールの確認に失敗したため", std::string_view(kAskTheAdministrator)};
}

// RFC 2449 / RFC 3206 response codes: each names its own cause, whatever
// the command was.
std::optional<Wording> WordingOfResponseCode(std::string_view code) {
    if (code == "IN-USE") {
        return Wording{"メールボックスを他のメールソフトが使用中のため",
                       "しばらくしてからもう一度確認してください"};
    }
    if (code == "LOGIN-DELAY") {
        return Wording{"前回のログインから間もないとしてログインを拒否されたため",
                       "確認の間隔を長くしてください"};
    }
    if (code == "AUTH") {
        return WordingOf(FailureKind::LoginRefused);
    }
    if (code == "SYS/TEMP") {
        return Wording{"メールサーバーの一時的な障害のため",
                       "しばらくしてからもう一度確認してください"};
    }
    if (code == "SYS/PERM") {
        return Wording{"メールサーバーの障害のため", "メールサーバーの管理者に連絡してください"};
    }
    return std::nullopt;
}

// Length of the valid UTF-8 sequence at the start of `text`, 0 if invalid.
std::size_t Utf8SequenceLength(std::string_view text) {
    const auto lead = static_cast<std::uint8_t>(text[0]);
    std::size_t length = 0;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<std::uint8_t>(text[i]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

}  // namespace

std::string QuotableServerText(std::string_view text) {
    std::string safe;
    while (!text.empty() && safe.size() < kMaxQuotedServerText) {
        const std::size_t length = Utf8SequenceLength(text);
        if (length == 0) {
            safe += kReplacement;
            text.remove_prefix(1);
            continue;
        }
        const auto byte = static_cast<std::uint8_t>(text[0]);
        const bool control = length == 1 && (byte < 0x20 || byte == 0x7F);
        safe += control ? std::string_view(" ") : text.substr(0, length);
        text.remove_prefix(length);
    }
    return safe;
}

std::string FailureText(const Failure& failure, const SecretMask& secrets) {
    const Wording wording =
        WordingOfResponseCode(failure.responseCode).value_or(WordingOf(failure.kind));
    std::string text(wording.cause);
    text += "、";
    text += failure.advice.empty() ? std::string(wording.check) : secrets.Apply(failure.advice);
    if (!failure.server.empty()) {
        text += "（サーバー ";
        text += QuotableServerText(secrets.Apply(failure.server));
        text += "）";
    }
    text += "。";
    // The server's and the system's own words come after the sentence,
    // each under its label, so that they never end it.
    if (!failure.reply.empty()) {
        text += kReplyLabel;
        text += QuotableServerText(secrets.Apply(failure.reply));
    }
    if (!failure.detail.empty()) {
        if (!failure.reply.empty()) {
            text += " ";
        }
        text += kDetailLabel;
        text += QuotableServerText(secrets.Apply(failure.detail));
    }
    return text;
}

}  // namespace popmail
