// The HUD's text formats and the options window's list handling, without a GUI.
#include "ui/HUDDirection.h"
#include "ui/HUDPerfection.h"
#include "ui/HUDScore.h"
#include "ui/HUDSpeed.h"
#include "ui/HUDTime.h"
#include "ui/OptionsWindow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInfinity = std::numeric_limits<double>::infinity();

TEST(HudFormatTest, TimeIsMinutesAndTwoDigitSecondsRoundedDown) {
    EXPECT_EQ(ui::HUDTime::FormatTime(65.9), "1:05");
    EXPECT_EQ(ui::HUDTime::FormatTime(600.0), "10:00");
    EXPECT_EQ(ui::HUDTime::FormatTime(9.0), "0:09");
    EXPECT_EQ(ui::HUDTime::FormatTime(59.99), "0:59");
    EXPECT_EQ(ui::HUDTime::FormatTime(0.0), "0:00");
}

TEST(HudFormatTest, NegativeNaNAndHugeTimesStayReadable) {
    // Rounded down like every time: -3.2 s is 4 whole seconds below zero.
    EXPECT_EQ(ui::HUDTime::FormatTime(-3.2), "-0:04");
    EXPECT_EQ(ui::HUDTime::FormatTime(-65.0), "-1:05");
    EXPECT_EQ(ui::HUDTime::FormatTime(kNaN), "0:00");
    EXPECT_EQ(ui::HUDTime::FormatTime(kInfinity), "5999:59");
    EXPECT_EQ(ui::HUDTime::FormatTime(-kInfinity), "-5999:59");
    EXPECT_EQ(ui::HUDTime::FormatTime(1e300), "5999:59");
}

TEST(HudFormatTest, DistanceIsHalfTheWorldDistanceInMetres) {
    EXPECT_EQ(ui::HUDDirection::FormatDistance(245.7f), "122 m");
    EXPECT_EQ(ui::HUDDirection::FormatDistance(1.9f), "0 m");
    EXPECT_EQ(ui::HUDDirection::FormatDistance(-40.f), "0 m");
    EXPECT_EQ(ui::HUDDirection::FormatDistance(std::nanf("")), "0 m");
    EXPECT_EQ(ui::HUDDirection::FormatDistance(std::numeric_limits<float>::max()), "999999 m");
}

TEST(HudFormatTest, SpeedIsKilometresPerHourRoundedDown) {
    EXPECT_EQ(ui::HUDSpeed::FormatSpeed(10.f), "36");
    EXPECT_EQ(ui::HUDSpeed::FormatSpeed(0.27f), "0");
    EXPECT_EQ(ui::HUDSpeed::FormatSpeed(-5.f), "0");
    EXPECT_EQ(ui::HUDSpeed::FormatSpeed(std::nanf("")), "0");
    EXPECT_EQ(ui::HUDSpeed::FormatSpeed(std::numeric_limits<float>::infinity()), "9999");
}

TEST(HudFormatTest, ScoreAndPerfection) {
    EXPECT_EQ(ui::HUDScore::FormatScore(0), "0");
    EXPECT_EQ(ui::HUDScore::FormatScore(4294967295u), "4294967295");
    EXPECT_EQ(ui::HUDPerfection::FormatPerfection(87), "87 %");
    EXPECT_EQ(ui::HUDPerfection::FormatPerfection(0), "0 %");
    EXPECT_EQ(ui::HUDPerfection::FormatPerfection(101), "100 %");
}

using Sizes = ui::OptionsWindow::ResolutionList;

TEST(OptionsListsTest, RunningSizeIsAlwaysAmongTheOfferedSizes) {
    const Ogre::Vector2 running(1024.f, 768.f);
    const Sizes empty;
    Sizes list = ui::OptionsWindow::OfferedResolutions(&empty, running);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(ui::OptionsWindow::FindResolution(list, running), 0u);
    EXPECT_EQ(ui::OptionsWindow::ResolutionText(list[0]), "1024 x 768");
    EXPECT_EQ(ui::OptionsWindow::OfferedResolutions(nullptr, running).size(), 1u);

    const Sizes offered = {Ogre::Vector2(800.f, 600.f), Ogre::Vector2(1280.f, 1024.f)};
    list = ui::OptionsWindow::OfferedResolutions(&offered, running);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(ui::OptionsWindow::FindResolution(list, running), 1u);

    const Sizes listed = {Ogre::Vector2(1024.f, 768.f), Ogre::Vector2(1280.f, 1024.f)};
    list = ui::OptionsWindow::OfferedResolutions(&listed, Ogre::Vector2(1280.f, 1024.f));
    EXPECT_EQ(list.size(), 2u);
    EXPECT_EQ(ui::OptionsWindow::FindResolution(list, Ogre::Vector2(1280.f, 1024.f)), 1u);
}

TEST(OptionsListsTest, UnknownLanguageFallsBackToTheFirst) {
    const ui::OptionsWindow::LanguageList languages = {"Deutsch", "English"};
    EXPECT_EQ(ui::OptionsWindow::FindLanguage(&languages, "English"), 1u);
    EXPECT_EQ(ui::OptionsWindow::FindLanguage(&languages, "Klingon"), 0u);
    EXPECT_EQ(ui::OptionsWindow::FindLanguage(nullptr, "English"), 0u);
}

TEST(OptionsListsTest, VolumesOutsideTheUnitRangeAreClamped) {
    EXPECT_EQ(ui::OptionsWindow::SliderPosition(0.2f), 20);
    EXPECT_EQ(ui::OptionsWindow::SliderPosition(1.0f), 100);
    EXPECT_EQ(ui::OptionsWindow::SliderPosition(1.7f), 100);
    EXPECT_EQ(ui::OptionsWindow::SliderPosition(-0.5f), 0);
    EXPECT_EQ(ui::OptionsWindow::SliderPosition(std::nanf("")), 0);
}

} // namespace
