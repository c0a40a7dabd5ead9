// corvix generate --sign against a throw-away certificate authority made with openssl: every
// Windows program of the package (Setup.exe, and the setup engine and uninstaller it packs,
// once expanded) carries a signature osslsigncode verifies against that authority; and
// corvix check notes an unsigned package when a certificate is configured.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "platform/formats/szdd.h"
#include "tests/support/pe_builder.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace vandrel {
namespace {

namespace fs = std::filesystem;

// A program of the host system, found on the PATH.
test::RunResult hostTool(const std::string& program, std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), program);
  return test::runProgram("/usr/bin/env", arguments);
}

bool onPath(const std::string& program) {
  return test::runProgram("/bin/sh", {"-c", "command -v " + program}).exitStatus == 0;
}

// A small Windows program image, as the Windows build's programs are: what the signer signs.
std::string windowsImage(const std::string& description) {
  platform::Bytes image = test::buildPeWithVersion({3, 0, 0, 0}, {3, 0, 0, 0}, 0x409, 1200,
                                                   {{"FileDescription", description}}, true);
  return std::string(image.begin(), image.end());
}

std::string compressed(const std::string& bytes) {
  platform::Bytes packed = platform::szdd::compress(platform::Bytes(bytes.begin(), bytes.end()), 'e');
  return std::string(packed.begin(), packed.end());
}

class SignedPackage : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"osslsigncode", "openssl"}) {
      if (!onPath(tool)) GTEST_SKIP() << tool << " is not installed: signing cannot be checked";
    }
    makeAuthority();
    makeBuilderFolder();
  }

  void openssl(const std::vector<std::string>& arguments) {
    test::RunResult r = hostTool("openssl", arguments);
    ASSERT_EQ(r.exitStatus, 0) << r.err;
  }
  // A certificate authority and a code-signing certificate it issued, valid for two days.
  void makeAuthority() {
    std::string d = dir_.path().string() + "/";
    openssl({"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", d + "ca.key", "-out",
             d + "ca.pem", "-days", "2", "-subj", "/CN=Vandrel Test CA", "-addext",
             "basicConstraints=critical,CA:TRUE", "-addext", "keyUsage=critical,keyCertSign,cRLSign"});
    openssl({"req", "-newkey", "rsa:2048", "-nodes", "-keyout", d + "signer.key", "-out",
             d + "signer.csr", "-subj", "/CN=Vandrel Test Signer"});
    test::writeFile(dir_ / "signer.ext",
                    "basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\n"
                    "extendedKeyUsage=codeSigning\n");
    openssl({"x509", "-req", "-in", d + "signer.csr", "-CA", d + "ca.pem", "-CAkey", d + "ca.key",
             "-CAcreateserial", "-out", d + "signer.pem", "-days", "2", "-extfile", d + "signer.ext"});
    openssl({"pkcs12", "-export", "-in", d + "signer.pem", "-inkey", d + "signer.key", "-out",
             d + "signer.p12", "-passout", "pass:test password"});
    test::writeFile(dir_ / "password.txt", "test password\n");
  }
  // corvix and its checking library beside the programs a package carries, built for Windows.
  void makeBuilderFolder() {
    fs::create_directories(dir_ / "builder");
    for (const char* name : {"corvix", "Scanlet.dll", "tips.txt"}) {
      fs::copy_file(test::binPath(name), dir_ / "builder" / name);
    }
    std::string starter = windowsImage("Vandrel package starter");
    test::writeFile(dir_ / "builder" / "Setup.exe", starter);
    for (const char* name : {"Tam32E.ex_", "Tam32F.ex_"}) {
      test::writeFile(dir_ / "builder" / name, compressed(windowsImage("Vandrel setup engine")));
    }
    for (const char* name : {"Pes32E.ex_", "Pes32F.ex_"}) {
      test::writeFile(dir_ / "builder" / name, compressed(windowsImage("Vandrel uninstaller")));
    }
    test::writeFile(dir_ / "tool.exe", "the author's program");
    env_ = {{"VANDREL_UI", "scripted"}, {"VANDREL_MACHINE", (dir_ / "machine").string()}};
    corvix({"new", doc()});
    corvix({"set", doc(), "AppName=Tool", "Ver=1.0", "ShowLicence=0"});
    corvix({"add", doc(), (dir_ / "tool.exe").string()});
  }

  std::string doc() const { return (dir_ / "tool.cvx").string(); }
  test::RunResult corvix(const std::vector<std::string>& arguments,
                         const std::map<std::string, std::string>& extra = {}, int status = 0) {
    std::map<std::string, std::string> env = env_;
    env.insert(extra.begin(), extra.end());
    test::RunResult r = test::runProgram((dir_ / "builder" / "corvix").string(), arguments, env);
    EXPECT_EQ(r.exitStatus, status) << r.out << r.err;
    return r;
  }
  // osslsigncode's verdict on a file against the test authority.
  test::RunResult verify(const fs::path& file) {
    return hostTool("osslsigncode", {"verify", "-CAfile", (dir_ / "ca.pem").string(), "-in", file.string()});
  }
  // The program a compressed package file expands to, in the test's folder.
  fs::path expanded(const fs::path& packed) {
    platform::Bytes out;
    std::string bytes = test::readFile(packed);
    EXPECT_EQ(platform::szdd::expand(platform::Bytes(bytes.begin(), bytes.end()), out),
              platform::szdd::Status::Ok);
    fs::path program = dir_ / (packed.stem().string() + ".exe");
    test::writeFile(program, std::string(out.begin(), out.end()));
    return program;
  }
  void expectEverySignatureValid(const fs::path& package) {
    for (fs::path file : {package / "Setup.exe", expanded(package / "Tamsin32.ex_"),
                          expanded(package / "Peskin32.ex_")}) {
      test::RunResult r = verify(file);
      EXPECT_EQ(r.exitStatus, 0) << file << ":\n" << r.out << r.err;
      EXPECT_NE(r.out.find("Signature verification: ok"), std::string::npos) << file << r.out;
    }
  }

  test::TempDir dir_;
  std::map<std::string, std::string> env_;
};

TEST_F(SignedPackage, CertificateAndKeyFilesSignEveryProgram) {
  fs::path package = dir_ / "package";
  test::RunResult r = corvix({"generate", doc(), "--out", package.string(), "--sign", "--certificate",
                              (dir_ / "signer.pem").string(), "--key", (dir_ / "signer.key").string()});
  EXPECT_NE(r.out.find("signed Tam32E.ex_\nsigned Pes32E.ex_\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("signed Setup.exe\n"), std::string::npos) << r.out;
  expectEverySignatureValid(package);
  // The author's own files are theirs to sign: they go into the package as they are.
  EXPECT_EQ(test::readFile(package / "tool.exe"), "the author's program");
  // The script records the sizes of the signed programs.
  EXPECT_NE(test::readFile(package / "Script.vrx")
                .find(",1,1000,0,1,1," + std::to_string(fs::file_size(package / "Peskin32.ex_")) + ","),
            std::string::npos);
}

TEST_F(SignedPackage, APkcs12FileAndItsPasswordFromTheEnvironment) {
  fs::path package = dir_ / "package";
  corvix({"generate", doc(), "--out", package.string(), "--sign"},
         {{"VANDREL_SIGN_PKCS12", (dir_ / "signer.p12").string()},
          {"VANDREL_SIGN_PASSWORD_FILE", (dir_ / "password.txt").string()}});
  expectEverySignatureValid(package);
  // A wrong password signs nothing and says so.
  fs::path other = dir_ / "other";
  test::RunResult r = corvix({"generate", doc(), "--out", other.string(), "--sign", "--pkcs12",
                              (dir_ / "signer.p12").string()},
                             {{"VANDREL_SIGN_PASSWORD", "wrong"}}, 1);
  EXPECT_NE(r.err.find("could not be signed"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(other / "Setup.exe"));
}

TEST_F(SignedPackage, CheckNotesAnUnsignedPackageWhenACertificateIsConfigured) {
  fs::path package = dir_ / "package";
  corvix({"generate", doc(), "--out", package.string()});
  std::map<std::string, std::string> configured{
      {"VANDREL_SIGN_CERTIFICATE", (dir_ / "signer.pem").string()},
      {"VANDREL_SIGN_KEY", (dir_ / "signer.key").string()}};
  test::RunResult unsignedRun = corvix({"check", doc(), "--warn-only"}, configured);
  EXPECT_NE(unsignedRun.out.find("note: the package's Setup.exe is not signed"), std::string::npos)
      << unsignedRun.out;
  // Without a certificate configured, nothing is said of signatures.
  test::RunResult plain = corvix({"check", doc(), "--warn-only"});
  EXPECT_EQ(plain.out.find("signed"), std::string::npos) << plain.out;
  corvix({"generate", doc(), "--out", package.string(), "--sign"}, configured);
  test::RunResult signedRun = corvix({"check", doc(), "--warn-only"}, configured);
  EXPECT_EQ(signedRun.out.find("not signed"), std::string::npos) << signedRun.out;
}

}  // namespace
}  // namespace vandrel
