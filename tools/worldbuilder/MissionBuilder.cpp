#include "MissionBuilder.h"

#include <algorithm>
#include <map>
#include <regex>

#include "Xml.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <queue>
#include <set>
#include <sstream>
#include <xml/Reader.h>

namespace worldbuilder {

namespace {

// A short hop still starts with a turn onto the next road.
const int kMinWaypointTime = 15;
// A vehicle turning round out of a parking zone sweeps this far (m) along its road.
const double kTurnRoom = 15.0;
// Legs meeting at more than 45 degrees make a corner.
const float kCornerCosine = 0.7071f;

// The game keeps the time limit of a trigger's first element for every later
// visit, so each element of a trigger carries the longest time any visit needs.
std::string LongestTimes(const std::string& mission) {
  const std::regex element("time=\"([0-9]+)\" name=\"([^\"]+)\"");
  std::map<std::string, int> longest;
  for (std::sregex_iterator it(mission.begin(), mission.end(), element), end; it != end; ++it) {
    int& time = longest[(*it)[2].str()];
    time = std::max(time, std::stoi((*it)[1].str()));
  }
  std::string result;
  std::string::const_iterator from = mission.begin();
  for (std::sregex_iterator it(mission.begin(), mission.end(), element), end; it != end; ++it) {
    result.append(from, (*it)[0].first);
    result += "time=\"" + std::to_string(longest[(*it)[2].str()]) + "\" name=\"" + (*it)[2].str() + "\"";
    from = (*it)[0].second;
  }
  result.append(from, mission.end());
  return result;
}

}  // namespace

namespace {

int RoundUp5(double seconds) { return int(std::ceil(seconds / 5.0) * 5.0); }

}  // namespace

Ogre::Vector3 MissionBuilder::PositionOf(const std::string& name) const {
  auto w = m_airport.waypoints().find(name);
  if (w != m_airport.waypoints().end()) return w->second.position;
  auto s = m_airport.services().find(name);
  if (s != m_airport.services().end()) return s->second.position;
  auto p = m_airport.spawns().find(name);
  if (p != m_airport.spawns().end()) return p->second.position;
  return Ogre::Vector3::ZERO;
}

std::vector<std::string> MissionBuilder::Route(const std::string& from, const std::string& to) const {
  // Dijkstra over the road links; ties resolve by name so routes are stable.
  std::map<std::string, double> dist;
  std::map<std::string, std::string> previous;
  using Item = std::pair<double, std::string>;
  std::priority_queue<Item, std::vector<Item>, std::greater<Item>> open;
  dist[from] = 0;
  open.push({0, from});
  while (!open.empty()) {
    Item top = open.top();
    open.pop();
    if (top.first > dist[top.second]) continue;
    if (top.second == to) break;
    auto range = m_airport.links().equal_range(top.second);
    for (auto it = range.first; it != range.second; ++it) {
      double d = top.first + PositionOf(top.second).distance(PositionOf(it->second));
      if (!dist.count(it->second) || d < dist[it->second] - 1e-6) {
        dist[it->second] = d;
        previous[it->second] = top.second;
        open.push({d, it->second});
      }
    }
  }
  std::vector<std::string> path;
  if (!dist.count(to)) return path;
  for (std::string at = to; at != from; at = previous[at]) path.insert(path.begin(), at);
  path.insert(path.begin(), from);
  return path;
}

bool MissionBuilder::Build(const std::string& source, std::map<std::string, std::string>& files) {
  TiXmlDocument doc(source);
  if (!xml::Reader::LoadFile(doc, doc.ValueStr())) {
    std::fprintf(stderr, "worldbuilder: cannot read %s\n", source.c_str());
    return false;
  }
  bool ok = true;
  const TiXmlElement* root = doc.RootElement();
  float slackFirst = Xml::Float(root, "slackFirst", 2.0f), slackLast = Xml::Float(root, "slackLast", 1.4f);
  float parkTime = Xml::Float(root, "parkTime", 20), waypointTime = Xml::Float(root, "waypointTime", 5);
  // Leaving a parking zone starts facing the aircraft: the vehicle first turns round.
  float turnTime = Xml::Float(root, "turnTime", 0);
  // A corner of the route is taken at walking pace, a long truck's wide turn included.
  float cornerTime = Xml::Float(root, "cornerTime", 0);
  struct VehicleInfo {
    std::string spawn;
    float speed;
  };
  std::map<std::string, VehicleInfo> vehicles;
  for (const TiXmlElement* v = root->FirstChildElement("vehicle"); v; v = v->NextSiblingElement("vehicle")) {
    VehicleInfo info{Xml::Text(v, "spawn"), Xml::Float(v, "speed", 7)};
    if (!m_airport.spawns().count(info.spawn)) {
      std::fprintf(stderr, "worldbuilder: vehicle %s: no spawn %s in the scene\n", Xml::Text(v, "name").c_str(),
                   info.spawn.c_str());
      ok = false;
    }
    vehicles[Xml::Text(v, "name")] = info;
  }
  const std::map<std::string, std::string> kGameVehicles = {
      {"CateringState", "CateringTruck"}, {"PumpState", "FuelTruck"}, {"BaggageState", "BaggageCart"}, {"RepairState", ""}};

  // Free drive: every vehicle at its depot and one far waypoint.
  if (const TiXmlElement* free = root->FirstChildElement("free")) {
    std::ostringstream s;
    s << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<mission number=\"-1\">\n";
    for (const TiXmlElement* sp = free->FirstChildElement("spawn"); sp; sp = sp->NextSiblingElement("spawn")) {
      std::string v = Xml::Text(sp, "vehicle");
      if (!vehicles.count(v)) {
        std::fprintf(stderr, "worldbuilder: free drive: unknown vehicle %s\n", v.c_str());
        ok = false;
        continue;
      }
      s << "  <spawn type=\"vehicle\" vehicle=\"" << v << "\" name=\"" << vehicles[v].spawn << "\"/>\n";
    }
    for (const TiXmlElement* w = free->FirstChildElement("waypoint"); w; w = w->NextSiblingElement("waypoint")) {
      std::string name = Xml::Text(w, "name");
      if (!m_airport.waypoints().count(name)) {
        std::fprintf(stderr, "worldbuilder: free drive: no waypoint %s\n", name.c_str());
        ok = false;
      }
      s << "  <trigger type=\"waypoint\" time=\"" << Xml::Int(w, "time", 600) << "\" name=\"" << name << "\"/>\n";
    }
    s << "</mission>\n";
    files["mission-1.xml"] = s.str();
  }

  for (const TiXmlElement* m = root->FirstChildElement("mission"); m; m = m->NextSiblingElement("mission")) {
    int n = Xml::Int(m, "n");
    std::string vehicle = Xml::Text(m, "vehicle");
    if (!vehicles.count(vehicle)) {
      std::fprintf(stderr, "worldbuilder: mission %d: unknown vehicle %s\n", n, vehicle.c_str());
      ok = false;
      continue;
    }
    const VehicleInfo& info = vehicles[vehicle];
    float slack = Xml::Float(m, "slack", slackFirst + (slackLast - slackFirst) * float(n - 1) / 24.0f);
    std::ostringstream s;
    s << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<mission number=\"" << n << "\">\n";
    s << "  <spawn type=\"vehicle\" vehicle=\"" << vehicle << "\" name=\"" << info.spawn << "\"/>\n";
    Ogre::Vector3 here = PositionOf(info.spawn);
    Ogre::Vector3 heading = Ogre::Vector3::ZERO;  // of the leg that ends here
    std::string road = m_airport.SpawnGate(info.spawn);
    bool leaveRoad = true;  // the gate itself is the first waypoint
    bool leaving = false;
    double turnRoomLeft = 0;
    double routeLength = 0, totalTime = 0;
    int waypoints = 0, works = 0;
    for (const TiXmlElement* w = m->FirstChildElement("work"); w; w = w->NextSiblingElement("work")) {
      std::string game = Xml::Text(w, "game");
      std::string trigger = Xml::Text(w, "trigger");
      auto gv = kGameVehicles.find(game);
      if (gv == kGameVehicles.end()) {
        std::fprintf(stderr, "worldbuilder: mission %d: unknown game %s\n", n, game.c_str());
        ok = false;
        continue;
      }
      if (!gv->second.empty() && gv->second != vehicle) {
        std::fprintf(stderr, "worldbuilder: mission %d: %s needs %s, not %s\n", n, game.c_str(), gv->second.c_str(),
                     vehicle.c_str());
        ok = false;
      }
      auto service = m_airport.services().find(trigger);
      if (service == m_airport.services().end()) {
        std::fprintf(stderr, "worldbuilder: mission %d: no trigger %s in the scene\n", n, trigger.c_str());
        ok = false;
        continue;
      }
      const std::string& access = service->second.access;
      std::vector<std::string> path;
      if (access != road || leaveRoad) path = Route(road, access);
      if (path.empty() && access != road) {
        std::fprintf(stderr, "worldbuilder: mission %d: no road from %s to %s\n", n, road.c_str(), access.c_str());
        ok = false;
      }
      for (const auto& wp : path) {
        Ogre::Vector3 p = PositionOf(wp);
        double d = here.distance(p);
        const Ogre::Vector3 leg = (p - here).normalisedCopy();
        // The boxes of waypoints this close after the zone's own road are
        // touched while the vehicle is still turning round, so the allowance
        // also goes to them and to the first waypoint beyond.
        const bool turning = leaving || turnRoomLeft > 0.0;
        turnRoomLeft = leaving ? kTurnRoom : (turning && d < turnRoomLeft ? turnRoomLeft - d : 0.0);
        leaving = false;
        const bool corner = !turning && heading != Ogre::Vector3::ZERO && heading.dotProduct(leg) < kCornerCosine;
        const float allowance = (turning ? turnTime : 0.0f) + (corner ? cornerTime : 0.0f);
        int t = std::max(kMinWaypointTime, RoundUp5(d / info.speed * slack + waypointTime + allowance));
        heading = leg;
        s << "  <trigger type=\"waypoint\" time=\"" << t << "\" name=\"" << wp << "\"/>\n";
        routeLength += d;
        totalTime += t;
        here = p;
        ++waypoints;
      }
      double d = here.distance(service->second.position);
      int t = RoundUp5(d / info.speed * slack + parkTime * slack / 1.5f + 8);
      s << "  <trigger type=\"mini_game\" time=\"" << t << "\" name=\"" << trigger << "\"/>\n";
      s << "  <mini_game game=\"" << game << "\"/>\n";
      routeLength += d;
      totalTime += t;
      heading = (service->second.position - here).normalisedCopy();
      here = service->second.position;
      road = access;
      leaveRoad = false;
      leaving = true;
      ++works;
    }
    if (works == 0) {
      std::fprintf(stderr, "worldbuilder: mission %d has no work\n", n);
      ok = false;
    }
    s << "</mission>\n";
    files["mission" + std::to_string(n) + ".xml"] = LongestTimes(s.str());
    char line[160];
    std::snprintf(line, sizeof(line), "mission %2d: %-13s %d work, %2d waypoints, %5.0f m, %4.0f s (slack %.2f)", n,
                  vehicle.c_str(), works, waypoints, routeLength, totalTime, slack);
    m_summary.push_back(line);
  }
  for (int n = 1; n <= 25; ++n) {
    if (!files.count("mission" + std::to_string(n) + ".xml")) {
      std::fprintf(stderr, "worldbuilder: mission %d is missing\n", n);
      ok = false;
    }
  }
  return ok;
}

}  // namespace worldbuilder
