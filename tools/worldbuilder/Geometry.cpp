#include "Geometry.h"

namespace worldbuilder {
namespace {

// Projects along the dominant axis of the normal; u runs to the viewer's
// right on every side face, so lettering reads correctly.
Ogre::Vector2 PlanarUv(const Ogre::Vector3& p, const Ogre::Vector3& n, const Placement& at) {
  float su = at.uvScale, sv = at.uvScaleV < 0 ? at.uvScale : at.uvScaleV;
  Ogre::Vector3 a(std::fabs(n.x), std::fabs(n.y), std::fabs(n.z));
  Ogre::Vector2 uv;
  if (a.y >= a.x && a.y >= a.z) {
    uv = Ogre::Vector2(p.x * su, p.z * sv);
  } else if (a.x >= a.z) {
    uv = Ogre::Vector2((n.x > 0 ? -p.z : p.z) * su, -p.y * sv);
  } else {
    uv = Ogre::Vector2((n.z > 0 ? p.x : -p.x) * su, -p.y * sv);
  }
  return uv + at.uvOffset;
}

}  // namespace

uint32_t Geometry::Add(const Placement& at, const Ogre::Vector3& p, const Ogre::Vector3& n,
                       const Ogre::Vector2& uv) {
  Vertex v;
  v.position = at.transform * p;
  v.normal = at.transform.linear() * n;
  if (at.mirrorX) {
    v.position.x = -v.position.x;
    v.normal.x = -v.normal.x;
  }
  v.normal.normalise();
  v.uv = uv;
  v.bone = at.bone;
  m_vertices.push_back(v);
  return uint32_t(m_vertices.size() - 1);
}

void Geometry::Face(const Placement& at, const std::vector<Ogre::Vector3>& ring) {
  if (ring.size() < 3) return;
  Ogre::Vector3 n = (ring[1] - ring[0]).crossProduct(ring[2] - ring[0]);
  if (n.squaredLength() < 1e-12f) {
    for (size_t i = 2; i + 1 < ring.size() && n.squaredLength() < 1e-12f; ++i)
      n = (ring[i] - ring[0]).crossProduct(ring[i + 1] - ring[0]);
  }
  n.normalise();
  std::vector<uint32_t> ids;
  Ogre::Vector3 wn = at.transform.linear() * n;
  for (const auto& p : ring) ids.push_back(Add(at, p, n, PlanarUv(at.transform * p, wn, at)));
  for (size_t i = 1; i + 1 < ids.size(); ++i) {
    if (at.mirrorX) {
      m_indices.insert(m_indices.end(), {ids[0], ids[i + 1], ids[i]});
    } else {
      m_indices.insert(m_indices.end(), {ids[0], ids[i], ids[i + 1]});
    }
  }
}

void Geometry::Quad(const Placement& at, const Ogre::Vector3& a, const Ogre::Vector3& b, const Ogre::Vector3& c,
                    const Ogre::Vector3& d) {
  Face(at, {a, b, c, d});
}

void Geometry::Triangle(const Placement& at, const Ogre::Vector3& a, const Ogre::Vector3& b,
                        const Ogre::Vector3& c) {
  Face(at, {a, b, c});
}

void Geometry::Box(const Placement& at, const Ogre::Vector3& l, const Ogre::Vector3& h) {
  Face(at, {{l.x, l.y, h.z}, {h.x, l.y, h.z}, {h.x, h.y, h.z}, {l.x, h.y, h.z}});  // +z
  Face(at, {{h.x, l.y, l.z}, {l.x, l.y, l.z}, {l.x, h.y, l.z}, {h.x, h.y, l.z}});  // -z
  Face(at, {{h.x, l.y, h.z}, {h.x, l.y, l.z}, {h.x, h.y, l.z}, {h.x, h.y, h.z}});  // +x
  Face(at, {{l.x, l.y, l.z}, {l.x, l.y, h.z}, {l.x, h.y, h.z}, {l.x, h.y, l.z}});  // -x
  Face(at, {{l.x, h.y, h.z}, {h.x, h.y, h.z}, {h.x, h.y, l.z}, {l.x, h.y, l.z}});  // +y
  Face(at, {{l.x, l.y, l.z}, {h.x, l.y, l.z}, {h.x, l.y, h.z}, {l.x, l.y, h.z}});  // -y
}

void Geometry::Cylinder(const Placement& at, const Ogre::Vector3& a, const Ogre::Vector3& b, float ra, float rb,
                        int segments, bool caps, int boneB) {
  Placement atB = at;
  if (boneB >= 0) atB.bone = boneB;
  Ogre::Vector3 axis = b - a;
  float length = axis.normalise();
  if (length <= 0) return;
  Ogre::Vector3 u = axis.perpendicular();
  Ogre::Vector3 v = axis.crossProduct(u);
  float slope = (ra - rb) / length;
  std::vector<uint32_t> ring0, ring1;
  for (int i = 0; i <= segments; ++i) {
    float t = Ogre::Math::TWO_PI * float(i) / float(segments);
    Ogre::Vector3 dir = u * std::cos(t) + v * std::sin(t);
    Ogre::Vector3 n = (dir + axis * slope).normalisedCopy();
    float s = float(i) / float(segments) * (ra + rb) * Ogre::Math::PI * at.uvScale;
    ring0.push_back(Add(at, a + dir * ra, n, Ogre::Vector2(s, 0)));
    ring1.push_back(Add(atB, b + dir * rb, n, Ogre::Vector2(s, length * at.uvScale)));
  }
  for (int i = 0; i < segments; ++i) {
    uint32_t p0 = ring0[i], p1 = ring0[i + 1], q0 = ring1[i], q1 = ring1[i + 1];
    if (at.mirrorX) {
      m_indices.insert(m_indices.end(), {p0, q1, p1, p0, q0, q1});
    } else {
      m_indices.insert(m_indices.end(), {p0, p1, q1, p0, q1, q0});
    }
  }
  if (!caps) return;
  std::vector<Ogre::Vector3> capA, capB;
  for (int i = 0; i < segments; ++i) {
    float t = Ogre::Math::TWO_PI * float(i) / float(segments);
    Ogre::Vector3 dir = u * std::cos(t) + v * std::sin(t);
    capB.push_back(b + dir * rb);
    capA.insert(capA.begin(), a + dir * ra);
  }
  if (rb > 0) Face(atB, capB);
  if (ra > 0) Face(at, capA);
}

void Geometry::Ellipsoid(const Placement& at, const Ogre::Vector3& c, const Ogre::Vector3& r, int segments) {
  int rings = std::max(3, segments / 2);
  std::vector<std::vector<uint32_t>> grid;
  for (int j = 0; j <= rings; ++j) {
    float phi = Ogre::Math::PI * float(j) / float(rings);
    std::vector<uint32_t> row;
    for (int i = 0; i <= segments; ++i) {
      float t = Ogre::Math::TWO_PI * float(i) / float(segments);
      Ogre::Vector3 unit(std::sin(phi) * std::cos(t), std::cos(phi), std::sin(phi) * std::sin(t));
      Ogre::Vector3 p = c + unit * r;
      Ogre::Vector3 n(unit.x / r.x, unit.y / r.y, unit.z / r.z);
      row.push_back(Add(at, p, n.normalisedCopy(), Ogre::Vector2(float(i) / segments, float(j) / rings)));
    }
    grid.push_back(row);
  }
  for (int j = 0; j < rings; ++j) {
    for (int i = 0; i < segments; ++i) {
      uint32_t a = grid[j][i], b = grid[j][i + 1], d = grid[j + 1][i], e = grid[j + 1][i + 1];
      if (at.mirrorX) {
        m_indices.insert(m_indices.end(), {a, d, b, b, d, e});
      } else {
        m_indices.insert(m_indices.end(), {a, b, d, b, e, d});
      }
    }
  }
}

void Geometry::Prism(const Placement& at, int axis, float from, float to, const std::vector<Ogre::Vector2>& poly) {
  // Axis order keeps (u, v, axis) right-handed: x -> (y, z), y -> (z, x), z -> (x, y).
  auto point = [axis](const Ogre::Vector2& p, float w) {
    if (axis == 0) return Ogre::Vector3(w, p.x, p.y);
    if (axis == 1) return Ogre::Vector3(p.y, w, p.x);
    return Ogre::Vector3(p.x, p.y, w);
  };
  // Make the polygon counter-clockwise in (u, v).
  float area = 0;
  for (size_t i = 0; i < poly.size(); ++i) area += poly[i].crossProduct(poly[(i + 1) % poly.size()]);
  std::vector<Ogre::Vector2> ring = poly;
  if (area < 0) std::reverse(ring.begin(), ring.end());
  std::vector<Ogre::Vector3> top, bottom;
  for (const auto& p : ring) {
    top.push_back(point(p, to));
    bottom.insert(bottom.begin(), point(p, from));
  }
  Face(at, top);
  Face(at, bottom);
  for (size_t i = 0; i < ring.size(); ++i) {
    const auto& p = ring[i];
    const auto& q = ring[(i + 1) % ring.size()];
    Face(at, {point(p, from), point(q, from), point(q, to), point(p, to)});
  }
}

void Geometry::Strip(const Placement& at, const std::vector<Ogre::Vector2>& line, float width, float height) {
  for (size_t i = 0; i + 1 < line.size(); ++i) {
    Ogre::Vector2 a = line[i], b = line[i + 1];
    Ogre::Vector2 d = b - a;
    if (d.length() < 1e-4f) continue;
    d.normalise();
    Ogre::Vector2 side(-d.y, d.x);
    side *= width * 0.5f;
    // Extend each piece by half a width so joints have no gaps.
    Ogre::Vector2 a2 = a - d * (i == 0 ? 0 : width * 0.5f);
    Ogre::Vector2 b2 = b + d * (i + 2 == line.size() ? 0 : width * 0.5f);
    Ogre::Vector3 p0(a2.x + side.x, height, a2.y + side.y), p1(a2.x - side.x, height, a2.y - side.y);
    Ogre::Vector3 p2(b2.x - side.x, height, b2.y - side.y), p3(b2.x + side.x, height, b2.y + side.y);
    Ogre::Vector3 n = (p1 - p0).crossProduct(p2 - p0);
    if (n.y > 0) {
      Face(at, {p0, p1, p2, p3});
    } else {
      Face(at, {p3, p2, p1, p0});
    }
  }
}

void Geometry::Append(const Geometry& other, const Placement& at) {
  uint32_t base = uint32_t(m_vertices.size());
  for (Vertex v : other.m_vertices) {
    v.position = at.transform * v.position;
    v.normal = (at.transform.linear() * v.normal).normalisedCopy();
    v.bone = at.bone;
    m_vertices.push_back(v);
  }
  for (uint32_t i : other.m_indices) m_indices.push_back(base + i);
}

}  // namespace worldbuilder
