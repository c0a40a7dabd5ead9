// Signing through osslsigncode in a private folder of the system's temporary folder: the
// password goes in a file only the user can read, never on a command line.
#include "builder/sign/authenticode_signer.h"

#include <fstream>
#include <random>

#include "platform/formats/szdd.h"
#include "platform/host_command.h"

namespace vandrel::builder {
namespace {

namespace fs = std::filesystem;

std::uint32_t u32At(const std::string& bytes, std::size_t at) {
  if (at > bytes.size() || bytes.size() - at < 4) return 0;
  return std::uint32_t(std::uint8_t(bytes[at])) | std::uint32_t(std::uint8_t(bytes[at + 1])) << 8 |
         std::uint32_t(std::uint8_t(bytes[at + 2])) << 16 |
         std::uint32_t(std::uint8_t(bytes[at + 3])) << 24;
}

std::optional<std::string> readWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool writeWhole(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  return bool(out.flush());
}

// A folder of its own below the temporary folder, removed when the work is done.
class WorkFolder {
 public:
  WorkFolder() {
    std::random_device random;
    std::error_code ec;
    for (int attempt = 0; attempt < 16 && path_.empty(); ++attempt) {
      fs::path candidate = fs::temp_directory_path(ec) / ("corvix-sign-" + std::to_string(random()));
      if (!ec && fs::create_directory(candidate, ec)) path_ = candidate;
    }
    if (!path_.empty()) fs::permissions(path_, fs::perms::owner_all, ec);
  }
  ~WorkFolder() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// osslsigncode on input into output.
SignReport runSigner(const fs::path& input, const fs::path& output, const SigningKeys& keys,
                     const std::string& description, const WorkFolder& work) {
  std::vector<std::string> command{kSigningTool, "sign"};
  if (!keys.pkcs12.empty()) {
    command.insert(command.end(), {"-pkcs12", keys.pkcs12});
  } else {
    command.insert(command.end(), {"-certs", keys.certificate, "-key", keys.key});
  }
  if (!keys.password.empty()) {
    fs::path passwordFile = work.path() / "password";
    if (!writeWhole(passwordFile, keys.password)) return {SignOutcome::Failed, "cannot pass the password"};
    command.insert(command.end(), {"-readpass", passwordFile.string()});
  }
  if (!keys.timestampUrl.empty()) command.insert(command.end(), {"-ts", keys.timestampUrl});
  command.insert(command.end(), {"-h", "sha256", "-n", description, "-in", input.string(), "-out",
                                 output.string()});
  auto result = platform::runHostCommand(command);
  if (!result) return {SignOutcome::Failed, std::string(kSigningTool) + " cannot be started (is it installed?)"};
  if (result->exitStatus != 0) {
    std::string said = result->output;
    while (!said.empty() && (said.back() == '\n' || said.back() == '\r')) said.pop_back();
    std::size_t lastLine = said.rfind('\n');
    if (lastLine != std::string::npos) said = said.substr(lastLine + 1);
    return {SignOutcome::Failed, std::string(kSigningTool) + " failed: " + said};
  }
  return {SignOutcome::Signed, ""};
}

// Signs image (a PE image) into signed; the same image with a signature.
SignReport signImage(const std::string& image, std::string& signedImage, const SigningKeys& keys,
                     const std::string& description) {
  WorkFolder work;
  if (work.path().empty()) return {SignOutcome::Failed, "no temporary folder to sign in"};
  fs::path in = work.path() / "unsigned.exe", out = work.path() / "signed.exe";
  if (!writeWhole(in, image)) return {SignOutcome::Failed, "cannot write " + in.string()};
  SignReport report = runSigner(in, out, keys, description, work);
  if (report.outcome != SignOutcome::Signed) return report;
  std::optional<std::string> read = readWhole(out);
  if (!read) return {SignOutcome::Failed, "cannot read the signed copy"};
  signedImage = std::move(*read);
  return report;
}

}  // namespace

bool isPeImage(const std::string& bytes) {
  if (bytes.size() < 0x40 || bytes[0] != 'M' || bytes[1] != 'Z') return false;
  return u32At(bytes, u32At(bytes, 0x3C)) == 0x00004550;
}

bool hasSignature(const std::string& image) {
  if (!isPeImage(image)) return false;
  std::size_t optional = std::size_t(u32At(image, 0x3C)) + 24;
  if (optional + 2 > image.size()) return false;
  bool pe64 = std::uint8_t(image[optional]) == 0x0B && std::uint8_t(image[optional + 1]) == 0x02;
  std::size_t security = optional + (pe64 ? 112 : 96) + 4 * 8;  // data directory 4
  return u32At(image, security) != 0 && u32At(image, security + 4) != 0;
}

SignReport signHostFile(const fs::path& file, const SigningKeys& keys,
                        const std::string& description) {
  std::optional<std::string> bytes = readWhole(file);
  if (!bytes) return {SignOutcome::Failed, "cannot read " + file.string()};
  namespace szdd = platform::szdd;
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes->data());
  std::optional<szdd::Header> header = szdd::parseHeader(data, bytes->size());
  std::string image;
  if (header) {
    platform::Bytes expanded;
    if (szdd::expand(platform::Bytes(bytes->begin(), bytes->end()), expanded) != szdd::Status::Ok) {
      return {SignOutcome::Failed, file.string() + ": the compressed file does not expand"};
    }
    image.assign(expanded.begin(), expanded.end());
  } else {
    image = *bytes;
  }
  if (!isPeImage(image)) return {SignOutcome::NotWindowsProgram, ""};
  std::string signedImage;
  SignReport report = signImage(image, signedImage, keys, description);
  if (report.outcome != SignOutcome::Signed) return report;
  std::string written = signedImage;
  if (header) {
    platform::Bytes packed = szdd::compress(platform::Bytes(signedImage.begin(), signedImage.end()),
                                            header->missingChar);
    written.assign(packed.begin(), packed.end());
  }
  // Written beside it and renamed over it: the file is the old one or the signed one.
  fs::path beside = file;
  beside += ".signing";
  std::error_code ec;
  if (!writeWhole(beside, written) || (fs::rename(beside, file, ec), ec)) {
    fs::remove(beside, ec);
    return {SignOutcome::Failed, "cannot write " + file.string()};
  }
  return report;
}

}  // namespace vandrel::builder
