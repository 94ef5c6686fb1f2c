#pragma once
// Shared helpers: a scratch working directory with level files, and headless set-up.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "audio/sound_client.h"
#include "platform/headless/headless.h"
#include "fresh_state.h"

namespace veldra::testing {

// A token of this run of the suite, the same for all its tests.
inline const std::string& runToken() {
  static const std::string token = std::to_string(std::random_device{}());
  return token;
}

// Runs each test in a fresh, empty working directory and resets the headless backend.
class ScratchDirectoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::reset();
    resetProcessWideFlags();
    stopAllSounds();
    previous_ = std::filesystem::current_path();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    // This run's own: the sanitizer build runs the same suites at the same time.
    directory_ = std::filesystem::temp_directory_path() / ("veldra-" + std::string(info->test_suite_name()) + "-" +
                                                           info->name() + "-" + runToken());
    std::filesystem::remove_all(directory_);
    std::filesystem::create_directories(directory_);
    std::filesystem::current_path(directory_);
  }

  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(directory_);
  }

  void writeFile(const std::string& name, const std::string& contents) {
    std::ofstream out(directory_ / name, std::ios::binary);
    out << contents;
  }

  // Copies a shipped level into the scratch directory.
  void installShippedLevel(const std::string& name) {
    // Removed first rather than overwritten: MinGW's library refuses to overwrite, taking
    // any two files on Windows for the same one.
    std::filesystem::remove(directory_ / name);
    std::filesystem::copy_file(shippedLevelPath(name), directory_ / name);
  }

  static std::filesystem::path shippedLevelPath(const std::string& name) {
    return std::filesystem::path(VELDRA_SOURCE_DIR) / "levels" / name;
  }

  std::filesystem::path previous_;
  std::filesystem::path directory_;
};

// A level file: a name line and rows given as they should appear.
inline std::string levelText(const std::string& name, const std::vector<std::string>& rows) {
  std::string text = name + "\n";
  for (const std::string& row : rows) text += row + "\n";
  return text;
}

}  // namespace veldra::testing
