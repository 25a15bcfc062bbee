#pragma once
// Meshes from the text form of the X file format: the vertices, the faces
// split into triangles, the material colours, and normals (computed when the
// file has none). Every mesh of a file, placed by its frames' matrices, goes
// into one. The binary and compressed forms are refused.
#include <string>
#include <vector>

#include "engine/media/resource_records.h"
#include "engine/platform/media_result.h"

// RESULT_INVALID_DATA for a missing, binary, compressed or malformed file.
HResult ReadXFile(const std::string& path, MeshData& mesh, std::vector<MeshMaterial>& materials);

// Groups the triangles by material, one index list per material. Fails when a
// triangle names a material that the mesh does not have.
HResult BuildMeshStrips(MeshRecord& record);
