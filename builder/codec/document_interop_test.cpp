// A .cvx file read by an independent compound-file reader (Python's olefile): the streams, the
// summary information and the contents as another program sees them.
#include <gtest/gtest.h>

#include "builder/codec/document_io.h"
#include "builder/codec/testing/document_files.h"
#include "tests/support/run_program.h"

namespace vandrel::builder {
namespace {

using test::writeFile;
using testing::DocumentFiles;

TEST_F(DocumentFiles, AnIndependentReaderSeesTheStreamsAndTheSummary) {
  if (!std::filesystem::exists("/usr/bin/python3")) GTEST_SKIP() << "no python3";
  CScriptDoc doc(clock);
  doc.onNewDocument("ann");
  doc.settings.appName = "AppName";
  doc.settings.ver = "Ver";
  std::string path = saved(doc, "interop.cvx");
  const char* script =
      "import sys, olefile\n"
      "o = olefile.OleFileIO(sys.argv[1])\n"
      "print(sorted('/'.join(e) for e in o.listdir(streams=True)))\n"
      "m = o.get_metadata()\n"
      "print(m.title.decode(), m.author.decode(), m.revision_number.decode(), m.creating_application.decode(), sep='|')\n"
      "print(o.openstream('Contents').read().decode().splitlines()[1])\n";
  writeFile(dir / "read.py", script);
  test::RunResult r = test::runProgram("/usr/bin/python3", {(dir / "read.py").string(), path});
  if (r.err.find("No module named 'olefile'") != std::string::npos) GTEST_SKIP() << r.err;
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.out,
            "['\\x05SummaryInformation', 'Contents']\n"
            "AppName Ver|ann|1|Corvix v3.0\n"
            ";---> Corvix v3.0 Script file\n");
}

}  // namespace
}  // namespace vandrel::builder
