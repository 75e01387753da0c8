#pragma once

// A rendering-engine root without a render system: enough for scene nodes,
// entities of meshes built in memory and materials, so that physics and scene
// code can be tested without a window.

#include <OGRE/Ogre.h>
#include <OGRE/OgreDefaultHardwareBufferManager.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kbtest {

class HeadlessOgre {
public:
    HeadlessOgre() {
        if (Ogre::Root::getSingletonPtr()) {
            // Someone else's root; leave it as it is.
            m_root = Ogre::Root::getSingletonPtr();
            return;
        }
        m_log = new Ogre::LogManager();
        m_log->createLog("headless.log", true, false, true);
        m_root = new Ogre::Root("", "", "");
        m_ownsRoot = true;
        m_buffers = new Ogre::DefaultHardwareBufferManager();
        Ogre::MaterialManager::getSingleton().initialise();
    }
    ~HeadlessOgre() {
        if (!m_ownsRoot)
            return;
        delete m_root;
        delete m_buffers;
        delete m_log;
    }

    Ogre::SceneManager* createSceneManager() { return m_root->createSceneManager(); }
    void destroySceneManager(Ogre::SceneManager* manager) { m_root->destroySceneManager(manager); }

    // A closed box mesh centred on the origin; built once per name.
    static Ogre::MeshPtr boxMesh(const std::string& name, const Ogre::Vector3& half) {
        if (Ogre::MeshManager::getSingleton().resourceExists(name))
            return Ogre::MeshManager::getSingleton().getByName(name);
        std::vector<float> positions;
        for (int i = 0; i < 8; ++i) {
            positions.push_back((i & 1) ? half.x : -half.x);
            positions.push_back((i & 2) ? half.y : -half.y);
            positions.push_back((i & 4) ? half.z : -half.z);
        }
        const std::vector<Ogre::uint16> indices = {0, 2, 1, 1, 2, 3, 4, 5, 6, 5, 7, 6, 0, 1, 4, 1, 5, 4,
                                                   2, 6, 3, 3, 6, 7, 0, 4, 2, 2, 4, 6, 1, 3, 5, 3, 7, 5};
        return buildMesh(name, positions, indices, half, false);
    }

    // A mesh from raw triangles, optionally through shared vertex data.
    static Ogre::MeshPtr buildMesh(const std::string& name, const std::vector<float>& positions,
                                   const std::vector<Ogre::uint16>& indices, const Ogre::Vector3& half,
                                   bool shared) {
        Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().createManual(
            name, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
        Ogre::SubMesh* sub = mesh->createSubMesh();
        Ogre::VertexData* data = new Ogre::VertexData();
        data->vertexCount = positions.size() / 3;
        data->vertexDeclaration->addElement(0, 0, Ogre::VET_FLOAT3, Ogre::VES_POSITION);
        Ogre::HardwareVertexBufferSharedPtr vb = Ogre::HardwareBufferManager::getSingleton().createVertexBuffer(
            3 * sizeof(float), data->vertexCount, Ogre::HardwareBuffer::HBU_STATIC);
        vb->writeData(0, vb->getSizeInBytes(), positions.data(), true);
        data->vertexBufferBinding->setBinding(0, vb);
        if (shared) {
            mesh->sharedVertexData = data;
            sub->useSharedVertices = true;
        } else {
            sub->vertexData = data;
            sub->useSharedVertices = false;
        }
        Ogre::HardwareIndexBufferSharedPtr ib = Ogre::HardwareBufferManager::getSingleton().createIndexBuffer(
            Ogre::HardwareIndexBuffer::IT_16BIT, indices.size(), Ogre::HardwareBuffer::HBU_STATIC);
        ib->writeData(0, ib->getSizeInBytes(), indices.data(), true);
        sub->indexData->indexBuffer = ib;
        sub->indexData->indexCount = indices.size();
        sub->indexData->indexStart = 0;
        sub->setMaterialName("BaseWhite");
        mesh->_setBounds(Ogre::AxisAlignedBox(-half, half));
        mesh->_setBoundingSphereRadius(half.length());
        mesh->load();
        return mesh;
    }

private:
    Ogre::LogManager* m_log = nullptr;
    Ogre::Root* m_root = nullptr;
    Ogre::DefaultHardwareBufferManager* m_buffers = nullptr;
    bool m_ownsRoot = false;
};

// One root for a whole test suite, a fresh scene manager per test.
class OgreTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_ogre = new HeadlessOgre(); }
    static void TearDownTestSuite() {
        delete s_ogre;
        s_ogre = nullptr;
    }
    void SetUp() override { m_scene = s_ogre->createSceneManager(); }
    void TearDown() override { s_ogre->destroySceneManager(m_scene); }

    static inline HeadlessOgre* s_ogre = nullptr;
    Ogre::SceneManager* m_scene = nullptr;
};

} // namespace kbtest
