// Signed copies of the builder's program files, and the log of what was signed.
#include "builder/sign/package_signing.h"

#include <random>

namespace vandrel::builder {

namespace fs = std::filesystem;

void SigningLog::add(const std::string& name, const SignReport& report) {
  switch (report.outcome) {
    case SignOutcome::Signed:
      lines.push_back("signed " + name);
      break;
    case SignOutcome::NotWindowsProgram:
      lines.push_back("not signed: " + name + " is not a Windows program");
      break;
    case SignOutcome::Failed:
      lines.push_back("not signed: " + name + ": " + report.problem);
      if (problem.empty()) problem = name + ": " + report.problem;
      break;
  }
}

SignedProgramFolder::SignedProgramFolder(const fs::path& from, const std::vector<std::string>& names,
                                         const std::string& unsigned_, const SigningKeys& keys,
                                         const std::string& description, SigningLog& log) {
  std::random_device random;
  std::error_code ec;
  for (int attempt = 0; attempt < 16 && path_.empty(); ++attempt) {
    fs::path candidate = fs::temp_directory_path(ec) / ("corvix-signed-" + std::to_string(random()));
    if (!ec && fs::create_directory(candidate, ec)) path_ = candidate;
  }
  if (path_.empty()) {
    log.problem = "no temporary folder for the signed programs";
    return;
  }
  for (const std::string& name : names) {
    if (!fs::is_regular_file(from / name, ec)) continue;
    if (!fs::copy_file(from / name, path_ / name, ec)) {
      log.add(name, {SignOutcome::Failed, "cannot be copied: " + ec.message()});
      continue;
    }
    if (name != unsigned_) log.add(name, signHostFile(path_ / name, keys, description));
  }
}

SignedProgramFolder::~SignedProgramFolder() {
  std::error_code ec;
  if (!path_.empty()) fs::remove_all(path_, ec);
}

}  // namespace vandrel::builder
