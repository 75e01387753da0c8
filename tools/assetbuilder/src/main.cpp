// Asset builder: generates the pictures, skins and archives of the game's data.
//   kb_assetbuilder skins <dir>
//   kb_assetbuilder pictures <dir> <route summary>
//   kb_assetbuilder routes <level dir> <route summary>
//   kb_assetbuilder pack <staging dir> <file list> <archive>
#include "Files.h"
#include "Pictures.h"
#include "Routes.h"
#include "SkinSet.h"
#include "ZipWriter.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace
{

int Usage()
{
    std::fprintf(stderr, "usage: kb_assetbuilder skins DIR | pictures DIR ROUTES | routes LEVELDIR ROUTES | pack DIR LIST ARCHIVE\n");
    return 2;
}

int Pack(const std::string& dir, const std::string& listFile, const std::string& archive)
{
    std::string list;
    if (!assetbuilder::ReadText(listFile, list))
    {
        std::fprintf(stderr, "assetbuilder: cannot read file list %s\n", listFile.c_str());
        return 1;
    }
    std::vector<std::string> names;
    std::istringstream in(list);
    std::string line;
    while (std::getline(in, line))
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            names.push_back(line);
    }
    // Sorted names give the same archive whatever order the build lists them in.
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());

    assetbuilder::ZipWriter zip;
    for (const std::string& name : names)
    {
        std::vector<uint8_t> data;
        if (!assetbuilder::ReadFile(dir + "/" + name, data))
        {
            std::fprintf(stderr, "assetbuilder: missing %s in %s\n", name.c_str(), dir.c_str());
            return 1;
        }
        if (!zip.Add(name, data))
            return 1;
    }
    return assetbuilder::WriteFile(archive, zip.Finish()) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return Usage();
    std::string command = argv[1];
    if (command == "skins")
    {
        assetbuilder::MakeDirectories(argv[2]);
        return assetbuilder::BuildSkinSet(argv[2]) ? 0 : 1;
    }
    if (command == "pictures" && argc >= 4)
    {
        assetbuilder::MakeDirectories(argv[2]);
        assetbuilder::RouteSet routes;
        assetbuilder::LoadRouteSummary(argv[3], routes);
        return assetbuilder::BuildPictures(argv[2], routes) ? 0 : 1;
    }
    if (command == "routes" && argc >= 4)
        return assetbuilder::WriteRouteSummary(argv[2], argv[3]) ? 0 : 1;
    if (command == "pack" && argc >= 5)
        return Pack(argv[2], argv[3], argv[4]);
    return Usage();
}
