// COM on the test program's main thread, as the program's entry provides it
// (shortcuts and the folder picker need it). A test program registers it once:
//   const auto* const g_com = ::testing::AddGlobalTestEnvironment(new ComEnvironment);
#pragma once

#include <gtest/gtest.h>
#include <objbase.h>

class ComEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override { CoUninitialize(); }
};
