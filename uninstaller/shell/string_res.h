// Loads the program's texts from its string table.
#pragma once

#include <cstdint>

#include "platform/system.h"

// Texts come back in a ring of four 512-byte buffers: a returned text stays
// valid until four further loads on the same loader (a redirected text
// takes two slots).
//
// A text that begins with '@' is a redirection "@file@section@key": the
// text is read from that INI file instead, so that a package can change
// wording without rebuilding the program.
class CStringRes {
 public:
  static constexpr int kSlots = 4;
  static constexpr int kBufferSize = 512;

  explicit CStringRes(platform::System& system);

  // Slot 0, buffers cleared, module set (may be 0 until the owning dialog
  // initialises).
  void init(platform::ModuleHandle module);
  void setModule(platform::ModuleHandle module) { module_ = module; }
  platform::ModuleHandle module() const { return module_; }

  // The text `id`, redirected when it asks for it; empty when missing.
  const char* text(std::uint32_t id);
  // The text `id` exactly as the string table has it.
  const char* plainText(std::uint32_t id);

 private:
  char* nextSlot();
  char* load(std::uint32_t id);
  const char* redirect(char* text);

  platform::System* system_;
  platform::ModuleHandle module_;
  std::int32_t slot_ = 0;
  char buffers_[kSlots][kBufferSize] = {};
};
