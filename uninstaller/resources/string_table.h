// The program's string table as C++ data, from the same list the resource
// compiler reads, for code that needs the texts off Windows.
#pragma once

#include <cstdint>

struct StringResource {
  std::uint32_t id;
  const char* text;
};

inline constexpr StringResource kStringTable[] = {
#define SW_STRING(name, id, text) {id, text},
#include "strings.def"
#undef SW_STRING
};
