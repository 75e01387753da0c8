#pragma once

#include "Model.h"

#include <map>
#include <string>

class TiXmlElement;

namespace worldbuilder {

/// Reads the model source (boxes, cylinders, prisms in sub-meshes, bones) and
/// builds the models, including the merged preview models.
class ModelLibrary {
 public:
  bool Load(const std::string& path);
  const std::map<std::string, Model>& models() const { return m_models; }
  const Model* Find(const std::string& name) const;

 private:
  void ReadModel(const TiXmlElement* e);
  void ReadShapes(const TiXmlElement* parent, Geometry& g, const Model& model, const Placement& at);
  void ReadPreview(const TiXmlElement* e);
  void Merge(Model& target, const Model& source, const Ogre::Matrix4& at, int variantIndex,
             const std::string& variantMaterial);

  std::map<std::string, Model> m_models;
  bool m_ok = true;
};

}  // namespace worldbuilder
