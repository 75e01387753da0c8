// Asset builder: generates the pictures, skins and archives of the game's data.
//   kb_assetbuilder skins <dir>
//   kb_assetbuilder pictures <dir> <route summary>
//   kb_assetbuilder routes <level dir> <route summary>
//   kb_assetbuilder pack <staging dir> <file list> <archive>
//   kb_assetbuilder appicon <icon theme dir> <icon name>
#include "AppIcon.h"
#include "Archive.h"
#include "Files.h"
#include "Pictures.h"
#include "Routes.h"
#include "SkinSet.h"

#include <cstdio>
#include <string>

namespace
{

int Usage()
{
    std::fprintf(stderr, "usage: kb_assetbuilder skins DIR | pictures DIR ROUTES | routes LEVELDIR ROUTES | pack DIR LIST ARCHIVE | appicon DIR NAME\n");
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
    return assetbuilder::PackDirectory(dir, assetbuilder::ReadNameList(list), archive) ? 0 : 1;
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
    if (command == "appicon" && argc >= 4)
        return assetbuilder::AppIcon::Build(argv[2], argv[3]) ? 0 : 1;
    if (command == "pack" && argc >= 5)
        return Pack(argv[2], argv[3], argv[4]);
    return Usage();
}
