#include "fake/TestCertificates.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace popmail::testing {
namespace {

namespace fs = std::filesystem;

void Run(const std::string& command) {
    if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) {
        throw std::runtime_error("test certificates: failed: " + command);
    }
}

std::string Key(const fs::path& dir, const std::string& name) {
    const std::string file = (dir / (name + ".key")).string();
    Run("openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-256 -out " + file);
    return file;
}

TlsIdentity Signed(const fs::path& dir, const std::string& name, const std::string& altNames) {
    const std::string key = Key(dir, name);
    const std::string csr = (dir / (name + ".csr")).string();
    const std::string ext = (dir / (name + ".ext")).string();
    const std::string pem = (dir / (name + ".pem")).string();
    Run("openssl req -new -key " + key + " -subj /CN=" + name + " -out " + csr);
    std::ofstream(ext) << "subjectAltName=" << altNames << "\n";
    Run("openssl x509 -req -in " + csr + " -CA " + (dir / "ca.pem").string() + " -CAkey " +
        (dir / "ca.key").string() + " -CAcreateserial -days 2 -extfile " + ext + " -out " + pem);
    return {pem, key};
}

TlsIdentity SelfSigned(const fs::path& dir, const std::string& name, const std::string& altNames) {
    const std::string key = Key(dir, name);
    const std::string pem = (dir / (name + ".pem")).string();
    Run("openssl req -x509 -new -key " + key + " -subj /CN=" + name + " -days 2 -addext " +
        "subjectAltName=" + altNames + " -out " + pem);
    return {pem, key};
}

class Store {
  public:
    Store() {
        std::string pattern = (fs::temp_directory_path() / "popmail-certs-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("test certificates: no temporary folder");
        }
        dir_ = pattern;
        const std::string caKey = Key(dir_, "ca");
        Run("openssl req -x509 -new -key " + caKey + " -subj /CN=popmail-test-CA -days 2 -out " +
            (dir_ / "ca.pem").string());
        certificates_.localhost = Signed(dir_, "localhost", "DNS:localhost,IP:127.0.0.1");
        certificates_.otherName = Signed(dir_, "other", "DNS:other.example");
        certificates_.selfSigned = SelfSigned(dir_, "stranger", "DNS:localhost,IP:127.0.0.1");
        ::setenv("SSL_CERT_FILE", (dir_ / "ca.pem").c_str(), 1);
    }
    ~Store() {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;
    const TestCertificates& certificates() const { return certificates_; }

  private:
    fs::path dir_;
    TestCertificates certificates_;
};

}  // namespace

const TestCertificates& Certificates() {
    static const Store store;
    return store.certificates();
}

}  // namespace popmail::testing
