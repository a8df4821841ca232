// Entry point of the end-to-end tests: GoogleTest plus a listener that photographs the desktop
// at a test's first failure, while the program under test is still on the screen.
#include <gtest/gtest.h>

#include <cstdio>

#include "base/texts.h"
#include "harness.h"

namespace {

class FailureShotListener : public testing::EmptyTestEventListener {
 public:
  void OnTestStart(const testing::TestInfo&) override { shot_taken_ = false; }

  void OnTestPartResult(const testing::TestPartResult& result) override {
    if (!result.failed() || shot_taken_) return;
    shot_taken_ = true;
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    const std::string name =
        info ? std::string(info->test_suite_name()) + "." + info->name() : "unknown";
    const std::wstring path = viz::e2e::SaveFailureShot(name);
    if (path.empty())
      std::printf("[ shot     ] could not save a screenshot\n");
    else
      std::printf("[ shot     ] %ls\n", path.c_str());
    std::fflush(stdout);
  }

 private:
  bool shot_taken_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // The harness measures with the program's fonts, which follow the language it shows.
  viz::SetUiLanguage(viz::test::JapaneseUi() ? viz::Language::Japanese : viz::Language::English);
  // Inherited by the programs the tests start: a crash ends the process at once instead of
  // starting the debugger, which would keep it alive until the test times out.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  testing::UnitTest::GetInstance()->listeners().Append(new FailureShotListener);
  return RUN_ALL_TESTS();
}
