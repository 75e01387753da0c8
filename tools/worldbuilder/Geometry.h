#pragma once

#include <OGRE/Ogre.h>

#include <string>
#include <vector>

namespace worldbuilder {

struct Vertex {
  Ogre::Vector3 position;
  Ogre::Vector3 normal;
  Ogre::Vector2 uv;
  int bone = 0;
};

/// Where a primitive goes: a transform, the bone its vertices follow and how
/// many texture repeats one world unit gets.
struct Placement {
  Ogre::Matrix4 transform = Ogre::Matrix4::IDENTITY;
  int bone = 0;
  float uvScale = 0.25f;
  float uvScaleV = -1.0f;  // below zero: same as uvScale
  Ogre::Vector2 uvOffset = Ogre::Vector2::ZERO;
  bool mirrorX = false;
};

/// One sub-mesh under construction: triangles of one material.
class Geometry {
 public:
  explicit Geometry(const std::string& material = "") : m_material(material) {}

  const std::string& material() const { return m_material; }
  const std::vector<Vertex>& vertices() const { return m_vertices; }
  const std::vector<uint32_t>& indices() const { return m_indices; }
  bool empty() const { return m_indices.empty(); }

  /// A flat quad a-b-c-d, counter-clockwise seen from its front.
  void Quad(const Placement& at, const Ogre::Vector3& a, const Ogre::Vector3& b, const Ogre::Vector3& c,
            const Ogre::Vector3& d);
  void Triangle(const Placement& at, const Ogre::Vector3& a, const Ogre::Vector3& b, const Ogre::Vector3& c);
  void Box(const Placement& at, const Ogre::Vector3& lo, const Ogre::Vector3& hi);
  /// A frustum from a (radius ra) to b (radius rb) with flat caps.
  /// With boneB >= 0 the b end follows that bone, so the piece stretches when it moves.
  void Cylinder(const Placement& at, const Ogre::Vector3& a, const Ogre::Vector3& b, float ra, float rb,
                int segments, bool caps, int boneB = -1);
  /// An ellipsoid around c with radii r.
  void Ellipsoid(const Placement& at, const Ogre::Vector3& c, const Ogre::Vector3& r, int segments);
  /// A convex polygon (u, v) in the plane across axis, extruded from `from` to `to`.
  void Prism(const Placement& at, int axis, float from, float to, const std::vector<Ogre::Vector2>& polygon);
  /// A flat strip on the ground plane y = height along the polyline, `width` wide.
  void Strip(const Placement& at, const std::vector<Ogre::Vector2>& line, float width, float height);

  void Append(const Geometry& other, const Placement& at);

 private:
  uint32_t Add(const Placement& at, const Ogre::Vector3& p, const Ogre::Vector3& n, const Ogre::Vector2& uv);
  void Face(const Placement& at, const std::vector<Ogre::Vector3>& ring);

  std::string m_material;
  std::vector<Vertex> m_vertices;
  std::vector<uint32_t> m_indices;
};

}  // namespace worldbuilder
