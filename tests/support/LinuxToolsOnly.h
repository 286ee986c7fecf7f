#pragma once

#include <gtest/gtest.h>

// Tests that hand what the program made to LibreOffice or to python3 with openpyxl include
// this: those are Linux programs here, which a Windows build running under Wine cannot start,
// so on Windows every test of the executable is skipped, with the reason.
#ifdef _WIN32
namespace qorv::test {
class LinuxToolsOnly : public ::testing::Environment {
  public:
    void SetUp() override {
        GTEST_SKIP() << "LibreOffice and python3/openpyxl are Linux programs on this build "
                        "machine; a Windows program cannot start them";
    }
};
inline ::testing::Environment* const kLinuxToolsOnly =
    ::testing::AddGlobalTestEnvironment(new LinuxToolsOnly);
}  // namespace qorv::test
#endif
