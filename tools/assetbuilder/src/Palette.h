#pragma once

#include "Raster.h"

namespace assetbuilder
{
// The ground-handling theme: safety orange, signal yellow, apron greys.
namespace palette
{
inline Colour Orange() { return Colour::Hex(0xF26B1D); }
inline Colour OrangeLight() { return Colour::Hex(0xFF9138); }
inline Colour OrangeDark() { return Colour::Hex(0xB94A0A); }
inline Colour Yellow() { return Colour::Hex(0xFFC81E); }
inline Colour YellowDark() { return Colour::Hex(0xD9A300); }
inline Colour Apron() { return Colour::Hex(0x5C6167); }
inline Colour ApronDark() { return Colour::Hex(0x3B4045); }
inline Colour Panel() { return Colour::Hex(0x22272C); }
inline Colour PanelDeep() { return Colour::Hex(0x15181B); }
inline Colour Ink() { return Colour::Hex(0x16181A); }
inline Colour White() { return Colour::Hex(0xF5F5F0); }
inline Colour Green() { return Colour::Hex(0x5CC631); }
inline Colour Red() { return Colour::Hex(0xE0342B); }
inline Colour Sky() { return Colour::Hex(0x2C6FB6); }
} // namespace palette
} // namespace assetbuilder
