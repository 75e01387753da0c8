#pragma once

#include "base/Export.h"

#include <cstdint>

namespace game {

class IObject;

// The registry of live game objects; it owns what it is given.
class DW_API IObjectManager {
public:
    virtual ~IObjectManager() = default;

    virtual void AddObject(IObject* object) = 0;
    virtual void RemoveObject(uint32_t id) = 0;
    virtual void RemoveObject(IObject* object) = 0;
};

} // namespace game
