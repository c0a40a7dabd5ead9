// vandrel-lz: compresses a host file into the SZDD format, or expands one.
#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <system_error>

#include <unistd.h>

#include "platform/exit_statuses.h"
#include "platform/formats/szdd.h"

namespace {

namespace fs = std::filesystem;
namespace szdd = vandrel::platform::szdd;

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

FilePtr openFile(const fs::path& path, const char* mode) {
  return FilePtr(std::fopen(path.string().c_str(), mode), &std::fclose);
}

szdd::Source fileSource(std::FILE* file) {
  return [file](std::uint8_t* buffer, std::size_t count) -> std::int64_t {
    std::size_t n = std::fread(buffer, 1, count, file);
    return n == 0 && std::ferror(file) ? -1 : std::int64_t(n);
  };
}

szdd::Sink fileSink(std::FILE* file) {
  return [file](const std::uint8_t* data, std::size_t count) {
    return std::fwrite(data, 1, count, file) == count;
  };
}

int fail(const std::string& message) {
  std::cerr << "vandrel-lz: " << message << "\n";
  return 1;
}

// Runs one conversion from in to out. The output is written beside out under a temporary
// name and renamed over it only when complete, so a failed run neither leaves a half-written
// file nor destroys an existing one.
int convert(const fs::path& in, const fs::path& out, bool compressing) {
  std::error_code ec;
  if (!fs::is_regular_file(in, ec)) return fail("cannot read " + in.string() + ": no such file");
  if (fs::equivalent(in, out, ec)) return fail("the input and the output are the same file");
  std::uint64_t length = fs::file_size(in, ec);
  if (ec) return fail("cannot read " + in.string() + ": " + ec.message());
  FilePtr source = openFile(in, "rb");
  if (!source) return fail("cannot open " + in.string() + ": " + std::strerror(errno));
  fs::path partial = out;
  partial += ".vandrel-lz-" + std::to_string(::getpid());
  FilePtr target = openFile(partial, "wb");
  if (!target) return fail("cannot create " + out.string() + ": " + std::strerror(errno));

  szdd::Status status;
  if (compressing) {
    std::string name = in.filename().string();
    auto missing = std::uint8_t(name.empty() ? 0 : name.back());
    status = szdd::compress(fileSource(source.get()), length, missing, fileSink(target.get()));
  } else {
    status = szdd::expand(fileSource(source.get()), fileSink(target.get()));
  }
  bool closed = std::fclose(target.release()) == 0;
  if (status == szdd::Status::Ok && !closed) status = szdd::Status::WriteFailed;
  if (status == szdd::Status::Ok) {
    fs::rename(partial, out, ec);
    if (!ec) return 0;
    fs::remove(partial, ec);
    return fail("cannot create " + out.string() + ": " + ec.message());
  }
  fs::remove(partial, ec);
  const fs::path& culprit = status == szdd::Status::WriteFailed ? out : in;
  return fail(culprit.string() + ": " + szdd::describe(status));
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Makes and reads SZDD compressed files"};
  app.require_subcommand(1);
  app.set_version_flag("--version", "vandrel-lz " VANDREL_VERSION);
  app.footer(vandrel::platform::exitStatusHelp("vandrel-lz"));
  std::string in, out;
  auto* compress = app.add_subcommand("compress", "Compress IN into the SZDD file OUT");
  compress->add_option("IN", in, "File to compress")->required();
  compress->add_option("OUT", out, "Compressed file to write")->required();
  auto* expand = app.add_subcommand("expand", "Expand the SZDD file IN into OUT");
  expand->add_option("IN", in, "Compressed file")->required();
  expand->add_option("OUT", out, "Expanded file to write")->required();
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::cout << app.help();
    return 0;
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    std::cerr << "vandrel-lz: " << e.what() << " (see vandrel-lz --help)\n";
    return 2;
  }
  return convert(in, out, compress->parsed());
}
