#include "ZipWriter.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace worldbuilder {
namespace {

uint32_t Crc32(const std::string& data) {
  static uint32_t table[256];
  static bool ready = false;
  if (!ready) {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[i] = c;
    }
    ready = true;
  }
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char ch : data) crc = table[(crc ^ ch) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

void Put16(std::string& out, uint32_t v) {
  out.push_back(char(v & 0xFF));
  out.push_back(char((v >> 8) & 0xFF));
}

void Put32(std::string& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// 1 January 2000, 00:00, in DOS form: fixed so rebuilds are byte-equal.
const uint32_t kDosTime = 0;
const uint32_t kDosDate = ((2000 - 1980) << 9) | (1 << 5) | 1;

}  // namespace

void ZipWriter::Add(const std::string& name, const std::string& data) { m_entries[name] = data; }

void ZipWriter::AddFile(const std::string& name, const std::string& path) { Add(name, ReadFile(path)); }

bool ZipWriter::Write(const std::string& path) const {
  std::string out;
  std::string central;
  for (const auto& entry : m_entries) {
    const std::string& name = entry.first;
    const std::string& data = entry.second;
    uint32_t crc = Crc32(data);
    uint32_t offset = uint32_t(out.size());
    Put32(out, 0x04034b50);
    Put16(out, 10);  // version needed
    Put16(out, 0);   // flags
    Put16(out, 0);   // stored
    Put16(out, kDosTime);
    Put16(out, kDosDate);
    Put32(out, crc);
    Put32(out, uint32_t(data.size()));
    Put32(out, uint32_t(data.size()));
    Put16(out, uint32_t(name.size()));
    Put16(out, 0);
    out += name;
    out += data;

    Put32(central, 0x02014b50);
    Put16(central, 20);  // made by
    Put16(central, 10);
    Put16(central, 0);
    Put16(central, 0);
    Put16(central, kDosTime);
    Put16(central, kDosDate);
    Put32(central, crc);
    Put32(central, uint32_t(data.size()));
    Put32(central, uint32_t(data.size()));
    Put16(central, uint32_t(name.size()));
    Put16(central, 0);  // extra
    Put16(central, 0);  // comment
    Put16(central, 0);  // disk
    Put16(central, 0);  // internal attributes
    Put32(central, 0);  // external attributes
    Put32(central, offset);
    central += name;
  }
  uint32_t centralOffset = uint32_t(out.size());
  out += central;
  Put32(out, 0x06054b50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, uint32_t(m_entries.size()));
  Put16(out, uint32_t(m_entries.size()));
  Put32(out, uint32_t(central.size()));
  Put32(out, centralOffset);
  Put16(out, 0);
  return WriteFile(path, out);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool WriteFile(const std::string& path, const std::string& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) {
    std::fprintf(stderr, "worldbuilder: cannot write %s\n", path.c_str());
    return false;
  }
  out.write(data.data(), std::streamsize(data.size()));
  return bool(out);
}

}  // namespace worldbuilder
