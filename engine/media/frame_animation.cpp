#include "engine/media/frame_animation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "engine/media/clip_timing.h"
#include "engine/media/resource_manager.h"
#include "engine/platform/geometry.h"
#include "engine/platform/html_log.h"
#include "engine/platform/regular_file.h"
#include "engine/platform/value_parsers.h"

namespace {

constexpr std::size_t LINE_BUFFER = 4096;
constexpr int VALUES_PER_FRAME = 8;

// Cuts toward zero. A number beyond the 32-bit range (a broken file) stops at
// the range's end instead of converting into nonsense.
std::int32_t Truncate(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    return static_cast<std::int32_t>(
        std::clamp(value, static_cast<double>(std::numeric_limits<std::int32_t>::min()),
                   static_cast<double>(std::numeric_limits<std::int32_t>::max())));
}

std::int32_t Round(float size, float fraction) {
    return Truncate(static_cast<double>(size * fraction) + 0.5);
}

// Copies frames first..last of the resource; none when the range does not lie
// inside its frames.
void AppendFrames(std::vector<AnimationFrame>& frames, const Animation2DRecord& record,
                  std::int32_t first, std::int32_t last) {
    const auto count = static_cast<std::int32_t>(record.frames.size());
    if (first < 0 || first > last || last >= count) {
        return;
    }
    frames.insert(frames.end(), record.frames.begin() + first, record.frames.begin() + last + 1);
}

}  // namespace

int ReadAnimationFrames(std::vector<AnimationFrame>& frames, const std::string& path,
                        std::int32_t image, std::int32_t frameWidth, std::int32_t frameHeight,
                        float width, float height) {
    frames.clear();
    std::FILE* file = OpenRegularFile(path);
    if (file == nullptr) {
        HtmlLog().Write("Red", "Loading animation data (%s): failed\n", path.c_str());
        return 0;
    }
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);

    char buffer[LINE_BUFFER];
    std::vector<float> values;
    while (std::ftell(file) < size) {
        std::memset(buffer, 0, sizeof(buffer));
        if (std::fgets(buffer, static_cast<int>(sizeof(buffer)), file) == nullptr) {
            break;
        }
        std::string line(buffer);
        // A CR LF line end reads like a bare line feed.
        if (line.size() >= 2 && line[line.size() - 2] == '\r' && line.back() == '\n') {
            line.erase(line.size() - 2, 1);
        }
        // Exporters close a line with a quote; the quote and whatever follows
        // it (the line feed) go, so that the last number parses.
        if (line.size() >= 2) {
            if (line.back() == '"') {
                line.pop_back();
            }
            if (line.size() >= 2 && line[line.size() - 2] == '"') {
                line.erase(line.size() - 2);
            }
        }
        values.clear();
        SplitToFloats(line, ";", &values);
        if (values.size() != VALUES_PER_FRAME || values[3] <= 0.0f) {
            continue;
        }
        AnimationFrame frame;
        frame.image = image;
        frame.left = Round(width, values[2]);
        frame.right = Round(width, values[3]);
        frame.top = Round(height, values[4]);
        frame.bottom = Round(height, values[5]);
        frame.hotSpotX = Truncate(values[6]);
        frame.hotSpotY = Truncate(values[7]);
        frame.mirroredHotSpotX =
            Truncate(static_cast<double>(frameWidth) - static_cast<double>(frame.hotSpotX));
        frame.mirroredHotSpotY =
            Truncate(static_cast<double>(frameHeight) - static_cast<double>(frame.hotSpotY));
        frames.push_back(frame);
    }
    std::fclose(file);
    const int count = static_cast<int>(frames.size());
    HtmlLog().Write("Gray", "Loading animation data (%s): complete (%i)\n", path.c_str(), count);
    return count;
}

void CFrameAnimation::AddClip(FrameClipDesc desc) {
    const Animation2DRecord record = ResourceManager::Instance().GetAnimation2D(desc.animationId);
    FrameClip clip;
    clip.offsetX = desc.offsetX;
    clip.offsetY = desc.offsetY;
    clip.scaleX = desc.scaleX;
    clip.scaleY = desc.scaleY;
    clip.frameTime = desc.frameTime;
    clip.frameWidth = record.frameWidth;
    clip.frameHeight = record.frameHeight;
    AppendFrames(clip.frames, record, desc.firstFrame, desc.lastFrame);
    m_clips.push_back(std::move(clip));
    m_currentClip = 0;
}

bool CFrameAnimation::AddFrames(unsigned clip, const std::string& animationId, std::int32_t first,
                                std::int32_t last) {
    if (clip >= m_clips.size()) {
        return false;
    }
    const Animation2DRecord record = ResourceManager::Instance().GetAnimation2D(animationId);
    AppendFrames(m_clips[clip].frames, record, first, last);
    return true;
}

FrameClip* CFrameAnimation::Current() {
    if (m_currentClip < 0 || m_currentClip >= static_cast<int>(m_clips.size())) {
        return nullptr;
    }
    return &m_clips[m_currentClip];
}

bool CFrameAnimation::Play(unsigned clip, bool rewind, bool pingPong, float playTime) {
    if (clip >= m_clips.size()) {
        return false;
    }
    m_currentClip = static_cast<int>(clip);
    m_stopped = false;
    FrameClip& current = m_clips[clip];
    current.pingPong = pingPong;
    current.direction = 1;
    current.playTime = playTime;
    if (rewind) {
        current.currentFrame = 0;
    }
    return true;
}

bool CFrameAnimation::PlayBackward(unsigned clip, bool rewind, bool /*pingPong*/, float playTime) {
    if (clip >= m_clips.size()) {
        return false;
    }
    m_currentClip = static_cast<int>(clip);
    m_stopped = false;
    FrameClip& current = m_clips[clip];
    current.pingPong = false;
    current.direction = -1;
    current.playTime = playTime;
    if (rewind) {
        RewindToEnd();
    }
    return true;
}

void CFrameAnimation::Update(float elapsed) {
    FrameClip* clip = Current();
    if (clip == nullptr || m_stopped) {
        return;
    }
    if (!TakeClipStep(clip->playTime, m_timer, clip->frameTime, elapsed)) {
        return;
    }

    const std::int32_t last = static_cast<std::int32_t>(clip->frames.size()) - 1;
    std::int32_t& frame = clip->currentFrame;
    if (frame != last && clip->direction == 1) {
        ++frame;
    } else if (frame != 0 && clip->direction == -1) {
        --frame;
    } else {
        const bool timeLeft = clip->playTime > 0.0f || clip->playTime == -1.0f;
        if (clip->pingPong) {
            const bool wasForward = clip->direction == 1;
            clip->direction = clip->direction == 1 ? -1 : 1;
            if (timeLeft || wasForward) {
                frame += clip->direction;
            } else {
                m_stopped = true;
            }
        } else if (!timeLeft) {
            m_stopped = true;
        } else {
            frame = clip->direction > 0 ? 0 : last;
        }
    }
    if (frame > last) {
        frame = 0;
    }
    if (frame < 0) {
        frame = last;
    }
}

HResult CFrameAnimation::DrawCurrent(backend::IRenderDevice* device, Vec2 screenScale,
                                     std::uint32_t colour, bool additive) {
    const FrameClip* clip = Current();
    // An empty clip (a bad frame range) or a frame set out of range has no
    // picture to show.
    if (clip == nullptr || clip->currentFrame < 0 ||
        clip->currentFrame >= static_cast<std::int32_t>(clip->frames.size())) {
        return RESULT_FAIL;
    }
    const AnimationFrame& frame = clip->frames[clip->currentFrame];
    const Vec2 scaling{clip->scaleX * m_scaleX * screenScale.x,
                       clip->scaleY * m_scaleY * screenScale.y};
    const float hotSpotX =
        static_cast<float>(scaling.x < 0.0f ? frame.mirroredHotSpotX : frame.hotSpotX);
    const float hotSpotY =
        static_cast<float>(scaling.y < 0.0f ? frame.mirroredHotSpotY : frame.hotSpotY);
    const Vec2 position{(static_cast<float>(TruncateToInt32(m_positionX)) + clip->offsetX +
                         hotSpotX + static_cast<float>(clip->cropLeft)) *
                            screenScale.x,
                        (static_cast<float>(TruncateToInt32(m_positionY)) + clip->offsetY +
                         static_cast<float>(clip->cropTop) + hotSpotY) *
                            screenScale.y};
    // Edges near the ends of the range (a broken frame file) stop there instead
    // of overflowing; the device keeps the draw inside the picture.
    const auto cropped = [](std::int32_t edge, std::int32_t crop) {
        return SaturateToInt32(std::int64_t{edge} + crop);
    };
    const backend::Rect source{
        cropped(frame.left, clip->cropLeft), cropped(frame.top, clip->cropTop),
        cropped(frame.right, clip->cropRight), cropped(frame.bottom, clip->cropBottom)};
    const Vec2 centre{m_centreX, m_centreY};
    CResourceManager& resources = ResourceManager::Instance();
    if (additive) {
        return resources.DrawImageAdditive(device, frame.image, &source, &scaling, &centre,
                                           m_rotation, position, colour);
    }
    return resources.DrawImage(frame.image, &source, &scaling, &centre, m_rotation, position,
                               colour);
}

HResult CFrameAnimation::Draw(Vec2 screenScale, std::uint32_t colour) {
    return DrawCurrent(nullptr, screenScale, colour, false);
}

HResult CFrameAnimation::DrawAdditive(backend::IRenderDevice* device, Vec2 screenScale,
                                      std::uint32_t colour) {
    return DrawCurrent(device, screenScale, colour, true);
}

bool CFrameAnimation::IsPlaying(int clip) const {
    return !m_stopped && (clip == -1 || clip == m_currentClip);
}

void CFrameAnimation::SetCurrentClip(unsigned clip) {
    if (clip < m_clips.size()) {
        m_currentClip = static_cast<int>(clip);
    }
}

bool CFrameAnimation::SwitchClip(unsigned clip) {
    const FrameClip* current = Current();
    if (clip >= m_clips.size() || current == nullptr) {
        return false;
    }
    FrameClip& next = m_clips[clip];
    next.pingPong = current->pingPong;
    next.direction = current->direction;
    next.playTime = current->playTime;
    next.currentFrame = current->currentFrame;
    m_currentClip = static_cast<int>(clip);
    return true;
}

void CFrameAnimation::Rewind() {
    if (FrameClip* clip = Current()) {
        clip->currentFrame = 0;
    }
}

void CFrameAnimation::RewindToEnd() {
    if (FrameClip* clip = Current()) {
        clip->currentFrame = static_cast<std::int32_t>(clip->frames.size()) - 1;
    }
}

void CFrameAnimation::SetClipCrop(unsigned clip, std::int32_t left, std::int32_t right,
                                  std::int32_t top, std::int32_t bottom) {
    if (clip >= m_clips.size()) {
        return;
    }
    FrameClip& target = m_clips[clip];
    target.cropLeft = left;
    target.cropRight = right;
    target.cropTop = top;
    target.cropBottom = bottom;
}

void CFrameAnimation::SetCropAll(std::int32_t left, std::int32_t right, std::int32_t top,
                                 std::int32_t bottom) {
    for (unsigned clip = 0; clip < m_clips.size(); ++clip) {
        SetClipCrop(clip, left, right, top, bottom);
    }
}

void CFrameAnimation::SetClipOffset(unsigned clip, float x, float y) {
    if (clip < m_clips.size()) {
        m_clips[clip].offsetX = x;
        m_clips[clip].offsetY = y;
    }
}

bool CFrameAnimation::SetFrameTime(unsigned clip, float seconds) {
    if (clip >= m_clips.size()) {
        return false;
    }
    m_clips[clip].frameTime = seconds;
    return true;
}

bool CFrameAnimation::SetCurrentFrame(unsigned clip, std::int32_t frame) {
    if (clip >= m_clips.size()) {
        return false;
    }
    m_clips[clip].currentFrame = frame;
    return true;
}

int CFrameAnimation::GetCurrentFrame(unsigned clip) const {
    return clip < m_clips.size() ? m_clips[clip].currentFrame : -1;
}

int CFrameAnimation::GetLastFrame(unsigned clip) const {
    if (clip >= m_clips.size() || m_clips[clip].frames.empty()) {
        return -1;
    }
    return static_cast<int>(m_clips[clip].frames.size()) - 1;
}

void CFrameAnimation::StopAtEnd() {
    if (FrameClip* clip = Current()) {
        clip->playTime = 0.0f;
    }
}
