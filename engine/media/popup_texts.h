#pragma once
// The floating texts that pop up where something happens (cash gained or
// lost, a sale, a fine): each swells, settles, stays a moment and fades out
// while it drifts away. One process-wide list, drawn over everything else.
#include <cstdint>
#include <string>
#include <vector>

#include <loki/Singleton.h>

struct PopupText {
    enum Phase : std::int32_t { GROW = 0, SHRINK = 1, HOLD = 2, FADE = 3, FINISHED = 4 };

    std::int32_t tag = -1;  // kept for the caller, not interpreted
    std::u16string text;
    float width = 0.0f;  // window pixels at scale 1
    float hold = 0.5f;   // seconds at full opacity after the pulse
    // Seconds before the popup starts; -1 once it has started.
    float delay = 0.0f;
    std::int32_t phase = GROW;
    std::int32_t sound = -1;  // sample played at the start, -1 none
    float letterSpacing = 0.0f;
    float lineSpacing = 0.0f;
    std::uint32_t colour = 0xFFFFFFFF;  // the alpha byte follows the opacity
    float opacity = 255.0f;
    float x = 0.0f;  // design pixels, the centre of the text
    float y = 0.0f;
    float scale = 1.0f;
    float baseScale = 1.0f;  // the scale asked for; the pulse is relative to it
    float minScale = 0.8f;
    float maxScale = 1.4f;
    float pulseSpeed = 6.5f;   // scale units per second
    float fadeSpeed = 500.0f;  // opacity units per second
    float driftX = 0.0f;       // hundreds of design pixels per second while fading
    float driftY = 0.0f;
    float drawX = 0.0f;
    float drawY = 0.0f;
    float drawScaleX = 1.0f;
    float drawScaleY = 1.0f;
};

class CPopupTexts {
public:
    static constexpr std::int32_t DRAW_FONT = 1;

    CPopupTexts() = default;
    CPopupTexts(const CPopupTexts&) = delete;
    CPopupTexts& operator=(const CPopupTexts&) = delete;

    void SetScale(float x, float y) {
        m_scaleX = x;
        m_scaleY = y;
    }
    // Adds a text centred at (x, y). `font` only measures it: every popup is
    // drawn with font 1. A scale of 0 or less counts as 1.
    void Add(std::int32_t font, const std::u16string& text, std::int32_t tag, std::uint32_t colour,
             float x, float y, float letterSpacing, float driftX, float driftY, float scale,
             float hold, float delay, std::int32_t sound);
    // Advances every popup and removes the finished ones.
    void Update(float elapsed);
    void Draw();

    // Tuning of the popup added last; nothing on an empty list.
    void SetLastScaleRange(float minimumFactor, float maximumFactor);
    void SetLastSpeed(float speedFactor, float fadeSpeed);

    const std::vector<PopupText>& GetTexts() const { return m_texts; }

private:
    float m_scaleX = 1.0f;
    float m_scaleY = 1.0f;
    std::vector<PopupText> m_texts;
};

inline unsigned int GetLongevity(CPopupTexts*) {
    return 4;
}

using PopupTexts = Loki::SingletonHolder<CPopupTexts, Loki::CreateStatic,
                                         Loki::SingletonWithLongevity, Loki::SingleThreaded>;
