// Tests that run once in each language of the program: the fixture shows its parameter's
// language and goes back to Japanese afterwards.
#pragma once

#include <gtest/gtest.h>

#include "base/texts.h"

class InEachLanguage : public ::testing::TestWithParam<viz::Language> {
 protected:
  void SetUp() override { viz::SetUiLanguage(GetParam()); }
  void TearDown() override { viz::SetUiLanguage(viz::Language::Japanese); }
};

inline std::string LanguageName(const ::testing::TestParamInfo<viz::Language>& info) {
  return info.param == viz::Language::Japanese ? "Japanese" : "English";
}

#define INSTANTIATE_IN_EACH_LANGUAGE(Suite)                                                   \
  INSTANTIATE_TEST_SUITE_P(BothLanguages, Suite,                                             \
                           ::testing::Values(viz::Language::Japanese, viz::Language::English), \
                           LanguageName)
