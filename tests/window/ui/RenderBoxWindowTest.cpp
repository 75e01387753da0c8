// The render box in a real window: private scenes drawn into GUI canvases.
#include "UiTestSupport.h"
#include "UiWorld.h"

#include "ui/HUDDirection.h"
#include "ui/RenderBoxScene.h"

#include <ui/Dialog.h>
#include <ui/Manager.h>

#include <MyGUI.h>
#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

const char* const kArrow = "arrow.mesh";

// A dialog with a canvas of its own and a render box drawn into it. With
// releaseOnClose false it forgets to release the box, as a careless owner would.
class BoxDialog : public ui::Dialog {
public:
    static const base::StringHash kDialogType;

    explicit BoxDialog(bool releaseOnClose, int width = 160, int height = 100)
        : Dialog("Middle", "BoxDialog", "BoxDialog", NONE), m_releaseOnClose(releaseOnClose) {
        set_size(width + 20, height + 20);
        set_position(10, 10);
        m_canvas = m_window->createWidget<MyGUI::Canvas>("Canvas", MyGUI::IntCoord(10, 10, width, height),
                                                         MyGUI::Align::Default, "box_canvas");
        m_box.BindCanvas(m_canvas);
        m_box.ShowMesh(kArrow, Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY);
        showWindow();
    }
    const base::StringHash& GetType() const override { return kDialogType; }
    void Resize() override {}
    ui::RenderBoxScene& box() { return m_box; }

protected:
    void OnClose() override {
        if (m_releaseOnClose)
            m_box.Release();
    }

private:
    bool m_releaseOnClose;
    MyGUI::Canvas* m_canvas = nullptr;
    ui::RenderBoxScene m_box;
};
const base::StringHash BoxDialog::kDialogType("BoxDialog");

class RenderBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(UiWorld::get().ready);
        m_world = &UiWorld::get();
        m_gui = MyGUI::Gui::getInstancePtr();
    }
    void TearDown() override {
        for (MyGUI::Canvas* canvas : m_canvases)
            m_gui->destroyWidget(canvas);
        m_canvases.clear();
    }
    MyGUI::Canvas* makeCanvas(int width, int height) {
        auto* canvas = m_gui->createWidget<MyGUI::Canvas>(
            "Canvas", MyGUI::IntCoord(20 + 200 * static_cast<int>(m_canvases.size()), 400, width, height),
            MyGUI::Align::Default, "Middle");
        m_canvases.push_back(canvas);
        return canvas;
    }
    static size_t entities(Ogre::SceneManager* scene) {
        return scene->getMovableObjects(Ogre::EntityFactory::FACTORY_TYPE_NAME).size();
    }
    // Pixels of the box's texture that differ from its transparent background.
    static int drawnPixels(const ui::RenderBox& box) {
        Ogre::Image shot = uitest::grab(box.render_target());
        int drawn = 0;
        for (size_t y = 0; y < shot.getHeight(); ++y)
            for (size_t x = 0; x < shot.getWidth(); ++x)
                if (shot.getColourAt(x, y, 0).a > 0.5f)
                    ++drawn;
        return drawn;
    }

    // The canvas settles its texture size in the first frame; the model is in
    // the texture from the next one on.
    void drawFrames() {
        for (int i = 0; i < 3; ++i)
            m_world->draw();
    }

    UiWorld* m_world = nullptr;
    MyGUI::Gui* m_gui = nullptr;
    std::vector<MyGUI::Canvas*> m_canvases;
};

TEST_F(RenderBoxTest, TwoBoxesHaveTheirOwnScenesAndDrawTheirModels) {
    ui::RenderBoxScene first, second;
    first.BindCanvas(makeCanvas(160, 100));
    second.BindCanvas(makeCanvas(120, 120));
    ASSERT_TRUE(first.ShowMesh(kArrow, Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY));
    ASSERT_TRUE(second.ShowMesh(kArrow, Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY));

    ASSERT_NE(first.scene_manager(), nullptr);
    ASSERT_NE(second.scene_manager(), nullptr);
    EXPECT_NE(first.scene_manager(), second.scene_manager());
    EXPECT_NE(first.camera()->getName(), second.camera()->getName());
    EXPECT_EQ(first.scene_manager()->getMovableObjects(Ogre::LightFactory::FACTORY_TYPE_NAME).size(), 1u);
    EXPECT_EQ(second.scene_manager()->getMovableObjects(Ogre::LightFactory::FACTORY_TYPE_NAME).size(), 1u);

    drawFrames();
    // Each texture carries one viewport of its own camera, and the model shows.
    for (ui::RenderBoxScene* box : {&first, &second}) {
        ASSERT_NE(box->render_target(), nullptr);
        ASSERT_EQ(box->render_target()->getNumViewports(), 1u);
        EXPECT_EQ(box->render_target()->getViewport(0)->getCamera(), box->camera());
        EXPECT_GT(drawnPixels(*box), 100);
    }
    EXPECT_NE(first.render_target(), second.render_target());

    // The camera fits the aspect of its canvas and looks at the model.
    EXPECT_NEAR(first.camera()->getAspectRatio(), 1.6f, 0.01f);
    EXPECT_NEAR(second.camera()->getAspectRatio(), 1.0f, 0.01f);
    EXPECT_GT(first.camera_node()->getPosition().z, 0.f);

    const std::string name = first.scene_manager()->getName();
    first.Release();
    second.Release();
    EXPECT_FALSE(Ogre::Root::getSingleton().hasSceneManager(name));
    EXPECT_EQ(first.canvas(), nullptr);
    // Idempotent.
    first.Release();
}

TEST_F(RenderBoxTest, ShowMeshTwiceLeavesOneModel) {
    ui::RenderBoxScene box;
    box.BindCanvas(makeCanvas(100, 80));
    ASSERT_TRUE(box.ShowMesh(kArrow, Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY));
    box.model_node()->yaw(Ogre::Degree(30));
    ASSERT_TRUE(box.ShowMesh(kArrow, Ogre::Vector3(1.f, 0.f, 0.f), Ogre::Quaternion::IDENTITY));
    EXPECT_EQ(entities(box.scene_manager()), 1u);
    EXPECT_EQ(box.model_node()->numChildren(), 1u);
    EXPECT_EQ(box.model_node()->getOrientation(), Ogre::Quaternion::IDENTITY);
    box.Release();
}

TEST_F(RenderBoxTest, MissingMeshIsOneLineAndAnEmptyBox) {
    ui::RenderBoxScene box;
    box.BindCanvas(makeCanvas(100, 80));
    ASSERT_TRUE(box.ShowMesh(kArrow, Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(box.ShowMesh("no_such_model.mesh", Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY));
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors.rfind("RenderBox: ", 0), 0u) << errors;
    EXPECT_NE(errors.find("no_such_model.mesh"), std::string::npos);
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1);
    EXPECT_EQ(box.entity(), nullptr);
    EXPECT_EQ(entities(box.scene_manager()), 0u);
    drawFrames();
    EXPECT_EQ(drawnPixels(box), 0);
    box.Release();
}

TEST_F(RenderBoxTest, OnePixelWideCanvasLeavesTheCameraWhereItWas) {
    ui::RenderBoxScene box;
    MyGUI::Canvas* canvas = makeCanvas(100, 80);
    box.BindCanvas(canvas);
    ASSERT_TRUE(box.ShowMesh(kArrow, Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY));
    const Ogre::Vector3 fitted = box.camera_node()->getPosition();
    canvas->setSize(1, 80);
    box.camera_node()->setPosition(Ogre::Vector3(5.f, 6.f, 7.f));
    box.UpdateCamera();
    EXPECT_EQ(box.camera_node()->getPosition(), Ogre::Vector3(5.f, 6.f, 7.f));
    canvas->setSize(100, 80);
    box.UpdateCamera();
    EXPECT_TRUE(box.camera_node()->getPosition().positionEquals(fitted, 0.001f));
    box.Release();
}

TEST_F(RenderBoxTest, AutoTurnMakesOneTurnIn18SecondsAndReleaseAlwaysStopsIt) {
    auto box = std::make_unique<ui::RenderBoxScene>();
    box->BindCanvas(makeCanvas(100, 80));
    ASSERT_TRUE(box->ShowMesh(kArrow, Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY));
    box->SetFrameUpdates(true);
    EXPECT_FALSE(box->frame_updates()); // nothing to turn without auto turn
    box->set_auto_turn(true);
    box->SetFrameUpdates(true);
    ASSERT_TRUE(box->frame_updates());

    m_world->advance(9.f, 540);
    EXPECT_NEAR(std::abs(box->model_node()->getOrientation().getYaw().valueDegrees()), 180.f, 0.5f);
    m_world->advance(9.f, 540);
    EXPECT_TRUE(box->model_node()->getOrientation().equals(Ogre::Quaternion::IDENTITY, Ogre::Degree(0.5f)));

    // Auto turn still on: Release withdraws the handler anyway, so frames after
    // the box is gone call nothing.
    box->Release();
    EXPECT_FALSE(box->frame_updates());
    box.reset();
    m_world->advance(0.1f, 2);
}

TEST_F(RenderBoxTest, ClosingADialogThatOwnsABoxFreesItsScene) {
    for (bool releases : {true, false}) {
        SCOPED_TRACE(releases ? "owner releases before its widgets go" : "owner forgot to release");
        auto* dialog = new BoxDialog(releases);
        drawFrames();
        ASSERT_NE(dialog->box().scene_manager(), nullptr);
        const std::string scene = dialog->box().scene_manager()->getName();
        EXPECT_GT(drawnPixels(dialog->box()), 100);
        dialog->exitWindow();
        EXPECT_FALSE(Ogre::Root::getSingleton().hasSceneManager(scene));
        m_world->draw();
        m_world->advance(0.1f);
    }
    EXPECT_EQ(m_world->ui->DialogCount(), 0u);
}

TEST_F(RenderBoxTest, ReleasedBoxCanBindAgain) {
    ui::RenderBoxScene box;
    MyGUI::Canvas* canvas = makeCanvas(100, 80);
    box.BindCanvas(canvas);
    box.Release();
    box.BindCanvas(canvas);
    ASSERT_TRUE(box.ShowMesh(kArrow, Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY));
    drawFrames();
    EXPECT_GT(drawnPixels(box), 100);
    box.Release();
}

} // namespace
