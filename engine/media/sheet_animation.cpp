#include "engine/media/sheet_animation.h"

#include <cstdlib>

#include "engine/media/clip_timing.h"
#include "engine/media/resource_manager.h"
#include "engine/platform/geometry.h"

namespace {

// Places the source rectangle on the current cell, keeping its size.
void UpdateSource(SheetClip& clip) {
    SheetCell shift;
    const SheetCell cell = clip.currentCell;
    if (clip.columnStep != 0 && cell.row >= 0 && cell.row < SheetClip::CELL_OFFSET_COUNT) {
        shift = clip.cellOffsets[cell.row];
    }
    if (clip.rowStep != 0 && cell.column >= 0 && cell.column < SheetClip::CELL_OFFSET_COUNT) {
        shift = clip.cellOffsets[cell.column];
    }
    const std::int32_t width = clip.source.right - clip.source.left;
    const std::int32_t height = clip.source.bottom - clip.source.top;
    clip.source.left = cell.column * width + clip.originX - shift.column;
    clip.source.right = (cell.column + 1) * width + clip.originX - shift.column;
    clip.source.top = cell.row * height + clip.originY - shift.row;
    clip.source.bottom = (cell.row + 1) * height + clip.originY - shift.row;
}

void Advance(SheetClip& clip) {
    clip.currentCell.column += clip.direction * clip.columnStep;
    clip.currentCell.row += clip.direction * clip.rowStep;
}

// A cell that steps off the grid comes back on the other side, on the next
// row (or column) in the direction of travel.
void WrapCell(SheetClip& clip) {
    SheetCell& cell = clip.currentCell;
    const std::int32_t columnTravel = clip.direction * clip.columnStep;
    const std::int32_t rowTravel = clip.direction * clip.rowStep;
    if (cell.column >= clip.columns) {
        cell.column -= clip.columns;
        if (columnTravel == 1) {
            ++cell.row;
        }
    }
    if (cell.column < 0) {
        cell.column += clip.columns;
        if (columnTravel == -1) {
            --cell.row;
        }
    }
    if (cell.row >= clip.rows) {
        cell.row -= clip.rows;
        if (rowTravel == 1) {
            ++cell.column;
        }
    }
    if (cell.row < 0) {
        cell.row += clip.rows;
        if (rowTravel == -1) {
            --cell.column;
        }
    }
}

}  // namespace

void CSheetAnimation::AddClip(SheetClipDesc desc) {
    SheetClip clip;
    clip.image = ResourceManager::Instance().GetIndex(RESOURCE_IMAGE, desc.imageId);
    // Until the first step or rewind the clip shows the described cell at the
    // grid origin.
    clip.source = {desc.originX + desc.cellLeft, desc.originY + desc.cellTop,
                   desc.originX + desc.cellRight, desc.originY + desc.cellBottom};
    clip.originX = desc.originX;
    clip.originY = desc.originY;
    clip.startCell = {desc.startColumn, desc.startRow};
    clip.endCell = {desc.endColumn, desc.endRow};
    clip.currentCell = {desc.currentColumn, desc.currentRow};
    clip.columns = desc.columns;
    clip.rows = desc.rows;
    clip.columnStep = desc.columnStep;
    clip.rowStep = desc.rowStep;
    clip.frameTime = desc.frameTime;
    clip.offsetX = desc.offsetX;
    clip.offsetY = desc.offsetY;
    clip.scaleX = desc.scaleX;
    clip.scaleY = desc.scaleY;
    m_clips.push_back(clip);
    m_currentClip = 0;
}

SheetClip* CSheetAnimation::Current() {
    if (m_currentClip < 0 || m_currentClip >= static_cast<int>(m_clips.size())) {
        return nullptr;
    }
    return &m_clips[m_currentClip];
}

bool CSheetAnimation::Play(unsigned clip, bool rewind, bool pingPong, float playTime) {
    if (clip >= m_clips.size()) {
        return false;
    }
    m_currentClip = static_cast<int>(clip);
    m_stopped = false;
    SheetClip& current = m_clips[clip];
    current.pingPong = pingPong;
    current.direction = 1;
    current.playTime = playTime;
    if (rewind) {
        RewindToStart();
    }
    return true;
}

bool CSheetAnimation::PlayBackward(unsigned clip, bool rewind, bool /*pingPong*/, float playTime) {
    if (clip >= m_clips.size()) {
        return false;
    }
    m_currentClip = static_cast<int>(clip);
    m_stopped = false;
    SheetClip& current = m_clips[clip];
    current.pingPong = false;
    current.direction = -1;
    current.playTime = playTime;
    if (rewind) {
        RewindToEnd();
    }
    return true;
}

bool CSheetAnimation::Step(SheetClip& clip) {
    const bool endOfTravel = (clip.direction == 1 && clip.currentCell == clip.endCell) ||
                             (clip.direction == -1 && clip.currentCell == clip.startCell) ||
                             (clip.direction != 1 && clip.direction != -1);
    bool stops = false;
    if (!endOfTravel) {
        Advance(clip);
    } else {
        const bool timeLeft = clip.playTime > 0.0f || clip.playTime == -1.0f;
        if (clip.pingPong) {
            // A ping-pong clip always turns at its end cell and stops only on
            // coming back to its start cell.
            const bool wasForward = clip.direction == 1;
            clip.direction = wasForward ? -1 : 1;
            if (timeLeft || wasForward) {
                Advance(clip);
            } else {
                stops = true;
            }
        } else if (!timeLeft) {
            stops = true;
        } else {
            clip.currentCell = clip.direction > 0 ? clip.startCell : clip.endCell;
        }
    }
    WrapCell(clip);
    UpdateSource(clip);
    return stops;
}

void CSheetAnimation::Update(float elapsed) {
    SheetClip* clip = Current();
    if (clip == nullptr || m_stopped) {
        return;
    }
    if (!TakeClipStep(clip->playTime, m_timer, clip->frameTime, elapsed)) {
        return;
    }
    if (Step(*clip)) {
        m_stopped = true;
    }
}

void CSheetAnimation::StepForward() {
    if (SheetClip* clip = Current()) {
        Step(*clip);
    }
}

HResult CSheetAnimation::DrawCurrent(backend::IRenderDevice* device, Vec2 screenScale,
                                     std::uint32_t colour, bool additive) {
    const SheetClip* clip = Current();
    if (clip == nullptr) {
        return RESULT_FAIL;
    }
    const Vec2 scaling{clip->scaleX * m_scaleX * screenScale.x,
                       clip->scaleY * m_scaleY * screenScale.y};
    // Whole pixels for the placement, stopping at the ends of the int32 range;
    // the crop shift is added after it.
    const Vec2 position{
        static_cast<float>(TruncateToInt32((clip->offsetX + m_positionX) * screenScale.x)) +
            static_cast<float>(clip->cropLeft) * screenScale.x,
        static_cast<float>(TruncateToInt32((clip->offsetY + m_positionY) * screenScale.y)) +
            static_cast<float>(clip->cropTop) * screenScale.y};
    const backend::Rect source{clip->source.left + clip->cropLeft, clip->source.top + clip->cropTop,
                               clip->source.right + clip->cropRight,
                               clip->source.bottom + clip->cropBottom};
    const Vec2 centre{m_centreX, m_centreY};
    CResourceManager& resources = ResourceManager::Instance();
    if (additive) {
        return resources.DrawImageAdditive(device, clip->image, &source, &scaling, &centre,
                                           m_rotation, position, colour);
    }
    return resources.DrawImage(clip->image, &source, &scaling, &centre, m_rotation, position,
                               colour);
}

HResult CSheetAnimation::Draw(Vec2 screenScale, std::uint32_t colour) {
    return DrawCurrent(nullptr, screenScale, colour, false);
}

HResult CSheetAnimation::DrawAdditive(backend::IRenderDevice* device, Vec2 screenScale,
                                      std::uint32_t colour) {
    return DrawCurrent(device, screenScale, colour, true);
}

bool CSheetAnimation::IsPlaying(int clip) const {
    return !m_stopped && (clip == -1 || clip == m_currentClip);
}

void CSheetAnimation::SetCurrentClip(unsigned clip) {
    if (clip < m_clips.size()) {
        m_currentClip = static_cast<int>(clip);
    }
}

void CSheetAnimation::SetClipCrop(unsigned clip, std::int32_t left, std::int32_t right,
                                  std::int32_t top, std::int32_t bottom) {
    if (clip >= m_clips.size()) {
        return;
    }
    SheetClip& target = m_clips[clip];
    target.cropLeft = left;
    target.cropRight = right;
    target.cropTop = top;
    target.cropBottom = bottom;
}

void CSheetAnimation::SetClipOffset(unsigned clip, float x, float y) {
    if (clip < m_clips.size()) {
        m_clips[clip].offsetX = x;
        m_clips[clip].offsetY = y;
    }
}

void CSheetAnimation::SetCellOffset(unsigned clip, int index, std::int32_t x, std::int32_t y) {
    if (clip >= m_clips.size() || index < 0 || index >= SheetClip::CELL_OFFSET_COUNT) {
        return;
    }
    m_clips[clip].cellOffsets[index] = {x, y};
    UpdateSource(m_clips[clip]);
}

bool CSheetAnimation::SetFrameTime(unsigned clip, float seconds) {
    if (clip >= m_clips.size()) {
        return false;
    }
    m_clips[clip].frameTime = seconds;
    return true;
}

void CSheetAnimation::RewindToStart() {
    if (SheetClip* clip = Current()) {
        clip->currentCell = clip->startCell;
        UpdateSource(*clip);
    }
}

void CSheetAnimation::RewindToEnd() {
    if (SheetClip* clip = Current()) {
        clip->currentCell = clip->endCell;
        UpdateSource(*clip);
    }
}

SheetCell CSheetAnimation::GetCurrentCell(unsigned clip) const {
    return clip < m_clips.size() ? m_clips[clip].currentCell : SheetCell{};
}

bool CSheetAnimation::SetCurrentCell(unsigned clip, std::int32_t column, std::int32_t row) {
    if (clip >= m_clips.size()) {
        return false;
    }
    m_clips[clip].currentCell = {column, row};
    UpdateSource(m_clips[clip]);
    return true;
}

int CSheetAnimation::GetFrameIndex(unsigned clip) const {
    if (clip >= m_clips.size()) {
        return -1;
    }
    const SheetClip& c = m_clips[clip];
    return std::abs((c.currentCell.column - c.startCell.column) * c.rows +
                    (c.currentCell.row - c.startCell.row));
}

int CSheetAnimation::GetFrameCount(unsigned clip) const {
    if (clip >= m_clips.size()) {
        return -1;
    }
    const SheetClip& c = m_clips[clip];
    if (c.rowStep > 0) {
        return (c.columns - 1) * c.rows + c.endCell.row - c.startCell.row + 1;
    }
    if (c.rowStep < 0) {
        return (c.columns - 1) * c.rows + c.startCell.row - c.endCell.row + 1;
    }
    if (c.columnStep > 0) {
        return (c.rows - 1) * c.columns + c.endCell.column - c.startCell.column + 1;
    }
    if (c.columnStep < 0) {
        return (c.rows - 1) * c.columns + c.startCell.column - c.endCell.column + 1;
    }
    return -1;
}

void CSheetAnimation::StopAtEnd() {
    if (SheetClip* clip = Current()) {
        clip->playTime = 0.0f;
    }
}

bool CSheetAnimation::SwitchClip(unsigned clip) {
    const SheetClip* current = Current();
    if (current == nullptr || clip >= m_clips.size() || m_clips[clip].rows == 0) {
        return false;
    }
    SheetClip& next = m_clips[clip];
    next.pingPong = current->pingPong;
    next.direction = current->direction;
    next.playTime = current->playTime;
    const int progress = GetFrameIndex(static_cast<unsigned>(m_currentClip)) + next.startCell.row;
    next.currentCell = {progress / next.rows + next.startCell.column, progress % next.rows};
    m_currentClip = static_cast<int>(clip);
    UpdateSource(next);
    return true;
}
