#include "Routes.h"

#include "Files.h"

#include <cstdio>
#include <sstream>
#include <tinyxml.h>
#include <xml/Reader.h>

namespace assetbuilder
{

namespace
{
const TiXmlElement* FindFirst(const TiXmlElement* e, const char* name)
{
    for (; e; e = e->NextSiblingElement())
    {
        if (e->ValueStr() == name)
            return e;
        if (const TiXmlElement* inner = FindFirst(e->FirstChildElement(), name))
            return inner;
    }
    return nullptr;
}

std::string Attr(const TiXmlElement* e, const char* name)
{
    const char* v = e->Attribute(name);
    return v ? v : "";
}
} // namespace

bool WriteRouteSummary(const std::string& levelDir, const std::string& summaryFile)
{
    std::ostringstream out;
    out << "# routes\n";
    TiXmlDocument scene(levelDir + "/airport_scene.scene");
    if (xml::Reader::LoadFile(scene, scene.ValueStr()))
    {
        const TiXmlElement* nodes = FindFirst(scene.RootElement(), "nodes");
        for (const TiXmlElement* n = nodes ? nodes->FirstChildElement() : nullptr; n; n = n->NextSiblingElement())
        {
            const TiXmlElement* pos = n->FirstChildElement("position");
            std::string name = Attr(n, "name");
            if (!pos || name.empty() || name.find_first_of(" \t") != std::string::npos)
                continue;
            double x = 0, z = 0;
            pos->QueryDoubleAttribute("x", &x);
            pos->QueryDoubleAttribute("z", &z);
            char line[256];
            std::snprintf(line, sizeof(line), "node %s %.2f %.2f\n", name.c_str(), x, z);
            out << line;
        }
    }
    for (int n = 1; n <= 25; ++n)
    {
        TiXmlDocument doc(levelDir + "/mission/mission" + std::to_string(n) + ".xml");
        if (!xml::Reader::LoadFile(doc, doc.ValueStr()) || !doc.RootElement())
            continue;
        std::string vehicle, spawn;
        std::ostringstream steps;
        for (const TiXmlElement* e = doc.RootElement()->FirstChildElement(); e; e = e->NextSiblingElement())
        {
            if (e->ValueStr() == "spawn" && vehicle.empty())
            {
                vehicle = Attr(e, "vehicle");
                spawn = Attr(e, "name");
            }
            else if (e->ValueStr() == "trigger")
                steps << "step " << n << " trigger " << Attr(e, "name") << ' ' << Attr(e, "type") << '\n';
            else if (e->ValueStr() == "mini_game")
                steps << "step " << n << " game " << Attr(e, "game") << " -\n";
        }
        out << "mission " << n << ' ' << (vehicle.empty() ? "-" : vehicle) << ' ' << (spawn.empty() ? "-" : spawn) << '\n'
            << steps.str();
    }
    return WriteIfChanged(summaryFile, out.str());
}

bool LoadRouteSummary(const std::string& summaryFile, RouteSet& routes)
{
    std::string text;
    if (!ReadText(summaryFile, text))
        return false;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
    {
        std::istringstream ls(line);
        std::string word;
        ls >> word;
        if (word == "node")
        {
            std::string name;
            float x = 0, z = 0;
            if (ls >> name >> x >> z)
                routes.nodes[name] = {x, z};
        }
        else if (word == "mission")
        {
            int n = 0;
            MissionRoute route;
            if (ls >> n >> route.vehicle >> route.spawn)
                routes.missions[n] = route;
        }
        else if (word == "step")
        {
            int n = 0;
            RouteStep step;
            if (ls >> n >> step.kind >> step.name >> step.type)
                routes.missions[n].steps.push_back(step);
        }
    }
    return true;
}

} // namespace assetbuilder
