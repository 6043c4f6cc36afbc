#ifndef SUPPORT_TESTFILES_H
#define SUPPORT_TESTFILES_H

// Where a test finds the build and the sources, and whole files.

#include <filesystem>
#include <string>

// The build folder: named by the test runner (QUELT_BUILD_DIR), or else the one
// the running test binary was built in (BUILD/tests/test_NAME).
std::filesystem::path testBuildDir();

// A file read whole; empty when it cannot be read.
std::string readWholeFile(const std::filesystem::path &path);
// A file of the source tree (QUELT_SOURCE_DIR, which ctest sets), read whole.
std::string readSourceFile(const std::string &relative);

#endif
