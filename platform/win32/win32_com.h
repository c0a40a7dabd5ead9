// Small helpers for the COM interfaces the backend uses (shell links, structured storage).
#pragma once

#include <windows.h>
#include <objbase.h>

#include <string>

namespace vandrel::platform::win32 {

// Text in the program's code page as the wide text COM interfaces take.
inline std::wstring wide(const std::string& text) {
  int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring out(length > 0 ? length : 1, L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, out.data(), length);
  out.resize(out.size() - 1);
  return out;
}

// A COM interface pointer released when it goes.
template <typename T>
struct Held {
  T* p = nullptr;
  Held() = default;
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  ~Held() {
    if (p) p->Release();
  }
  T* operator->() const { return p; }
};

// The thread's COM apartment for the duration of one call, when no one else holds it.
struct ComScope {
  bool started = SUCCEEDED(CoInitialize(nullptr));
  ComScope() = default;
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (started) CoUninitialize();
  }
};

}  // namespace vandrel::platform::win32
