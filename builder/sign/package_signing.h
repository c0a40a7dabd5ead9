// Signing what a package carries of ours: the programs the builder packs (the compressed
// setup engine and uninstaller) before they go into the package, so that the script records
// their signed sizes, and the package's Setup.exe once the builder has written its manifest.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "builder/sign/authenticode_signer.h"
#include "builder/sign/signing_keys.h"

namespace vandrel::builder {

// What signing did to each file, one line each ("signed Setup.exe", "not signed: ...").
struct SigningLog {
  std::vector<std::string> lines;
  std::string problem;  // the first failure; empty when none
  void add(const std::string& name, const SignReport& report);
};

// A folder of signed copies of the builder's program files, removed when it goes.
class SignedProgramFolder {
 public:
  // Copies each of names from the folder from (those that exist) and signs the copies but
  // unsigned (the starter, signed once its manifest is written in the package).
  SignedProgramFolder(const std::filesystem::path& from, const std::vector<std::string>& names,
                      const std::string& unsigned_, const SigningKeys& keys,
                      const std::string& description, SigningLog& log);
  ~SignedProgramFolder();
  SignedProgramFolder(const SignedProgramFolder&) = delete;
  SignedProgramFolder& operator=(const SignedProgramFolder&) = delete;

  // Empty when the folder could not be made.
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace vandrel::builder
