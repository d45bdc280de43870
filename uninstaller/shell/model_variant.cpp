#include "shell/model_variant.h"

#include <cstring>

std::int32_t ModelVariant = 0;

std::int32_t VariantFromCommandLine(const char* commandLine) {
  if (commandLine == nullptr) return 0;
  if (std::strstr(commandLine, "/KESTA_A3") != nullptr) return kModelVariantA3;
  if (std::strstr(commandLine, "/KESTA_A4") != nullptr) return kModelVariantA4;
  return 0;
}
