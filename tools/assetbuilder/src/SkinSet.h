#pragma once

#include <string>

namespace assetbuilder
{

// Draws the widget atlas "kb_skin.png" and writes "kb_skins.xml", whose
// texture offsets must match the atlas: both come from the same cell table.
bool BuildSkinSet(const std::string& outputDirectory);

} // namespace assetbuilder
