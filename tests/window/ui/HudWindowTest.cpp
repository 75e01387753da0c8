// The HUD displays with their real layouts in a real window.
#include "UiTestSupport.h"
#include "UiWorld.h"

#include "event/ScoreEvent.h"
#include "ui/DialogFactory.h"
#include "ui/HUDDirection.h"
#include "ui/HUDPerfection.h"
#include "ui/HUDScore.h"
#include "ui/HUDSpeed.h"
#include "ui/HUDTime.h"

#include <event/Manager.h>
#include <ui/Manager.h>

#include <MyGUI.h>
#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <string>

namespace {

class HudTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(UiWorld::get().ready);
        m_world = &UiWorld::get();
        m_ui = m_world->ui;
    }
    void TearDown() override {
        // Every display closes at once or after its slide.
        m_world->advance(0.6f, 6);
        EXPECT_EQ(m_ui->DialogCount(), 0u);
    }
    static std::string caption(MyGUI::TextBox* text) { return text ? text->getCaption().asUTF8() : "<none>"; }
    static MyGUI::IntPoint at(const ui::Dialog& dialog) { return dialog.getWindow()->getPosition(); }

    UiWorld* m_world = nullptr;
    ui::Manager* m_ui = nullptr;
};

TEST_F(HudTest, DisplaysTakeTheirCornersAndStartTexts) {
    auto* time = new ui::HUDTime();
    auto* speed = new ui::HUDSpeed();
    auto* score = new ui::HUDScore();
    auto* direction = new ui::HUDDirection();
    for (ui::Dialog* dialog : std::initializer_list<ui::Dialog*>{time, speed, score, direction})
        EXPECT_EQ(m_ui->GetDialog(dialog->GetType()), dialog);

    // A 1024 x 768 window.
    EXPECT_EQ(at(*time), MyGUI::IntPoint(0, 0));
    EXPECT_EQ(at(*speed), MyGUI::IntPoint(1024 - 256, 768 - 84));
    EXPECT_EQ(at(*score), MyGUI::IntPoint(1024 - 240, 0));
    EXPECT_EQ(at(*direction), MyGUI::IntPoint(512 - 120, 0));
    EXPECT_EQ(speed->size(), Ogre::Vector2(256.f, 84.f));

    EXPECT_EQ(caption(time->text()), "0");
    EXPECT_EQ(caption(score->text()), "0");
    EXPECT_EQ(caption(direction->text()), "");

    time->SetTime(-3.2);
    EXPECT_EQ(caption(time->text()), "-0:04");
    time->SetTime(600.0);
    EXPECT_EQ(caption(time->text()), "10:00");
    speed->SetSpeed(10.f);
    EXPECT_EQ(caption(speed->text()), "36");
    direction->SetDistance(245.7f);
    EXPECT_EQ(caption(direction->text()), "122 m");

    // The shared time format writes into any text, as the mini-game panels do.
    ui::HUDTime::SetTime(score->text(), 65.9);
    EXPECT_EQ(caption(score->text()), "1:05");

    for (ui::Dialog* dialog : std::initializer_list<ui::Dialog*>{time, speed, score, direction})
        dialog->exitWindow();
}

TEST_F(HudTest, ScoreFollowsTotalsAndIgnoresIncrements) {
    auto* score = new ui::HUDScore();
    m_world->events->Fire(event::ScoreEvent(1250, event::ScoreEvent::kTotal));
    EXPECT_EQ(caption(score->text()), "1250");
    m_world->events->Fire(event::ScoreEvent(40, event::ScoreEvent::kIncrement));
    EXPECT_EQ(caption(score->text()), "1250");
    score->exitWindow();
    // Gone from the listeners with the dialog.
    m_world->events->Fire(event::ScoreEvent(7, event::ScoreEvent::kTotal));
}

TEST_F(HudTest, PerfectionSlidesFromTheTopAndNeverOverrunsItsBar) {
    ui::DialogFactory factory;
    auto* perfection = static_cast<ui::HUDPerfection*>(factory.CreateDialog(ui::HUDPerfection::kDialogType));
    ASSERT_NE(perfection, nullptr);
    ASSERT_NE(perfection->bar(), nullptr);
    EXPECT_EQ(perfection->bar()->getProgressRange(), 100u);
    EXPECT_EQ(perfection->bar()->getProgressPosition(), 50u);
    EXPECT_EQ(caption(perfection->text()), "0");
    EXPECT_EQ(at(*perfection).top, -140);
    m_world->advance(0.5f, 5);
    EXPECT_EQ(at(*perfection), MyGUI::IntPoint(512 - 220, 384 - 70));

    perfection->SetPerfection(0);
    EXPECT_EQ(perfection->bar()->getProgressPosition(), 0u);
    EXPECT_EQ(caption(perfection->text()), "0 %");
    perfection->SetPerfection(87);
    EXPECT_EQ(perfection->bar()->getProgressPosition(), 87u);
    EXPECT_EQ(caption(perfection->text()), "87 %");
    perfection->SetPerfection(101);
    EXPECT_EQ(perfection->bar()->getProgressPosition(), 100u);
    EXPECT_EQ(caption(perfection->text()), "100 %");

    perfection->exitWindow();
    perfection->exitWindow(); // already leaving: ignored
}

// Where the arrow's tip lands on the box's picture relative to its tail, in
// normalised screen units: negative is left.
float tipLeftToRight(const ui::HUDDirection& hud) {
    const ui::RenderBoxScene& box = hud.render_box();
    Ogre::Entity* arrow = box.entity();
    Ogre::SceneNode* node = arrow->getParentSceneNode();
    const Ogre::AxisAlignedBox& bounds = arrow->getBoundingBox();
    // The mesh's tip is its far -z end.
    const Ogre::Vector3 tip = node->_getFullTransform() * Ogre::Vector3(0.f, 0.f, bounds.getMinimum().z);
    const Ogre::Vector3 tail = node->_getFullTransform() * Ogre::Vector3(0.f, 0.f, bounds.getMaximum().z);
    const Ogre::Matrix4 view = box.camera()->getProjectionMatrix() * box.camera()->getViewMatrix();
    return (view * tip).x - (view * tail).x;
}

TEST_F(HudTest, ArrowTurnsTowardTheTarget) {
    auto* hud = new ui::HUDDirection();
    ASSERT_NE(hud->render_box().entity(), nullptr);
    m_world->draw();
    ASSERT_NE(hud->render_box().render_target(), nullptr);

    // The game passes the rotation from the vehicle's heading (-z) onto the
    // line from the target to the vehicle.
    const Ogre::Vector3 heading = Ogre::Vector3::NEGATIVE_UNIT_Z;
    auto directionTo = [&heading](const Ogre::Vector3& target) {
        return heading.getRotationTo(Ogre::Vector3::ZERO - target, Ogre::Vector3::ZERO);
    };
    hud->SetDirection(directionTo(Ogre::Vector3(-20.f, 0.f, -5.f)));
    m_world->draw();
    EXPECT_LT(tipLeftToRight(*hud), -0.2f) << "target on the left";

    hud->SetDirection(directionTo(Ogre::Vector3(20.f, 0.f, -5.f)));
    m_world->draw();
    EXPECT_GT(tipLeftToRight(*hud), 0.2f) << "target on the right";

    // Straight ahead the arrow points into the picture, neither left nor right,
    // and its tip is farther away than its tail.
    hud->SetDirection(directionTo(Ogre::Vector3(0.f, 0.f, -30.f)));
    m_world->draw();
    EXPECT_NEAR(tipLeftToRight(*hud), 0.f, 0.05f);

    // The arrow is drawn into the box's texture.
    Ogre::Image shot = uitest::grab(hud->render_box().render_target());
    int drawn = 0;
    for (size_t y = 0; y < shot.getHeight(); ++y)
        for (size_t x = 0; x < shot.getWidth(); ++x)
            drawn += shot.getColourAt(x, y, 0).a > 0.5f ? 1 : 0;
    EXPECT_GT(drawn, 200);

    const std::string scene = hud->render_box().scene_manager()->getName();
    hud->exitWindow();
    EXPECT_FALSE(Ogre::Root::getSingleton().hasSceneManager(scene));
}

} // namespace
