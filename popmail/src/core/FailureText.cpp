#include "core/FailureText.h"

#include <cstdint>

#include "core/Limits.h"

namespace popmail {
namespace {

constexpr std::string_view kReplacement = "?";

std::string_view CauseOf(FailureKind kind) {
    switch (kind) {
        case FailureKind::MissingHost:
            return "メールサーバーが設定されていません";
        case FailureKind::BadServerSetting:
            return "メールサーバーの書き方が正しくありません";
        case FailureKind::ForbiddenCharacter:
            return "サーバー名・ユーザー名・パスワードに使えない文字（改行など）が含まれています";
        case FailureKind::BadAccessToken:
            return "アクセストークンが空か、トークンに使えない文字を含んでいます";
        case FailureKind::UnknownCommand:
            return "メールライブラリが知らないコマンドです";
        case FailureKind::ListTooLarge:
            return "一度に取得できるメッセージ数の上限を超えています";
        case FailureKind::ResolveFailed:
            return "メールサーバーの名前が見つかりません";
        case FailureKind::ConnectRefused:
            return "メールサーバーに接続を拒否されました";
        case FailureKind::ConnectTimedOut:
            return "メールサーバーへの接続がタイムアウトしました";
        case FailureKind::NetworkError:
            return "メールサーバーとの通信に失敗しました";
        case FailureKind::ReplyTimedOut:
            return "メールサーバーの応答がタイムアウトしました";
        case FailureKind::DeadlineExceeded:
            return "メールの確認が制限時間内に終わりませんでした";
        case FailureKind::ConnectionClosed:
            return "メールサーバーが接続を切断しました";
        case FailureKind::ReplyTooLarge:
            return "メールサーバーの応答が大きすぎるため接続を切りました";
        case FailureKind::ProtocolError:
            return "メールサーバーの応答を解釈できません";
        case FailureKind::TlsFailed:
            return "暗号化通信（TLS）を開始できません";
        case FailureKind::CertificateNameMismatch:
            return "サーバー証明書の名前がサーバー名と一致しません";
        case FailureKind::CertificateUntrusted:
            return "サーバー証明書を信頼できません（発行元が不明です）";
        case FailureKind::CertificateExpired:
            return "サーバー証明書の有効期限が切れているか、まだ有効ではありません";
        case FailureKind::CertificateInvalid:
            return "サーバー証明書を検証できません";
        case FailureKind::TlsNotOffered:
            return "メールサーバーが暗号化（STLS）に対応していません";
        case FailureKind::StlsRefused:
            return "メールサーバーが暗号化（STLS）を拒否しました";
        case FailureKind::NoLoginMethod:
            return "メールサーバーに安全なログイン方法がありません";
        case FailureKind::LoginRefused:
            return "ログインできません（ユーザー名かパスワードが違います）";
        case FailureKind::NoOAuthMechanism:
            return "メールサーバーが OAuth 2.0 "
                   "のログイン（OAUTHBEARER、XOAUTH2）に対応していません";
        case FailureKind::TokenInvalid:
            return "アクセストークンが無効か、有効期限が切れています";
        case FailureKind::TokenScope:
            return "アクセストークンにメールを読む権限（スコープ）がありません";
        case FailureKind::TokenRefused:
            return "アクセストークンでログインできません";
        case FailureKind::CommandRefused:
            return "メールサーバーがコマンドを拒否しました";
        case FailureKind::BadStatReply:
            return "メールサーバーのメッセージ数の応答を解釈できません";
        case FailureKind::NotEnoughMessages:
            return "メールボックスのメッセージ数が要求より少なくなっています";
    }
    return "メールの確認に失敗しました";
}

// RFC 2449 / RFC 3206 response codes: each names its own cause, whatever
// the command was.
std::string_view CauseOfResponseCode(std::string_view code) {
    if (code == "IN-USE") {
        return "メールボックスは他のメールソフトが使用中です";
    }
    if (code == "LOGIN-DELAY") {
        return "前回のログインから間もないため、サーバーがログインを拒否しました";
    }
    if (code == "AUTH") {
        return "ログインできません（ユーザー名かパスワードが違います）";
    }
    if (code == "SYS/TEMP") {
        return "メールサーバーの一時的な障害です。しばらくしてから確認されます";
    }
    if (code == "SYS/PERM") {
        return "メールサーバーの障害です。サーバーの管理者に連絡してください";
    }
    return {};
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
    const std::string_view server = failure.server;
    std::string_view cause = CauseOfResponseCode(failure.responseCode);
    if (cause.empty()) {
        cause = CauseOf(failure.kind);
    }
    std::string text(cause);
    if (!server.empty()) {
        text += "（サーバー ";
        text += QuotableServerText(secrets.Apply(server));
        text += "）";
    }
    if (!failure.detail.empty()) {
        text += "：";
        text += QuotableServerText(secrets.Apply(failure.detail));
    }
    if (!failure.advice.empty()) {
        text += "。";
        text += secrets.Apply(failure.advice);
    }
    return text;
}

}  // namespace popmail
