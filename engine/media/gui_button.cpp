#include "engine/media/gui_button.h"

#include "engine/media/gui_image.h"
#include "engine/media/resource_manager.h"
#include "engine/platform/input_devices.h"
#include "engine/platform/text_storage.h"

namespace {

constexpr float PRESSED_SHIFT = 2.0f;

std::int32_t ImageIndex(const std::string& id) {
    return id.empty() ? -1 : ResourceManager::Instance().GetIndex(RESOURCE_IMAGE, id);
}

void PlaySample(unsigned sample) {
    ResourceManager::Instance().GetSoundManager().Play(SoundType::Sample, sample, true, false);
}

}  // namespace

void CGuiButton::Create(const GuiButtonDesc& desc) {
    *this = CGuiButton();
    x = desc.x;
    y = desc.y;
    scaleX = desc.scaleX;
    scaleY = desc.scaleY;
    font = desc.font;
    hoverOffsetX = desc.hoverOffsetX;
    hoverOffsetY = desc.hoverOffsetY;
    clickOnRelease = desc.clickOnRelease;
    normalImage = ImageIndex(desc.normalImageId);
    hoverImage = ImageIndex(desc.hoverImageId);
    normalSource = {desc.normalLeft, desc.normalTop, desc.normalRight, desc.normalBottom};
    hoverSource = {desc.hoverLeft, desc.hoverTop, desc.hoverRight, desc.hoverBottom};

    // The caption is kept by index and fetched again at every draw, so that
    // it follows the language; its place is computed once, in design pixels.
    CTextStorage& texts = TextStorage();
    caption = texts.FindIndex(desc.captionId);
    CResourceManager& resources = ResourceManager::Instance();
    const float width =
        resources.GetTextWidth(font, texts.GetTextAt(caption), desc.letterSpacing, false, -1);
    const std::int32_t lineHeight = resources.GetFontLineHeight(font);
    captionX = x + static_cast<float>((normalSource.right - normalSource.left) / 2) - width / 2.0f;
    captionY = y + static_cast<float>((normalSource.bottom - normalSource.top) / 2) -
               static_cast<float>(lineHeight / 2);
}

bool CGuiButton::CheckClick(const InputState& input, Vec2 screenScale) {
    // The hover rectangle's size at the button's own position; the hover
    // offset only moves the picture.
    const float left = x * screenScale.x;
    const float right =
        (x + scaleX * static_cast<float>(hoverSource.right - hoverSource.left)) * screenScale.x;
    const float top = y * screenScale.y;
    const float bottom =
        (y + scaleY * static_cast<float>(hoverSource.bottom - hoverSource.top)) * screenScale.y;
    if (!GuiAreaContains(input.cursorX, input.cursorY, left, right, top, bottom, scaleX, scaleY)) {
        hovered = false;
        pressed = false;
        return false;
    }
    if (!hovered) {
        PlaySample(HOVER_SAMPLE);
    }
    hovered = true;
    const bool wasDown = IsDownByte(input.previousMouse.buttons[0]);
    const bool isDown = IsDownByte(input.currentMouse.buttons[0]);
    bool click = false;
    if (clickOnRelease) {
        pressed = isDown;
        // A press that began elsewhere still clicks when released here.
        click = wasDown && !isDown;
    } else {
        click = !wasDown && isDown;
    }
    if (click) {
        PlaySample(CLICK_SAMPLE);
    }
    return click;
}

void CGuiButton::Draw(Vec2 screenScale, std::uint32_t colour) {
    CResourceManager& resources = ResourceManager::Instance();
    const Vec2 scaling{scaleX * screenScale.x, scaleY * screenScale.y};
    const float shift = pressed ? PRESSED_SHIFT : 0.0f;
    Vec2 position{x * screenScale.x + shift, y * screenScale.y + shift};
    if (hovered) {
        position.x += hoverOffsetX * screenScale.x;
        position.y += hoverOffsetY * screenScale.y;
        resources.DrawImage(hoverImage, &hoverSource, &scaling, nullptr, 0.0f, position, colour);
    } else {
        resources.DrawImage(normalImage, &normalSource, &scaling, nullptr, 0.0f, position, colour);
    }
    if (caption == -1) {
        return;
    }
    const Vec2 captionPosition{captionX * screenScale.x + shift, captionY * screenScale.y + shift};
    resources.DrawText(font, TextStorage().GetTextAt(caption), scaling, captionPosition, colour,
                       false, false, 0.0f, 0.0f, true);
}
