#include "game/IObject.h"

namespace game {

uint32_t IObject::last_id = 0;

IObject::IObject(unsigned short type) : m_id(++last_id), m_active(false), m_type(type) {}

IObject::~IObject() = default;

void IObject::Update(double) {}

} // namespace game
