// A test fixture with a fresh folder of its own, made before each test and
// removed after it, for tests that read and write real files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

#include "test_catalogs.h"

namespace fudeline::testing {

class TempDirTest : public ::testing::Test {
  protected:
    explicit TempDirTest(std::string name) : name_(std::move(name)) {}
    void SetUp() override { dir_ = MakeTempDir(name_); }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    // `name` inside the folder.
    std::string Path(const char* name) const { return (dir_ / name).string(); }

    std::filesystem::path dir_;

  private:
    std::string name_;
};

}  // namespace fudeline::testing
