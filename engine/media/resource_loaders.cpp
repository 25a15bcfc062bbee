// The loading stages of sounds, fonts and animations.
#include "engine/media/resource_manager.h"
#include "engine/platform/html_log.h"

namespace {

// The summary of a sound stage: every failure counted, none hidden.
bool LogSoundSummary(int loaded, int failed) {
    if (failed > 0) {
        HtmlLog().Write("Red", "Load is failed (%i)", failed);
        return false;
    }
    HtmlLog().Write("Green", "Load is completed (%i)", loaded);
    return true;
}

}  // namespace

bool CResourceManager::LoadSamples(backend::IRenderDevice* device) {
    int loaded = 0;
    int failed = 0;
    for (SampleRecord& record : m_samples) {
        const auto handles = m_soundManager.LoadSample(record.path);
        record.sample = handles.first;
        record.channel = handles.second;
        if (record.sample != 0 && record.channel != 0) {
            ++loaded;
            AdvanceProgress(device, record.coverage);
        } else {
            ++failed;
        }
    }
    return LogSoundSummary(loaded, failed);
}

bool CResourceManager::LoadStreams(backend::IRenderDevice* device) {
    int loaded = 0;
    int failed = 0;
    for (StreamRecord& record : m_streams) {
        record.stream = m_soundManager.LoadStream(record.path);
        if (record.stream != 0) {
            ++loaded;
            AdvanceProgress(device, record.coverage);
        } else {
            ++failed;
        }
    }
    return LogSoundSummary(loaded, failed);
}

bool CResourceManager::LoadMusics(backend::IRenderDevice* device) {
    int loaded = 0;
    int failed = 0;
    for (MusicRecord& record : m_musics) {
        record.music = m_soundManager.LoadMusic(record.path);
        if (record.music != 0) {
            ++loaded;
            AdvanceProgress(device, record.coverage);
        } else {
            ++failed;
        }
    }
    return LogSoundSummary(loaded, failed);
}

HResult CResourceManager::LoadFonts(backend::IRenderDevice* device) {
    HResult result = RESULT_OK;
    int count = 0;
    for (FontRecord& font : m_fonts) {
        // A font that fails ends the stage: the fonts after it stay unloaded.
        result = LoadTexture(device, font);
        if (Failed(result)) {
            return result;
        }
        const bool read =
            font.format == FONT_FORMAT_STRIP ? ReadFontFiFile(font) > 0 : ReadFontFile(font);
        // A font file without a single glyph fails like one that is not read.
        if (!read || font.glyphs.empty()) {
            return RESULT_FAIL;
        }
        ++count;
        AdvanceProgress(device, font.coverage);
    }
    HtmlLog().Write("Green", "Load is completed (%i)", count);
    return result;
}

int CResourceManager::LoadAnimations2D(backend::IRenderDevice* device) {
    int count = 0;
    for (Animation2DRecord& record : m_animations2D) {
        // A frame file that fails leaves the record without frames; it still counts.
        ReadAnimationFrames(record.frames, record.path, record.image, record.frameWidth,
                            record.frameHeight, static_cast<float>(record.width),
                            static_cast<float>(record.height));
        AdvanceProgress(device, record.coverage);
        ++count;
    }
    HtmlLog().Write("Green", "Load is completed (%i)", count);
    return count;
}

int CResourceManager::LoadAnimations3D(backend::IRenderDevice* device) {
    int count = 0;
    for (Animation3DRecord& record : m_animations3D) {
        record.animation.LoadMaxAnimation(record.path);
        AdvanceProgress(device, record.coverage);
        ++count;
    }
    HtmlLog().Write("Green", "Load is completed (%i)", count);
    return count;
}
