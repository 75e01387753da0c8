// Every test binary works in a private per-user directory, never the real one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#ifdef KB_WINDOW_TESTS
#include <X11/Xlib.h>
#endif

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

#ifdef KB_WINDOW_TESTS
// A window test program without a display fails once, before any test sets
// up half a world that the next test or the teardown would trip over.
class DisplayCheck : public ::testing::Environment {
public:
    void SetUp() override {
        Display* display = XOpenDisplay(nullptr);
        const char* name = std::getenv("DISPLAY");
        ASSERT_NE(display, nullptr) << "no X display to open a window on (DISPLAY="
                                    << (name ? name : "unset") << "); run under tools/with-display.sh";
        XCloseDisplay(display);
    }
};

const auto* const kDisplayCheck = ::testing::AddGlobalTestEnvironment(new DisplayCheck);
#endif
} // namespace
