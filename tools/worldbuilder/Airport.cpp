#include "Airport.h"

#include "Font.h"
#include "Xml.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <xml/Reader.h>

namespace worldbuilder {
namespace {

const float kTaxiLineZ = 28.0f;

Ogre::Quaternion Yaw(float degrees) { return Ogre::Quaternion(Ogre::Degree(degrees), Ogre::Vector3::UNIT_Y); }

Ogre::Vector2 Rotate(const Ogre::Vector2& p, float degrees) {
  Ogre::Vector3 r = Yaw(degrees) * Ogre::Vector3(p.x, 0, p.y);
  return Ogre::Vector2(r.x, r.z);
}

void Rect(Geometry& g, float x0, float z0, float x1, float z1, float y) {
  Placement at;
  at.uvScale = 0.1f;
  g.Quad(at, {x0, y, z0}, {x0, y, z1}, {x1, y, z1}, {x1, y, z0});
}

void Dashed(Geometry& g, Ogre::Vector2 a, Ogre::Vector2 b, float width, float y, float dash, float gap) {
  Placement at;
  Ogre::Vector2 d = b - a;
  float length = d.normalise();
  for (float s = 0; s < length; s += dash + gap) {
    float e = std::min(length, s + dash);
    g.Strip(at, {a + d * s, a + d * e}, width, y);
  }
}

void Text(Geometry& g, const std::string& text, Ogre::Vector2 origin, float pixel, float y) {
  // Read by someone standing south of it looking north (+z): columns run -x.
  float cursor = 0;
  for (char c : text) {
    for (int row = 0; row < Font::kHeight; ++row) {
      for (int col = 0; col < Font::kWidth; ++col) {
        if (!Font::Pixel(c, col, row)) continue;
        float x1 = origin.x - (cursor + float(col)) * pixel;
        float z1 = origin.y + float(Font::kHeight - row) * pixel;
        Rect(g, x1 - pixel, z1 - pixel, x1, z1, y);
      }
    }
    cursor += Font::kWidth + 1;
  }
}

std::string Vec(const char* tag, const Ogre::Vector3& v) {
  return std::string("<") + tag + " x=\"" + Xml::Num(v.x) + "\" y=\"" + Xml::Num(v.y) + "\" z=\"" + Xml::Num(v.z) +
         "\"/>";
}

std::string Colour(const char* tag, const Ogre::Vector3& v) {
  return std::string("<") + tag + " r=\"" + Xml::Num(v.x) + "\" g=\"" + Xml::Num(v.y) + "\" b=\"" + Xml::Num(v.z) +
         "\" a=\"1\"/>";
}

std::string Rot(const Ogre::Quaternion& q) {
  return "<rotation qw=\"" + Xml::Num(q.w, 6) + "\" qx=\"" + Xml::Num(q.x, 6) + "\" qy=\"" + Xml::Num(q.y, 6) +
         "\" qz=\"" + Xml::Num(q.z, 6) + "\"/>";
}

}  // namespace

bool Airport::Load(const std::string& path, const ModelLibrary& models) {
  TiXmlDocument doc(path);
  if (!xml::Reader::LoadFile(doc, doc.ValueStr())) {
    std::fprintf(stderr, "worldbuilder: cannot read %s\n", path.c_str());
    return false;
  }
  bool ok = true;
  const TiXmlElement* root = doc.RootElement();
  const TiXmlElement* env = root->FirstChildElement("environment");
  m_ambient = Xml::Vec3(env, "ambient", Ogre::Vector3(0.5f));
  m_skyMaterial = Xml::Text(env, "skyDome");
  m_skyCurvature = Xml::Float(env, "curvature", 10);
  m_skyTiling = Xml::Float(env, "tiling", 1);
  m_skyDistance = Xml::Float(env, "distance", 3000);
  const TiXmlElement* light = root->FirstChildElement("light");
  m_lightName = Xml::Text(light, "name", "Sun");
  m_lightDirection = Xml::Vec3(light, "direction", Ogre::Vector3(0, -1, 0)).normalisedCopy();
  m_lightDiffuse = Xml::Vec3(light, "diffuse", Ogre::Vector3(1));
  m_lightSpecular = Xml::Vec3(light, "specular", Ogre::Vector3(0.3f));
  const TiXmlElement* terrain = root->FirstChildElement("terrain");
  m_terrainPage = Xml::Text(terrain, "page");
  m_terrainWorldSize = Xml::Float(terrain, "worldSize", 1000);
  m_terrainMapSize = Xml::Int(terrain, "mapSize", 129);
  m_compositeMapDistance = Xml::Int(terrain, "compositeMapDistance", 2000);
  m_maxPixelError = Xml::Int(terrain, "maxPixelError", 3);
  const TiXmlElement* apron = root->FirstChildElement("apron");
  m_apronMin = Xml::Vec2(apron, "min");
  m_apronMax = Xml::Vec2(apron, "max");
  float facadeZ = Xml::Float(apron, "facadeZ", 139.7f);

  // Aircraft types and their service places.
  struct Service {
    std::string name;
    Ogre::Vector2 at;
    Ogre::Vector3 size;
    std::string access;
  };
  struct Type {
    float length, doorX, doorZ, noseWheelZ, bridgeScaleY;
    std::vector<Service> services;
  };
  std::map<std::string, Type> types;
  for (const TiXmlElement* e = root->FirstChildElement("aircraft"); e; e = e->NextSiblingElement("aircraft")) {
    Type t{Xml::Float(e, "length"), Xml::Float(e, "doorX"), Xml::Float(e, "doorZ"), Xml::Float(e, "noseWheelZ"),
           Xml::Float(e, "bridgeScaleY", 1), {}};
    for (const TiXmlElement* s = e->FirstChildElement("service"); s; s = s->NextSiblingElement("service"))
      t.services.push_back({Xml::Text(s, "name"), Xml::Vec2(s, "at"), Xml::Vec3(s, "size"), Xml::Text(s, "access")});
    types[Xml::Text(e, "type")] = t;
  }

  // Road network: rows and columns of waypoints.
  std::map<std::string, float> rows;
  for (const TiXmlElement* e = root->FirstChildElement("row"); e; e = e->NextSiblingElement("row"))
    rows[Xml::Text(e, "name")] = Xml::Float(e, "z");
  Ogre::Vector3 wpSize = Xml::Vec3(root->FirstChildElement("waypointSize"), "size", Ogre::Vector3(8, 4, 8));
  struct Column {
    std::string name;
    float x;
    std::vector<std::string> rows;
  };
  std::vector<Column> columns;
  for (const TiXmlElement* e = root->FirstChildElement("column"); e; e = e->NextSiblingElement("column")) {
    Column c{Xml::Text(e, "name"), Xml::Float(e, "x"), {}};
    std::istringstream in(Xml::Text(e, "rows"));
    std::string r;
    while (in >> r) c.rows.push_back(r);
    columns.push_back(c);
  }
  std::sort(columns.begin(), columns.end(), [](const Column& a, const Column& b) { return a.x < b.x; });
  auto wpName = [](const std::string& row, const std::string& column) { return "trigger_wp_" + row + "_" + column; };
  auto addLink = [this](const std::string& a, const std::string& b) {
    m_links.insert({a, b});
    m_links.insert({b, a});
  };
  auto addWaypoint = [this, &wpSize](const std::string& name, float x, float z) {
    Place p;
    p.name = name;
    p.position = Ogre::Vector3(x, wpSize.y * 0.5f, z);
    p.size = wpSize;
    m_waypoints[name] = p;
  };
  for (const auto& c : columns)
    for (const auto& r : c.rows) {
      if (!rows.count(r)) {
        std::fprintf(stderr, "worldbuilder: column %s names unknown row %s\n", c.name.c_str(), r.c_str());
        ok = false;
        continue;
      }
      addWaypoint(wpName(r, c.name), c.x, rows[r]);
    }
  for (const auto& r : rows) {
    std::string previous;
    float firstX = 0, lastX = 0;
    for (const auto& c : columns) {
      if (std::find(c.rows.begin(), c.rows.end(), r.first) == c.rows.end()) continue;
      if (previous.empty()) firstX = c.x;
      if (!previous.empty()) addLink(wpName(r.first, previous), wpName(r.first, c.name));
      previous = c.name;
      lastX = c.x;
    }
    m_roads.push_back({{Ogre::Vector2(firstX - 6, r.second), Ogre::Vector2(lastX + 6, r.second)}, 8.0f});
  }
  for (const TiXmlElement* e = root->FirstChildElement("link"); e; e = e->NextSiblingElement("link")) {
    std::string col = Xml::Text(e, "column"), from = Xml::Text(e, "from"), to = Xml::Text(e, "to");
    for (const auto& c : columns) {
      if (col != "*" && col != c.name) continue;
      std::string a = wpName(from, c.name), b = wpName(to, c.name);
      if (!m_waypoints.count(a) || !m_waypoints.count(b)) {
        if (col != "*") {
          std::fprintf(stderr, "worldbuilder: link %s-%s on %s has no waypoint\n", from.c_str(), to.c_str(),
                       c.name.c_str());
          ok = false;
        }
        continue;
      }
      addLink(a, b);
      m_roads.push_back({{Ogre::Vector2(c.x, rows[from]), Ogre::Vector2(c.x, rows[to])}, 8.0f});
      float z0 = std::min(rows[from], rows[to]), z1 = std::max(rows[from], rows[to]);
      if (z0 < kTaxiLineZ && z1 > kTaxiLineZ) m_crossings.push_back({Ogre::Vector2(c.x, kTaxiLineZ)});
    }
  }

  // Stands: aircraft, jet bridges and service triggers.
  for (const TiXmlElement* e = root->FirstChildElement("stand"); e; e = e->NextSiblingElement("stand")) {
    std::string name = Xml::Text(e, "name");
    std::string type = Xml::Text(e, "type");
    if (!types.count(type)) {
      std::fprintf(stderr, "worldbuilder: stand %s has unknown type %s\n", name.c_str(), type.c_str());
      ok = false;
      continue;
    }
    const Type& t = types[type];
    Ogre::Vector2 at = Xml::Vec2(e, "at");
    float yaw = Xml::Float(e, "yaw");
    std::string column = Xml::Text(e, "column");
    bool gate = Xml::Text(e, "gate") == "true";
    m_stands.push_back({name, type, at, yaw, gate, t.length, t.noseWheelZ});
    StaticNode aircraft{"aircraft_" + name, Xml::Text(e, "mesh"), Ogre::Vector3(at.x, 0, at.y), Yaw(yaw)};
    if (!models.Find(aircraft.mesh)) {
      std::fprintf(stderr, "worldbuilder: stand %s: unknown mesh %s\n", name.c_str(), aircraft.mesh.c_str());
      ok = false;
    }
    m_statics.push_back(aircraft);
    if (gate) {
      Ogre::Vector2 door = at + Rotate(Ogre::Vector2(t.doorX + 1.8f, t.doorZ), yaw);
      Ogre::Vector2 facade(at.x + t.doorX + 10.0f, facadeZ);
      Ogre::Vector2 d = facade - door;
      float length = d.length();
      StaticNode bridge{"jetbridge_" + name, "jetbridge.mesh", Ogre::Vector3(door.x, 0, door.y),
                        Yaw(Ogre::Radian(std::atan2(d.x, d.y)).valueDegrees()),
                        Ogre::Vector3(1, t.bridgeScaleY, length / 20.5f)};
      m_statics.push_back(bridge);
    }
    for (const auto& s : t.services) {
      Place p;
      p.name = "trigger_" + name + "_" + s.name;
      Ogre::Vector2 w = at + Rotate(s.at, yaw);
      p.position = Ogre::Vector3(w.x, s.size.y * 0.5f, w.y);
      p.orientation = Yaw(yaw);
      p.size = s.size;
      p.access = wpName(s.access, column);
      if (!m_waypoints.count(p.access)) {
        std::fprintf(stderr, "worldbuilder: %s: no access waypoint %s\n", p.name.c_str(), p.access.c_str());
        ok = false;
      }
      m_services[p.name] = p;
    }
  }

  // Depots.
  for (const TiXmlElement* e = root->FirstChildElement("depot"); e; e = e->NextSiblingElement("depot")) {
    std::string name = Xml::Text(e, "name");
    Ogre::Vector2 at = Xml::Vec2(e, "at");
    m_statics.push_back({name + "_depot", Xml::Text(e, "mesh"), Ogre::Vector3(at.x, 0, at.y)});
    Ogre::Vector2 gate = Xml::Vec2(e, "gate");
    std::string gateName = "trigger_wp_" + name + "_gate";
    addWaypoint(gateName, gate.x, gate.y);
    std::string join = "trigger_wp_" + Xml::Text(e, "join");
    if (!m_waypoints.count(join)) {
      std::fprintf(stderr, "worldbuilder: depot %s joins unknown %s\n", name.c_str(), join.c_str());
      ok = false;
    } else {
      addLink(gateName, join);
    }
    const Model* vehicle = models.Find(Xml::Text(e, "vehicle"));
    if (!vehicle) {
      std::fprintf(stderr, "worldbuilder: depot %s: unknown vehicle mesh\n", name.c_str());
      ok = false;
      continue;
    }
    Ogre::Vector2 spawnAt = Xml::Vec2(e, "spawnAt");
    Place spawn;
    spawn.name = Xml::Text(e, "spawn");
    // The vehicle's body is created at the node, centred on its box: start a
    // little above its resting height so it settles onto its wheels.
    spawn.position = Ogre::Vector3(spawnAt.x, vehicle->Bounds().getCenter().y + 0.25f, spawnAt.y);
    m_spawns[spawn.name] = spawn;
    m_spawnGates[spawn.name] = gateName;
    Ogre::Vector2 joinAt(m_waypoints.count(join) ? m_waypoints[join].position.x : gate.x,
                         m_waypoints.count(join) ? m_waypoints[join].position.z : gate.y);
    m_roads.push_back({{Ogre::Vector2(spawnAt.x, spawnAt.y - 8), gate, joinAt}, 8.0f});
  }

  for (const TiXmlElement* e = root->FirstChildElement("node"); e; e = e->NextSiblingElement("node")) {
    Ogre::Vector2 at = Xml::Vec2(e, "at");
    StaticNode n{Xml::Text(e, "name"), Xml::Text(e, "mesh"), Ogre::Vector3(at.x, Xml::Float(e, "y"), at.y),
                 Yaw(Xml::Float(e, "yaw"))};
    if (!models.Find(n.mesh)) {
      std::fprintf(stderr, "worldbuilder: node %s: unknown mesh %s\n", n.name.c_str(), n.mesh.c_str());
      ok = false;
    }
    m_statics.push_back(n);
  }
  m_statics.insert(m_statics.begin(), StaticNode{"apron", "apron.mesh", Ogre::Vector3::ZERO,
                                                 Ogre::Quaternion::IDENTITY, Ogre::Vector3::UNIT_SCALE, false});
  return ok;
}

std::string Airport::SpawnGate(const std::string& spawn) const {
  auto it = m_spawnGates.find(spawn);
  return it == m_spawnGates.end() ? std::string() : it->second;
}

std::string Airport::SceneXml() const {
  std::ostringstream s;
  s << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  s << "<scene formatVersion=\"1.0\" generator=\"worldbuilder\">\n";
  s << "  <environment>\n";
  s << "    " << Colour("colourAmbient", m_ambient) << "\n";
  // Drawn last, the sky is shaded only where nothing covers it.
  s << "    <skyDome material=\"" << m_skyMaterial << "\" curvature=\"" << Xml::Num(m_skyCurvature) << "\" tiling=\""
    << Xml::Num(m_skyTiling) << "\" distance=\"" << Xml::Num(m_skyDistance)
    << "\" drawFirst=\"false\" active=\"true\"/>\n";
  s << "  </environment>\n";
  s << "  <light name=\"" << m_lightName << "\" type=\"directional\" castShadows=\"true\" visible=\"true\">\n";
  s << "    " << Vec("directionVector", m_lightDirection) << "\n";
  s << "    " << Colour("colourDiffuse", m_lightDiffuse) << "\n";
  s << "    " << Colour("colourSpecular", m_lightSpecular) << "\n";
  s << "  </light>\n";
  s << "  <nodes>\n";
  for (const auto& n : m_statics) {
    s << "    <node name=\"" << n.name << "\">\n";
    s << "      " << Vec("position", n.position) << "\n";
    s << "      " << Rot(n.orientation) << "\n";
    s << "      " << Vec("scale", n.scale) << "\n";
    s << "      <entity name=\"" << n.name << "\" meshFile=\"" << n.mesh << "\" castShadows=\""
      << (n.castShadows ? "true" : "false") << "\"/>\n";
    s << "    </node>\n";
  }
  auto place = [&s](const Place& p) {
    s << "    <node name=\"" << p.name << "\">\n";
    s << "      " << Vec("position", p.position) << "\n";
    s << "      " << Rot(p.orientation) << "\n";
    s << "      " << Vec("scale", p.size) << "\n";
    s << "    </node>\n";
  };
  for (const auto& p : m_spawns) place(p.second);
  for (const auto& p : m_services) place(p.second);
  for (const auto& p : m_waypoints) place(p.second);
  s << "  </nodes>\n";
  s << "  <terrain worldSize=\"" << Xml::Num(m_terrainWorldSize) << "\" mapSize=\"" << m_terrainMapSize
    << "\" colourmapEnabled=\"false\" colourMapTextureSize=\"0\" tuningCompositeMapDistance=\""
    << m_compositeMapDistance << "\" tuningMaxPixelError=\"" << m_maxPixelError << "\">\n";
  s << "    <terrainPages>\n";
  s << "      <terrainPage name=\"" << m_terrainPage << "\" pageX=\"0\" pageY=\"0\"/>\n";
  s << "    </terrainPages>\n";
  s << "  </terrain>\n";
  s << "</scene>\n";
  return s.str();
}

void Airport::Tarmac(Geometry& tarmac, const std::vector<Bounds>& covered) const {
  // Cells of at most 20 m keep triangles small for the physics and the depth
  // buffer. Every covered edge is a cell border too, so that each cell lies
  // wholly inside or outside the covered areas.
  const float cell = 20.0f;
  std::vector<float> xs, zs;
  for (float x = m_apronMin.x; x < m_apronMax.x - 0.01f; x += cell) xs.push_back(x);
  for (float z = m_apronMin.y; z < m_apronMax.y - 0.01f; z += cell) zs.push_back(z);
  xs.push_back(m_apronMax.x);
  zs.push_back(m_apronMax.y);
  for (const Bounds& b : covered) {
    for (float x : {b.min.x, b.max.x})
      if (x > m_apronMin.x && x < m_apronMax.x) xs.push_back(x);
    for (float z : {b.min.y, b.max.y})
      if (z > m_apronMin.y && z < m_apronMax.y) zs.push_back(z);
  }
  auto tidy = [](std::vector<float>& v) {
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end(), [](float a, float b) { return b - a < 0.01f; }), v.end());
  };
  tidy(xs);
  tidy(zs);
  auto isCovered = [&covered](float x, float z) {
    for (const Bounds& b : covered)
      if (x > b.min.x && x < b.max.x && z > b.min.y && z < b.max.y) return true;
    return false;
  };
  // Open cells side by side in one row and one 20 m column become one quad.
  auto column = [this, cell](float x) { return int((x - m_apronMin.x) / cell + 1e-3f); };
  for (size_t j = 0; j + 1 < zs.size(); ++j) {
    const float z0 = zs[j], z1 = zs[j + 1], zc = 0.5f * (z0 + z1);
    size_t i = 0;
    while (i + 1 < xs.size()) {
      if (isCovered(0.5f * (xs[i] + xs[i + 1]), zc)) {
        ++i;
        continue;
      }
      size_t k = i + 1;
      while (k + 1 < xs.size() && column(xs[k]) == column(xs[i]) && !isCovered(0.5f * (xs[k] + xs[k + 1]), zc)) ++k;
      Rect(tarmac, xs[i], z0, xs[k], z1, 0.0f);
      i = k;
    }
  }
}

Model Airport::BuildApron() const {
  Model apron("apron.mesh");
  auto& subs = apron.subMeshes();
  subs.emplace_back("mat_tarmac");
  subs.emplace_back("mat_concrete");
  subs.emplace_back("mat_road");
  subs.emplace_back("mat_paint_white");
  subs.emplace_back("mat_paint_yellow");
  subs.emplace_back("mat_paint_red");
  Geometry& tarmac = subs[0];
  Geometry& concrete = subs[1];
  Geometry& road = subs[2];
  Geometry& white = subs[3];
  Geometry& yellow = subs[4];
  Geometry& red = subs[5];
  Placement at;

  // The tarmac leaves out what the stands' concrete and the roads cover: a
  // software renderer pays for every hidden pixel it shades.
  std::vector<Bounds> covered;
  auto cover = [&covered](Ogre::Vector2 a, Ogre::Vector2 b) {
    // A hand's breadth of tarmac stays under each edge, so no seam opens.
    const float margin = 0.05f;
    Bounds box{{std::min(a.x, b.x) + margin, std::min(a.y, b.y) + margin},
               {std::max(a.x, b.x) - margin, std::max(a.y, b.y) - margin}};
    if (box.min.x < box.max.x && box.min.y < box.max.y) covered.push_back(box);
  };

  // Stands: concrete pad, lead-in line with stop bar, safety box, number.
  for (const auto& st : m_stands) {
    float half = st.type == "wide" ? 31.0f : 19.5f;
    float tail = -st.length * 0.5f - 3.0f, nose = st.length * 0.5f + 3.0f;
    auto w = [&st](float x, float z) { return st.at + Rotate(Ogre::Vector2(x, z), st.yaw); };
    Ogre::Vector2 c0 = w(-half, tail), c1 = w(half, nose);
    Rect(concrete, std::min(c0.x, c1.x), std::min(c0.y, c1.y), std::max(c0.x, c1.x), std::max(c0.y, c1.y), 0.01f);
    cover(c0, c1);
    red.Strip(at, {w(-half, tail), w(half, tail), w(half, nose), w(-half, nose), w(-half, tail)}, 0.3f, 0.03f);
    Dashed(red, w(-half + 1, nose - 8), w(half - 1, nose - 8), 0.25f, 0.03f, 1.5f, 1.0f);
    if (st.type == "hangar") {
      yellow.Strip(at, {w(0, st.noseWheelZ), w(0, -st.length)}, 0.3f, 0.035f);
      continue;
    }
    yellow.Strip(at, {Ogre::Vector2(st.at.x, kTaxiLineZ), w(0, st.noseWheelZ)}, 0.3f, 0.035f);
    yellow.Strip(at, {w(-2.0f, st.noseWheelZ), w(2.0f, st.noseWheelZ)}, 0.6f, 0.035f);
    Text(yellow, st.name, w(3.3f, tail - 9.0f), 0.6f, 0.035f);
  }
  // Taxi lane centreline.
  yellow.Strip(at, {Ogre::Vector2(m_apronMin.x + 2, kTaxiLineZ), Ogre::Vector2(m_apronMax.x - 2, kTaxiLineZ)}, 0.3f,
               0.035f);

  // Service roads: darker surface, white edges, dashed centre.
  for (const auto& r : m_roads) {
    road.Strip(at, r.points, r.width, 0.015f);
    for (size_t i = 0; i + 1 < r.points.size(); ++i) {
      Ogre::Vector2 a = r.points[i], b = r.points[i + 1];
      Ogre::Vector2 d = (b - a).normalisedCopy();
      Ogre::Vector2 side(-d.y, d.x);
      // Only a piece along an axis is a box the tarmac can leave out.
      if (std::abs(d.x) < 1e-3f || std::abs(d.y) < 1e-3f)
        cover(a + side * (r.width * 0.5f), b - side * (r.width * 0.5f));
      float off = r.width * 0.5f - 0.3f;
      white.Strip(at, {a + side * off, b + side * off}, 0.15f, 0.03f);
      white.Strip(at, {a - side * off, b - side * off}, 0.15f, 0.03f);
      Dashed(white, a, b, 0.15f, 0.03f, 3.0f, 3.0f);
    }
  }
  // Zebra crossings where roads cross the taxi lane.
  for (const auto& c : m_crossings) {
    Ogre::Vector2 p = c[0];
    for (int i = -3; i <= 3; ++i) Rect(white, p.x + i * 1.1f - 0.35f, p.y - 3.0f, p.x + i * 1.1f + 0.35f, p.y + 3.0f, 0.032f);
  }
  // Parking bays for equipment in front of the depots.
  for (const auto& sp : m_spawns) {
    Ogre::Vector3 p = sp.second.position;
    white.Strip(at, {Ogre::Vector2(p.x - 2.5f, p.z - 10), Ogre::Vector2(p.x - 2.5f, p.z + 6)}, 0.15f, 0.03f);
    white.Strip(at, {Ogre::Vector2(p.x + 2.5f, p.z - 10), Ogre::Vector2(p.x + 2.5f, p.z + 6)}, 0.15f, 0.03f);
  }
  Tarmac(tarmac, covered);
  return apron;
}

}  // namespace worldbuilder
