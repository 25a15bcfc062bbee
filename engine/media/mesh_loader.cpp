// Reading X files (text form) and the mesh stage of the loaders.
#include "engine/media/mesh_loader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <utility>

#include "engine/media/resource_manager.h"
#include "engine/platform/html_log.h"
#include "engine/platform/regular_file.h"

namespace {

enum class TokenType { Name, Number, String, Guid, OpenBrace, CloseBrace, Other };

struct Token {
    TokenType type = TokenType::Other;
    std::string text;
};

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-';
}

bool IsNumberStart(const std::string& s, std::size_t i) {
    const char c = s[i];
    if (c >= '0' && c <= '9') {
        return true;
    }
    if ((c == '-' || c == '+' || c == '.') && i + 1 < s.size()) {
        const char d = s[i + 1];
        return (d >= '0' && d <= '9') || (c != '.' && d == '.');
    }
    return false;
}

// Separators (',' and ';') carry no meaning for the reader and are dropped.
bool Tokenize(const std::string& s, std::size_t start, std::vector<Token>& tokens) {
    std::size_t i = start;
    while (i < s.size()) {
        const char c = s[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',' || c == ';') {
            ++i;
        } else if (c == '#' || (c == '/' && i + 1 < s.size() && s[i + 1] == '/')) {
            while (i < s.size() && s[i] != '\n') {
                ++i;
            }
        } else if (c == '{') {
            tokens.push_back({TokenType::OpenBrace, "{"});
            ++i;
        } else if (c == '}') {
            tokens.push_back({TokenType::CloseBrace, "}"});
            ++i;
        } else if (c == '<') {
            const std::size_t end = s.find('>', i);
            if (end == std::string::npos) {
                return false;
            }
            tokens.push_back({TokenType::Guid, s.substr(i, end - i + 1)});
            i = end + 1;
        } else if (c == '"') {
            const std::size_t end = s.find('"', i + 1);
            if (end == std::string::npos) {
                return false;
            }
            tokens.push_back({TokenType::String, s.substr(i + 1, end - i - 1)});
            i = end + 1;
        } else if (IsNumberStart(s, i)) {
            std::size_t end = i + 1;
            while (end < s.size() && ((s[end] >= '0' && s[end] <= '9') || s[end] == '.' ||
                                      s[end] == 'e' || s[end] == 'E' ||
                                      ((s[end] == '-' || s[end] == '+') &&
                                       (s[end - 1] == 'e' || s[end - 1] == 'E')))) {
                ++end;
            }
            tokens.push_back({TokenType::Number, s.substr(i, end - i)});
            i = end;
        } else if (IsNameChar(c)) {
            std::size_t end = i + 1;
            while (end < s.size() && IsNameChar(s[end])) {
                ++end;
            }
            tokens.push_back({TokenType::Name, s.substr(i, end - i)});
            i = end;
        } else {
            tokens.push_back({TokenType::Other, std::string(1, c)});
            ++i;
        }
    }
    return true;
}

// One data object: its template name, its own name, its numbers and strings in
// file order, its child objects and the names it refers to.
struct XObject {
    std::string type;
    std::string name;
    std::vector<double> numbers;
    std::vector<std::string> strings;
    std::vector<std::unique_ptr<XObject>> children;
    std::vector<std::string> references;

    const XObject* Child(const std::string& childType) const {
        for (const auto& child : children) {
            if (child->type == childType) {
                return child.get();
            }
        }
        return nullptr;
    }
};

class XParser {
public:
    explicit XParser(std::vector<Token> tokens) : m_tokens(std::move(tokens)) {}

    bool ParseFile(std::vector<std::unique_ptr<XObject>>& objects) {
        while (m_pos < m_tokens.size()) {
            const Token& token = m_tokens[m_pos];
            if (token.type == TokenType::Name && token.text == "template") {
                if (!SkipBlock()) {
                    return false;
                }
                continue;
            }
            auto object = std::make_unique<XObject>();
            if (!ParseObject(*object)) {
                return false;
            }
            objects.push_back(std::move(object));
        }
        return true;
    }

private:
    bool SkipBlock() {
        while (m_pos < m_tokens.size() && m_tokens[m_pos].type != TokenType::OpenBrace) {
            ++m_pos;
        }
        int depth = 0;
        while (m_pos < m_tokens.size()) {
            const TokenType type = m_tokens[m_pos++].type;
            if (type == TokenType::OpenBrace) {
                ++depth;
            } else if (type == TokenType::CloseBrace && --depth == 0) {
                return true;
            }
        }
        return false;
    }

    // Type [name] { [<guid>] members }
    bool ParseObject(XObject& object) {
        if (m_pos >= m_tokens.size() || m_tokens[m_pos].type != TokenType::Name) {
            return false;
        }
        object.type = m_tokens[m_pos++].text;
        if (m_pos < m_tokens.size() && m_tokens[m_pos].type == TokenType::Name) {
            object.name = m_tokens[m_pos++].text;
        }
        if (m_pos >= m_tokens.size() || m_tokens[m_pos].type != TokenType::OpenBrace) {
            return false;
        }
        ++m_pos;
        if (m_pos < m_tokens.size() && m_tokens[m_pos].type == TokenType::Guid) {
            ++m_pos;
        }
        if (++m_depth > 64) {
            return false;
        }
        while (m_pos < m_tokens.size()) {
            const Token& token = m_tokens[m_pos];
            switch (token.type) {
                case TokenType::CloseBrace:
                    ++m_pos;
                    --m_depth;
                    return true;
                case TokenType::Number:
                    object.numbers.push_back(std::strtod(token.text.c_str(), nullptr));
                    ++m_pos;
                    break;
                case TokenType::String:
                    object.strings.push_back(token.text);
                    ++m_pos;
                    break;
                case TokenType::OpenBrace: {
                    // A reference: { Name } or { Name <guid> } or { <guid> }.
                    ++m_pos;
                    std::string reference;
                    while (m_pos < m_tokens.size() &&
                           m_tokens[m_pos].type != TokenType::CloseBrace) {
                        if (m_tokens[m_pos].type == TokenType::Name) {
                            reference = m_tokens[m_pos].text;
                        }
                        ++m_pos;
                    }
                    if (m_pos >= m_tokens.size()) {
                        return false;
                    }
                    ++m_pos;
                    object.references.push_back(reference);
                    break;
                }
                case TokenType::Name: {
                    auto child = std::make_unique<XObject>();
                    if (!ParseObject(*child)) {
                        return false;
                    }
                    object.children.push_back(std::move(child));
                    break;
                }
                default:
                    return false;
            }
        }
        return false;
    }

    std::vector<Token> m_tokens;
    std::size_t m_pos = 0;
    int m_depth = 0;
};

using Matrix = std::array<float, 16>;  // row-major, row vectors

Matrix Identity() {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix out{};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += a[r * 4 + k] * b[k * 4 + c];
            }
            out[r * 4 + c] = sum;
        }
    }
    return out;
}

struct Vector3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

Vector3 Cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vector3 Normalized(const Vector3& v) {
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (length <= 0.0f) {
        return {};
    }
    return {v.x / length, v.y / length, v.z / length};
}

// Reads `count` face lists ("n; i0, i1, ...") starting at numbers[pos].
bool ReadFaces(const std::vector<double>& numbers, std::size_t& pos, std::size_t count,
               std::size_t vertexCount, std::vector<std::vector<std::uint32_t>>& faces) {
    faces.clear();
    for (std::size_t f = 0; f < count; ++f) {
        if (pos >= numbers.size()) {
            return false;
        }
        const double n = numbers[pos++];
        if (n < 3 || n > 65536 || pos + static_cast<std::size_t>(n) > numbers.size()) {
            return false;
        }
        std::vector<std::uint32_t> face;
        for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k) {
            const double index = numbers[pos++];
            if (index < 0 || index >= static_cast<double>(vertexCount)) {
                return false;
            }
            face.push_back(static_cast<std::uint32_t>(index));
        }
        faces.push_back(std::move(face));
    }
    return true;
}

bool ReadCount(const std::vector<double>& numbers, std::size_t& pos, std::size_t& count) {
    if (pos >= numbers.size() || numbers[pos] < 0 || numbers[pos] > 16777216) {
        return false;
    }
    count = static_cast<std::size_t>(numbers[pos++]);
    return true;
}

bool ReadMaterial(const XObject& object, MeshMaterial& material) {
    const std::vector<double>& n = object.numbers;
    if (n.size() < 11) {
        return false;
    }
    for (int i = 0; i < 4; ++i) {
        material.diffuse[i] = static_cast<float>(n[static_cast<std::size_t>(i)]);
        // The meshes are lit by their own colour.
        material.ambient[i] = material.diffuse[i];
    }
    material.power = static_cast<float>(n[4]);
    for (int i = 0; i < 3; ++i) {
        material.specular[i] = static_cast<float>(n[static_cast<std::size_t>(5 + i)]);
        material.emissive[i] = static_cast<float>(n[static_cast<std::size_t>(8 + i)]);
    }
    material.specular[3] = 1.0f;
    material.emissive[3] = 1.0f;
    if (const XObject* texture = object.Child("TextureFilename")) {
        if (!texture->strings.empty()) {
            material.textureFile = texture->strings[0];
        }
    }
    return true;
}

class MeshBuilder {
public:
    MeshBuilder(MeshData& mesh, std::vector<MeshMaterial>& materials,
                const std::map<std::string, const XObject*>& named)
        : m_mesh(mesh), m_materials(materials), m_named(named) {}

    bool AddMesh(const XObject& object, const Matrix& transform) {
        const std::vector<double>& n = object.numbers;
        std::size_t pos = 0;
        std::size_t vertexCount = 0;
        if (!ReadCount(n, pos, vertexCount) || pos + vertexCount * 3 > n.size()) {
            return false;
        }
        std::vector<Vector3> positions(vertexCount);
        for (Vector3& p : positions) {
            const float x = static_cast<float>(n[pos]);
            const float y = static_cast<float>(n[pos + 1]);
            const float z = static_cast<float>(n[pos + 2]);
            pos += 3;
            p = {x * transform[0] + y * transform[4] + z * transform[8] + transform[12],
                 x * transform[1] + y * transform[5] + z * transform[9] + transform[13],
                 x * transform[2] + y * transform[6] + z * transform[10] + transform[14]};
        }
        std::size_t faceCount = 0;
        std::vector<std::vector<std::uint32_t>> faces;
        if (!ReadCount(n, pos, faceCount) || !ReadFaces(n, pos, faceCount, vertexCount, faces)) {
            return false;
        }

        // Normals come with faces of their own that index them per corner.
        std::vector<Vector3> normals;
        std::vector<std::vector<std::uint32_t>> normalFaces;
        if (const XObject* normalObject = object.Child("MeshNormals")) {
            const std::vector<double>& m = normalObject->numbers;
            std::size_t p = 0;
            std::size_t normalCount = 0;
            std::size_t normalFaceCount = 0;
            if (!ReadCount(m, p, normalCount) || p + normalCount * 3 > m.size()) {
                return false;
            }
            for (std::size_t i = 0; i < normalCount; ++i, p += 3) {
                const Vector3 v{static_cast<float>(m[p]), static_cast<float>(m[p + 1]),
                                static_cast<float>(m[p + 2])};
                normals.push_back(
                    Normalized({v.x * transform[0] + v.y * transform[4] + v.z * transform[8],
                                v.x * transform[1] + v.y * transform[5] + v.z * transform[9],
                                v.x * transform[2] + v.y * transform[6] + v.z * transform[10]}));
            }
            if (!ReadCount(m, p, normalFaceCount) ||
                !ReadFaces(m, p, normalFaceCount, normalCount, normalFaces) ||
                normalFaces.size() != faces.size()) {
                return false;
            }
            for (std::size_t f = 0; f < faces.size(); ++f) {
                if (normalFaces[f].size() != faces[f].size()) {
                    return false;
                }
            }
        }

        std::vector<std::pair<float, float>> texCoords;
        if (const XObject* coords = object.Child("MeshTextureCoords")) {
            const std::vector<double>& m = coords->numbers;
            std::size_t p = 0;
            std::size_t count = 0;
            if (!ReadCount(m, p, count) || count != vertexCount || p + count * 2 > m.size()) {
                return false;
            }
            for (std::size_t i = 0; i < count; ++i, p += 2) {
                texCoords.emplace_back(static_cast<float>(m[p]), static_cast<float>(m[p + 1]));
            }
        }

        const std::uint32_t materialBase = static_cast<std::uint32_t>(m_materials.size());
        std::vector<std::uint32_t> faceMaterials(faces.size(), 0);
        if (const XObject* list = object.Child("MeshMaterialList")) {
            const std::vector<double>& m = list->numbers;
            std::size_t p = 0;
            std::size_t materialCount = 0;
            std::size_t indexCount = 0;
            if (!ReadCount(m, p, materialCount) || !ReadCount(m, p, indexCount) ||
                p + indexCount > m.size()) {
                return false;
            }
            for (std::size_t f = 0; f < faces.size(); ++f) {
                // A short list repeats its last entry for the remaining faces.
                if (indexCount > 0) {
                    const double value = m[p + std::min(f, indexCount - 1)];
                    if (value < 0 || value >= static_cast<double>(materialCount)) {
                        return false;
                    }
                    faceMaterials[f] = materialBase + static_cast<std::uint32_t>(value);
                }
            }
            std::size_t added = 0;
            for (const auto& child : list->children) {
                if (child->type == "Material") {
                    MeshMaterial material;
                    if (!ReadMaterial(*child, material)) {
                        return false;
                    }
                    m_materials.push_back(material);
                    ++added;
                }
            }
            for (const std::string& reference : list->references) {
                const auto found = m_named.find(reference);
                if (found == m_named.end() || found->second->type != "Material") {
                    return false;
                }
                MeshMaterial material;
                if (!ReadMaterial(*found->second, material)) {
                    return false;
                }
                m_materials.push_back(material);
                ++added;
            }
            if (added != materialCount) {
                return false;
            }
        }

        // One output vertex per distinct (position, normal) pair of corners.
        std::map<std::pair<std::uint32_t, std::uint32_t>, std::uint32_t> corners;
        const std::size_t firstVertex = m_mesh.vertices.size();
        const auto vertexOf = [&](std::uint32_t position, std::uint32_t normal) {
            const auto key = std::make_pair(position, normal);
            const auto found = corners.find(key);
            if (found != corners.end()) {
                return found->second;
            }
            MeshVertex vertex;
            vertex.x = positions[position].x;
            vertex.y = positions[position].y;
            vertex.z = positions[position].z;
            if (normal != UINT32_MAX) {
                vertex.nx = normals[normal].x;
                vertex.ny = normals[normal].y;
                vertex.nz = normals[normal].z;
            }
            if (!texCoords.empty()) {
                vertex.u = texCoords[position].first;
                vertex.v = texCoords[position].second;
            }
            const auto index = static_cast<std::uint32_t>(m_mesh.vertices.size());
            m_mesh.vertices.push_back(vertex);
            corners.emplace(key, index);
            return index;
        };
        const std::size_t firstIndex = m_mesh.indices.size();
        for (std::size_t f = 0; f < faces.size(); ++f) {
            std::vector<std::uint32_t> face;
            for (std::size_t k = 0; k < faces[f].size(); ++k) {
                face.push_back(
                    vertexOf(faces[f][k], normals.empty() ? UINT32_MAX : normalFaces[f][k]));
            }
            // A polygon becomes a fan of triangles around its first corner.
            for (std::size_t k = 1; k + 1 < face.size(); ++k) {
                m_mesh.indices.insert(m_mesh.indices.end(), {face[0], face[k], face[k + 1]});
                m_mesh.attributes.push_back(faceMaterials[f]);
            }
        }
        if (normals.empty()) {
            ComputeNormals(firstVertex, firstIndex);
        }
        return true;
    }

private:
    // Each vertex gets the average of the unit normals of the triangles that
    // use it, the triangles' corners taken clockwise.
    void ComputeNormals(std::size_t firstVertex, std::size_t firstIndex) {
        std::vector<Vector3> sums(m_mesh.vertices.size() - firstVertex);
        for (std::size_t i = firstIndex; i + 2 < m_mesh.indices.size(); i += 3) {
            const MeshVertex& a = m_mesh.vertices[m_mesh.indices[i]];
            const MeshVertex& b = m_mesh.vertices[m_mesh.indices[i + 1]];
            const MeshVertex& c = m_mesh.vertices[m_mesh.indices[i + 2]];
            const Vector3 normal = Normalized(
                Cross({b.x - a.x, b.y - a.y, b.z - a.z}, {c.x - a.x, c.y - a.y, c.z - a.z}));
            for (int k = 0; k < 3; ++k) {
                Vector3& sum = sums[m_mesh.indices[i + static_cast<std::size_t>(k)] - firstVertex];
                sum.x += normal.x;
                sum.y += normal.y;
                sum.z += normal.z;
            }
        }
        for (std::size_t v = 0; v < sums.size(); ++v) {
            const Vector3 normal = Normalized(sums[v]);
            MeshVertex& vertex = m_mesh.vertices[firstVertex + v];
            vertex.nx = normal.x;
            vertex.ny = normal.y;
            vertex.nz = normal.z;
        }
    }

    MeshData& m_mesh;
    std::vector<MeshMaterial>& m_materials;
    const std::map<std::string, const XObject*>& m_named;
};

bool AddObjects(const std::vector<std::unique_ptr<XObject>>& objects, const Matrix& parent,
                MeshBuilder& builder) {
    for (const auto& object : objects) {
        if (object->type == "Mesh") {
            if (!builder.AddMesh(*object, parent)) {
                return false;
            }
        } else if (object->type == "Frame") {
            Matrix local = Identity();
            if (const XObject* matrix = object->Child("FrameTransformMatrix")) {
                if (matrix->numbers.size() < 16) {
                    return false;
                }
                for (std::size_t i = 0; i < 16; ++i) {
                    local[i] = static_cast<float>(matrix->numbers[i]);
                }
            }
            if (!AddObjects(object->children, Multiply(local, parent), builder)) {
                return false;
            }
        }
    }
    return true;
}

void CollectNamed(const std::vector<std::unique_ptr<XObject>>& objects,
                  std::map<std::string, const XObject*>& named) {
    for (const auto& object : objects) {
        if (!object->name.empty()) {
            named.emplace(object->name, object.get());
        }
        CollectNamed(object->children, named);
    }
}

}  // namespace

HResult ReadXFile(const std::string& path, MeshData& mesh, std::vector<MeshMaterial>& materials) {
    mesh = {};
    materials.clear();
    std::FILE* file = OpenRegularFile(path);
    if (file == nullptr) {
        return RESULT_INVALID_DATA;
    }
    std::string bytes;
    char buffer[16384];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, got);
    }
    const bool readError = std::ferror(file) != 0;
    std::fclose(file);
    // "xof 0303txt 0032": only the text form is read.
    if (readError || bytes.size() < 16 || bytes.compare(0, 4, "xof ") != 0 ||
        bytes.compare(8, 4, "txt ") != 0) {
        return RESULT_INVALID_DATA;
    }
    std::vector<Token> tokens;
    if (!Tokenize(bytes, 16, tokens)) {
        return RESULT_INVALID_DATA;
    }
    std::vector<std::unique_ptr<XObject>> objects;
    XParser parser(std::move(tokens));
    if (!parser.ParseFile(objects)) {
        return RESULT_INVALID_DATA;
    }
    std::map<std::string, const XObject*> named;
    CollectNamed(objects, named);
    MeshBuilder builder(mesh, materials, named);
    if (!AddObjects(objects, Identity(), builder) || mesh.indices.empty()) {
        mesh = {};
        materials.clear();
        return RESULT_INVALID_DATA;
    }
    return RESULT_OK;
}

HResult BuildMeshStrips(MeshRecord& record) {
    record.strips.assign(record.materials.size(), {});
    const std::size_t triangles = record.mesh.attributes.size();
    for (std::size_t t = 0; t < triangles; ++t) {
        const std::uint32_t material = record.mesh.attributes[t];
        if (record.materials.empty()) {
            continue;
        }
        if (material >= record.strips.size()) {
            record.strips.clear();
            return RESULT_FAIL;
        }
        std::vector<std::uint32_t>& indices = record.strips[material].indices;
        indices.insert(indices.end(), record.mesh.indices.begin() + static_cast<long>(t * 3),
                       record.mesh.indices.begin() + static_cast<long>(t * 3 + 3));
    }
    return RESULT_OK;
}

HResult CResourceManager::LoadMeshes(backend::IRenderDevice* device) {
    int count = 0;
    for (MeshRecord& record : m_meshes) {
        if (Failed(ReadXFile(record.path, record.mesh, record.materials))) {
            HtmlLog().Write("Red", "Loading mesh: (%s) failed", record.path.c_str());
            break;
        }
        if (Failed(BuildMeshStrips(record))) {
            ReleaseMesh(record);
            HtmlLog().Write("Red", "Optimizing mesh: (%s) failed", record.path.c_str());
            break;
        }
        record.loaded = true;
        HtmlLog().Write("Gray", "Loading mesh: (%s) complete", record.path.c_str());
        ++count;
        AdvanceProgress(device, record.coverage);
    }
    HtmlLog().Write("Green", "Load is completed (%i)", count);
    return RESULT_OK;
}

void CResourceManager::ReleaseMesh(MeshRecord& record) {
    record.loaded = false;
    record.mesh = {};
    record.strips.clear();
    record.materials.clear();
}
