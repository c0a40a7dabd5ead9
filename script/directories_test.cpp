// Tests of the two directory-reference resolutions.
#include "script/directories.h"

#include <gtest/gtest.h>

namespace vandrel::script {
namespace {

DirectoryContext context() {
  return {"D:\\Soft\\App", "C:\\WINDOWS", "C:\\WINDOWS\\"};
}

struct Case {
  const char* reference;
  const char* setup;
  const char* uninstall;
};

TEST(ResolveDirectory, BothForms) {
  const Case cases[] = {
      {"", "C:\\WINDOWS\\", "D:\\Soft\\App"},  // empty: engine folder / install folder
      {"Tools", "C:\\WINDOWS\\", "D:\\Soft\\App"},  // no comma
      {"Tools,0,0,Label", "D:\\Soft\\App\\Tools", "D:\\Soft\\App\\Tools"},
      {"Tools,0", "D:\\Soft\\App\\Tools", "D:\\Soft\\App\\Tools"},
      {"Tools,", "D:\\Soft\\App\\Tools", "D:\\Soft\\App\\Tools"},  // empty root reads 0
      {",0,0,", "D:\\Soft\\App", "D:\\Soft\\App"},
      {",1,0,", "D:", "D:"},  // the backslash left by the empty path is dropped
      {"Data,1,0,", "D:\\Data", "D:\\Data"},
      // Both forms name the folder the setup installs into, never System32 (NT's
      // system-folder query).
      {",2,0,", "C:\\WINDOWS\\System", "C:\\WINDOWS\\System"},
      {"Sub,2,0,", "C:\\WINDOWS\\System\\Sub", "C:\\WINDOWS\\System\\Sub"},
      {",3,0,", "C:\\WINDOWS", "C:\\WINDOWS"},
      {"Fonts,3,1,x", "C:\\WINDOWS\\Fonts", "C:\\WINDOWS\\Fonts"},
      {"Tools,7,0,", "D:\\Soft\\App", "D:\\Soft\\App"},  // other root: path ignored
      {"Tools,-1,0,", "D:\\Soft\\App", "D:\\Soft\\App"},
      {"Tools,x,0,", "D:\\Soft\\App\\Tools", "D:\\Soft\\App\\Tools"},  // no digits: root 0
      {"Tools\\,0,0,", "D:\\Soft\\App\\Tools", "D:\\Soft\\App\\Tools"},  // only one dropped
      {"Tools\\\\,0,0,", "D:\\Soft\\App\\Tools\\", "D:\\Soft\\App\\Tools\\"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(resolveDirectorySetup(c.reference, context()), c.setup) << c.reference;
    EXPECT_EQ(resolveDirectoryUninstall(c.reference, context()), c.uninstall) << c.reference;
  }
}

TEST(ResolveDirectory, UninstallWindowsFolderWithTrailingBackslash) {
  DirectoryContext ctx = context();
  ctx.windowsFolder = "C:\\WINDOWS\\";
  EXPECT_EQ(resolveDirectoryUninstall("Fonts,3,0,", ctx), "C:\\WINDOWS\\Fonts");
  EXPECT_EQ(resolveDirectoryUninstall(",3,0,", ctx), "C:\\WINDOWS");
  EXPECT_EQ(resolveDirectoryUninstall("Sub,2,0,", ctx), "C:\\WINDOWS\\System\\Sub");
}

TEST(ResolveDirectory, ShortInstallFolderDoesNotBreakDriveRoot) {
  DirectoryContext ctx = context();
  ctx.installFolder = "D";
  EXPECT_EQ(resolveDirectorySetup("x,1,0,", ctx), "D\\x");
  ctx.installFolder = "";
  EXPECT_EQ(resolveDirectoryUninstall("x,1,0,", ctx), "\\x");
}

}  // namespace
}  // namespace vandrel::script
