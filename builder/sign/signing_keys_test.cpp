// The signing keys: read from the environment, a password from its file, and what is missing.
#include "builder/sign/signing_keys.h"

#include <gtest/gtest.h>

#include <map>

#include "tests/support/temp_dir.h"

namespace vandrel::builder {
namespace {

EnvironmentReader environmentOf(std::map<std::string, std::string> values) {
  return [values](const std::string& name) -> std::optional<std::string> {
    auto found = values.find(name);
    if (found == values.end()) return std::nullopt;
    return found->second;
  };
}

TEST(SigningKeys, TheEnvironmentNamesTheKeys) {
  SigningKeys keys = signingKeysFromEnvironment(environmentOf(
      {{"VANDREL_SIGN_CERTIFICATE", "/k/cert.pem"}, {"VANDREL_SIGN_KEY", "/k/key.pem"},
       {"VANDREL_SIGN_PASSWORD", "secret"}, {"VANDREL_SIGN_TIMESTAMP", "http://ts.example"}}));
  EXPECT_EQ(keys.certificate, "/k/cert.pem");
  EXPECT_EQ(keys.key, "/k/key.pem");
  EXPECT_EQ(keys.password, "secret");
  EXPECT_EQ(keys.timestampUrl, "http://ts.example");
  EXPECT_TRUE(keys.configured());
  EXPECT_EQ(signingKeysProblem(keys), "");
  EXPECT_FALSE(signingKeysFromEnvironment(environmentOf({})).configured());
}

TEST(SigningKeys, APasswordFileWinsOverThePasswordItself) {
  test::TempDir temp;
  test::writeFile(temp / "password", "from the file\r\nsecond line\n");
  SigningKeys keys = signingKeysFromEnvironment(environmentOf(
      {{"VANDREL_SIGN_PKCS12", "/k/all.p12"}, {"VANDREL_SIGN_PASSWORD", "from the variable"},
       {"VANDREL_SIGN_PASSWORD_FILE", (temp / "password").string()}}));
  EXPECT_EQ(keys.password, "from the file");
  EXPECT_EQ(readPasswordFile((temp / "missing").string()), std::nullopt);
}

TEST(SigningKeys, WhatIsMissingIsSaid) {
  struct Case {
    SigningKeys keys;
    std::string problem;
  };
  for (const Case& c : {
           Case{{}, "no certificate: name a certificate and its key, or a PKCS#12 file"},
           Case{{.certificate = "c.pem"}, "the certificate c.pem has no key named"},
           Case{{.certificate = "c.pem", .pkcs12 = "a.p12"},
                "a PKCS#12 file and a certificate are both named: name one of them"},
           Case{{.pkcs12 = "a.p12"}, ""},
       }) {
    EXPECT_EQ(signingKeysProblem(c.keys), c.problem);
  }
}

}  // namespace
}  // namespace vandrel::builder
