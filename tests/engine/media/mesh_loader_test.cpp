#include "engine/media/mesh_loader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/media/resource_manager.h"
#include "resource_test_support.h"

namespace {

using namespace resource_test;

// A quad and a triangle inside a frame that moves them 10 along x; the quad
// has an inline material, the triangle one declared at the top and referred
// to by name. No normals.
const char* const FRAMED_X = R"(xof 0303txt 0032
// a comment
template Mesh {
 <3D82AB44-62DA-11cf-AB39-0020AF71E433>
 DWORD nVertices;
 array Vector vertices[nVertices];
 [...]
}
Material Shiny {
 0.0;0.0;1.0;0.5;;
 16.0;
 1.0;1.0;1.0;;
 0.1;0.2;0.3;;
 TextureFilename { "shiny.png"; }
}
Frame Root {
 FrameTransformMatrix {
  1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0, 10.0,0.0,0.0,1.0;;
 }
 Mesh Body {
  4;
  0.0;0.0;0.0;,
  0.0;1.0;0.0;,
  1.0;1.0;0.0;,
  1.0;0.0;0.0;;
  2;
  4;0,1,2,3;,
  3;0,2,1;;
  MeshTextureCoords { 4; 0.0;0.0;, 0.0;1.0;, 1.0;1.0;, 1.0;0.0;; }
  MeshMaterialList {
   2;
   2;
   0,
   1;;
   Material { 1.0;0.5;0.25;1.0;; 8.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; }
   { Shiny }
  }
 }
}
)";

const char* const NORMALS_X = R"(xof 0303txt 0032
Mesh {
 4;
 0.0;0.0;0.0;, 0.0;1.0;0.0;, 1.0;1.0;0.0;, 1.0;0.0;0.0;;
 2;
 3;0,1,2;,
 3;0,2,3;;
 MeshNormals {
  2;
  0.0;0.0;-2.0;,
  0.0;1.0;0.0;;
  2;
  3;0,0,0;,
  3;0,1,1;;
 }
}
)";

class MeshLoaderTest : public ScratchFolderTest {};

TEST_F(MeshLoaderTest, TextFilesGiveTrianglesMaterialsAndNormals) {
    WriteFile("framed.x", FRAMED_X);
    MeshData mesh;
    std::vector<MeshMaterial> materials;
    ASSERT_EQ(ReadXFile("framed.x", mesh, materials), RESULT_OK);

    ASSERT_EQ(mesh.vertices.size(), 4u);
    EXPECT_FLOAT_EQ(mesh.vertices[0].x, 10.0f);
    EXPECT_FLOAT_EQ(mesh.vertices[2].x, 11.0f);
    EXPECT_FLOAT_EQ(mesh.vertices[2].y, 1.0f);
    EXPECT_FLOAT_EQ(mesh.vertices[1].v, 1.0f);
    // The quad becomes a fan of two triangles.
    EXPECT_EQ(mesh.indices, (std::vector<std::uint32_t>{0, 1, 2, 0, 2, 3, 0, 2, 1}));
    EXPECT_EQ(mesh.attributes, (std::vector<std::uint32_t>{0, 0, 1}));
    // Computed normals, the corners taken clockwise: corner 3 lies only on the
    // quad, which faces -z; corner 1 lies on the quad and on the reversed
    // triangle, whose normals cancel out.
    EXPECT_FLOAT_EQ(mesh.vertices[3].nz, -1.0f);
    EXPECT_FLOAT_EQ(mesh.vertices[1].nz, 0.0f);

    ASSERT_EQ(materials.size(), 2u);
    EXPECT_FLOAT_EQ(materials[0].diffuse[1], 0.5f);
    EXPECT_FLOAT_EQ(materials[0].ambient[2], 0.25f);
    EXPECT_FLOAT_EQ(materials[0].power, 8.0f);
    EXPECT_FLOAT_EQ(materials[1].diffuse[2], 1.0f);
    EXPECT_FLOAT_EQ(materials[1].ambient[3], 0.5f);
    EXPECT_FLOAT_EQ(materials[1].emissive[2], 0.3f);
    EXPECT_EQ(materials[1].textureFile, "shiny.png");

    MeshRecord record;
    record.mesh = mesh;
    record.materials = materials;
    ASSERT_EQ(BuildMeshStrips(record), RESULT_OK);
    ASSERT_EQ(record.strips.size(), 2u);
    EXPECT_EQ(record.strips[0].indices.size(), 6u);
    EXPECT_EQ(record.strips[1].indices, (std::vector<std::uint32_t>{0, 2, 1}));
    record.mesh.attributes[0] = 5;
    EXPECT_EQ(BuildMeshStrips(record), RESULT_FAIL);
}

TEST_F(MeshLoaderTest, GivenNormalsSplitTheCornersThatDiffer) {
    WriteFile("normals.x", NORMALS_X);
    MeshData mesh;
    std::vector<MeshMaterial> materials;
    ASSERT_EQ(ReadXFile("normals.x", mesh, materials), RESULT_OK);
    // Corner 2 carries another normal in the second triangle, and so does
    // corner 3, which only that triangle uses.
    ASSERT_EQ(mesh.vertices.size(), 5u);
    EXPECT_FLOAT_EQ(mesh.vertices[0].nz, -1.0f);  // normalised
    EXPECT_FLOAT_EQ(mesh.vertices[3].ny, 1.0f);
    EXPECT_EQ(mesh.indices, (std::vector<std::uint32_t>{0, 1, 2, 0, 3, 4}));
    EXPECT_TRUE(materials.empty());
}

TEST_F(MeshLoaderTest, FilesThatAreNotReadable) {
    const std::string quad = "Mesh { 3; 0;0;0;, 0;1;0;, 1;0;0;; 1; 3;0,1,2;; }\n";
    struct Case {
        const char* name;
        std::string content;
    };
    const std::vector<Case> cases = {
        {"binary", "xof 0303bin 0032" + std::string(64, '\x01')},
        {"compressed", "xof 0303tzip0032" + std::string(64, '\x01')},
        {"empty", ""},
        {"no header", quad},
        {"no mesh", "xof 0303txt 0032\nHeader { 1; 0; 1; }\n"},
        {"open brace", "xof 0303txt 0032\n" + quad.substr(0, quad.size() - 3)},
        {"index out of range",
         "xof 0303txt 0032\nMesh { 3; 0;0;0;, 0;1;0;, 1;0;0;; 1; 3;0,1,3;; }"},
        {"short vertex list", "xof 0303txt 0032\nMesh { 3; 0;0;0;, 0;1;0;; 1; 3;0,1,2;; }"},
        {"material beyond the list",
         "xof 0303txt 0032\nMesh { 3; 0;0;0;, 0;1;0;, 1;0;0;; 1; 3;0,1,2;;"
         " MeshMaterialList { 1; 1; 1;; Material { 1;1;1;1;; 1; 0;0;0;; 0;0;0;; } } }"},
        {"unknown material",
         "xof 0303txt 0032\nMesh { 3; 0;0;0;, 0;1;0;, 1;0;0;; 1; 3;0,1,2;;"
         " MeshMaterialList { 1; 1; 0;; { Nowhere } } }"},
    };
    for (const Case& c : cases) {
        WriteFile("bad.x", c.content);
        MeshData mesh;
        std::vector<MeshMaterial> materials;
        EXPECT_EQ(ReadXFile("bad.x", mesh, materials), RESULT_INVALID_DATA) << c.name;
        EXPECT_TRUE(mesh.vertices.empty()) << c.name;
    }
    MeshData mesh;
    std::vector<MeshMaterial> materials;
    // Only a regular file is read: a pipe would block and a device never end.
    ASSERT_EQ(::mkfifo("pipe.x", 0600), 0);
    for (const char* path : {"missing.x", "pipe.x", "/dev/zero", "."}) {
        EXPECT_EQ(ReadXFile(path, mesh, materials), RESULT_INVALID_DATA) << path;
    }
    WriteFile("good.x", "xof 0303txt 0032\n" + quad);
    EXPECT_EQ(ReadXFile("good.x", mesh, materials), RESULT_OK);
}

TEST_F(MeshLoaderTest, ABadMeshEndsTheMeshStage) {
    WriteIndex(R"(<Resources>
<Mesh id="GOOD" path="framed.x"/>
<Mesh id="BAD" path="binary.x"/>
<Mesh id="LATER" path="framed.x"/>
</Resources>)");
    WriteFile("framed.x", FRAMED_X);
    WriteFile("binary.x", "xof 0303bin 0032" + std::string(64, '\0'));
    CResourceManager manager;
    ASSERT_TRUE(manager.ReadIndex());
    CRecordingDevice device(Device());
    manager.CountByGroup(COVERAGE_MAIN);
    EXPECT_EQ(manager.LoadMeshes(&device), RESULT_OK);
    EXPECT_TRUE(manager.Meshes()[0].loaded);
    EXPECT_EQ(manager.Meshes()[0].strips.size(), 2u);
    EXPECT_FALSE(manager.Meshes()[1].loaded);
    EXPECT_FALSE(manager.Meshes()[2].loaded);
    EXPECT_TRUE(manager.Meshes()[2].mesh.vertices.empty());
    const std::vector<std::string> texts = LogTexts();
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(
        std::vector<std::string>(texts.end() - 3, texts.end()),
        (std::vector<std::string>{"Loading mesh: (framed.x) complete",
                                  "Loading mesh: (binary.x) failed", "Load is completed (1)"}));
    EXPECT_EQ(manager.GetProgressLoaded(), 1);
    EXPECT_EQ(device.presents, 1);
    manager.Release();
}

}  // namespace
