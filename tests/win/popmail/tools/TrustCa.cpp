// popmail_trust_ca CERTIFICATE.pem
//
// Adds a test CA to the Root store of the local machine, so that Schannel
// and the certificate chain check trust the test servers' certificates as
// they would a public CA. Schannel has no SSL_CERT_FILE: this is how the
// Windows tests trust their CA, in a Wine prefix of their own that is
// thrown away afterwards. Nothing is switched off; the check stays whole.
//
// Exit status 0 when the certificate is in the store (added now or before).
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// clang-format off
#include <wincrypt.h>
// clang-format on

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int kUsageError = 2;

std::vector<BYTE> DerFromPem(const std::string& pem) {
    DWORD size = 0;
    if (!CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()),
                              CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr)) {
        return {};
    }
    std::vector<BYTE> der(size);
    if (!CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()),
                              CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr, nullptr)) {
        return {};
    }
    der.resize(size);
    return der;
}

bool AddToMachineRoot(const std::vector<BYTE>& der) {
    HCERTSTORE root =
        CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"ROOT");
    if (root == nullptr) {
        std::fprintf(stderr, "cannot open the Root store: error %lu\n", GetLastError());
        return false;
    }
    const BOOL added = CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING, der.data(),
                                                        static_cast<DWORD>(der.size()),
                                                        CERT_STORE_ADD_USE_EXISTING, nullptr);
    if (!added) {
        std::fprintf(stderr, "cannot add the certificate: error %lu\n", GetLastError());
    }
    CertCloseStore(root, 0);
    return added != 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: popmail_trust_ca CERTIFICATE.pem\n");
        return kUsageError;
    }
    std::ifstream file(argv[1], std::ios::binary);
    const std::string pem((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::vector<BYTE> der = DerFromPem(pem);
    if (der.empty()) {
        std::fprintf(stderr, "%s: no PEM certificate\n", argv[1]);
        return EXIT_FAILURE;
    }
    return AddToMachineRoot(der) ? EXIT_SUCCESS : EXIT_FAILURE;
}
