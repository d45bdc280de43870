// The names of the program's texts, from the list the resource compiler
// reads (strings.def), so that the code and the string table cannot
// disagree about a number.
#pragma once

#include <cstdint>

enum StringId : std::uint32_t {
#define SW_STRING(name, id, text) name = id,
#include "strings.def"
#undef SW_STRING
};
