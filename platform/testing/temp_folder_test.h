// A test fixture with a fresh folder under /tmp: linuxDir_ is its POSIX
// path, dir_ its Windows form through the default drive table (Z: is /).
// The folder and all it holds are removed after each test.
#pragma once

#include <stdlib.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/win_path.h"

namespace ltb::platform::testing {

class TempFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/ltb_test_XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    linuxDir_ = tmpl;
    ASSERT_TRUE(DriveTable().ToWindows(linuxDir_, &dir_));
  }
  void TearDown() override {
    std::string cmd = "rm -rf '" + linuxDir_ + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
  }

  std::string linuxDir_;
  std::string dir_;
};

}  // namespace ltb::platform::testing
