#pragma once
// The server setting as the user writes it, and the connections it means.
//
//   host              TLS on 995; if 995 refuses the connection, 110 with STLS
//   host:995          TLS on 995
//   host:port         plain on port, upgraded with STLS (required)
//   pop3s://host[:p]  TLS on p (995)
//   pop3://host[:p]   plain on p (110); STLS when offered, otherwise an
//                     unencrypted login, which the user allowed by writing it
// IPv6 literals go in brackets: [::1], [::1]:995, pop3s://[::1].

#include <string>
#include <string_view>
#include <vector>

#include "core/Failure.h"

namespace popmail {

enum class Security {
    ImplicitTls,    // TLS from the first byte (RFC 8314)
    RequireStls,    // plain, must be upgraded with STLS before login
    StlsIfOffered,  // plain, upgraded when the server offers STLS
};

struct Endpoint {
    std::string host;  // without brackets
    int port = 0;
    Security security = Security::ImplicitTls;
    // Try the next endpoint only when this one refuses the connection.
    bool nextOnRefusal = false;
};

struct PortChoice {
    int implicitTls = 0;
    int plain = 0;
};

// The endpoints to try in order, or BadServerSetting / MissingHost.
Result<std::vector<Endpoint>> ParseServerSetting(std::string_view setting, PortChoice ports);

// "host:port" for texts, IPv6 literals in brackets.
std::string EndpointLabel(const Endpoint& endpoint);

}  // namespace popmail
