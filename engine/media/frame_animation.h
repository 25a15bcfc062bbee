#pragma once
// Sprites whose frames are cut from an Animation2D resource: every frame has
// its own rectangle on the resource's image and its own hot spot. The frames of
// a resource come from its frame file (ReadAnimationFrames); a clip is a run of
// them, copied when the clip is built.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/backend/video.h"
#include "engine/platform/geometry.h"
#include "engine/platform/media_result.h"

// One frame of an Animation2D resource, in pixels of its image.
struct AnimationFrame {
    std::int32_t image = -1;
    std::int32_t left = 0;
    std::int32_t right = 0;
    std::int32_t top = 0;
    std::int32_t bottom = 0;
    std::int32_t hotSpotX = 0;
    std::int32_t hotSpotY = 0;
    // The hot spot to use when the frame is drawn mirrored.
    std::int32_t mirroredHotSpotX = 0;
    std::int32_t mirroredHotSpotY = 0;
};

// Reads a frame file into `frames` (emptied first). A line makes a frame only
// when it holds exactly eight ';'-separated numbers whose fourth is positive:
// two unread values, left, right, top and bottom as fractions of `width` and
// `height`, and the hot spot in pixels. Logs the file; returns the number of
// frames (0 when the file does not open).
int ReadAnimationFrames(std::vector<AnimationFrame>& frames, const std::string& path,
                        std::int32_t image, std::int32_t frameWidth, std::int32_t frameHeight,
                        float width, float height);

struct FrameClip {
    std::vector<AnimationFrame> frames;
    std::int32_t frameWidth = 0;
    std::int32_t frameHeight = 0;
    std::int32_t currentFrame = 0;
    std::int32_t cropLeft = 0;
    std::int32_t cropTop = 0;
    std::int32_t cropRight = 0;
    std::int32_t cropBottom = 0;
    float frameTime = 0.0f;
    bool pingPong = false;
    // Seconds left; exactly -1 plays endlessly, 0 stops at the next end.
    float playTime = 0.0f;
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    // +1 forward, -1 backward, 0 until the clip is first played.
    std::int32_t direction = 0;
};

struct FrameClipDesc {
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    std::string animationId;      // an Animation2D resource
    std::int32_t firstFrame = 0;  // inclusive
    std::int32_t lastFrame = 0;   // inclusive
    float frameTime = 0.0f;
};

class CFrameAnimation {
public:
    CFrameAnimation() = default;

    // Appends a clip of the resource's frames first..last (none when the range
    // is bad) and makes clip 0 current.
    void AddClip(FrameClipDesc desc);
    bool AddFrames(unsigned clip, const std::string& animationId, std::int32_t first,
                   std::int32_t last);

    bool Play(unsigned clip, bool rewind, bool pingPong, float playTime);
    // Backward play never ping-pongs; the third argument is kept for symmetry
    // with Play and not read.
    bool PlayBackward(unsigned clip, bool rewind, bool pingPong, float playTime);
    // At most one frame step per call.
    void Update(float elapsed);
    // RESULT_FAIL, drawing nothing, when there is no current clip or its
    // current frame lies outside its frames.
    HResult Draw(Vec2 screenScale, std::uint32_t colour);
    HResult DrawAdditive(backend::IRenderDevice* device, Vec2 screenScale, std::uint32_t colour);

    void Stop() { m_stopped = true; }
    // clip -1: any clip.
    bool IsPlaying(int clip) const;
    void SetPosition(float x, float y) {
        m_positionX = x;
        m_positionY = y;
    }
    Vec2 GetPosition() const { return {m_positionX, m_positionY}; }
    void SetScale(float x, float y) {
        m_scaleX = x;
        m_scaleY = y;
    }
    int GetCurrentClip() const { return m_currentClip; }
    void SetCurrentClip(unsigned clip);
    void ClearClips() { m_clips.clear(); }

    bool SwitchClip(unsigned clip);
    void Rewind();
    void RewindToEnd();
    void SetClipCrop(unsigned clip, std::int32_t left, std::int32_t right, std::int32_t top,
                     std::int32_t bottom);
    void SetCropAll(std::int32_t left, std::int32_t right, std::int32_t top, std::int32_t bottom);
    void SetClipOffset(unsigned clip, float x, float y);
    bool SetFrameTime(unsigned clip, float seconds);
    bool SetCurrentFrame(unsigned clip, std::int32_t frame);
    int GetCurrentFrame(unsigned clip) const;
    int GetLastFrame(unsigned clip) const;
    int GetClipCount() const { return static_cast<int>(m_clips.size()); }
    void StopAtEnd();

    // Rotation in radians about the centre, in scaled picture pixels.
    void SetRotation(float centreX, float centreY, float rotation) {
        m_centreX = centreX;
        m_centreY = centreY;
        m_rotation = rotation;
    }
    const FrameClip* GetClip(unsigned clip) const {
        return clip < m_clips.size() ? &m_clips[clip] : nullptr;
    }

private:
    FrameClip* Current();
    HResult DrawCurrent(backend::IRenderDevice* device, Vec2 screenScale, std::uint32_t colour,
                        bool additive);

    float m_positionX = 0.0f;
    float m_positionY = 0.0f;
    float m_scaleX = 1.0f;
    float m_scaleY = 1.0f;
    float m_centreX = 0.0f;
    float m_centreY = 0.0f;
    float m_rotation = 0.0f;
    std::vector<FrameClip> m_clips;
    int m_currentClip = 0;
    bool m_stopped = true;
    float m_timer = 0.0f;
};
