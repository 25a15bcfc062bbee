#include "engine/media/resource_manager.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/backend/system.h"
#include "engine/framework/app_timer.h"
#include "engine/platform/html_log.h"

namespace {

void ReleaseTexture(ImageRecord& image) {
    delete image.texture;
    image.texture = nullptr;
}

void BlankLogLine() {
    HtmlLog().WriteEx("Black", false, false, "");
}

// Splash pictures fade at this many grey levels per second and hold this long.
constexpr float SPLASH_FADE_SPEED = 500.0f;
constexpr float SPLASH_HOLD_SECONDS = 1.5f;
constexpr int SPLASH_COUNT = 10;

std::string SplashId(int n) {
    char id[16];
    std::snprintf(id, sizeof id, "SPLASH_%i", n);
    return id;
}

}  // namespace

CResourceManager::CResourceManager() = default;

// The records go with the manager, but no texture is released here: that is
// Release's work, done while the device still exists.
CResourceManager::~CResourceManager() = default;

HResult CResourceManager::Initialize(backend::IWindow* /*window*/, backend::IRenderDevice* device,
                                     float scaleX, float scaleY, float offsetX, float offsetY,
                                     float splashScaleX, float splashScaleY, float splashOffsetX,
                                     float splashOffsetY) {
    m_scale = {scaleX, scaleY};
    m_offset = {offsetX, offsetY};
    m_splashScale = {splashScaleX, splashScaleY};
    m_splashOffset = {splashOffsetX, splashOffsetY};
    if (device == nullptr) {
        HtmlLog().Write("Red", "Couldn't create sprite");
        return RESULT_OK;
    }
    m_sprite = device;
    m_soundManager.Init();
    ReadIndex();
    BlankLogLine();

    m_verticalPanel = GetIndex(RESOURCE_IMAGE, "MENU_VER_PANEL");
    m_horizontalPanel = GetIndex(RESOURCE_IMAGE, "MENU_HOR_PANEL");
    m_leftPanel = GetIndex(RESOURCE_IMAGE, "MENU_LEFT_PANEL");
    m_rightPanel = GetIndex(RESOURCE_IMAGE, "MENU_RIGHT_PANEL");

    HtmlLog().Write("Blue", "Loading intro textures:\n");
    LoadImages(device, COVERAGE_INTRO);
    BlankLogLine();

    ShowSplashScreens(device);

    CountByGroup(COVERAGE_MAIN | 0x4);
    HtmlLog().Write("Blue", "Loading textures:\n");
    LoadImages(device, COVERAGE_MAIN | 0x4);
    BlankLogLine();

    // Everything but pictures loads at start whatever its group.
    HtmlLog().Write("Blue", "Loading meshes:\n");
    LoadMeshes(device);
    BlankLogLine();
    HtmlLog().Write("Blue", "Loading samples:\n");
    LoadSamples(device);
    BlankLogLine();
    HtmlLog().Write("Blue", "Loading streams:\n");
    LoadStreams(device);
    BlankLogLine();
    HtmlLog().Write("Blue", "Loading musics:\n");
    LoadMusics(device);
    BlankLogLine();
    HtmlLog().Write("Blue", "Loading fonts:\n");
    LoadFonts(device);
    BlankLogLine();
    HtmlLog().Write("Blue", "Loading 2D index animations:\n");
    LoadAnimations2D(device);
    BlankLogLine();
    HtmlLog().Write("Blue", "Loading 3D animations:\n");
    LoadAnimations3D(device);
    BlankLogLine();
    return RESULT_OK;
}

HResult CResourceManager::OnLostDevice() {
    return RESULT_OK;
}

HResult CResourceManager::OnResetDevice(backend::IRenderDevice* /*device*/, float scaleX,
                                        float scaleY, float offsetX, float offsetY) {
    // The device keeps its textures through a reset; only the mapping of the
    // design space changes.
    m_scale = {scaleX, scaleY};
    m_offset = {offsetX, offsetY};
    return RESULT_OK;
}

HResult CResourceManager::Release() {
    HtmlLog().WriteEx("", false, false, "");
    HtmlLog().Write("Blue", "Releasing resources");
    m_sprite = nullptr;

    const int images = static_cast<int>(m_images.size());
    for (ImageRecord& image : m_images) {
        ReleaseTexture(image);
    }
    m_images.clear();

    const int meshes = static_cast<int>(m_meshes.size());
    for (MeshRecord& mesh : m_meshes) {
        ReleaseMesh(mesh);
    }
    m_meshes.clear();

    const int samples = static_cast<int>(m_samples.size());
    const int streams = static_cast<int>(m_streams.size());
    const int musics = static_cast<int>(m_musics.size());
    m_soundManager.Shutdown();
    m_samples.clear();
    m_streams.clear();
    m_musics.clear();

    const int fonts = static_cast<int>(m_fonts.size());
    for (FontRecord& font : m_fonts) {
        ReleaseTexture(font);
    }
    m_fonts.clear();

    // The Animation2D records stay, emptied.
    const int animations2D = static_cast<int>(m_animations2D.size());
    for (Animation2DRecord& animation : m_animations2D) {
        animation.frames.clear();
        animation.image = -1;
        animation.width = 0;
        animation.height = 0;
        animation.frameWidth = 0;
        animation.frameHeight = 0;
    }

    const int animations3D = static_cast<int>(m_animations3D.size());
    for (Animation3DRecord& animation : m_animations3D) {
        animation.animation.Reset();
    }
    m_animations3D.clear();
    m_shapes.clear();

    HtmlLog().Write("Green", "Resources is released (%i,%i,%i,%i,%i,%i,%i,%i)", images, meshes,
                    samples, streams, musics, fonts, animations2D, animations3D);
    return RESULT_OK;
}

Animation2DRecord CResourceManager::GetAnimation2D(const std::string& id) const {
    for (const Animation2DRecord& animation : m_animations2D) {
        if (animation.id == id) {
            return animation;
        }
    }
    return {};
}

CAnimation3D CResourceManager::GetAnimation3D(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_animations3D.size()) {
        return {};
    }
    return m_animations3D[static_cast<std::size_t>(index)].animation;
}

CAnimation3D CResourceManager::GetAnimation3D(const std::string& id) const {
    for (const Animation3DRecord& animation : m_animations3D) {
        if (animation.id == id) {
            return animation.animation;
        }
    }
    return {};
}

int CResourceManager::CountByGroup(CoverageMask mask) {
    int total = 0;
    for (const ImageRecord& image : m_images) {
        if ((image.coverage & mask) != 0 &&
            ((image.coverage & COVERAGE_INTRO) == 0 || (mask & COVERAGE_INTRO) != 0)) {
            ++total;
        }
    }
    const auto count = [mask, &total](const auto& list) {
        for (const auto& record : list) {
            if ((record.coverage & mask) != 0) {
                ++total;
            }
        }
    };
    count(m_meshes);
    count(m_samples);
    count(m_streams);
    count(m_musics);
    count(m_fonts);
    count(m_animations2D);
    count(m_animations3D);
    m_progressTotal = total;
    m_progressLoaded = 0;
    return total;
}

bool CResourceManager::SetCurrentGroup(std::int32_t group) {
    if (group == m_currentGroup) {
        return false;
    }
    m_currentGroup = group;
    return true;
}

void CResourceManager::AdvanceProgress(backend::IRenderDevice* device, CoverageMask coverage) {
    if ((coverage & COVERAGE_INTRO) == 0) {
        ++m_progressLoaded;
        PresentIntroScreen(device);
    }
}

HResult CResourceManager::LoadImages(backend::IRenderDevice* device, CoverageMask mask) {
    HResult result = RESULT_OK;
    int loaded = 0;
    for (std::size_t i = 0; i < m_images.size(); ++i) {
        ImageRecord& image = m_images[i];
        if ((image.coverage & mask) == 0) {
            continue;
        }
        result = LoadTexture(device, image);
        if (Succeeded(result)) {
            ++loaded;
        }
        if ((image.coverage & COVERAGE_INTRO) != 0) {
            if (image.stretch) {
                image.x = 0.0f;
                image.y = 0.0f;
                image.scaleX = image.info.width != 0 ? 1024.0f / image.info.width : 1.0f;
                image.scaleY = image.info.height != 0 ? 768.0f / image.info.height : 1.0f;
            }
        } else {
            AdvanceProgress(device, image.coverage);
        }
    }
    backend::ReturnFreeMemory();
    // The loading time must not reach the first frame as one long step.
    AppTimer(TIMER_GET_ELAPSED_TIME);
    HtmlLog().Write("Green", "Load is completed (%i) ", loaded);
    return result;
}

ImageRecord* CResourceManager::FindImage(const std::string& id) {
    const auto found = std::find_if(m_images.begin(), m_images.end(),
                                    [&id](const ImageRecord& image) { return image.id == id; });
    return found != m_images.end() ? &*found : nullptr;
}

HResult CResourceManager::LoadImageById(backend::IRenderDevice* device, const std::string& id) {
    ImageRecord* image = FindImage(id);
    if (image == nullptr) {
        return RESULT_FAIL;
    }
    const HResult result = LoadTexture(device, *image);
    AppTimer(TIMER_GET_ELAPSED_TIME);
    return result;
}

bool CResourceManager::LoadImageIfReleased(backend::IRenderDevice* device, const std::string& id,
                                           CoverageMask groups) {
    const ImageRecord* image = FindImage(id);
    if (device == nullptr || image == nullptr || image->texture != nullptr ||
        (image->coverage & groups) == 0) {
        return false;
    }
    return Succeeded(LoadImageById(device, id));
}

bool CResourceManager::UnloadImage(const std::string& id) {
    ImageRecord* image = FindImage(id);
    if (image == nullptr) {
        return false;
    }
    if (image->texture != nullptr) {
        ReleaseTexture(*image);
        // A single picture can be megabytes: its pages go back now, not at
        // the next group's load.
        backend::ReturnFreeMemory();
    }
    return true;
}

int CResourceManager::UnloadImagesByGroup(CoverageMask mask) {
    int released = 0;
    for (ImageRecord& image : m_images) {
        if (image.texture == nullptr) {
            continue;
        }
        const bool release =
            mask != 0 ? (image.coverage & mask) != 0 : (image.coverage & COVERAGE_MAIN) == 0;
        if (release) {
            ReleaseTexture(image);
            ++released;
        }
    }
    return released;
}

void CResourceManager::ReleaseIntroResources() {
    HtmlLog().Write("Blue", "Releasing intro resources");
    int count = 0;
    for (ImageRecord& image : m_images) {
        if (image.onlyIntro != 0) {
            ReleaseTexture(image);
            ++count;
        }
    }
    HtmlLog().Write("Green", "Intro resources is released (%i)", count);
}

HResult CResourceManager::DrawIntroScreen(backend::IRenderDevice* /*device*/) {
    float fraction = m_progressTotal > 0 ? static_cast<float>(m_progressLoaded) /
                                               static_cast<float>(m_progressTotal)
                                         : 1.0f;
    // Resources outside the counted groups still advance the count, which can
    // then pass the total.
    fraction = std::fmin(std::fmax(fraction, 0.0f), 1.0f);

    const std::int32_t screen = GetIndex(RESOURCE_IMAGE, "INTRO_SCREEN");
    if (!IsImageIndex(screen)) {
        return RESULT_FAIL;
    }
    DrawImage(screen, nullptr, &m_scale, nullptr, 0.0f, {0.0f, 0.0f}, 0xFFFFFFFF);

    const std::int32_t bar = GetIndex(RESOURCE_IMAGE, "INTRO_PROGRESS");
    if (!IsImageIndex(bar)) {
        return RESULT_FAIL;
    }
    const ImageRecord& record = m_images[static_cast<std::size_t>(bar)];
    const backend::Rect source{0, 0,
                               static_cast<int>(fraction * static_cast<float>(record.info.width)),
                               record.info.height};
    return DrawImage(bar, &source, &m_scale, nullptr, 0.0f,
                     {record.x * m_scale.x, record.y * m_scale.y}, 0xFFFFFFFF);
}

HResult CResourceManager::PresentIntroScreen(backend::IRenderDevice* device) {
    if (device == nullptr) {
        return RESULT_FAIL;
    }
    device->Clear(0xFF000000);
    if (!device->BeginScene()) {
        return RESULT_OK;
    }
    DrawIntroScreen(device);
    DrawBorderFill(device, 0xFFFFFFFF);
    device->EndScene();
    // One of these follows every loaded item: waiting for the refresh each
    // time would hold loading to the display's rate.
    device->SetVSync(false);
    return device->Present() ? RESULT_OK : RESULT_FAIL;
}

void CResourceManager::ShowSplashScreens(backend::IRenderDevice* device) {
    // SPLASH_1..10 in number order, skipping those without a picture; the
    // loading-screen picture closes the sequence and stays on the screen.
    std::vector<std::int32_t> pictures;
    for (int n = 1; n <= SPLASH_COUNT; ++n) {
        const std::int32_t index = GetIndex(RESOURCE_IMAGE, SplashId(n));
        if (IsImageIndex(index) && m_images[static_cast<std::size_t>(index)].texture != nullptr) {
            pictures.push_back(index);
            continue;
        }
        bool later = false;
        for (int m = n + 1; m <= SPLASH_COUNT && !later; ++m) {
            later = GetIndex(RESOURCE_IMAGE, SplashId(m)) >= 0;
        }
        if (later) {
            continue;
        }
        const std::int32_t intro = GetIndex(RESOURCE_IMAGE, "INTRO_SCREEN");
        if (intro >= 0) {
            pictures.push_back(intro);
        }
        break;
    }

    // Absolute times stay in double: a float of a clock that has run for days
    // keeps only a fraction of a second.
    double previous = AppTimer(TIMER_GET_ABSOLUTE_TIME);
    // The fades run for a set time; waiting for the refresh keeps them from
    // drawing far more frames than the display can show.
    if (device != nullptr) {
        device->SetVSync(true);
    }
    for (std::size_t k = 0; k < pictures.size(); ++k) {
        const bool last = k + 1 == pictures.size();
        if (!IsImageIndex(pictures[k]) || device == nullptr) {
            continue;
        }
        const ImageRecord& image = m_images[static_cast<std::size_t>(pictures[k])];
        float level = 0.0f;
        float hold = SPLASH_HOLD_SECONDS;
        for (;;) {
            const double now = AppTimer(TIMER_GET_ABSOLUTE_TIME);
            const auto dt = static_cast<float>(now - previous);
            previous = now;
            if (hold > 0.0f && level < 255.0f) {
                level += SPLASH_FADE_SPEED * dt;
                if (level >= 255.0f) {
                    level = 255.0f;
                    if (last) {
                        break;
                    }
                }
            }
            if (hold > 0.0f && level >= 255.0f) {
                hold = std::fmax(hold - dt, 0.0f);
            }
            if (hold <= 0.0f) {
                level -= SPLASH_FADE_SPEED * dt;
                if (level <= 0.0f) {
                    break;
                }
            }

            device->Clear(0xFF000000);
            if (!device->BeginScene()) {
                continue;
            }
            const auto grey = static_cast<std::uint32_t>(level);
            const std::uint32_t colour = 0xFF000000u | (grey * 0x010101u);
            backend::SpriteDraw draw;
            draw.texture = image.texture;
            if (last) {
                DrawBorderFill(device, colour);
                draw.scale = {image.scaleX * m_scale.x, image.scaleY * m_scale.y};
                draw.translation = {image.x * m_scale.x + m_offset.x,
                                    image.y * m_scale.y + m_offset.y};
                draw.colour = colour & m_colourMask;
            } else {
                draw.scale = {image.scaleX * m_splashScale.x, image.scaleY * m_splashScale.y};
                draw.translation = {image.x * m_splashScale.x + m_splashOffset.x,
                                    image.y * m_splashScale.y + m_splashOffset.y};
                draw.colour = colour;
            }
            device->Draw(draw);
            device->EndScene();
            device->Present();
        }
    }
}
