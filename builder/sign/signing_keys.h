// The certificate and private key a package is signed with: from corvix's options, else from
// the environment (VANDREL_SIGN_*), where a build machine keeps them.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace vandrel::builder {

struct SigningKeys {
  std::string certificate;  // the certificate (PEM or DER) ...
  std::string key;          // ... and its private key, or
  std::string pkcs12;       // both in one PKCS#12 file
  std::string password;     // of the key or the PKCS#12 file (never on a command line)
  std::string timestampUrl;  // an RFC 3161 time-stamp server, optional

  // Whether a certificate is named at all.
  bool configured() const { return !certificate.empty() || !pkcs12.empty(); }
};

// Reads an environment variable; nullopt when it is not set.
using EnvironmentReader = std::function<std::optional<std::string>(const std::string&)>;

// The keys the environment names: VANDREL_SIGN_CERTIFICATE and VANDREL_SIGN_KEY, or
// VANDREL_SIGN_PKCS12; the password from the file VANDREL_SIGN_PASSWORD_FILE names, else
// VANDREL_SIGN_PASSWORD; VANDREL_SIGN_TIMESTAMP.
SigningKeys signingKeysFromEnvironment(const EnvironmentReader& environment);

// What is wrong with keys for signing: empty when a certificate and its key are named (the
// files are read by the signer); else the problem, in a line.
std::string signingKeysProblem(const SigningKeys& keys);

// The first line of a password file, without its line end; nullopt when it cannot be read.
std::optional<std::string> readPasswordFile(const std::string& path);

// The environment of this process.
std::optional<std::string> processEnvironment(const std::string& name);

}  // namespace vandrel::builder
