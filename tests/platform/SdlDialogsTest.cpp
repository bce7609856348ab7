#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "platform/Dialogs.h"

namespace {

TEST(SdlDialogs, WithoutADisplayABoxWritesToStandardErrorAndAQuestionAnswersNo) {
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  auto start = std::chrono::steady_clock::now();
  testing::internal::CaptureStderr();
  auto answer = platform::messageBox(nullptr, "you want fullscreen?", "Kylvander",
                                     platform::MessageBoxButtons::YesNo);
  auto ok = platform::messageBox(nullptr, "VET INTE!!", "sursur");
  std::string written = testing::internal::GetCapturedStderr();
  EXPECT_EQ(answer, platform::MessageBoxAnswer::No);
  EXPECT_EQ(ok, platform::MessageBoxAnswer::Ok);
  EXPECT_NE(written.find("Kylvander: you want fullscreen?\n"), std::string::npos) << written;
  EXPECT_NE(written.find("sursur: VET INTE!!\n"), std::string::npos) << written;
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

}  // namespace
