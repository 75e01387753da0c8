#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetbuilder
{

class Raster;

// Encodes 8-bit RGBA; the same pixels always give the same bytes.
std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& rgba);
bool WritePng(const std::string& path, const Raster& raster);

} // namespace assetbuilder
