#pragma once
// The records of the resource index: one list per kind of resource, filled from
// resources.xml in file order. A resource's index is its position in its kind's
// list; sounds and fonts are addressed by that position, the rest by id.
//
// Records are plain values: copying one copies its texts and lists and copies
// the texture pointer and sound handles as they stand. No record releases what
// it points to; only the resource manager's release operations do.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/backend/audio.h"
#include "engine/backend/video.h"
#include "engine/media/animation3d.h"
#include "engine/media/bitmap_font.h"
#include "engine/media/frame_animation.h"

enum ResourceKind : std::int32_t {
    RESOURCE_IMAGE = 0,
    RESOURCE_MESH = 1,
    RESOURCE_SAMPLE = 2,
    RESOURCE_STREAM = 3,
    RESOURCE_MUSIC = 4,
    RESOURCE_FONT = 5,  // Font and FontFi elements share one list
    RESOURCE_ANIMATION_2D = 6,
    RESOURCE_ANIMATION_3D = 7,
    RESOURCE_SHAPE = 8,
};
inline constexpr int RESOURCE_KIND_COUNT = 9;

// Loading-group bits of a resource, from its `coverage` attribute: -2 gives
// the intro group, -1 0x4, 0 (and no attribute) 0x1, 1..5 give 0x8..0x80.
using CoverageMask = std::uint32_t;
inline constexpr CoverageMask COVERAGE_MAIN = 0x1;   // loaded at start, kept
inline constexpr CoverageMask COVERAGE_INTRO = 0x2;  // splash and loading screens
// The bit of one `coverage` value; 0 for a value outside -2..5.
CoverageMask CoverageBit(std::int32_t value);

struct ResourceRecord {
    std::string id;     // compared exactly
    std::string group;  // `type` of the enclosing Resources element
    std::string path;   // SetDefaults prefix + `path`
    CoverageMask coverage = COVERAGE_MAIN;
    std::int32_t onlyIntro = 0;  // images only: released when the menu first shows
};

// What the picture loader reports of a file: its size and a format number in
// the numbering of the log (21 ARGB with alpha, 22 RGB in 32 bits, 20 RGB in
// 24 bits, 51 grey with alpha, 50 eight-bit, 23 sixteen-bit); zero until loaded.
struct ImageInfo {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t format = 0;
};

struct ImageRecord : ResourceRecord {
    std::string alpha;  // explicit alpha picture, prefixed; empty for none
    backend::ITexture* texture = nullptr;
    ImageInfo info;
    std::uint32_t colourKey = 0xFF000000;  // pixels of exactly this colour become transparent
    float x = 0.0f;                        // design position on the splash and loading screens
    float y = 0.0f;
    float scaleX = 1.0f;  // set for stretched intro pictures
    float scaleY = 1.0f;
    bool stretch = false;
};

// Meshes are loaded and kept, never drawn.
struct MeshVertex {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    float nx = 0.0f, ny = 0.0f, nz = 0.0f;
    float u = 0.0f, v = 0.0f;
};

struct MeshMaterial {
    float diffuse[4] = {0.0f, 0.0f, 0.0f, 0.0f};  // r, g, b, a
    float ambient[4] = {0.0f, 0.0f, 0.0f, 0.0f};  // the diffuse colour again
    float specular[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    float emissive[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    float power = 0.0f;
    std::string textureFile;
};

// The triangles of one material, as indices into the mesh's vertices.
struct MeshStrip {
    std::vector<std::uint32_t> indices;
};

struct MeshData {
    std::vector<MeshVertex> vertices;
    std::vector<std::uint32_t> indices;     // three per triangle
    std::vector<std::uint32_t> attributes;  // material of each triangle
};

struct MeshRecord : ResourceRecord {
    bool loaded = false;
    MeshData mesh;
    std::vector<MeshStrip> strips;  // one per material
    bool stripsUsable = true;
    bool drawBySubset = true;
    std::vector<MeshMaterial> materials;
};

struct SampleRecord : ResourceRecord {
    backend::AudioHandle sample = 0;
    backend::AudioHandle channel = 0;  // the one playback channel of the sample
};

struct StreamRecord : ResourceRecord {
    backend::AudioHandle stream = 0;  // its own channel
};

struct MusicRecord : ResourceRecord {
    backend::AudioHandle music = 0;
    std::int32_t currentTrack = 0;  // position in the track order
    std::vector<std::uint32_t> trackList;
};

// One character of a bitmap font. The rectangle is on the glyph sheet, right
// and bottom exclusive.
struct GlyphRecord {
    char16_t character = 0;
    std::int32_t advance = 0;
    std::int32_t height = 0;
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    std::int32_t sheetX = 0;
    std::int32_t sheetY = 0;
    std::int32_t width = 0;
};

// Read from the font files and kept; text drawing does not apply it.
struct KerningRecord {
    std::u16string pair;
    std::int32_t value = 0;
};

enum FontFormat : std::int32_t {
    FONT_FORMAT_TEXT = 0,   // a Font element: one text file of sections
    FONT_FORMAT_STRIP = 1,  // a FontFi element: symbols file plus position words
};

// The glyph sheet is the image part; its colour key is always opaque black.
struct FontRecord : ImageRecord {
    std::string dataPath;
    std::string symbolsPath;  // strip fonts only
    std::string editing;      // strip fonts only: "C left right|..." corrections
    float interval = 0.0f;    // extra advance of every glyph
    std::vector<GlyphRecord> glyphs;
    CGlyphIndex glyphIndex;  // character to glyph, built by the readers
    std::vector<KerningRecord> kerning;
    std::int32_t height = 0;     // glyph row height on the sheet
    std::int32_t maxLength = 0;  // glyph row width on the sheet
    FontFormat format = FONT_FORMAT_TEXT;
    std::int32_t kerningTrim = 0;  // pixels cut from the right of every glyph when drawn
};

struct Animation2DRecord : ResourceRecord {
    std::vector<AnimationFrame> frames;  // from the frame file
    std::int32_t image = -1;             // the Image of `image_id`
    std::int32_t width = 0;              // the pixel size the frame file's fractions scale to
    std::int32_t height = 0;
    std::int32_t frameWidth = 0;  // frame size for the mirrored hot spot
    std::int32_t frameHeight = 0;
};

struct Animation3DRecord : ResourceRecord {
    CAnimation3D animation;
};

// Shapes are only read, kept and found by id.
struct ShapeRecord : ResourceRecord {};
