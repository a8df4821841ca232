// Decodes arbitrary bytes as a settings file; accepted files must round-trip and interpret to
// values inside their ranges.
#include <cstdio>
#include <cstdlib>

#include "settings_state_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string failure =
      viz::testing::CheckSettingsInput(std::span<const uint8_t>(data, size));
  if (!failure.empty()) {
    std::fprintf(stderr, "settings invariant broken: %s\n", failure.c_str());
    std::abort();
  }
  return 0;
}
