#include "Maps.h"

#include "MissionPlan.h"
#include "Palette.h"
#include "Pictograms.h"
#include "Sprites.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>
#include <vector>

namespace assetbuilder
{

namespace
{

const float kUpperRoad = 114.0f;
const float kLowerRoad = 200.0f;

struct Site
{
    float x, y;
};

Site SitePosition(const std::string& name)
{
    if (name == "A1") return {45, 100};
    if (name == "A2") return {90, 100};
    if (name == "A3") return {135, 100};
    if (name == "A4") return {180, 100};
    if (name == "B1") return {252, 104};
    if (name == "B2") return {292, 104};
    return {52, 142}; // hangar
}

float DepotX(Vehicle v)
{
    switch (v)
    {
    case Vehicle::Catering: return 140;
    case Vehicle::Fuel: return 200;
    default: return 260;
    }
}

Colour WorkColour(Work w)
{
    switch (w)
    {
    case Work::Catering: return Colour::Hex(0x3FA9F5);
    case Work::Refuel: return Colour::Hex(0xE8453C);
    case Work::Baggage: return Colour::Hex(0x8E5BE8);
    default: return Colour::Hex(0x45C46B);
    }
}

void DrawGround(Raster& r)
{
    r.FillRect(0, 0, kMapWidth, kMapHeight, Colour::Hex(0x28402B));
    // Concrete apron.
    r.FillRoundRect(6, 40, kMapWidth - 12, kMapHeight - 46, 10, Colour::Hex(0x4B5259));
    r.Grain(0.035f, 17);
}

void DrawRoad(Raster& r, float x0, float y0, float x1, float y1)
{
    r.Line(x0, y0, x1, y1, 13, Colour::Hex(0x2D3236));
    r.DashedPolyline({{x0, y0}, {x1, y1}}, 1.2f, 5, 5, Colour(1, 1, 1, 0.55f));
}

void DrawLayout(Raster& r)
{
    DrawGround(r);
    // Terminals.
    r.FillRoundRect(14, 6, 214, 30, 3, Colour::Hex(0xB7BEC5));
    r.FillRect(14, 30, 214, 6, Colour::Hex(0x8D959C));
    r.FillRoundRect(234, 6, 80, 26, 3, Colour::Hex(0xB7BEC5));
    r.FillRect(234, 27, 80, 5, Colour::Hex(0x8D959C));
    // Stands: jet bridges, lead-in lines and aircraft.
    const char* gates[] = {"A1", "A2", "A3", "A4", "B1", "B2"};
    for (const char* g : gates)
    {
        Site s = SitePosition(g);
        bool wide = g[0] == 'B';
        float ay = wide ? 72.0f : 68.0f;
        r.Line(s.x, 40, s.x, kUpperRoad - 8, 1.5f, palette::Yellow().WithAlpha(0.85f));
        r.FillRect(s.x + 8, wide ? 32.0f : 36.0f, 5, 16, Colour::Hex(0x9AA2A9));
        DrawAircraftTop(r, s.x, ay, wide ? 58.0f : 46.0f, Colour::Hex(0xF1F3F5), wide);
        r.Digits(g + 1, s.x - 18, 42, 8, 1.3f, palette::Yellow());
        // Gate letter as a small block: A plain, B with a notch.
        r.Digits(std::string(1, g[0]), s.x - 25, 42, 8, 1.3f, palette::Yellow());
    }
    // Service roads.
    DrawRoad(r, 8, kUpperRoad, kMapWidth - 8, kUpperRoad);
    DrawRoad(r, 104, kLowerRoad, kMapWidth - 8, kLowerRoad);
    DrawRoad(r, 110, kUpperRoad, 110, kLowerRoad);
    DrawRoad(r, 230, kUpperRoad, 230, kLowerRoad);
    DrawRoad(r, 52, kUpperRoad, 52, 146);
    // Hangar with its aircraft.
    r.FillRoundRect(12, 150, 82, 76, 4, Colour::Hex(0x7F8890));
    r.FillRect(16, 150, 74, 4, Colour::Hex(0x5E666D));
    DrawAircraftTop(r, 53, 190, 40, Colour::Hex(0xE8ECEF), false);
    r.Digits("H", 78, 212, 9, 1.5f, palette::Yellow());
    // Depots along the lower road.
    struct Depot
    {
        float x;
        Work sign;
    };
    const Depot depots[] = {{140, Work::Catering}, {200, Work::Refuel}, {260, Work::Baggage}};
    for (const Depot& d : depots)
    {
        r.FillRoundRect(d.x - 22, 208, 44, 26, 3, Colour::Hex(0x8F979E));
        r.FillRect(d.x - 22, 208, 44, 4, palette::Orange());
        DrawWorkSign(r, d.x, 223, 16, d.sign, Colour::Hex(0x1F2326));
    }
}

void DrawMarker(Raster& r, float x, float y, int number, const Colour& ring)
{
    r.FillCircle(x + 1, y + 1.5f, 9.5f, Colour(0, 0, 0, 0.45f));
    r.FillCircle(x, y, 9.5f, ring);
    r.FillCircle(x, y, 7.0f, Colour::Hex(0x15181B));
    std::string digits = std::to_string(number);
    float h = 8.0f;
    float w = digits.size() * (h * 0.5f + 1.6f) - 1.6f;
    r.Digits(digits, x - w * 0.5f, y - h * 0.5f, h, 1.4f, palette::White());
}

void DrawStart(Raster& r, float x, float y)
{
    r.FillCircle(x + 1, y + 1.5f, 8, Colour(0, 0, 0, 0.45f));
    r.FillCircle(x, y, 8, palette::Green());
    r.FillPolygon({{x - 2.5f, y - 4}, {x - 2.5f, y + 4}, {x + 4.5f, y}}, palette::White());
}

void DrawRoute(Raster& r, const std::vector<Point>& path)
{
    r.Polyline(path, 7, Colour(0, 0, 0, 0.4f));
    r.Polyline(path, 5, palette::Orange());
    r.DashedPolyline(path, 1.6f, 4, 5, Colour(1, 1, 1, 0.9f));
}

void DrawMissionNumber(Raster& r, int mission)
{
    std::string digits = std::to_string(mission);
    float h = 14;
    float w = digits.size() * (h * 0.5f + 2.4f) + 8;
    r.FillRoundRect(kMapWidth - w - 8, kMapHeight - 26, w, 20, 4, Colour::Hex(0x15181B, 0.85f));
    r.Digits(digits, kMapWidth - w - 3, kMapHeight - 23, h, 2.2f, palette::Yellow());
}

Raster PlannedMap(const MissionPlanEntry& entry)
{
    Raster r(kMapWidth, kMapHeight);
    DrawLayout(r);
    float depot = DepotX(entry.vehicle);
    std::vector<Point> path = {{depot, kLowerRoad + 4}, {depot, kLowerRoad}};
    Point at = path.back();
    bool onUpper = false;
    for (const Job& job : entry.jobs)
    {
        Site s = SitePosition(job.site);
        if (!onUpper)
        {
            float link = s.x > 170 ? 230.0f : 110.0f;
            path.push_back({link, kLowerRoad});
            path.push_back({link, kUpperRoad});
            onUpper = true;
        }
        else
        {
            path.push_back({at.x, kUpperRoad});
        }
        path.push_back({s.x, kUpperRoad});
        path.push_back({s.x, s.y});
        at = {s.x, s.y};
    }
    DrawRoute(r, path);
    DrawStart(r, depot, kLowerRoad + 4);
    int step = 1;
    for (size_t i = 0; i < entry.jobs.size(); ++i)
    {
        const Job& job = entry.jobs[i];
        Site s = SitePosition(job.site);
        // Two jobs at one stand: place the second marker beside the first.
        float ox = 0;
        for (size_t k = 0; k < i; ++k)
            if (entry.jobs[k].site == job.site)
                ox += 22;
        DrawMarker(r, s.x + ox, s.y, step++, WorkColour(job.work));
        DrawWorkSign(r, s.x + ox + 15, s.y - 13, 13, job.work, palette::White());
    }
    DrawMissionNumber(r, entry.number);
    return r;
}

bool Contains(const std::string& text, const char* word)
{
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find(word) != std::string::npos;
}

Work WorkOfGame(const std::string& game)
{
    if (Contains(game, "pump")) return Work::Refuel;
    if (Contains(game, "baggage")) return Work::Baggage;
    if (Contains(game, "repair")) return Work::Repair;
    return Work::Catering;
}

// Map from the generated world: positions come from the scene, the path runs
// from the spawn node through every trigger in the order of the mission file.
// The terminal side (larger z) is drawn at the top, as on the planned layout.
class WorldProjection
{
public:
    explicit WorldProjection(const RouteSet& routes)
    {
        for (const auto& node : routes.nodes)
        {
            const std::string& n = node.first;
            if (n.find("spawn") == std::string::npos && n.find("trigger") == std::string::npos && !Contains(n, "aircraft") &&
                !Contains(n, "depot") && !Contains(n, "terminal") && !Contains(n, "hangar"))
                continue;
            m_minX = std::min(m_minX, node.second.first);
            m_maxX = std::max(m_maxX, node.second.first);
            m_minZ = std::min(m_minZ, node.second.second);
            m_maxZ = std::max(m_maxZ, node.second.second);
        }
        m_minX -= 34;
        m_maxX += 14;
        m_minZ -= 14;
        m_maxZ += 14;
        float spanX = std::max(1.0f, m_maxX - m_minX), spanZ = std::max(1.0f, m_maxZ - m_minZ);
        m_scale = std::min((kMapWidth - 16) / spanX, (kMapHeight - 16) / spanZ);
        m_ox = (kMapWidth - spanX * m_scale) * 0.5f;
        m_oy = (kMapHeight - spanZ * m_scale) * 0.5f;
    }
    Point operator()(const std::pair<float, float>& p) const
    {
        return {m_ox + (p.first - m_minX) * m_scale, m_oy + (m_maxZ - p.second) * m_scale};
    }
    float Scale() const { return m_scale; }

private:
    float m_minX = 1e30f, m_maxX = -1e30f, m_minZ = 1e30f, m_maxZ = -1e30f;
    float m_scale = 1, m_ox = 0, m_oy = 0;
};

void DrawWorldLayout(Raster& r, const RouteSet& routes, const WorldProjection& project)
{
    r.FillRect(0, 0, kMapWidth, kMapHeight, Colour::Hex(0x28402B));
    r.FillRoundRect(4, 4, kMapWidth - 8, kMapHeight - 8, 10, Colour::Hex(0x4B5259));
    r.Grain(0.035f, 17);
    float s = project.Scale();

    // Service roads: join waypoints that line up along x or z with their nearest neighbour.
    std::vector<Point> waypoints;
    for (const auto& node : routes.nodes)
        if (node.first.find("trigger_wp") != std::string::npos)
            waypoints.push_back({node.second.first, node.second.second});
    for (size_t i = 0; i < waypoints.size(); ++i)
    {
        const Point& a = waypoints[i];
        int bestX = -1, bestZ = -1;
        float dx = 1e30f, dz = 1e30f;
        for (size_t j = 0; j < waypoints.size(); ++j)
        {
            const Point& b = waypoints[j];
            if (std::fabs(b.y - a.y) < 1.0f && b.x > a.x && b.x - a.x < dx)
            {
                dx = b.x - a.x;
                bestX = static_cast<int>(j);
            }
            if (std::fabs(b.x - a.x) < 1.0f && b.y > a.y && b.y - a.y < dz)
            {
                dz = b.y - a.y;
                bestZ = static_cast<int>(j);
            }
        }
        Point pa = project({a.x, a.y});
        for (int j : {bestX, bestZ})
        {
            if (j < 0)
                continue;
            Point pb = project({waypoints[j].x, waypoints[j].y});
            r.Line(pa.x, pa.y, pb.x, pb.y, std::max(5.0f, 9.0f * s), Colour::Hex(0x2D3236));
        }
    }

    std::vector<std::pair<Point, std::string>> aircraft;
    float leftGate = 1e30f, rightGate = -1e30f;
    for (const auto& node : routes.nodes)
    {
        const std::string& n = node.first;
        Point p = project(node.second);
        if (Contains(n, "aircraft"))
        {
            aircraft.push_back({p, n});
            if (!Contains(n, "hangar"))
            {
                leftGate = std::min(leftGate, p.x);
                rightGate = std::max(rightGate, p.x);
            }
        }
    }
    for (const auto& node : routes.nodes)
    {
        const std::string& n = node.first;
        Point p = project(node.second);
        if (n == "terminal" && leftGate < rightGate)
            r.FillRoundRect(leftGate - 20, p.y - 8, rightGate - leftGate + 40, 16, 3, Colour::Hex(0xB7BEC5));
        else if (Contains(n, "hangar_building"))
        {
            r.FillRoundRect(p.x - 26 * s, p.y - 34 * s, 52 * s, 68 * s, 3, Colour::Hex(0x7F8890));
            r.Digits("H", p.x - 4, p.y + 34 * s - 14, 10, 1.5f, palette::Yellow());
        }
        else if (Contains(n, "depot"))
        {
            Work sign = Contains(n, "fuel") ? Work::Refuel : Contains(n, "baggage") ? Work::Baggage : Work::Catering;
            r.FillRoundRect(p.x - 16, p.y - 8, 32, 18, 3, Colour::Hex(0x8F979E));
            r.FillRect(p.x - 16, p.y - 8, 32, 3, palette::Orange());
            DrawWorkSign(r, p.x, p.y + 2, 12, sign, Colour::Hex(0x1F2326));
        }
        else if (Contains(n, "jetbridge"))
            r.FillRect(p.x - 2, p.y - 8, 4, 10, Colour::Hex(0x9AA2A9));
    }
    for (const auto& [p, n] : aircraft)
    {
        bool wide = n.find("_B") != std::string::npos;
        DrawAircraftTop(r, p.x, p.y, std::max(18.0f, (wide ? 62.0f : 40.0f) * s), Colour::Hex(0xF1F3F5), wide);
        size_t us = n.rfind('_');
        std::string gate = us == std::string::npos ? "" : n.substr(us + 1);
        if (gate.size() == 2 && (gate[0] == 'A' || gate[0] == 'B'))
            r.Digits(gate, p.x - 8, p.y + (wide ? 34.0f : 22.0f) * s + 2, 8, 1.3f, palette::Yellow());
    }
}

Raster WorldMap(int mission, const MissionRoute& route, const RouteSet& routes)
{
    Raster r(kMapWidth, kMapHeight);
    WorldProjection project(routes);
    DrawWorldLayout(r, routes, project);

    std::vector<Point> path;
    auto spawn = routes.nodes.find(route.spawn);
    if (spawn != routes.nodes.end())
        path.push_back(project(spawn->second));
    struct Mark
    {
        Point p;
        bool game;
        Work work;
    };
    std::vector<Mark> marks;
    for (size_t i = 0; i < route.steps.size(); ++i)
    {
        const RouteStep& step = route.steps[i];
        if (step.kind != "trigger")
            continue;
        auto node = routes.nodes.find(step.name);
        if (node == routes.nodes.end())
            continue;
        Point p = project(node->second);
        path.push_back(p);
        Mark m{p, step.type == "mini_game", Work::Catering};
        for (size_t k = i + 1; k < route.steps.size(); ++k)
        {
            if (route.steps[k].kind == "game")
            {
                m.work = WorkOfGame(route.steps[k].name);
                break;
            }
            if (route.steps[k].kind == "trigger")
                break;
        }
        marks.push_back(m);
    }
    DrawRoute(r, path);
    for (const Mark& m : marks)
        if (!m.game)
        {
            r.FillCircle(m.p.x, m.p.y, 3.5f, palette::Yellow());
            r.FillCircle(m.p.x, m.p.y, 1.5f, Colour::Hex(0x15181B));
        }
    if (spawn != routes.nodes.end())
        DrawStart(r, path.front().x, path.front().y);
    int number = 1;
    std::vector<Point> placed;
    for (const Mark& m : marks)
    {
        if (!m.game)
            continue;
        // A second job at the same stand gets its marker beside the first.
        Point at = m.p;
        for (const Point& q : placed)
            if (std::hypot(q.x - at.x, q.y - at.y) < 16)
                at.x = q.x + 20;
        placed.push_back(at);
        DrawMarker(r, at.x, at.y, number++, WorkColour(m.work));
        DrawWorkSign(r, at.x + 14, at.y + 13, 12, m.work, palette::White());
    }
    DrawMissionNumber(r, mission);
    return r;
}

} // namespace

Raster DrawApronOverview(const RouteSet& routes)
{
    Raster r(kMapWidth, kMapHeight);
    if (!routes.nodes.empty())
        DrawWorldLayout(r, routes, WorldProjection(routes));
    else
        DrawLayout(r);
    return r;
}

Raster DrawMissionMap(int mission, const RouteSet& routes)
{
    auto it = routes.missions.find(mission);
    if (it != routes.missions.end() && !it->second.steps.empty() && !routes.nodes.empty())
    {
        bool known = routes.nodes.count(it->second.spawn) > 0;
        for (const RouteStep& s : it->second.steps)
            if (s.kind == "trigger" && routes.nodes.count(s.name))
                known = true;
        if (known)
            return WorldMap(mission, it->second, routes);
    }
    for (const MissionPlanEntry& e : MissionPlan())
        if (e.number == mission)
            return PlannedMap(e);
    return Raster(kMapWidth, kMapHeight, Colour::Hex(0x28402B));
}

} // namespace assetbuilder
