#include "replay/Crc32.h"

#include <array>

namespace replay {

namespace {
const uint32_t kPolynomial = 0xEDB88320u;

std::array<uint32_t, 256> makeTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1u) ? kPolynomial ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}
} // namespace

uint32_t Crc32::Compute(const uint8_t* data, size_t size) {
    static const std::array<uint32_t, 256> table = makeTable();
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFFu] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

} // namespace replay
