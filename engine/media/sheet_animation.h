#pragma once
// The animated sprite most game objects own: clips are runs of equal cells in
// a grid on one image (a sprite sheet). Playing a clip steps its current cell
// once per frame time from the start cell toward the end cell, then loops,
// turns back (ping-pong) or stops.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/backend/video.h"
#include "engine/platform/geometry.h"
#include "engine/platform/media_result.h"

struct SheetCell {
    std::int32_t column = 0;
    std::int32_t row = 0;
};

inline bool operator==(SheetCell a, SheetCell b) {
    return a.column == b.column && a.row == b.row;
}

struct SheetClip {
    static constexpr int CELL_OFFSET_COUNT = 20;

    std::int32_t image = -1;
    // The current cell on the image.
    backend::Rect source;
    // Added to the four edges of the source when drawing.
    std::int32_t cropLeft = 0;
    std::int32_t cropTop = 0;
    std::int32_t cropRight = 0;
    std::int32_t cropBottom = 0;
    std::int32_t originX = 0;
    std::int32_t originY = 0;
    // Per row (a clip stepping along columns) or per column (one stepping
    // along rows): shifts that row or column of the sheet.
    std::array<SheetCell, CELL_OFFSET_COUNT> cellOffsets{};
    SheetCell startCell;
    SheetCell endCell;
    SheetCell currentCell;
    std::int32_t columns = 0;
    std::int32_t rows = 0;
    std::int32_t columnStep = 0;
    std::int32_t rowStep = 0;
    float frameTime = 0.0f;
    bool pingPong = false;
    // Seconds left; exactly -1 plays endlessly, 0 stops at the next end.
    float playTime = 0.0f;
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    std::int32_t direction = 1;
};

struct SheetClipDesc {
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    std::string imageId;
    // One cell, relative to the grid origin.
    std::int32_t cellLeft = 0;
    std::int32_t cellRight = 0;
    std::int32_t cellTop = 0;
    std::int32_t cellBottom = 0;
    std::int32_t originX = 0;
    std::int32_t originY = 0;
    std::int32_t startColumn = 0;
    std::int32_t startRow = 0;
    std::int32_t endColumn = 0;
    std::int32_t endRow = 0;
    std::int32_t currentColumn = 0;
    std::int32_t currentRow = 0;
    std::int32_t columns = 0;
    std::int32_t rows = 0;
    std::int32_t columnStep = 0;
    std::int32_t rowStep = 0;
    float frameTime = 0.0f;
};

class CSheetAnimation {
public:
    CSheetAnimation() = default;

    // Appends a clip and makes clip 0 current; the animation stays stopped.
    void AddClip(SheetClipDesc desc);
    bool Play(unsigned clip, bool rewind, bool pingPong, float playTime);
    // Backward play never ping-pongs; the third argument is kept for symmetry
    // with Play and not read.
    bool PlayBackward(unsigned clip, bool rewind, bool pingPong, float playTime);
    // At most one step per call.
    void Update(float elapsed);
    // A stopped animation still draws its current cell.
    HResult Draw(Vec2 screenScale, std::uint32_t colour);
    HResult DrawAdditive(backend::IRenderDevice* device, Vec2 screenScale, std::uint32_t colour);
    void Stop() { m_stopped = true; }
    // clip -1: any clip.
    bool IsPlaying(int clip) const;
    void ClearClips() { m_clips.clear(); }

    void SetPosition(float x, float y) {
        m_positionX = x;
        m_positionY = y;
    }
    Vec2 GetPosition() const { return {m_positionX, m_positionY}; }
    void SetScale(float x, float y) {
        m_scaleX = x;
        m_scaleY = y;
    }
    // Rotation in radians about the centre, in scaled picture pixels.
    void SetRotation(float centreX, float centreY, float rotation) {
        m_centreX = centreX;
        m_centreY = centreY;
        m_rotation = rotation;
    }
    int GetCurrentClip() const { return m_currentClip; }
    int GetClipCount() const { return static_cast<int>(m_clips.size()); }
    void SetCurrentClip(unsigned clip);
    void SetClipCrop(unsigned clip, std::int32_t left, std::int32_t right, std::int32_t top,
                     std::int32_t bottom);
    void SetClipOffset(unsigned clip, float x, float y);
    void SetCellOffset(unsigned clip, int index, std::int32_t x, std::int32_t y);
    bool SetFrameTime(unsigned clip, float seconds);
    void RewindToStart();
    void RewindToEnd();
    // One step of the current clip, ignoring the timer and the play time, and
    // never stopping: where a step would stop, the cell stays.
    void StepForward();
    SheetCell GetCurrentCell(unsigned clip) const;
    bool SetCurrentCell(unsigned clip, std::int32_t column, std::int32_t row);
    int GetFrameIndex(unsigned clip) const;
    int GetFrameCount(unsigned clip) const;
    void StopAtEnd();
    // The new clip takes over the current one's direction, play time,
    // ping-pong flag and progress. False without a current clip or when the
    // new clip's grid has no rows.
    bool SwitchClip(unsigned clip);

    const SheetClip* GetClip(unsigned clip) const {
        return clip < m_clips.size() ? &m_clips[clip] : nullptr;
    }

private:
    SheetClip* Current();
    // One step; true when the clip has reached an end without time left, in
    // which case its cell stays.
    bool Step(SheetClip& clip);
    HResult DrawCurrent(backend::IRenderDevice* device, Vec2 screenScale, std::uint32_t colour,
                        bool additive);

    float m_positionX = 0.0f;
    float m_positionY = 0.0f;
    float m_scaleX = 1.0f;
    float m_scaleY = 1.0f;
    float m_centreX = 0.0f;
    float m_centreY = 0.0f;
    float m_rotation = 0.0f;
    std::vector<SheetClip> m_clips;
    int m_currentClip = -1;
    bool m_stopped = true;
    float m_timer = 0.0f;
};
