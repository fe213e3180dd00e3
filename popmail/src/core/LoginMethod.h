#pragma once
// Which login to use, from what the server offers and whether the
// connection is encrypted. The password travels in clear only on an
// encrypted connection or where the user allowed it (pop3://); APOP is used
// only where nothing encrypted is possible, because it sends a digest
// instead of the password.

#include "core/Response.h"

namespace popmail {

enum class LoginMethod { SaslPlain, UserPass, Apop, None };

LoginMethod ChooseLogin(const Capabilities& capabilities, bool encrypted, bool apopOffered);

}  // namespace popmail
