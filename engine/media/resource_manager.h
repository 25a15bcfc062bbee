#pragma once
// The process-wide owner of all media: the resource lists of resources.xml, the
// sprite drawing, the screen scale and the sound manager. It loads everything in
// stages at device creation behind the splash and loading screens that it draws
// and presents itself, swaps the pictures of one loading group for another, and
// releases everything when the device goes away.
//
// Positions handed to the drawing operations are back-buffer pixels (design
// position times the screen scale); the screen offset is added here.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <loki/Singleton.h>

#include "engine/backend/video.h"
#include "engine/media/resource_records.h"
#include "engine/media/sound_manager.h"
#include "engine/platform/geometry.h"
#include "engine/platform/media_result.h"

class CResourceManager {
public:
    CResourceManager();
    ~CResourceManager();
    CResourceManager(const CResourceManager&) = delete;
    CResourceManager& operator=(const CResourceManager&) = delete;

    CSoundManager& GetSoundManager() { return m_soundManager; }

    // --- Start-up and device life ---

    // Staged loading at device creation: the sound output, resources.xml, the
    // intro pictures, the splash sequence, then every resource needed at start,
    // kind by kind, with a loading-screen frame per item. Always RESULT_OK.
    HResult Initialize(backend::IWindow* window, backend::IRenderDevice* device, float scaleX,
                       float scaleY, float offsetX, float offsetY, float splashScaleX,
                       float splashScaleY, float splashOffsetX, float splashOffsetY);
    // Reads Resources/Data/resources.xml into the nine lists. False when the
    // file does not open; the lists then keep what they held.
    bool ReadIndex();
    HResult OnLostDevice();
    HResult OnResetDevice(backend::IRenderDevice* device, float scaleX, float scaleY, float offsetX,
                          float offsetY);
    // Releases every texture, mesh and sound and empties the lists.
    HResult Release();
    HResult FinalCleanup() { return RESULT_OK; }

    // --- Lookups ---

    // The position of the first record with exactly this id in the kind's list.
    // A miss goes on into the lists of the following kinds (Image, Mesh,
    // Sample, Stream, Music, Font, Animation2D, Animation3D, Shape) and answers
    // the position found there; -1 when no later list has it either.
    std::int32_t GetIndex(ResourceKind kind, const std::string& id) const;
    // An empty record (no frames, image -1) when no Animation2D has the id.
    Animation2DRecord GetAnimation2D(const std::string& id) const;
    CAnimation3D GetAnimation3D(int index) const;
    CAnimation3D GetAnimation3D(const std::string& id) const;

    // --- Loading groups ---

    // Starts a progress count: loaded := 0, total := the resources whose
    // coverage shares a bit with the mask (intro images only when the mask has
    // the intro bit; shapes never). Returns the total.
    int CountByGroup(CoverageMask mask);
    // False when the group is already the current one.
    bool SetCurrentGroup(std::int32_t group);
    std::int32_t GetCurrentGroup() const { return m_currentGroup; }
    // The textures of every image in the group, in list order; the result of
    // the last load (RESULT_OK when none matched).
    HResult LoadImages(backend::IRenderDevice* device, CoverageMask mask);
    HResult LoadImageById(backend::IRenderDevice* device, const std::string& id);
    // Reads the picture again when it has been released since its group was
    // loaded, and only when it belongs to one of `groups`: one of another group
    // waits for that group's load. A picture that is there costs nothing, so
    // this may be asked every frame. True when it was read now.
    bool LoadImageIfReleased(backend::IRenderDevice* device, const std::string& id,
                             CoverageMask groups);
    bool UnloadImage(const std::string& id);
    // Mask 0 keeps exactly the images of group 0x1. Returns how many were released.
    int UnloadImagesByGroup(CoverageMask mask);
    void ReleaseIntroResources();

    // --- Splash and loading screens ---

    // The loading-screen picture and its progress bar.
    HResult DrawIntroScreen(backend::IRenderDevice* device);
    // One whole loading-screen frame, presented.
    HResult PresentIntroScreen(backend::IRenderDevice* device);
    // The blocking splash sequence: SPLASH_1..10 fading in and out, then the
    // loading-screen picture fading in and staying.
    void ShowSplashScreens(backend::IRenderDevice* device);
    int GetProgressTotal() const { return m_progressTotal; }
    int GetProgressLoaded() const { return m_progressLoaded; }

    // --- Loaders ---

    // The texture of one picture (or font sheet), with its colour key and
    // alpha companion applied. RESULT_FAIL for a record that already has one.
    HResult LoadTexture(backend::IRenderDevice* device, ImageRecord& record);
    HResult LoadMeshes(backend::IRenderDevice* device);
    void ReleaseMesh(MeshRecord& record);
    bool LoadSamples(backend::IRenderDevice* device);
    bool LoadStreams(backend::IRenderDevice* device);
    bool LoadMusics(backend::IRenderDevice* device);
    HResult LoadFonts(backend::IRenderDevice* device);
    int LoadAnimations2D(backend::IRenderDevice* device);
    int LoadAnimations3D(backend::IRenderDevice* device);

    // --- Drawing ---

    // One sprite draw of an image: the source rectangle (whole picture when
    // null) scaled by `scaling` (1, 1 when null; a negative factor mirrors)
    // about its top-left corner, rotated by `rotation` radians about `centre`,
    // its top-left corner at `position` plus the screen offset, in the colour
    // ANDed with the colour mask. RESULT_FAIL for an index outside the list.
    HResult DrawImage(std::int32_t index, const backend::Rect* source, const Vec2* scaling,
                      const Vec2* centre, float rotation, Vec2 position, std::uint32_t colour);
    // The same, with the colours added to the screen.
    HResult DrawImageAdditive(backend::IRenderDevice* device, std::int32_t index,
                              const backend::Rect* source, const Vec2* scaling, const Vec2* centre,
                              float rotation, Vec2 position, std::uint32_t colour);
    // Colour mask := an opaque grey of trunc(level) & 0xFF in each colour byte.
    void SetBrightness(float level);
    std::uint32_t GetColourMask() const { return m_colourMask; }
    Vec2 GetScale() const { return m_scale; }
    // Fills the letterbox bands around the scaled design space with the
    // MENU_*_PANEL tiles.
    HResult DrawBorderFill(backend::IRenderDevice* device, std::uint32_t colour);
    // The file's size and format of the first image with the id; zeros when
    // there is none or it is not loaded.
    ImageInfo GetImageInfo(const std::string& id) const;
    // The texture's own size; zeros without a texture.
    ImageInfo GetImageSurfaceDesc(const std::string& id) const;

    // --- Bitmap fonts and text ---

    bool ReadFontFile(FontRecord& font);
    // The number of glyphs made; 0 is a failure.
    int ReadFontFiFile(FontRecord& font);
    // Draws the text up to its first zero, glyph by glyph, from `position`
    // (back-buffer pixels). centreX centres every line on position x; centreY
    // moves the text up by half a line. RESULT_FAIL for a bad font index.
    HResult DrawText(std::int32_t font, std::u16string_view text, Vec2 scaling, Vec2 position,
                     std::uint32_t colour, bool centreX, bool centreY, float letterSpacing,
                     float lineSpacing, bool snap);
    HResult DrawTextAt(std::int32_t font, std::u16string_view text, float x, float y,
                       std::uint32_t colour);
    HResult DrawTextScaled(std::int32_t font, std::u16string_view text, Vec2 scaling, float x,
                           float y, std::uint32_t colour);
    // The width of one line (0-based, or -1 for all lines added up), scaled by
    // the screen scale x when `scaled`; -1.0 for a bad font index.
    float GetTextWidth(std::int32_t font, std::u16string text, float letterSpacing, bool scaled,
                       std::int32_t line);
    // The first glyph's height; -1 for a bad font or one without glyphs.
    std::int32_t GetFontLineHeight(std::int32_t font) const;

    // --- The lists, for the sound manager, the animations and the menus ---

    std::vector<ImageRecord>& Images() { return m_images; }
    std::vector<MeshRecord>& Meshes() { return m_meshes; }
    std::vector<SampleRecord>& Samples() { return m_samples; }
    std::vector<StreamRecord>& Streams() { return m_streams; }
    std::vector<MusicRecord>& Musics() { return m_musics; }
    std::vector<FontRecord>& Fonts() { return m_fonts; }
    std::vector<Animation2DRecord>& Animations2D() { return m_animations2D; }
    std::vector<Animation3DRecord>& Animations3D() { return m_animations3D; }
    std::vector<ShapeRecord>& Shapes() { return m_shapes; }
    const std::vector<ImageRecord>& Images() const { return m_images; }
    const std::vector<SampleRecord>& Samples() const { return m_samples; }
    const std::vector<StreamRecord>& Streams() const { return m_streams; }
    const std::vector<MusicRecord>& Musics() const { return m_musics; }
    const std::vector<FontRecord>& Fonts() const { return m_fonts; }
    const std::vector<Animation2DRecord>& Animations2D() const { return m_animations2D; }

    // The render device that draws every sprite; null before Initialize and
    // after Release.
    backend::IRenderDevice* GetSpriteDevice() const { return m_sprite; }

    // One glyph as a text draw places it, in back-buffer pixels (the screen
    // offset included); `call` counts the DrawText calls.
    struct PlacedGlyph {
        std::int64_t call = 0;
        std::int32_t font = -1;
        char16_t character = 0;
        float left = 0.0f;
        float top = 0.0f;
        float right = 0.0f;
        float bottom = 0.0f;
        std::uint32_t colour = 0;
    };
    // Told of every glyph before it is drawn, for the layout checks; a glyph
    // for which it answers false is left out. Empty: every glyph is drawn.
    std::function<bool(const PlacedGlyph&)> glyphObserver;

private:
    // One loading-screen frame for an item outside the intro group.
    void AdvanceProgress(backend::IRenderDevice* device, CoverageMask coverage);
    HResult DrawSprite(std::int32_t index, const backend::Rect* source, const Vec2* scaling,
                       const Vec2* centre, float rotation, Vec2 position, std::uint32_t colour,
                       backend::BlendMode blend);
    // The first image with exactly this id; null when there is none.
    ImageRecord* FindImage(const std::string& id);
    bool IsImageIndex(std::int32_t index) const {
        return index >= 0 && static_cast<std::size_t>(index) < m_images.size();
    }
    bool IsFontIndex(std::int32_t font) const {
        return font >= 0 && static_cast<std::size_t>(font) < m_fonts.size();
    }

    std::int32_t m_currentGroup = 0;
    std::int64_t m_textCalls = 0;
    std::uint32_t m_colourMask = 0xFFFFFFFF;
    Vec2 m_scale{1.0f, 1.0f};
    Vec2 m_offset{0.0f, 0.0f};
    Vec2 m_splashScale{1.0f, 1.0f};
    Vec2 m_splashOffset{0.0f, 0.0f};
    std::int32_t m_verticalPanel = -1;
    std::int32_t m_horizontalPanel = -1;
    std::int32_t m_leftPanel = -1;
    std::int32_t m_rightPanel = -1;
    int m_progressTotal = 0;
    int m_progressLoaded = 0;
    backend::IRenderDevice* m_sprite = nullptr;
    CSoundManager m_soundManager;
    std::vector<ImageRecord> m_images;
    std::vector<MeshRecord> m_meshes;
    std::vector<SampleRecord> m_samples;
    std::vector<StreamRecord> m_streams;
    std::vector<MusicRecord> m_musics;
    std::vector<FontRecord> m_fonts;
    std::vector<Animation2DRecord> m_animations2D;
    std::vector<Animation3DRecord> m_animations3D;
    std::vector<ShapeRecord> m_shapes;
};

inline unsigned int GetLongevity(CResourceManager*) {
    return 7;
}

using ResourceManager = Loki::SingletonHolder<CResourceManager, Loki::CreateStatic,
                                              Loki::SingletonWithLongevity, Loki::SingleThreaded>;
