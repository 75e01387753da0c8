// The five mini-game panels from the game's own layouts in a real window:
// markers where the values say, also for values off the scale.
#include "window/ui/UiWorld.h"

#include "minigames/BaggagePanel.h"
#include "minigames/CateringLoadPanel.h"
#include "minigames/CateringUPPanel.h"
#include "minigames/PumpPanel.h"
#include "minigames/RepairPanel.h"

#include <ui/Manager.h>

#include <MyGUI.h>
#include <gtest/gtest.h>

namespace {

class PanelWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_world = &UiWorld::get();
        ASSERT_TRUE(m_world->ready);
    }
    // Closes the panel and lets its slide end.
    void Close(ui::Dialog* panel) {
        panel->exitWindow();
        m_world->advance(1.0f, 10);
    }
    static MyGUI::Widget* find(ui::Dialog* panel, const char* name) {
        MyGUI::Widget* widget = panel->getWindow()->findWidget(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static std::string caption(ui::Dialog* panel, const char* name) {
        return find(panel, name)->castType<MyGUI::TextBox>()->getCaption();
    }
    // Slides in from the left edge and rests centred 60 pixels below the top.
    void ExpectSlideIn(ui::Dialog* panel, int width) {
        EXPECT_EQ(panel->size().x, width);
        EXPECT_EQ(panel->getWindow()->getLeft(), -width);
        m_world->advance(0.6f, 6);
        EXPECT_EQ(panel->getWindow()->getLeft(), m_world->ui->getWidth() / 2 - width / 2);
        EXPECT_EQ(panel->getWindow()->getTop(), 60);
        EXPECT_EQ(m_world->ui->GetDialog(panel->GetType()), panel);
    }
    UiWorld* m_world = nullptr;
};

TEST_F(PanelWindowTest, RepairNeedleZoneAndCount) {
    auto* panel = new ui::RepairPanel();
    ExpectSlideIn(panel, 560);
    EXPECT_EQ(panel->travel(), 480 - 16);
    MyGUI::Widget* needle = find(panel, "indicator");
    panel->SetIndicator(0.0);
    EXPECT_EQ(needle->getPosition(), MyGUI::IntPoint(0, 0));
    panel->SetIndicator(1.0);
    EXPECT_EQ(needle->getPosition(), MyGUI::IntPoint(464, 0));
    panel->SetIndicator(0.5);
    EXPECT_EQ(needle->getLeft(), 232);
    panel->SetIndicator(1.3);
    EXPECT_EQ(needle->getLeft(), 464);
    panel->SetIndicator(-0.2);
    EXPECT_EQ(needle->getLeft(), 0);

    MyGUI::Widget* zone = find(panel, "hit_area");
    const int height = zone->getHeight();
    panel->SetHitArea(0.5, 0.6);
    const MyGUI::IntCoord ordered = zone->getCoord();
    EXPECT_EQ(ordered, MyGUI::IntCoord(232, 0, static_cast<int>(0.6 * 464 - 232), height));
    panel->SetHitArea(0.6, 0.5);
    EXPECT_EQ(zone->getCoord(), ordered);
    panel->SetHitArea(-1.0, 2.0);
    EXPECT_EQ(zone->getCoord(), MyGUI::IntCoord(0, 0, 464, height));

    panel->SetCount(-3);
    EXPECT_EQ(caption(panel, "hits"), "-3");
    panel->SetCount(12);
    EXPECT_EQ(caption(panel, "hits"), "12");
    panel->SetTime(65.9);
    EXPECT_EQ(caption(panel, "time"), "1:05");
    m_world->draw();
    Close(panel);
    EXPECT_EQ(m_world->ui->GetDialog(ui::RepairPanel::kDialogType), nullptr);
}

TEST_F(PanelWindowTest, BaggageNeedle) {
    auto* panel = new ui::BaggagePanel();
    ExpectSlideIn(panel, 560);
    MyGUI::Widget* needle = find(panel, "indicator");
    panel->SetProgress(1.0);
    EXPECT_EQ(needle->getPosition(), MyGUI::IntPoint(panel->travel(), 0));
    EXPECT_EQ(panel->travel(), 464);
    panel->SetProgress(0.0);
    EXPECT_EQ(needle->getLeft(), 0);
    panel->SetProgress(1.3);
    EXPECT_EQ(needle->getLeft(), 464);
    panel->SetProgress(-0.2);
    EXPECT_EQ(needle->getLeft(), 0);
    panel->SetTime(9.0);
    EXPECT_EQ(caption(panel, "time"), "0:09");
    m_world->draw();
    Close(panel);
}

TEST_F(PanelWindowTest, PumpArrowTargetAndAmount) {
    auto* panel = new ui::PumpPanel();
    ExpectSlideIn(panel, 560);
    EXPECT_EQ(panel->travel(), 480.f - 24.f);
    MyGUI::Widget* arrow = find(panel, "arrow");
    panel->SetLevel(1.0);
    EXPECT_EQ(arrow->getPosition(), MyGUI::IntPoint(456, 0));
    panel->SetLevel(0.25);
    EXPECT_EQ(arrow->getLeft(), 114);
    panel->SetLevel(1.3);
    EXPECT_EQ(arrow->getLeft(), 456);
    panel->SetLevel(-0.2);
    EXPECT_EQ(arrow->getLeft(), 0);
    panel->SetTarget(1000);
    panel->SetCount(-3);
    EXPECT_EQ(caption(panel, "target"), "1000");
    EXPECT_EQ(caption(panel, "current_value"), "-3");
    panel->SetTime(-1.0);
    EXPECT_EQ(caption(panel, "time").substr(0, 1), "-");
    m_world->draw();
    Close(panel);
}

TEST_F(PanelWindowTest, CateringLiftArrowAndZone) {
    auto* panel = new ui::CateringUPPanel();
    ExpectSlideIn(panel, 400);
    // The arrow's tip runs over the scale's height plus half the arrow.
    EXPECT_EQ(panel->travel(), 220 + 24 / 2);
    MyGUI::Widget* arrow = find(panel, "img_arrow");
    const int x = arrow->getLeft();
    panel->SetValue(0.0);
    EXPECT_EQ(arrow->getPosition(), MyGUI::IntPoint(x, 232 - 12));
    panel->SetValue(0.5);
    EXPECT_EQ(arrow->getTop(), 116 - 12);
    panel->SetValue(1.0);
    EXPECT_EQ(arrow->getTop(), 0) << "the arrow stays inside its scale at the top";
    panel->SetValue(1.3);
    EXPECT_EQ(arrow->getTop(), 0);
    panel->SetValue(-0.2);
    EXPECT_EQ(arrow->getPosition(), MyGUI::IntPoint(x, 220));

    MyGUI::Widget* zone = find(panel, "img_hitbox");
    const int width = zone->getWidth();
    panel->SetTargetZone(0.85, 0.9);
    const MyGUI::IntCoord ordered = zone->getCoord();
    EXPECT_EQ(ordered.left, 0);
    EXPECT_EQ(ordered.top, static_cast<int>((1.0 - 0.9) * 232));
    EXPECT_EQ(ordered.height, 11);
    EXPECT_EQ(ordered.width, width);
    panel->SetTargetZone(0.9, 0.85);
    EXPECT_EQ(zone->getCoord(), ordered);
    m_world->draw();
    Close(panel);
}

TEST_F(PanelWindowTest, CateringLoadNeedle) {
    auto* panel = new ui::CateringLoadPanel();
    ExpectSlideIn(panel, 560);
    MyGUI::Widget* needle = find(panel, "indicator");
    panel->SetValue(1.0);
    EXPECT_EQ(needle->getPosition(), MyGUI::IntPoint(464, 0));
    panel->SetValue(0.0);
    EXPECT_EQ(needle->getLeft(), 0);
    panel->SetValue(1.3);
    EXPECT_EQ(needle->getLeft(), 464);
    panel->SetValue(-0.2);
    EXPECT_EQ(needle->getLeft(), 0);
    m_world->draw();
    Close(panel);
}

TEST_F(PanelWindowTest, TheFactoryMakesTheRepairBaggageAndPumpPanels) {
    for (const base::StringHash* type :
         {&ui::RepairPanel::kDialogType, &ui::BaggagePanel::kDialogType, &ui::PumpPanel::kDialogType}) {
        ASSERT_TRUE(m_world->ui->toggleDialog(*type));
        ui::Dialog* panel = m_world->ui->GetDialog(*type);
        ASSERT_NE(panel, nullptr) << type->string();
        EXPECT_EQ(panel->GetType(), *type);
        Close(panel);
    }
}

} // namespace
