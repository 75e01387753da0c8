#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetbuilder
{

// A zip archive built in memory. Entries keep the order they are added in;
// every entry carries the same fixed time stamp, so equal input gives equal bytes.
class ZipWriter
{
public:
    // Deflated when that is smaller, unless `store`: an entry the game reads
    // at every start (several times, for a font) is faster to read stored.
    bool Add(const std::string& name, const std::vector<uint8_t>& data, bool store = false);
    std::vector<uint8_t> Finish() const;

private:
    struct Entry
    {
        std::string name;
        uint32_t crc = 0;
        uint32_t size = 0;
        uint32_t packedSize = 0;
        uint16_t method = 0;
        uint32_t offset = 0;
    };
    std::vector<Entry> m_entries;
    std::vector<uint8_t> m_body;
};

} // namespace assetbuilder
