#include "ZipWriter.h"

#include <cstdio>
#include <zlib.h>

namespace assetbuilder
{

namespace
{
// 1 January 2000, 00:00 in MS-DOS format.
const uint16_t kDosTime = 0;
const uint16_t kDosDate = ((2000 - 1980) << 9) | (1 << 5) | 1;

void Put16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, static_cast<uint16_t>(v));
    Put16(out, static_cast<uint16_t>(v >> 16));
}

bool Deflate(const std::vector<uint8_t>& in, std::vector<uint8_t>& out)
{
    z_stream zs{};
    if (deflateInit2(&zs, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        return false;
    out.resize(deflateBound(&zs, static_cast<uLong>(in.size())) + 16);
    zs.next_in = const_cast<Bytef*>(in.data());
    zs.avail_in = static_cast<uInt>(in.size());
    zs.next_out = out.data();
    zs.avail_out = static_cast<uInt>(out.size());
    int rc = deflate(&zs, Z_FINISH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return rc == Z_STREAM_END;
}
} // namespace

bool ZipWriter::Add(const std::string& name, const std::vector<uint8_t>& data, bool store)
{
    Entry e;
    e.name = name;
    e.size = static_cast<uint32_t>(data.size());
    e.crc = static_cast<uint32_t>(crc32(0L, data.data(), static_cast<uInt>(data.size())));
    e.offset = static_cast<uint32_t>(m_body.size());

    std::vector<uint8_t> packed;
    if (!store && !Deflate(data, packed))
    {
        std::fprintf(stderr, "assetbuilder: cannot compress %s\n", name.c_str());
        return false;
    }
    const std::vector<uint8_t>* payload = &data;
    e.method = 0;
    if (!store && packed.size() < data.size())
    {
        payload = &packed;
        e.method = 8;
    }
    e.packedSize = static_cast<uint32_t>(payload->size());

    Put32(m_body, 0x04034b50);
    Put16(m_body, 20);
    Put16(m_body, 0);
    Put16(m_body, e.method);
    Put16(m_body, kDosTime);
    Put16(m_body, kDosDate);
    Put32(m_body, e.crc);
    Put32(m_body, e.packedSize);
    Put32(m_body, e.size);
    Put16(m_body, static_cast<uint16_t>(name.size()));
    Put16(m_body, 0);
    m_body.insert(m_body.end(), name.begin(), name.end());
    m_body.insert(m_body.end(), payload->begin(), payload->end());
    m_entries.push_back(e);
    return true;
}

std::vector<uint8_t> ZipWriter::Finish() const
{
    std::vector<uint8_t> out = m_body;
    uint32_t directoryStart = static_cast<uint32_t>(out.size());
    for (const Entry& e : m_entries)
    {
        Put32(out, 0x02014b50);
        Put16(out, (3 << 8) | 20); // made by Unix, version 2.0
        Put16(out, 20);
        Put16(out, 0);
        Put16(out, e.method);
        Put16(out, kDosTime);
        Put16(out, kDosDate);
        Put32(out, e.crc);
        Put32(out, e.packedSize);
        Put32(out, e.size);
        Put16(out, static_cast<uint16_t>(e.name.size()));
        Put16(out, 0);
        Put16(out, 0);
        Put16(out, 0);
        Put16(out, 0);
        Put32(out, 0100644u << 16); // regular file, rw-r--r--
        Put32(out, e.offset);
        out.insert(out.end(), e.name.begin(), e.name.end());
    }
    uint32_t directorySize = static_cast<uint32_t>(out.size()) - directoryStart;
    Put32(out, 0x06054b50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<uint16_t>(m_entries.size()));
    Put16(out, static_cast<uint16_t>(m_entries.size()));
    Put32(out, directorySize);
    Put32(out, directoryStart);
    Put16(out, 0);
    return out;
}

} // namespace assetbuilder
