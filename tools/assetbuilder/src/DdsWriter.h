#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetbuilder
{

class Raster;

// Uncompressed 32-bit DDS, bytes in R, G, B, A order (the order the PNG
// pictures load in): the game copies it to the GPU without decoding, and the
// renderer samples it as the same format as every other picture of the menu.
std::vector<uint8_t> EncodeDds(int width, int height, const std::vector<uint8_t>& rgba);
bool WriteDds(const std::string& path, const Raster& raster);

} // namespace assetbuilder
