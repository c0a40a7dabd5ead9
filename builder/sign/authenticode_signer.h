// Authenticode signatures on the Windows programs of a package, made by osslsigncode.
#pragma once

#include <filesystem>
#include <string>

#include "builder/sign/signing_keys.h"

namespace vandrel::builder {

// The program that signs: osslsigncode, found on the PATH.
inline constexpr const char* kSigningTool = "osslsigncode";

enum class SignOutcome {
  Signed,
  NotWindowsProgram,  // neither a PE image nor a compressed one: left as it is
  Failed,
};

struct SignReport {
  SignOutcome outcome = SignOutcome::Failed;
  std::string problem;  // why it failed, in a line
};

// Signs the file at a host path in place, with the description shown by Windows' prompt: a
// PE image directly; an SZDD compressed file whose content is a PE image is expanded, signed
// and compressed again (the same missing letter), so the program it packs carries the
// signature once installed. A signature already there is replaced.
SignReport signHostFile(const std::filesystem::path& file, const SigningKeys& keys,
                        const std::string& description);

// Whether bytes are a PE image ("MZ" and a "PE\0\0" header where it points).
bool isPeImage(const std::string& bytes);
// Whether a PE image holds a signature (its certificate table is not empty).
bool hasSignature(const std::string& image);

}  // namespace vandrel::builder
