#pragma once

#include "base/Export.h"
#include "game/SceneDescription.h"

namespace xml {
class Document;
class Element;
} // namespace xml

namespace game {

// Reads a loaded scene document into a SceneDescription, building nothing:
// "environment", "light", "nodes" and "terrain" are the first of their name
// anywhere below the root, everything else is looked up below them. Missing
// attributes take the format's defaults, missing optional elements are left
// out; nothing is reported, so any document reads.
class DW_API SceneReader {
public:
    static SceneDescription Read(xml::Document& document);

    static Ogre::Vector3 ParseVector3(const xml::Element* element);
    static Ogre::Quaternion ParseQuaternion(const xml::Element* element);
    static Ogre::ColourValue ParseColor(const xml::Element* element);

private:
    static SceneDescription::Sky ReadSky(const xml::Element* element, bool dome);
    static void ReadLight(const xml::Element* element, SceneDescription::Light& light);
    static SceneDescription::Node ReadNode(const xml::Element* element);
    static void ReadTerrainPages(const xml::Element* element, SceneDescription::Terrain& terrain);
};

} // namespace game
