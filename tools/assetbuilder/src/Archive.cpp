#include "Archive.h"

#include "Files.h"
#include "ZipWriter.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

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
        if (!zip.Add(name, data))
            return false;
    }
    return WriteFile(archive, zip.Finish());
}

} // namespace assetbuilder
