// Owners for the Windows handles the platform layer opens internally, so that
// every way out of a function closes what it opened. Handles that cross the
// platform interfaces are owned by the caller's wrappers (RegKey, ScHandle,
// File) instead.
#pragma once

#include <cstdint>
#include <utility>

#include "platform/win32/windows_headers.h"

namespace win32 {

// A handle with a close function and a value that means "none". Windows is
// not consistent about the latter: CreateFileA and FindFirstFileA fail with
// INVALID_HANDLE_VALUE, OpenProcessToken and LoadLibraryA with null.
template <typename Handle, typename Traits>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle handle) : handle_(handle) {}
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, Traits::None())) {}
  ~Owned() { reset(); }

  void reset(Handle handle = Traits::None()) {
    if (valid()) Traits::Close(handle_);
    handle_ = handle;
  }
  Handle get() const { return handle_; }
  // For functions that return the handle through an out parameter.
  Handle* out() {
    reset();
    return &handle_;
  }
  bool valid() const { return handle_ != Traits::None() && handle_ != nullptr; }

 private:
  Handle handle_ = Traits::None();
};

struct KernelHandleTraits {
  static HANDLE None() { return nullptr; }
  static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct FindHandleTraits {
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::FindClose(h); }
};
struct LibraryTraits {
  static HMODULE None() { return nullptr; }
  static void Close(HMODULE h) { ::FreeLibrary(h); }
};

using KernelHandle = Owned<HANDLE, KernelHandleTraits>;  // tokens, processes
using FindHandle = Owned<HANDLE, FindHandleTraits>;
using Library = Owned<HMODULE, LibraryTraits>;

// A COM interface pointer, released on scope exit.
template <typename Interface>
class ComRef {
 public:
  ComRef() = default;
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ~ComRef() {
    if (ptr_ != nullptr) ptr_->Release();
  }
  Interface** out() { return &ptr_; }
  Interface* operator->() const { return ptr_; }
  Interface* get() const { return ptr_; }

 private:
  Interface* ptr_ = nullptr;
};

}  // namespace win32
