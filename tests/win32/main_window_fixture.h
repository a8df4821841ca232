// A main window created in the test process from the built-in defaults (no settings file),
// destroyed with its settings file after each test.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/main_window_win.h"
#include "test_windows.h"

namespace viz::test {

class MainWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    settings_ = SettingsFileOfThisProgram();
    ::DeleteFileW(settings_.c_str());
    ASSERT_TRUE(MainWindow::RegisterClass(::GetModuleHandleW(nullptr)));
    win_ = std::make_unique<MainWindow>();
    ASSERT_TRUE(win_->Create(::GetModuleHandleW(nullptr)));
    PumpPending();
  }
  void TearDown() override {
    win_.reset();
    PumpPending();
    ::DeleteFileW(settings_.c_str());
  }
  std::unique_ptr<MainWindow> win_;
  std::wstring settings_;
};

}  // namespace viz::test
