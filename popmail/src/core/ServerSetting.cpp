#include "core/ServerSetting.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "core/Limits.h"

namespace popmail {
namespace {

constexpr std::string_view kPop3sScheme = "pop3s://";
constexpr std::string_view kPop3Scheme = "pop3://";
constexpr std::string_view kSchemeMark = "://";
constexpr int kMaxPort = 65535;

enum class Form { Bare, HostPort, Pop3s, Pop3 };

struct Authority {
    std::string host;
    int port = 0;  // 0: none written
};

std::string_view Trim(std::string_view text) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char lower, char c) {
               return std::tolower(static_cast<unsigned char>(c)) == lower;
           });
}

bool ParsePort(std::string_view text, int& port) {
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    return error == std::errc() && end == text.data() + text.size() && port >= 1 &&
           port <= kMaxPort;
}

bool PlausibleHost(std::string_view host) {
    return !host.empty() && std::none_of(host.begin(), host.end(), [](char c) {
        return c == ' ' || c == '/' || c == '@' || c == '[' || c == ']' ||
               static_cast<unsigned char>(c) < 0x20;
    });
}

Result<Authority> ParseAuthority(std::string_view text) {
    const Failure bad = Fail(FailureKind::BadServerSetting, std::string(text));
    Authority authority;
    std::string_view portText;
    if (!text.empty() && text.front() == '[') {
        const auto close = text.find(']');
        if (close == std::string_view::npos) {
            return bad;
        }
        authority.host = std::string(text.substr(1, close - 1));
        const auto rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':') {
                return bad;
            }
            portText = rest.substr(1);
            if (portText.empty()) {
                return bad;
            }
        }
        if (authority.host.empty() || authority.host.find(':') == std::string::npos) {
            return bad;
        }
    } else {
        const auto colon = text.find(':');
        if (colon != std::string_view::npos &&
            text.find(':', colon + 1) != std::string_view::npos) {
            // An IPv6 literal written without brackets: no port possible.
            authority.host = std::string(text);
        } else {
            authority.host = std::string(text.substr(0, colon));
            if (colon != std::string_view::npos) {
                portText = text.substr(colon + 1);
                if (portText.empty()) {
                    return bad;
                }
            }
        }
        if (!PlausibleHost(authority.host)) {
            return bad;
        }
    }
    if (!portText.empty() && !ParsePort(portText, authority.port)) {
        return bad;
    }
    return authority;
}

}  // namespace

Result<std::vector<Endpoint>> ParseServerSetting(std::string_view setting, PortChoice ports) {
    std::string_view text = Trim(setting);
    if (text.empty()) {
        return Fail(FailureKind::MissingHost);
    }
    Form form = Form::Bare;
    if (StartsWithNoCase(text, kPop3sScheme)) {
        form = Form::Pop3s;
        text.remove_prefix(kPop3sScheme.size());
    } else if (StartsWithNoCase(text, kPop3Scheme)) {
        form = Form::Pop3;
        text.remove_prefix(kPop3Scheme.size());
    } else if (text.find(kSchemeMark) != std::string_view::npos) {
        return Fail(FailureKind::BadServerSetting, std::string(setting));
    }
    if (form != Form::Bare && !text.empty() && text.back() == '/') {
        text.remove_suffix(1);
    }
    auto authority = ParseAuthority(text);
    if (!authority) {
        return authority.failure();
    }
    const std::string& host = authority->host;
    const int port = authority->port;
    if (form == Form::Bare && port != 0) {
        form = Form::HostPort;
    }
    switch (form) {
        case Form::Bare:
            return std::vector<Endpoint>{{host, ports.implicitTls, Security::ImplicitTls, true},
                                         {host, ports.plain, Security::RequireStls, false}};
        case Form::HostPort:
            return std::vector<Endpoint>{
                {host, port,
                 port == kImplicitTlsPort ? Security::ImplicitTls : Security::RequireStls, false}};
        case Form::Pop3s:
            return std::vector<Endpoint>{
                {host, port != 0 ? port : ports.implicitTls, Security::ImplicitTls, false}};
        case Form::Pop3:
            return std::vector<Endpoint>{
                {host, port != 0 ? port : ports.plain, Security::StlsIfOffered, false}};
    }
    return Fail(FailureKind::BadServerSetting, std::string(setting));
}

std::string EndpointLabel(const Endpoint& endpoint) {
    const bool ipv6 = endpoint.host.find(':') != std::string::npos;
    std::string label = ipv6 ? "[" + endpoint.host + "]" : endpoint.host;
    return label + ":" + std::to_string(endpoint.port);
}

}  // namespace popmail
