// Every test binary works in a private per-user directory, never the real one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {
class PrivateUserHome : public ::testing::Environment {
public:
    void SetUp() override {
        char pattern[] = "/tmp/kb_test_home_XXXXXX";
        const char* dir = ::mkdtemp(pattern);
        ASSERT_NE(dir, nullptr);
        m_dir = dir;
        ::setenv("XDG_DATA_HOME", m_dir.c_str(), 1);
    }
    void TearDown() override {
        std::system(("rm -rf '" + m_dir + "'").c_str());
    }

private:
    std::string m_dir;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new PrivateUserHome);
} // namespace
