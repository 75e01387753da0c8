#pragma once

#include "display/cam/BaseCamera.h"
#include "event/IListener.h"

namespace display {
namespace cam {

// A free-flying camera: W/S/A/D and Page Up/Down move it, the mouse turns it,
// 1/2/3 draw solid, wireframe or points. Input counts only while it is current.
class DebugCamera : public BaseCamera, public event::IListener {
public:
    // Identifier the game files the debug camera under.
    static const unsigned int kCameraId;
    // World units per second.
    static const float kDefaultSpeed;
    // Degrees per pixel of mouse movement.
    static const float kTurnRate;

    explicit DebugCamera(unsigned int id);
    virtual ~DebugCamera();

    void InitCamera() override;
    // Leaving also lets go of every held movement key.
    void Activate(bool active) override;
    void UpdateCamera(double seconds) override;

    const char* Name() override;
    bool HandleEvent(const event::IEvent& event) override;

    float speed() const { return m_speed; }
    bool moving() const { return m_forward || m_backward || m_left || m_right || m_up || m_down; }

private:
    void Subscribe(bool subscribe);

    float m_speed;
    bool m_forward;
    bool m_backward;
    bool m_left;
    bool m_right;
    bool m_up;
    bool m_down;
    bool m_listening;
};

} // namespace cam
} // namespace display
