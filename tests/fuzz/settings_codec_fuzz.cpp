// Decodes arbitrary bytes as a settings file; accepted files must round-trip and interpret to
// values inside their ranges. Each input is also tried with a good header put in front of it,
// so that the fuzzer reaches the blocks without having to find the magic first.
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "settings_state_check.h"

namespace {

void Check(std::span<const uint8_t> data) {
  const std::string failure = viz::testing::CheckSettingsInput(data);
  if (!failure.empty()) {
    std::fprintf(stderr, "settings invariant broken: %s\n", failure.c_str());
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Check(std::span<const uint8_t>(data, size));
  if (size >= viz::kSettingsFileSize) {
    std::vector<uint8_t> patched(data, data + size);
    const uint8_t header[6] = {'Q', 'O', 'R', 'B', 1, 1};
    std::copy(header, header + 6, patched.begin());
    Check(patched);
  }
  return 0;
}
