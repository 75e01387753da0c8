#pragma once

#include "Geometry.h"

#include <map>
#include <string>
#include <vector>

namespace worldbuilder {

struct BoneDef {
  std::string name;
  std::string parent;
  Ogre::Vector3 position = Ogre::Vector3::ZERO;
  Ogre::Quaternion orientation = Ogre::Quaternion::IDENTITY;
  Ogre::Vector3 scale = Ogre::Vector3::UNIT_SCALE;
};

/// A mesh in the making: its sub-meshes in index order, its bones and bounds.
class Model {
 public:
  explicit Model(const std::string& name = "") : m_name(name) {}

  const std::string& name() const { return m_name; }
  std::vector<Geometry>& subMeshes() { return m_subMeshes; }
  const std::vector<Geometry>& subMeshes() const { return m_subMeshes; }
  std::vector<BoneDef>& bones() { return m_bones; }
  const std::vector<BoneDef>& bones() const { return m_bones; }
  bool hasSkeleton() const { return !m_bones.empty(); }
  std::string skeletonName() const;

  int BoneIndex(const std::string& bone) const;
  const BoneDef* FindBone(const std::string& bone) const;
  /// The bone's position in model space (parents applied).
  Ogre::Vector3 BoneModelPosition(const std::string& bone) const;

  void SetBounds(const Ogre::AxisAlignedBox& box) { m_bounds = box; m_explicitBounds = true; }
  Ogre::AxisAlignedBox Bounds() const;

 private:
  std::string m_name;
  std::vector<Geometry> m_subMeshes;
  std::vector<BoneDef> m_bones;
  Ogre::AxisAlignedBox m_bounds;
  bool m_explicitBounds = false;
};

/// Writes models as Ogre meshes (and skeletons) through Ogre's serializers.
class MeshWriter {
 public:
  /// Writes <dir>/<name> and, with bones, the skeleton next to it. Returns the written file names.
  static std::vector<std::string> Write(const Model& model, const std::string& dir);
};

}  // namespace worldbuilder
