#pragma once

namespace application {

// A mini-game state's hold on one panel. Panels delete themselves at the end
// of their slide-out, and the UI manager may close one too, so the slot is
// told when its panel goes and never points at a deleted panel.
template <class TPanel>
class PanelSlot {
public:
    PanelSlot() = default;
    PanelSlot(const PanelSlot&) = delete;
    PanelSlot& operator=(const PanelSlot&) = delete;
    ~PanelSlot() { Close(); }

    TPanel* get() const { return m_panel; }
    TPanel* operator->() const { return m_panel; }
    bool IsOpen() const { return m_panel != nullptr; }

    // Opens a panel unless one is open; returns the open panel.
    TPanel* Open() {
        if (!m_panel) {
            m_panel = new TPanel();
            m_panel->SetGoneHandler([this] { m_panel = nullptr; });
        }
        return m_panel;
    }

    // Starts the panel's slide-out; the slot forgets it at once.
    void Close() {
        if (!m_panel)
            return;
        TPanel* panel = m_panel;
        m_panel = nullptr;
        panel->SetGoneHandler(nullptr);
        panel->exitWindow();
    }

private:
    TPanel* m_panel = nullptr;
};

} // namespace application
