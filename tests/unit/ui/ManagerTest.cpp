// The UI manager's bookkeeping without a GUI: dialogs have no window here,
// so only the registry, the message-box queue and the event handling run.
#include <base/Config.h>
#include <event/DialogEvent.h>
#include <event/IListener.h>
#include <event/KeyEvent.h>
#include <event/Manager.h>
#include <event/UIEvent.h>
#include <ui/Dialog.h>
#include <ui/IDialogFactory.h>
#include <ui/Manager.h>
#include <ui/MessageBoxA.h>

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;

class Probe : public ui::Dialog {
public:
    static const base::StringHash kDialogType;
    static const base::StringHash kOtherType;

    Probe(const std::string& tag, const base::StringHash& type = kDialogType, bool exitOnUpdate = false)
        : Dialog("Middle", tag, tag, NONE), m_tag(tag), m_type(type), m_exitOnUpdate(exitOnUpdate) {}
    ~Probe() override { g_log.push_back("deleted " + m_tag); }

    const base::StringHash& GetType() const override { return m_type; }
    void Update(double seconds) override {
        g_log.push_back("update " + m_tag + " " + std::to_string(seconds));
        if (m_exitOnUpdate)
            exitWindow();
    }
    void Resize() override { g_log.push_back("resize " + m_tag); }

private:
    std::string m_tag;
    const base::StringHash& m_type;
    bool m_exitOnUpdate;
};
const base::StringHash Probe::kDialogType("Probe");
const base::StringHash Probe::kOtherType("ProbeOther");

class ProbeFactory : public ui::IDialogFactory {
public:
    explicit ProbeFactory(int* made) : m_made(made) {}
    ui::Dialog* CreateDialog(const base::StringHash& type) override {
        if (type != Probe::kDialogType)
            return nullptr;
        ++*m_made;
        auto* dialog = new Probe("made" + std::to_string(*m_made));
        dialog->showWindow();
        return dialog;
    }

private:
    int* m_made;
};

class Box : public ui::MessageBoxA {
public:
    explicit Box(const std::string& text) : MessageBoxA(text), m_text(text) {}
    ~Box() override { g_log.push_back("deleted " + m_text); }
    void Resize() override {}
    bool visible() const { return ui::Manager::getSingleton()->GetDialog(kDialogType) == this; }

private:
    std::string m_text;
};

class Recorder : public event::IListener {
public:
    const char* Name() override { return "Recorder"; }
    bool HandleEvent(const event::IEvent& event) override {
        if (event.event_type() == event::UIEvent::kEventType)
            ++toggles;
        return false;
    }
    int toggles = 0;
};

class UiManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        m_config = new base::Config();
        m_events = new event::Manager();
        m_ui = new ui::Manager();
    }
    void TearDown() override {
        delete m_ui;
        delete m_events;
        delete m_config;
    }

    base::Config* m_config = nullptr;
    event::Manager* m_events = nullptr;
    ui::Manager* m_ui = nullptr;
};

TEST_F(UiManagerTest, FreshManagerIsEmptyAndNamed) {
    EXPECT_STREQ(m_ui->Name(), "CustomUI");
    EXPECT_EQ(ui::Manager::getSingleton(), m_ui);
    EXPECT_FALSE(m_ui->IsDirty());
    EXPECT_FALSE(m_ui->IsGUIVisible());
    EXPECT_EQ(m_ui->DialogCount(), 0u);
    EXPECT_EQ(m_ui->GetDialog(Probe::kDialogType), nullptr);
    EXPECT_TRUE(m_ui->GetLanguages()->empty());
    EXPECT_EQ(m_ui->getScreenCenter(), Ogre::Vector2(0.f, 0.f));
}

TEST_F(UiManagerTest, RegistryKeepsTheFirstDialogOfAType) {
    auto* first = new Probe("first");
    auto* second = new Probe("second");
    first->showWindow();
    EXPECT_TRUE(m_ui->IsDirty());
    second->showWindow();
    EXPECT_EQ(m_ui->GetDialog(Probe::kDialogType), first);
    EXPECT_EQ(m_ui->DialogCount(), 1u);

    // The unregistered one closing leaves the shown one registered.
    second->exitWindow();
    EXPECT_EQ(m_ui->GetDialog(Probe::kDialogType), first);
    first->exitWindow();
    EXPECT_EQ(m_ui->GetDialog(Probe::kDialogType), nullptr);
    EXPECT_EQ(g_log, (std::vector<std::string>{"deleted second", "deleted first"}));
}

TEST_F(UiManagerTest, ToggleDialogOpensThroughTheFactoryAndCloses) {
    int made = 0;
    ASSERT_TRUE(m_ui->init(nullptr, nullptr, new ProbeFactory(&made), "none.xml") == false);
    EXPECT_TRUE(m_ui->toggleDialog(Probe::kDialogType));
    EXPECT_EQ(made, 1);
    ASSERT_NE(m_ui->GetDialog(Probe::kDialogType), nullptr);
    EXPECT_TRUE(m_ui->IsDirty());
    m_ui->Update(0.1);
    EXPECT_FALSE(m_ui->IsDirty());

    EXPECT_TRUE(m_ui->toggleDialog(Probe::kDialogType));
    EXPECT_EQ(m_ui->GetDialog(Probe::kDialogType), nullptr);
    EXPECT_EQ(g_log.back(), "deleted made1");

    // A type the factory does not know makes nothing but still asks for a frame.
    EXPECT_TRUE(m_ui->toggleDialog(Probe::kOtherType));
    EXPECT_EQ(made, 1);
    EXPECT_EQ(m_ui->DialogCount(), 0u);
    EXPECT_TRUE(m_ui->IsDirty());

    // The dialog event does the same as the call.
    EXPECT_FALSE(m_ui->HandleEvent(event::DialogEvent(Probe::kDialogType)));
    EXPECT_EQ(made, 2);
    EXPECT_FALSE(m_ui->HandleEvent(event::DialogEvent(Probe::kDialogType)));
    EXPECT_EQ(m_ui->DialogCount(), 0u);
}

TEST_F(UiManagerTest, UpdateReachesEveryDialogEvenWhenOneClosesItself) {
    const base::StringHash a("ProbeA"), b("ProbeB"), c("ProbeC");
    auto* first = new Probe("a", a);
    auto* closing = new Probe("b", b, true);
    auto* last = new Probe("c", c);
    first->showWindow();
    closing->showWindow();
    last->showWindow();
    g_log.clear();

    m_ui->Update(0.25);
    EXPECT_EQ(m_ui->DialogCount(), 2u);
    EXPECT_EQ(m_ui->GetDialog(b), nullptr);
    // Ascending hash order; the closing dialog is deleted inside its update.
    std::vector<std::string> expected;
    std::vector<std::pair<uint32_t, std::string>> order{{a.hash(), "a"}, {b.hash(), "b"}, {c.hash(), "c"}};
    std::sort(order.begin(), order.end());
    for (auto& entry : order) {
        expected.push_back("update " + entry.second + " 0.250000");
        if (entry.second == "b")
            expected.push_back("deleted b");
    }
    EXPECT_EQ(g_log, expected);

    g_log.clear();
    m_ui->windowResized(nullptr);
    EXPECT_EQ(g_log.size(), 2u);
    first->exitWindow();
    last->exitWindow();
}

TEST_F(UiManagerTest, MessageBoxesAreShownOneAtATime) {
    auto* one = new Box("one");
    auto* two = new Box("two");
    auto* three = new Box("three");
    EXPECT_EQ(m_ui->QueuedMessageBoxes(), 3u);
    EXPECT_TRUE(one->visible());
    EXPECT_DOUBLE_EQ(one->remaining_time(), 6.0);
    EXPECT_STREQ(one->Name(), "MessageBox");

    // Time runs only for the shown box; when it is over the box leaves.
    m_ui->Update(5.0);
    EXPECT_TRUE(one->visible());
    EXPECT_DOUBLE_EQ(two->remaining_time(), 6.0);
    m_ui->Update(1.5);
    EXPECT_EQ(g_log, (std::vector<std::string>{"deleted one"}));
    EXPECT_TRUE(two->visible());
    EXPECT_EQ(m_ui->QueuedMessageBoxes(), 2u);

    // Taking the waiting box off the queue shows nothing new.
    m_ui->RemoveMessageBox(three);
    EXPECT_EQ(m_ui->QueuedMessageBoxes(), 1u);
    EXPECT_TRUE(two->visible());
    delete three;

    m_ui->RemoveMessageBox(two);
    EXPECT_EQ(m_ui->QueuedMessageBoxes(), 0u);
    two->exitWindow();
    EXPECT_EQ(m_ui->DialogCount(), 0u);
}

TEST_F(UiManagerTest, AQueuedBoxClosingEarlyLeavesTheQueueAndTheShownBox) {
    auto* one = new Box("one");
    auto* two = new Box("two");
    two->exitWindow();
    EXPECT_EQ(m_ui->QueuedMessageBoxes(), 1u);
    EXPECT_TRUE(one->visible());
    one->exitWindow();
    EXPECT_EQ(m_ui->QueuedMessageBoxes(), 0u);
    EXPECT_EQ(m_ui->DialogCount(), 0u);
}

TEST_F(UiManagerTest, HKeyQueuesAToggleThatFlipsVisibility) {
    // Without a window the manager does not listen; deliver to it by hand.
    Recorder recorder;
    m_events->AddListener(recorder, event::UIEvent::kEventType);
    m_events->AddListener(*m_ui, event::UIEvent::kEventType);

    EXPECT_FALSE(m_ui->HandleEvent(event::KeyEvent(event::KeyEvent::KEY_PRESSED, OIS::KC_H)));
    EXPECT_EQ(recorder.toggles, 0);
    EXPECT_FALSE(m_ui->IsGUIVisible());
    m_events->Tick();
    EXPECT_EQ(recorder.toggles, 1);
    EXPECT_TRUE(m_ui->IsGUIVisible());

    // Release and other keys queue nothing.
    m_ui->HandleEvent(event::KeyEvent(event::KeyEvent::KEY_RELEASED, OIS::KC_H));
    m_ui->HandleEvent(event::KeyEvent(event::KeyEvent::KEY_PRESSED, OIS::KC_G));
    m_events->Tick();
    EXPECT_EQ(recorder.toggles, 1);

    m_events->Fire(event::UIEvent(event::UIEvent::TOGGLE_GUI));
    EXPECT_FALSE(m_ui->IsGUIVisible());
    m_events->RemoveListener(recorder, event::UIEvent::kEventType);
    m_events->RemoveListener(*m_ui, event::UIEvent::kEventType);
}

TEST_F(UiManagerTest, LanguagesAndTheStoredChoice) {
    m_ui->AddLanguage("Deutsch");
    m_ui->AddLanguage("English");
    m_ui->AddLanguage("English");
    EXPECT_EQ(*m_ui->GetLanguages(), (std::vector<std::string>{"Deutsch", "English", "English"}));
    // init reads the setting first, which creates the section the store writes into.
    EXPECT_EQ(m_config->getString("ui", "language", "Deutsch"), "Deutsch");
    m_ui->SetLanguage("English");
    EXPECT_EQ(m_config->getString("ui", "language", "x"), "English");
    base::Config reread;
    EXPECT_EQ(reread.getString("ui", "language", "x"), "English");
}

} // namespace
