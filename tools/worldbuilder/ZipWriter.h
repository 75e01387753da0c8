#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace worldbuilder {

/// Writes a zip archive of stored (uncompressed) entries. Entries are sorted by
/// name and carry a fixed timestamp, so equal input gives a byte-equal archive.
class ZipWriter {
 public:
  void Add(const std::string& name, const std::string& data);
  void AddFile(const std::string& name, const std::string& path);
  bool Write(const std::string& path) const;
  size_t size() const { return m_entries.size(); }

 private:
  std::map<std::string, std::string> m_entries;
};

std::string ReadFile(const std::string& path);
bool WriteFile(const std::string& path, const std::string& data);

}  // namespace worldbuilder
