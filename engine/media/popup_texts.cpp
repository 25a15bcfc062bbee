#include "engine/media/popup_texts.h"

#include "engine/media/resource_manager.h"

namespace {

constexpr float MIN_SCALE_FACTOR = 0.8f;
constexpr float MAX_SCALE_FACTOR = 1.4f;
constexpr float PULSE_SPEED = 6.5f;
constexpr float DRIFT_UNIT = 100.0f;  // design pixels per second per unit of drift

}  // namespace

void CPopupTexts::Add(std::int32_t font, const std::u16string& text, std::int32_t tag,
                      std::uint32_t colour, float x, float y, float letterSpacing, float driftX,
                      float driftY, float scale, float hold, float delay, std::int32_t sound) {
    PopupText popup;
    popup.tag = tag;
    popup.text = text;
    popup.colour = colour;
    popup.x = x;
    popup.y = y;
    popup.letterSpacing = letterSpacing;
    popup.driftX = driftX;
    popup.driftY = driftY;
    popup.hold = hold;
    popup.delay = delay;
    popup.sound = sound;
    popup.width = ResourceManager::Instance().GetTextWidth(font, text, letterSpacing, true, -1);
    // A popup of no size would never grow past its maximum and so never end.
    if (scale <= 0.0f) {
        scale = 1.0f;
    }
    popup.baseScale = scale;
    popup.scale = scale;
    popup.minScale = MIN_SCALE_FACTOR * scale;
    popup.maxScale = MAX_SCALE_FACTOR * scale;
    popup.pulseSpeed = PULSE_SPEED * scale;
    m_texts.push_back(std::move(popup));
}

void CPopupTexts::Update(float elapsed) {
    for (std::size_t i = 0; i < m_texts.size();) {
        PopupText& popup = m_texts[i];
        if (popup.delay >= 0.0f) {
            popup.delay -= elapsed;
            if (popup.delay < 0.0f) {
                popup.delay = -1.0f;
                if (popup.sound >= 0) {
                    ResourceManager::Instance().GetSoundManager().Play(
                        SoundType::Sample, static_cast<unsigned>(popup.sound), true, false);
                }
            }
            ++i;
            continue;
        }
        // A phase that ends hands the rest of the frame to the next one. A
        // phase also ends when its bound is already passed (a tuned range), so
        // that every popup comes to an end.
        if (popup.phase == PopupText::GROW) {
            if (popup.scale < popup.maxScale) {
                popup.scale += elapsed * popup.pulseSpeed;
            }
            if (popup.scale >= popup.maxScale) {
                popup.scale = popup.maxScale;
                popup.phase = PopupText::SHRINK;
            }
        }
        if (popup.phase == PopupText::SHRINK) {
            if (popup.scale > popup.minScale) {
                popup.scale -= elapsed * popup.pulseSpeed;
            }
            if (popup.scale <= popup.minScale) {
                popup.scale = popup.minScale;
                popup.phase = PopupText::HOLD;
            }
        }
        if (popup.phase == PopupText::HOLD) {
            popup.hold -= elapsed;
            if (popup.hold <= 0.0f) {
                popup.hold = 0.0f;
                popup.phase = PopupText::FADE;
            }
        }
        if (popup.phase == PopupText::FADE && popup.opacity > 0.0f) {
            popup.x += elapsed * DRIFT_UNIT * popup.driftX;
            popup.y += elapsed * DRIFT_UNIT * popup.driftY;
            popup.opacity -= elapsed * popup.fadeSpeed;
            if (popup.opacity <= 0.0f) {
                popup.opacity = 0.0f;
                popup.phase = PopupText::FINISHED;
            }
        }
        popup.drawScaleX = popup.scale * m_scaleX;
        popup.drawScaleY = popup.scale * m_scaleY;
        popup.colour =
            (static_cast<std::uint32_t>(static_cast<std::int32_t>(popup.opacity)) << 24) |
            (popup.colour & 0x00FFFFFFu);
        if (popup.phase == PopupText::FINISHED) {
            m_texts.erase(m_texts.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
}

void CPopupTexts::Draw() {
    CResourceManager& resources = ResourceManager::Instance();
    for (PopupText& popup : m_texts) {
        if (popup.delay > 0.0f) {
            continue;
        }
        popup.drawX = popup.x * m_scaleX - popup.scale * popup.width * 0.5f;
        popup.drawY = popup.y * m_scaleY;
        resources.DrawText(DRAW_FONT, popup.text, {popup.drawScaleX, popup.drawScaleY},
                           {popup.drawX, popup.drawY}, popup.colour, false, true,
                           popup.letterSpacing, popup.lineSpacing, true);
    }
}

void CPopupTexts::SetLastScaleRange(float minimumFactor, float maximumFactor) {
    if (m_texts.empty()) {
        return;
    }
    PopupText& popup = m_texts.back();
    popup.minScale = minimumFactor * popup.baseScale;
    popup.maxScale = maximumFactor * popup.baseScale;
}

void CPopupTexts::SetLastSpeed(float speedFactor, float fadeSpeed) {
    if (m_texts.empty()) {
        return;
    }
    PopupText& popup = m_texts.back();
    popup.pulseSpeed = speedFactor * popup.baseScale;
    popup.fadeSpeed = fadeSpeed;
}
