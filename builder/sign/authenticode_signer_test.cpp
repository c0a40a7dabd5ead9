// Recognising PE images and their signatures, and what the signer leaves alone; signing itself
// is checked end to end against a test certificate authority (tests/e2e/signed_package_test.cpp).
#include "builder/sign/authenticode_signer.h"

#include <gtest/gtest.h>

#include "platform/formats/szdd.h"
#include "tests/support/pe_builder.h"
#include "tests/support/temp_dir.h"

namespace vandrel::builder {
namespace {

std::string image(bool pe64) {
  platform::Bytes bytes = test::buildPeWithVersion({1, 0, 0, 0}, {1, 0, 0, 0}, 0x409, 1200,
                                                   {{"FileVersion", "1.0"}}, pe64);
  return std::string(bytes.begin(), bytes.end());
}

TEST(AuthenticodeSigner, PeImagesAreKnownByTheirHeaders) {
  EXPECT_TRUE(isPeImage(image(false)));
  EXPECT_TRUE(isPeImage(image(true)));
  EXPECT_FALSE(isPeImage("\x7f" "ELF and the rest of a Linux program"));
  EXPECT_FALSE(isPeImage("MZ"));
  std::string dosOnly = image(true);
  dosOnly[std::uint8_t(dosOnly[0x3C])] = 'X';
  EXPECT_FALSE(isPeImage(dosOnly));
  // The images of the tests have an empty certificate table.
  EXPECT_FALSE(hasSignature(image(false)));
  EXPECT_FALSE(hasSignature(image(true)));
}

TEST(AuthenticodeSigner, AFileThatIsNoWindowsProgramIsLeftAsItIs) {
  test::TempDir temp;
  test::writeFile(temp / "tamsin32", "\x7f" "ELF a program built for Linux");
  platform::Bytes packed = platform::szdd::compress(platform::Bytes(10, 'x'), 'e');
  test::writeFile(temp / "Tam32E.ex_", std::string(packed.begin(), packed.end()));
  SigningKeys keys{.certificate = "missing.pem", .key = "missing.key"};
  for (const char* name : {"tamsin32", "Tam32E.ex_"}) {
    std::string before = test::readFile(temp / name);
    EXPECT_EQ(signHostFile(temp / name, keys, "Tool").outcome, SignOutcome::NotWindowsProgram);
    EXPECT_EQ(test::readFile(temp / name), before);
  }
}

}  // namespace
}  // namespace vandrel::builder
