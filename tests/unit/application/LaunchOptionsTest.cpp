#include "application/LaunchOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Parsed {
    bool ok;
    application::LaunchOptions options;
    std::string error;
};

Parsed parse(std::vector<const char*> args) {
    args.insert(args.begin(), "kestrelby");
    Parsed parsed;
    parsed.ok = parsed.options.Parse(static_cast<int>(args.size()), args.data(), parsed.error);
    return parsed;
}

TEST(LaunchOptionsTest, AutoplayTakesAMissionAVariantAndFast) {
    const Parsed plain = parse({});
    EXPECT_TRUE(plain.ok);
    EXPECT_FALSE(plain.options.autoplay());

    const Parsed run = parse({"--autoplay", "25", "--variant", "upgraded", "--fast"});
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_TRUE(run.options.autoplay());
    EXPECT_EQ(run.options.mission(), 25);
    EXPECT_EQ(run.options.variant(), "upgraded");
    EXPECT_TRUE(run.options.fast());

    const Parsed watched = parse({"--autoplay", "1"});
    ASSERT_TRUE(watched.ok);
    EXPECT_EQ(watched.options.variant(), "normal");
    EXPECT_FALSE(watched.options.fast());

    const Parsed monkey = parse({"--monkey", "120", "--seed", "4294967295"});
    ASSERT_TRUE(monkey.ok) << monkey.error;
    EXPECT_TRUE(monkey.options.monkey());
    EXPECT_FALSE(monkey.options.autoplay());
    EXPECT_DOUBLE_EQ(monkey.options.monkey_seconds(), 120.0);
    EXPECT_EQ(monkey.options.seed(), 4294967295u);
    EXPECT_EQ(parse({"--monkey", "0.5"}).options.seed(), 1u);
    EXPECT_FALSE(watched.options.startup_profile());

    const Parsed timed = parse({"--startup-profile"});
    ASSERT_TRUE(timed.ok) << timed.error;
    EXPECT_TRUE(timed.options.startup_profile());
    EXPECT_FALSE(timed.options.autoplay());
}

TEST(LaunchOptionsTest, WatchTakesAFileAndFast) {
    const Parsed watch = parse({"--watch", "runs/mission3_normal_best.kbreplay", "--fast"});
    ASSERT_TRUE(watch.ok) << watch.error;
    EXPECT_TRUE(watch.options.watch());
    EXPECT_FALSE(watch.options.autoplay());
    EXPECT_EQ(watch.options.watch_file(), "runs/mission3_normal_best.kbreplay");
    EXPECT_TRUE(watch.options.fast());
}

TEST(LaunchOptionsTest, AnythingElseIsRefusedWithOneLine) {
    const std::vector<std::vector<const char*>> bad = {
        {"--autoplay"},       {"--autoplay", "0"},     {"--autoplay", "26"},
        {"--autoplay", "3x"}, {"--autoplay", "-1"},    {"--autoplay", "99999999999999999999"},
        {"--autoplay", ""},   {"--autoplay", "2", "--variant"},
        {"--autoplay", "2", "--variant", "gold"},      {"--fast"},
        {"--variant", "upgraded"},                      {"--help-me"},
        {"--monkey"}, {"--monkey", "0"}, {"--monkey", "nan"}, {"--monkey", "1e9"}, {"--monkey", "5", "--seed", "-1"},
        {"--monkey", "5", "--seed", "4294967296"}, {"--seed", "3"}, {"--monkey", "5", "--autoplay", "1"},
        {"--monkey", "5", "--watch", "a.kbreplay"},
        {"--watch"},          {"--watch", ""},         {"--watch", "a.kbreplay", "--autoplay", "1"},
        {"--watch", "a.kbreplay", "--variant", "upgraded"},
        {"--startup-profile", "--autoplay", "1"},       {"--startup-profile", "--fast"},
        {"--startup-profile", "--monkey", "5"}};
    for (const auto& args : bad) {
        const Parsed parsed = parse(args);
        std::string line;
        for (const char* arg : args)
            line += std::string(arg) + " ";
        EXPECT_FALSE(parsed.ok) << line;
        EXPECT_FALSE(parsed.error.empty()) << line;
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos) << line;
    }
}

} // namespace
