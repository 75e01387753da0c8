#include "Files.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace assetbuilder
{

bool ReadFile(const std::string& path, std::vector<uint8_t>& data)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool ReadText(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool WriteIfChanged(const std::string& path, const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> old;
    if (ReadFile(path, old) && old == data)
        return true;
    return WriteFile(path, data);
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& data)
{
    std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
        {
            std::fprintf(stderr, "assetbuilder: cannot write %s\n", temp.c_str());
            return false;
        }
        out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
        if (!out)
        {
            std::fprintf(stderr, "assetbuilder: write failed for %s\n", temp.c_str());
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec)
    {
        std::fprintf(stderr, "assetbuilder: cannot replace %s: %s\n", path.c_str(), ec.message().c_str());
        return false;
    }
    return true;
}

bool WriteIfChanged(const std::string& path, const std::string& text)
{
    return WriteIfChanged(path, std::vector<uint8_t>(text.begin(), text.end()));
}

bool WriteFile(const std::string& path, const std::string& text)
{
    return WriteFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

bool MakeDirectories(const std::string& path)
{
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return !ec;
}

} // namespace assetbuilder
