// Handles as the platform layer passes them, and their owner.
//
// Every kind of handle (registry key, service, file, printer, window,
// module, ...) is its own type, so that handing a file to closeKey does not
// compile; the value inside is the number Windows uses, 0 meaning "none".
// One owner template closes a handle through the interface that opened it,
// on every path out of a scope.
#pragma once

#include <compare>
#include <cstdint>
#include <utility>

namespace platform {

template <typename Kind>
class Handle {
 public:
  constexpr Handle() = default;
  constexpr explicit Handle(std::uintptr_t value) : value_(value) {}

  constexpr std::uintptr_t value() const { return value_; }
  constexpr explicit operator bool() const { return value_ != 0; }

  friend constexpr auto operator<=>(const Handle&, const Handle&) = default;

 private:
  std::uintptr_t value_ = 0;
};

// Owns one handle of `HandleType` and closes it with `Close`, a member
// function of `Api` (the interface that opened it). Movable, not copyable.
//
//   platform::RegKey key(system.registry);
//   if (system.registry.openKey(root, path, access, key.out()) != 0) return;
//   ... key.get() ...                  // closed when `key` goes
template <typename Api, typename HandleType, auto Close>
class Owner {
 public:
  explicit Owner(Api& api) : api_(&api) {}
  Owner(Api& api, HandleType handle) : api_(&api), handle_(handle) {}
  Owner(const Owner&) = delete;
  Owner& operator=(const Owner&) = delete;
  Owner(Owner&& other) noexcept : api_(other.api_), handle_(std::exchange(other.handle_, {})) {}
  Owner& operator=(Owner&& other) noexcept {
    if (this != &other) {
      reset();
      api_ = other.api_;
      handle_ = std::exchange(other.handle_, {});
    }
    return *this;
  }
  ~Owner() { reset(); }

  HandleType get() const { return handle_; }
  bool isOpen() const { return static_cast<bool>(handle_); }
  Api& api() const { return *api_; }

  // Closes what is held and gives its slot to a call that opens a handle.
  HandleType& out() {
    reset();
    return handle_;
  }
  // Gives the handle up without closing it.
  HandleType release() { return std::exchange(handle_, {}); }
  void reset() {
    if (handle_) (api_->*Close)(std::exchange(handle_, {}));
  }

 private:
  Api* api_;
  HandleType handle_{};
};

}  // namespace platform
