#pragma once
// Layout rules for what a player reads and follows on a screen, usable by the
// tests of any screen: a hint arrow's point lies at the thing it names; every
// text lies inside the screen and inside its panel and stands out from what
// is drawn behind it.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "engine/media/gui_image.h"
#include "engine/media/resource_manager.h"

namespace layout_test {

// A rectangle: left, top, right, bottom (right and bottom excluded).
struct Box {
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;

    bool Holds(const Box& inner) const {
        return inner.left >= left && inner.top >= top && inner.right <= right &&
               inner.bottom <= bottom;
    }
    Box Scaled(float scale) const {
        return {left * scale, top * scale, right * scale, bottom * scale};
    }
};

inline std::ostream& operator<<(std::ostream& out, const Box& box) {
    return out << "(" << box.left << ", " << box.top << ")-(" << box.right << ", " << box.bottom
               << ")";
}

inline std::string ToString(const Box& box) {
    std::ostringstream out;
    out << box;
    return out.str();
}

// How far a point lies from a box; 0 inside.
inline float Distance(Vec2 p, const Box& box) {
    const float dx = std::max({box.left - p.x, 0.0f, p.x - box.right});
    const float dy = std::max({box.top - p.y, 0.0f, p.y - box.bottom});
    return std::hypot(dx, dy);
}

// The area a GUI element answers the pointer on, margins included.
inline Box HitBox(const CGuiImage& image) {
    const float left = image.offsetX + image.hoverX + static_cast<float>(image.marginLeft);
    const float top = image.offsetY + image.hoverY + static_cast<float>(image.marginTop);
    return {
        left, top,
        image.offsetX + image.hoverX +
            image.scaleX * static_cast<float>(image.hoverSource.right - image.hoverSource.left) +
            static_cast<float>(image.marginRight),
        image.offsetY + image.hoverY +
            image.scaleY * static_cast<float>(image.hoverSource.bottom - image.hoverSource.top) +
            static_cast<float>(image.marginBottom)};
}

// Where a GUI element's own picture lies.
inline Box PictureBox(const CGuiImage& image) {
    const float left = image.offsetX + image.x;
    const float top = image.offsetY + image.y;
    return {left, top,
            left + image.scaleX * static_cast<float>(image.source.right - image.source.left),
            top + image.scaleY * static_cast<float>(image.source.bottom - image.source.top)};
}

// Where a hint arrow points: the middle of its picture's left edge, after the
// element's scale, its turn (clockwise for a positive angle, about its
// position) and its offset, less the bob along `bobDirection`.
inline Vec2 ArrowPoint(const CGuiImage& arrow, Vec2 bobDirection = {}, float bob = 0.0f) {
    const float half =
        arrow.scaleY * static_cast<float>(arrow.source.bottom - arrow.source.top) * 0.5f;
    return {arrow.x + arrow.offsetX - half * std::sin(arrow.rotation) - bob * bobDirection.x,
            arrow.y + arrow.offsetY + half * std::cos(arrow.rotation) - bob * bobDirection.y};
}

// Empty when the point lies within `reach` of the target; else what is wrong.
inline std::string ArrowFault(Vec2 point, const Box& target, float reach = 12.0f) {
    const float distance = Distance(point, target);
    if (distance <= reach) {
        return {};
    }
    std::ostringstream out;
    out << "the arrow points at (" << point.x << ", " << point.y << "), " << distance
        << " from its target " << target;
    return out.str();
}

// Relative luminance of a colour's red, green and blue (the alpha is not read).
inline double Luminance(std::uint32_t argb) {
    const auto linear = [](std::uint32_t channel) {
        const double c = static_cast<double>(channel & 0xFFu) / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(argb >> 16) + 0.7152 * linear(argb >> 8) + 0.0722 * linear(argb);
}

// The contrast ratio of two luminances, 1 to 21.
inline double Contrast(double a, double b) {
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// A text as a DrawText call placed it, in back-buffer pixels.
struct PlacedText {
    std::string text;  // as UTF-8 for the messages; the glyphs drawn, spaces left out
    std::uint32_t colour = 0;
    Box box;
    std::vector<Box> glyphs;
};

// Records the texts drawn while it lives, through the resource manager's
// glyph observer. With `draw` false the glyphs are left out of the picture,
// so that a frame shows what lies behind the texts.
class TextRecorder {
public:
    explicit TextRecorder(bool draw = true) {
        ResourceManager::Instance().glyphObserver =
            [this, draw](const CResourceManager::PlacedGlyph& glyph) {
                if (m_texts.empty() || glyph.call != m_lastCall) {
                    m_texts.push_back(
                        {{}, glyph.colour, {glyph.left, glyph.top, glyph.left, glyph.top}, {}});
                    m_lastCall = glyph.call;
                }
                PlacedText& text = m_texts.back();
                text.text += glyph.character < 0x80 ? static_cast<char>(glyph.character) : '?';
                const Box box{glyph.left, glyph.top, glyph.right, glyph.bottom};
                text.glyphs.push_back(box);
                text.box = {std::min(text.box.left, box.left), std::min(text.box.top, box.top),
                            std::max(text.box.right, box.right),
                            std::max(text.box.bottom, box.bottom)};
                return draw;
            };
    }
    ~TextRecorder() { ResourceManager::Instance().glyphObserver = nullptr; }
    TextRecorder(const TextRecorder&) = delete;
    TextRecorder& operator=(const TextRecorder&) = delete;

    const std::vector<PlacedText>& Texts() const { return m_texts; }

private:
    std::vector<PlacedText> m_texts;
    std::int64_t m_lastCall = -1;
};

// The pixels of a frame, `width` to a row.
struct Frame {
    std::vector<std::uint32_t> pixels;
    int width = 0;
    int height = 0;
};

// The ink of one glyph: the pixels of its cell that the text changed, their
// bounds and the mean luminance of what they covered.
struct Ink {
    bool any = false;
    Box box;
    double behind = 0.0;
    bool atEdge = false;  // ink on the frame's outermost pixels
};

inline Ink GlyphInk(const Box& cell, const Frame& behind, const Frame& drawn) {
    Ink ink;
    const int left = std::max(0, static_cast<int>(std::floor(cell.left)));
    const int top = std::max(0, static_cast<int>(std::floor(cell.top)));
    const int right = std::min(drawn.width, static_cast<int>(std::ceil(cell.right)));
    const int bottom = std::min(drawn.height, static_cast<int>(std::ceil(cell.bottom)));
    double sum = 0.0;
    int count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const std::size_t i = static_cast<std::size_t>(y * drawn.width + x);
            if (drawn.pixels[i] == behind.pixels[i]) {
                continue;
            }
            const Box pixel{static_cast<float>(x), static_cast<float>(y), static_cast<float>(x + 1),
                            static_cast<float>(y + 1)};
            ink.box =
                ink.any ? Box{std::min(ink.box.left, pixel.left), std::min(ink.box.top, pixel.top),
                              std::max(ink.box.right, pixel.right),
                              std::max(ink.box.bottom, pixel.bottom)}
                        : pixel;
            ink.any = true;
            ink.atEdge =
                ink.atEdge || x == 0 || y == 0 || x == drawn.width - 1 || y == drawn.height - 1;
            sum += Luminance(behind.pixels[i]);
            ++count;
        }
    }
    ink.behind = count == 0 ? 0.0 : sum / count;
    return ink;
}

// What is wrong with the texts: one whose ink is cut by the screen's edge or
// leaves its panel, or a glyph whose colour stands out from what its ink
// covers by less than `contrast`. `behind` is the frame drawn without the
// texts, `drawn` the same frame with them.
inline std::vector<std::string> TextFaults(const std::vector<PlacedText>& texts, const Box& panel,
                                           const Frame& behind, const Frame& drawn,
                                           double contrast = 4.5) {
    const Box screen{0.0f, 0.0f, static_cast<float>(drawn.width), static_cast<float>(drawn.height)};
    std::vector<std::string> faults;
    for (const PlacedText& text : texts) {
        bool any = false;
        bool cut = false;
        Box box;
        double worst = 21.0;
        for (const Box& cell : text.glyphs) {
            const Ink ink = GlyphInk(cell, behind, drawn);
            cut = cut || (!screen.Holds(cell) && (ink.atEdge || !ink.any));
            if (!ink.any) {
                continue;
            }
            box =
                any ? Box{std::min(box.left, ink.box.left), std::min(box.top, ink.box.top),
                          std::max(box.right, ink.box.right), std::max(box.bottom, ink.box.bottom)}
                    : ink.box;
            any = true;
            worst = std::min(worst, Contrast(Luminance(text.colour), ink.behind));
        }
        std::ostringstream out;
        out << "\"" << text.text << "\" at " << (any ? box : text.box);
        if (cut) {
            faults.push_back(out.str() + " is cut by the screen's edge");
        } else if (any && !panel.Holds(box)) {
            faults.push_back(out.str() + " leaves its panel " + ToString(panel));
        }
        if (worst < contrast) {
            std::ostringstream low;
            low << out.str() << " has a contrast of " << worst << " with what lies behind it";
            faults.push_back(low.str());
        }
    }
    return faults;
}

}  // namespace layout_test
