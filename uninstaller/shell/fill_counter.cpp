#include "shell/fill_counter.h"

std::int32_t& SelectionFillCounter() {
  static std::int32_t counter = 0;
  return counter;
}
