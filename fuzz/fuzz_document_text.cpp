// Fuzz target: the builder's document text loader, and the text written from what it loaded.
#include <algorithm>
#include <string>
#include <string_view>

#include "builder/codec/document_text.h"
#include "fuzz/fuzz_target.h"

using vandrel::builder::CScriptDoc;

namespace {

CScriptDoc emptyDocument() {
  return CScriptDoc([] { return std::uint64_t(1); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > vandrel::fuzz::kMaxInput) return 0;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  CScriptDoc doc = emptyDocument();
  vandrel::builder::LoadDiagnostics notes;
  int lines = vandrel::builder::loadDocumentText(doc, text, notes, "fuzz.txt");
  FUZZ_CHECK(lines >= 0);

  // Every note names a line of the text and says something; noting changes nothing loaded.
  const long textLines = long(std::count(text.begin(), text.end(), '\n')) + 1;
  for (const vandrel::builder::LoadDiagnostic& note : notes) {
    FUZZ_CHECK(note.line >= 1 && note.line <= textLines);
    FUZZ_CHECK(!note.message.empty() && note.file == "fuzz.txt");
    FUZZ_CHECK(!vandrel::builder::diagnosticText(note).empty());
  }
  CScriptDoc plain = emptyDocument();
  FUZZ_CHECK(vandrel::builder::loadDocumentText(plain, text) == lines);

  // Whatever was loaded is written so that loading it again gives the same document.
  std::string written = vandrel::builder::documentText(doc);
  FUZZ_CHECK(vandrel::builder::documentText(plain) == written);
  CScriptDoc reloaded = emptyDocument();
  vandrel::builder::loadDocumentText(reloaded, written);
  FUZZ_CHECK(vandrel::builder::documentText(reloaded) == written);

  // Loading appends: the same text merged into a loaded document must not disturb it.
  vandrel::builder::loadDocumentText(doc, text);
  (void)vandrel::builder::documentText(doc);
  return 0;
}
