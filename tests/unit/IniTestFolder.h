#pragma once
// A fresh folder per test with a settings file in it, and the store under
// test working on that file with the system's CP932 codec.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>

#include "fake/UniqueFolder.h"
#include "platform/FileStore.h"
#include "platform/SystemTextCodec.h"
#include "settings/IniProfile.h"

namespace vantorel::testing {

class IniTestFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        folder_ = MakeUniqueFolder("vantorel-ini-" + name);
        file_ = (folder_ / "vantorel.ini").string();
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(folder_, ignored);
    }

    void putFile(const std::string& bytes) { std::ofstream(file_, std::ios::binary) << bytes; }
    std::string fileBytes() const {
        std::ifstream in(file_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string read(std::string_view section, std::string_view key,
                     std::string_view fallback = "<default>") {
        return profile_.getString(section, key, fallback, file_);
    }
    bool write(std::string_view section, std::string_view key, std::string_view value) {
        return profile_.writeString(section, key, value, file_);
    }

    std::unique_ptr<platform::TextCodec> codec_ = MakeSystemTextCodec();
    std::unique_ptr<platform::FileStore> store_ = platform::MakeFileStore();
    IniProfile profile_{*codec_, *store_};
    std::filesystem::path folder_;
    std::string file_;
};

}  // namespace vantorel::testing
