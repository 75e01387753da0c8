#include "Model.h"

#include <cstdio>

namespace worldbuilder {

std::string Model::skeletonName() const {
  std::string base = m_name;
  size_t dot = base.rfind(".mesh");
  if (dot != std::string::npos) base = base.substr(0, dot);
  return base + ".skeleton";
}

int Model::BoneIndex(const std::string& bone) const {
  for (size_t i = 0; i < m_bones.size(); ++i)
    if (m_bones[i].name == bone) return int(i);
  return -1;
}

const BoneDef* Model::FindBone(const std::string& bone) const {
  int i = BoneIndex(bone);
  return i < 0 ? nullptr : &m_bones[size_t(i)];
}

Ogre::Vector3 Model::BoneModelPosition(const std::string& bone) const {
  const BoneDef* b = FindBone(bone);
  if (!b) return Ogre::Vector3::ZERO;
  if (b->parent.empty()) return b->position;
  const BoneDef* p = FindBone(b->parent);
  if (!p) return b->position;
  return BoneModelPosition(p->name) + p->orientation * (p->scale * b->position);
}

Ogre::AxisAlignedBox Model::Bounds() const {
  if (m_explicitBounds) return m_bounds;
  Ogre::AxisAlignedBox box;
  for (const auto& g : m_subMeshes)
    for (const auto& v : g.vertices()) box.merge(v.position);
  return box;
}

std::vector<std::string> MeshWriter::Write(const Model& model, const std::string& dir) {
  std::vector<std::string> files;
  Ogre::SkeletonPtr skeleton;
  if (model.hasSkeleton()) {
    auto& mgr = Ogre::SkeletonManager::getSingleton();
    if (mgr.resourceExists(model.skeletonName())) mgr.remove(model.skeletonName());
    skeleton = Ogre::static_pointer_cast<Ogre::Skeleton>(
        mgr.create(model.skeletonName(), Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME, true));
    const auto& defs = model.bones();
    for (size_t i = 0; i < defs.size(); ++i) {
      Ogre::Bone* bone = skeleton->createBone(defs[i].name, Ogre::ushort(i));
      bone->setPosition(defs[i].position);
      bone->setOrientation(defs[i].orientation);
      bone->setScale(defs[i].scale);
    }
    for (const auto& def : defs) {
      if (def.parent.empty()) continue;
      skeleton->getBone(def.parent)->addChild(skeleton->getBone(def.name));
    }
    skeleton->setBindingPose();
    Ogre::SkeletonSerializer().exportSkeleton(skeleton.get(), dir + "/" + model.skeletonName());
    files.push_back(model.skeletonName());
  }

  // Sub-meshes keep their material name only when the material exists.
  for (const auto& g : model.subMeshes()) {
    auto& materials = Ogre::MaterialManager::getSingleton();
    if (!materials.resourceExists(g.material(), Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME))
      materials.create(g.material(), Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
  }
  auto& meshes = Ogre::MeshManager::getSingleton();
  if (meshes.resourceExists(model.name())) meshes.remove(model.name());
  Ogre::MeshPtr mesh = meshes.createManual(model.name(), Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
  for (const auto& g : model.subMeshes()) {
    Ogre::SubMesh* sub = mesh->createSubMesh();
    sub->setMaterialName(g.material());
    sub->useSharedVertices = false;
    sub->vertexData = new Ogre::VertexData();
    sub->vertexData->vertexCount = g.vertices().size();
    Ogre::VertexDeclaration* decl = sub->vertexData->vertexDeclaration;
    // Skinned meshes keep their texture coordinates in a buffer of their own:
    // the rendering engine blends positions and normals into a copy of their
    // buffer, and anything else in it would be left undefined.
    const unsigned short uvSource = skeleton ? 1 : 0;
    size_t offset = 0;
    offset += decl->addElement(0, offset, Ogre::VET_FLOAT3, Ogre::VES_POSITION).getSize();
    offset += decl->addElement(0, offset, Ogre::VET_FLOAT3, Ogre::VES_NORMAL).getSize();
    size_t uvOffset = uvSource == 0 ? offset : 0;
    size_t uvEnd = uvOffset + decl->addElement(uvSource, uvOffset, Ogre::VET_FLOAT2, Ogre::VES_TEXTURE_COORDINATES, 0)
                                  .getSize();
    if (uvSource == 0) offset = uvEnd;
    std::vector<float> data, uvs;
    data.reserve(g.vertices().size() * 8);
    for (const auto& v : g.vertices()) {
      data.insert(data.end(), {v.position.x, v.position.y, v.position.z, v.normal.x, v.normal.y, v.normal.z});
      (uvSource == 0 ? data : uvs).insert((uvSource == 0 ? data : uvs).end(), {v.uv.x, v.uv.y});
    }
    auto& buffers = Ogre::HardwareBufferManager::getSingleton();
    auto vbuf = buffers.createVertexBuffer(offset, g.vertices().size(), Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
    vbuf->writeData(0, data.size() * sizeof(float), data.data(), true);
    sub->vertexData->vertexBufferBinding->setBinding(0, vbuf);
    if (uvSource != 0) {
      auto uvbuf = buffers.createVertexBuffer(uvEnd, g.vertices().size(), Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
      uvbuf->writeData(0, uvs.size() * sizeof(float), uvs.data(), true);
      sub->vertexData->vertexBufferBinding->setBinding(uvSource, uvbuf);
    }

    bool wide = g.vertices().size() > 65535;
    auto ibuf = Ogre::HardwareBufferManager::getSingleton().createIndexBuffer(
        wide ? Ogre::HardwareIndexBuffer::IT_32BIT : Ogre::HardwareIndexBuffer::IT_16BIT, g.indices().size(),
        Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
    if (wide) {
      ibuf->writeData(0, g.indices().size() * 4, g.indices().data(), true);
    } else {
      std::vector<uint16_t> small(g.indices().begin(), g.indices().end());
      ibuf->writeData(0, small.size() * 2, small.data(), true);
    }
    sub->indexData->indexBuffer = ibuf;
    sub->indexData->indexCount = g.indices().size();
    sub->indexData->indexStart = 0;

    if (skeleton) {
      for (size_t i = 0; i < g.vertices().size(); ++i) {
        Ogre::VertexBoneAssignment vba;
        vba.vertexIndex = unsigned(i);
        vba.boneIndex = Ogre::ushort(g.vertices()[i].bone);
        vba.weight = 1.0f;
        sub->addBoneAssignment(vba);
      }
    }
  }
  Ogre::AxisAlignedBox box = model.Bounds();
  mesh->_setBounds(box, false);
  mesh->_setBoundingSphereRadius(Ogre::Math::boundingRadiusFromAABB(box));
  if (skeleton) mesh->_notifySkeleton(skeleton);
  mesh->load();
  Ogre::MeshSerializer().exportMesh(mesh.get(), dir + "/" + model.name());
  files.push_back(model.name());
  meshes.remove(mesh);
  return files;
}

}  // namespace worldbuilder
