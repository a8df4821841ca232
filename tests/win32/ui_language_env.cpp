// The windows these tests create speak the language the program chooses at start under the
// test's locale, as they do in the program.
#include <gtest/gtest.h>

#include "platform/sysfuncs_win.h"

namespace {

class UiLanguageEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { viz::ChooseUiLanguage(); }
};

[[maybe_unused]] ::testing::Environment* const kUiLanguage =
    ::testing::AddGlobalTestEnvironment(new UiLanguageEnvironment);

}  // namespace
