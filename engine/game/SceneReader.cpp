#include "game/SceneReader.h"

#include "xml/Document.h"
#include "xml/Element.h"
#include "xml/Iterator.h"

#include <memory>

namespace game {

SceneDescription SceneReader::Read(xml::Document& document) {
    SceneDescription scene;
    if (std::unique_ptr<xml::Iterator> it{xml::Iterator::Find(document, "environment")}) {
        scene.hasEnvironment = true;
        if (const xml::Element* skyBox = it->GetChild("skyBox"))
            scene.skyBox = ReadSky(skyBox, false);
        if (const xml::Element* skyDome = it->GetChild("skyDome"))
            scene.skyDome = ReadSky(skyDome, true);
        if (const xml::Element* ambient = it->GetChild("colourAmbient")) {
            scene.hasAmbient = true;
            scene.ambient = ParseColor(ambient);
        }
    }
    if (std::unique_ptr<xml::Iterator> it{xml::Iterator::Find(document, "light")}) {
        scene.hasLight = true;
        ReadLight(it->current(), scene.light);
    }
    if (std::unique_ptr<xml::Iterator> it{xml::Iterator::Find(document, "nodes")}) {
        // Every child element is a node, whatever its name; nodes do not nest.
        if (it->goToFirstChild()) {
            do
                scene.nodes.push_back(ReadNode(it->current()));
            while (it->NextSibling());
        }
    }
    if (std::unique_ptr<xml::Iterator> it{xml::Iterator::Find(document, "terrain")}) {
        scene.hasTerrain = true;
        SceneDescription::Terrain& terrain = scene.terrain;
        terrain.worldSize = it->GetAttibuteFloat("worldSize", 0.0f);
        terrain.mapSize = it->GetAttibuteInt("mapSize", 0);
        // "colourmapEnabled" and "colourMapTextureSize" are part of the format but unused.
        terrain.compositeMapDistance = it->GetAttibuteInt("tuningCompositeMapDistance", 0);
        terrain.maxPixelError = it->GetAttibuteInt("tuningMaxPixelError", 0);
        // The pages sit in a container: the terrain's first child element, whatever its name.
        if (it->goToFirstChild()) {
            if (const xml::Element* page = it->current()->GetChild("terrainPage"))
                ReadTerrainPages(page, terrain);
        }
    }
    return scene;
}

SceneDescription::Sky SceneReader::ReadSky(const xml::Element* element, bool dome) {
    SceneDescription::Sky sky;
    sky.present = true;
    sky.material = element->GetAttribute("material");
    if (dome) {
        sky.curvature = element->GetAttributeFloat("curvature", 10.0f);
        sky.tiling = element->GetAttributeFloat("tiling", 8.0f);
    }
    sky.distance = element->GetAttributeFloat("distance", 3000.0f);
    sky.drawFirst = element->GetAttributeBool("drawFirst", true);
    sky.active = element->GetAttributeBool("active", false);
    if (const xml::Element* rotation = element->GetChild("rotation"))
        sky.orientation = ParseQuaternion(rotation);
    return sky;
}

void SceneReader::ReadLight(const xml::Element* element, SceneDescription::Light& light) {
    light.name = element->GetAttribute("name");
    light.type = element->GetAttribute("type");
    light.castShadows = element->GetAttributeBool("castShadows", true);
    light.visible = element->GetAttributeBool("visible", true);
    if (const xml::Element* position = element->GetChild("position")) {
        light.hasPosition = true;
        light.position = ParseVector3(position);
    }
    for (const char* directionName : {"normal", "directionVector"}) {
        if (const xml::Element* direction = element->GetChild(directionName))
            light.directions.push_back(ParseVector3(direction));
    }
    if (const xml::Element* diffuse = element->GetChild("colourDiffuse")) {
        light.hasDiffuse = true;
        light.diffuse = ParseColor(diffuse);
    }
    if (const xml::Element* specular = element->GetChild("colourSpecular")) {
        light.hasSpecular = true;
        light.specular = ParseColor(specular);
    }
    if (const xml::Element* attenuation = element->GetChild("lightAttenuation")) {
        light.hasAttenuation = true;
        light.attenuationRange = attenuation->GetAttributeFloat("range", 0.0f);
        light.attenuationConstant = attenuation->GetAttributeFloat("constant", 0.0f);
        light.attenuationLinear = attenuation->GetAttributeFloat("linear", 0.0f);
        light.attenuationQuadratic = attenuation->GetAttributeFloat("quadratic", 0.0f);
    }
    if (const xml::Element* range = element->GetChild("lightRange")) {
        light.hasSpotRange = true;
        light.spotInner = range->GetAttributeFloat("inner", 0.0f);
        light.spotOuter = range->GetAttributeFloat("outer", 0.0f);
        light.spotFalloff = range->GetAttributeFloat("falloff", 1.0f);
    }
}

SceneDescription::Node SceneReader::ReadNode(const xml::Element* element) {
    SceneDescription::Node node;
    node.name = element->GetAttribute("name");
    if (const xml::Element* position = element->GetChild("position")) {
        node.hasPosition = true;
        node.position = ParseVector3(position);
    }
    if (const xml::Element* rotation = element->GetChild("rotation")) {
        node.hasRotation = true;
        node.rotation = ParseQuaternion(rotation);
    }
    if (const xml::Element* scale = element->GetChild("scale")) {
        node.hasScale = true;
        node.scale = ParseVector3(scale);
    }
    for (const xml::Element* current = element->GetChild("entity"); current; current = current->GetSibling("entity")) {
        SceneDescription::Entity entity;
        entity.name = current->GetAttribute("name");
        entity.meshFile = current->GetAttribute("meshFile");
        entity.castShadows = current->GetAttributeBool("castShadows", false);
        for (const xml::Element* sub = current->GetChild("subentity"); sub; sub = sub->GetSibling("subentity")) {
            SceneDescription::SubEntity subEntity;
            subEntity.materialName = sub->GetAttribute("materialName");
            subEntity.index = sub->GetAttributeInt("index", -1);
            entity.subEntities.push_back(subEntity);
        }
        node.entities.push_back(entity);
    }
    return node;
}

void SceneReader::ReadTerrainPages(const xml::Element* element, SceneDescription::Terrain& terrain) {
    for (const xml::Element* page = element; page; page = page->GetSibling("terrainPage")) {
        SceneDescription::TerrainPage entry;
        entry.name = page->GetAttribute("name");
        entry.x = page->GetAttributeInt("pageX", 0);
        entry.y = page->GetAttributeInt("pageY", 0);
        terrain.pages.push_back(entry);
    }
}

Ogre::Vector3 SceneReader::ParseVector3(const xml::Element* element) {
    return Ogre::Vector3(element->GetAttributeFloat("x", 0.0f), element->GetAttributeFloat("y", 0.0f),
                         element->GetAttributeFloat("z", 0.0f));
}

Ogre::Quaternion SceneReader::ParseQuaternion(const xml::Element* element) {
    return Ogre::Quaternion(element->GetAttributeFloat("qw", 0.0f), element->GetAttributeFloat("qx", 0.0f),
                            element->GetAttributeFloat("qy", 0.0f), element->GetAttributeFloat("qz", 0.0f));
}

Ogre::ColourValue SceneReader::ParseColor(const xml::Element* element) {
    return Ogre::ColourValue(element->GetAttributeFloat("r", 0.0f), element->GetAttributeFloat("g", 0.0f),
                             element->GetAttributeFloat("b", 0.0f), element->GetAttributeFloat("a", 1.0f));
}

} // namespace game
