// Signing keys from the environment and password files.
#include "builder/sign/signing_keys.h"

#include <cstdlib>
#include <fstream>

namespace vandrel::builder {

std::optional<std::string> processEnvironment(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (!value) return std::nullopt;
  return std::string(value);
}

std::optional<std::string> readPasswordFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string line;
  std::getline(in, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

SigningKeys signingKeysFromEnvironment(const EnvironmentReader& environment) {
  SigningKeys keys;
  auto get = [&](const char* name) { return environment(name).value_or(""); };
  keys.certificate = get("VANDREL_SIGN_CERTIFICATE");
  keys.key = get("VANDREL_SIGN_KEY");
  keys.pkcs12 = get("VANDREL_SIGN_PKCS12");
  keys.timestampUrl = get("VANDREL_SIGN_TIMESTAMP");
  std::string passwordFile = get("VANDREL_SIGN_PASSWORD_FILE");
  if (!passwordFile.empty()) keys.password = readPasswordFile(passwordFile).value_or("");
  else keys.password = get("VANDREL_SIGN_PASSWORD");
  return keys;
}

std::string signingKeysProblem(const SigningKeys& keys) {
  if (!keys.pkcs12.empty() && !keys.certificate.empty()) {
    return "a PKCS#12 file and a certificate are both named: name one of them";
  }
  if (!keys.pkcs12.empty()) return "";
  if (keys.certificate.empty()) {
    return "no certificate: name a certificate and its key, or a PKCS#12 file";
  }
  if (keys.key.empty()) return "the certificate " + keys.certificate + " has no key named";
  return "";
}

}  // namespace vandrel::builder
