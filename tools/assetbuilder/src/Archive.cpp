#include "Archive.h"

#include "Files.h"
#include "ZipWriter.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>

namespace assetbuilder
{

std::vector<std::string> ReadNameList(const std::string& text)
{
    std::vector<std::string> names;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            names.push_back(line);
    }
    return names;
}

namespace
{
// Read at every start: the fonts once per face, the menu's background.
bool StoredUnpacked(const std::string& name)
{
    for (const char* ending : {".ttf", ".dds"})
    {
        const size_t n = std::char_traits<char>::length(ending);
        if (name.size() > n && name.compare(name.size() - n, n, ending) == 0)
            return true;
    }
    return false;
}
} // namespace

bool PackDirectory(const std::string& dir, std::vector<std::string> names, const std::string& archive)
{
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    ZipWriter zip;
    for (const std::string& name : names)
    {
        std::vector<uint8_t> data;
        if (!ReadFile(dir + "/" + name, data))
        {
            std::fprintf(stderr, "assetbuilder: missing %s in %s\n", name.c_str(), dir.c_str());
            return false;
        }
        if (!zip.Add(name, data, StoredUnpacked(name)))
            return false;
    }
    return WriteFile(archive, zip.Finish());
}

} // namespace assetbuilder
