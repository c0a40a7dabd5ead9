// Compound files through the system's structured storage (ole32).
#include "platform/compound_file.h"

#include <windows.h>
#include <objbase.h>
#include <objidl.h>

#include <algorithm>
#include <cstdio>

#include "platform/win32/win32_com.h"

namespace vandrel::platform {

namespace {

using win32::Held;
using win32::wide;

std::string errorText(const char* what, HRESULT result) {
  char code[16];
  std::snprintf(code, sizeof code, "%08lX", static_cast<unsigned long>(result));
  return std::string(what) + " (error 0x" + code + ")";
}

// The whole of a stream, or nullopt when it cannot be read or claims more than limit.
std::optional<std::string> readStream(IStream* stream, std::uint64_t limit) {
  STATSTG stat{};
  if (FAILED(stream->Stat(&stat, STATFLAG_NONAME))) return std::nullopt;
  if (stat.cbSize.QuadPart > limit) return std::nullopt;
  std::string out(std::size_t(stat.cbSize.QuadPart), '\0');
  std::size_t done = 0;
  while (done < out.size()) {
    ULONG chunk = ULONG(std::min<std::size_t>(out.size() - done, 1 << 20));
    ULONG read = 0;
    if (FAILED(stream->Read(out.data() + done, chunk, &read)) || read == 0) return std::nullopt;
    done += read;
  }
  return out;
}

bool writeStream(IStorage* storage, const std::string& name, const std::string& data) {
  Held<IStream> stream;
  if (FAILED(storage->CreateStream(wide(name).c_str(),
                                   STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                                   &stream.p))) {
    return false;
  }
  std::size_t done = 0;
  while (done < data.size()) {
    ULONG chunk = ULONG(std::min<std::size_t>(data.size() - done, 1 << 20));
    ULONG written = 0;
    if (FAILED(stream->Write(data.data() + done, chunk, &written)) || written == 0) return false;
    done += written;
  }
  return true;
}

}  // namespace

CompoundStreams readCompoundStreams(const std::filesystem::path& path,
                                    const std::vector<std::string>& names, std::uint64_t limit) {
  CompoundStreams result;
  win32::ComScope com;
  Held<IStorage> storage;
  HRESULT opened = StgOpenStorageEx(path.wstring().c_str(), STGM_READ | STGM_SHARE_DENY_WRITE,
                                    STGFMT_STORAGE, 0, nullptr, nullptr, IID_IStorage,
                                    reinterpret_cast<void**>(&storage.p));
  if (FAILED(opened)) {
    // A file the system cannot open at all, or one that is not a readable compound file.
    bool unopenable = opened == STG_E_FILENOTFOUND || opened == STG_E_PATHNOTFOUND ||
                      opened == STG_E_ACCESSDENIED || opened == STG_E_SHAREVIOLATION ||
                      opened == STG_E_LOCKVIOLATION;
    result.status = unopenable ? CompoundStreams::Status::CannotOpen : CompoundStreams::Status::Damaged;
    result.error = errorText(unopenable ? "cannot open the file" : "not a readable compound file", opened);
    return result;
  }
  result.status = CompoundStreams::Status::Ok;
  for (const std::string& name : names) {
    Held<IStream> stream;
    HRESULT found = storage->OpenStream(wide(name).c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE,
                                        0, &stream.p);
    result.present.push_back(found != STG_E_FILENOTFOUND);
    result.streams.push_back(SUCCEEDED(found) ? readStream(stream.p, limit) : std::nullopt);
  }
  return result;
}

std::string writeCompoundStreams(const std::filesystem::path& path,
                                 const std::vector<std::pair<std::string, std::string>>& streams) {
  win32::ComScope com;
  bool ok = false;
  {
    Held<IStorage> storage;
    HRESULT created = StgCreateStorageEx(
        path.wstring().c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, STGFMT_STORAGE,
        0, nullptr, nullptr, IID_IStorage, reinterpret_cast<void**>(&storage.p));
    if (FAILED(created)) return errorText("cannot create the file", created);
    ok = true;
    for (const auto& [name, data] : streams) ok = ok && writeStream(storage.p, name, data);
    ok = ok && SUCCEEDED(storage->Commit(STGC_DEFAULT));
  }  // released: the file is closed
  return ok ? std::string() : "the streams cannot be written";
}

}  // namespace vandrel::platform
