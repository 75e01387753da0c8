#include "base/StringHash.h"

#include <cstring>

namespace base {

const StringHash StringHash::kEmpty("0");

StringHash::StringHash(const char* text)
    : m_hash(hasherization(text)), m_text(text) {}

namespace {
inline uint32_t read16(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8);
}
// Single bytes of the tail count as signed chars, as the original hash does.
inline uint32_t signedByte(unsigned char b) {
    return static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(b)));
}
} // namespace

uint32_t StringHash::hasherization(const char* text) {
    if (!text)
        return 0;
    const size_t len = std::strlen(text);
    if (len == 0)
        return 0;

    const unsigned char* data = reinterpret_cast<const unsigned char*>(text);
    uint32_t hash = static_cast<uint32_t>(len);
    const size_t rem = len & 3u;

    for (size_t blocks = len >> 2; blocks > 0; --blocks, data += 4) {
        hash += read16(data);
        const uint32_t tmp = (read16(data + 2) << 11) ^ hash;
        hash = (hash << 16) ^ tmp;
        hash += hash >> 11;
    }

    switch (rem) {
    case 3:
        hash += read16(data);
        hash ^= hash << 16;
        hash ^= signedByte(data[2]) << 18;
        hash += hash >> 11;
        break;
    case 2:
        hash += read16(data);
        hash ^= hash << 11;
        hash += hash >> 17;
        break;
    case 1:
        hash += signedByte(data[0]);
        hash ^= hash << 10;
        hash += hash >> 1;
        break;
    default:
        break;
    }

    hash ^= hash << 3;
    hash += hash >> 5;
    hash ^= hash << 4;
    hash += hash >> 17;
    hash ^= hash << 25;
    hash += hash >> 6;
    return hash;
}

} // namespace base
