#include "core/LoginMethod.h"

namespace popmail {

LoginMethod ChooseLogin(const Capabilities& capabilities, bool encrypted, bool apopOffered) {
    const bool saslPlain = capabilities.sasl.count("PLAIN") > 0;
    // Without CAPA the server may still know USER (RFC 1939 lists it).
    const bool userPass = capabilities.user || !capabilities.known;
    if (!encrypted && apopOffered) {
        return LoginMethod::Apop;
    }
    if (saslPlain) {
        return LoginMethod::SaslPlain;
    }
    if (userPass) {
        return LoginMethod::UserPass;
    }
    return apopOffered ? LoginMethod::Apop : LoginMethod::None;
}

}  // namespace popmail
