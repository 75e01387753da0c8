#pragma once

#include "base/Export.h"

#include <cstdint>

namespace game {

// Base of every gameplay object: a unique id, a kind and an active flag.
class DW_API IObject {
public:
    // Ids are handed out in creation order, starting at 1.
    static uint32_t last_id;

    explicit IObject(unsigned short type);
    IObject(const IObject&) = default;
    IObject& operator=(const IObject&) = default;
    virtual ~IObject();

    virtual void Activate(bool flag) = 0;
    virtual void Update(double seconds);

    uint32_t id() const { return m_id; }
    bool isActive() const { return m_active; }
    unsigned short type() const { return m_type; }

protected:
    uint32_t m_id;
    bool m_active;
    uint16_t m_type;
};

} // namespace game
