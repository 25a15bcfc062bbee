#include "frontend/menu.h"

#include <algorithm>
#include <set>

#include "engine/media/resource_manager.h"
#include "engine/platform/html_log.h"
#include "engine/platform/text_storage.h"
#include "engine/platform/value_parsers.h"
#include "engine/platform/xml_reader.h"

namespace {

constexpr const char* MENU_FILE = "Resources/Data/menu.xml";

void ReadRect(XmlNode& node, const std::string& prefix, MenuRect* rect) {
    ParseInt(node.attributes[prefix + "left"], &rect->left);
    ParseInt(node.attributes[prefix + "top"], &rect->top);
    ParseInt(node.attributes[prefix + "right"], &rect->right);
    ParseInt(node.attributes[prefix + "bottom"], &rect->bottom);
}

bool IsEmptyRect(const MenuRect& rect) {
    return rect.right == rect.left || rect.bottom == rect.top;
}

// Moved by `times` heights; the sums stop at the ends of the int32 range.
MenuRect MovedDown(MenuRect rect, std::int32_t height, std::int64_t times) {
    const std::int64_t by = times * height;
    rect.top = SaturateToInt32(rect.top + by);
    rect.bottom = SaturateToInt32(rect.bottom + by);
    return rect;
}

// -1 for an absent id, so that a missing attribute keeps its default.
std::int32_t LookUp(ResourceKind kind, const std::string& id) {
    if (id.empty()) {
        return -1;
    }
    return ResourceManager::Instance().GetIndex(kind, id);
}

// A found image that was never loaded reports a size of zero.
bool IsEmptyImage(std::int32_t index, const std::string& id) {
    if (index < 0) {
        return false;
    }
    const ImageInfo info = ResourceManager::Instance().GetImageInfo(id);
    return info.width == 0 || info.height == 0;
}

MenuCursor ReadCursor(XmlNode& node) {
    MenuCursor cursor;
    cursor.image = LookUp(RESOURCE_IMAGE, node.attributes["image"]);
    ParseFloat(node.attributes["disp_x"], &cursor.hotSpotX);
    ParseFloat(node.attributes["disp_y"], &cursor.hotSpotY);
    ReadRect(node, "r_", &cursor.rect);
    ReadRect(node, "r1_", &cursor.pressedRect);
    return cursor;
}

MenuItem ReadItem(XmlNode& node) {
    MenuItem item;
    auto& a = node.attributes;
    item.id = a["id"];
    item.type = a["type"];
    item.textIndex = a["text_id"].empty() ? -1 : TextStorage().FindIndex(a["text_id"]);
    item.font = LookUp(RESOURCE_FONT, a["font_id"]);
    item.image = LookUp(RESOURCE_IMAGE, a["image_id"]);
    item.hoverImage = LookUp(RESOURCE_IMAGE, a["image_id_1"]);
    ParseUnsigned(a["color"], &item.colour);
    ParseInt(a["options_id"], &item.optionKey);
    ParseFloat(a["x"], &item.x);
    ParseFloat(a["y"], &item.y);
    ParseInt(a["x_disp"], &item.xDisp);
    ParseInt(a["y_disp"], &item.yDisp);
    ParseBool(a["centered"], &item.centered);
    ParseFloat(a["scale"], &item.scale);
    ParseBool(a["blink"], &item.blink);
    item.func = a["func"];
    item.groupId = a["group_id"];

    if (IsEmptyImage(item.image, a["image_id"]) || IsEmptyImage(item.hoverImage, a["image_id_1"])) {
        item.hidden = true;
    }
    // sourceRect starts at 0, 0, 206, 61, so missing r attributes keep those.
    ReadRect(node, "r_", &item.sourceRect);
    item.rect = item.sourceRect;
    ReadRect(node, "r1_", &item.rect1);
    ReadRect(node, "r2_", &item.rect2);
    item.width = RectWidth(item.rect);
    item.height = std::max(RectHeight(item.rect), RectHeight(item.rect1));
    if (IsEmptyRect(item.rect1)) {
        item.rect1 = MovedDown(item.rect, item.height, 1);
    }
    if (IsEmptyRect(item.rect2)) {
        item.rect2 = MovedDown(item.rect, item.height, 2);
    }
    return item;
}

}  // namespace

CBlinker MenuItem::PulseBlinker() {
    CBlinker blinker;
    blinker.Set(110.0f, 255.0f, 255.0f, 500.0f, -1);
    return blinker;
}

void CMenu::SetScale(float scaleX, float scaleY) {
    m_scaleX = scaleX;
    m_scaleY = scaleY;
    // The slots' half widths are screen pixels and follow the new scale.
    for (MenuItem& item : m_items) {
        if (item.type == "_PROFILE" && !item.text.empty()) {
            item.textX = ProfileNameHalfWidth(item);
        }
    }
}

bool CMenu::Load() {
    HtmlLog().Write("Blue", "Initializing menu");
    CXmlReader reader;
    if (!reader.Open(MENU_FILE)) {
        HtmlLog().Write("Red", "Couldn't open menu file (%s)", MENU_FILE);
        return false;
    }
    m_cursors.clear();
    m_items.clear();
    std::string runningPath;
    std::vector<std::string> openIds;
    int count = 0;

    XmlNode node;
    while (reader.Read(node)) {
        if (node.type == XML_END_ELEMENT && node.name == "item") {
            if (!openIds.empty()) {
                const std::size_t at = runningPath.find(openIds.back());
                if (at != std::string::npos) {
                    runningPath.erase(at);
                }
                openIds.pop_back();
            }
            continue;
        }
        if (node.type != XML_START_ELEMENT || node.path.rfind("Menu", 0) != 0) {
            continue;
        }
        if (node.name == "cursor") {
            const MenuCursor cursor = ReadCursor(node);
            if (cursor.image >= 0) {
                m_cursors.push_back(cursor);
            }
        } else if (node.name == "color") {
            ParseUnsigned(node.attributes["active"], &m_activeColour);
            ParseUnsigned(node.attributes["passive"], &m_passiveColour);
        } else if (node.name == "item") {
            MenuItem item = ReadItem(node);
            item.parentId = openIds.empty() ? std::string() : openIds.back();
            // Ids are sought as plain substrings, so an id that already occurs
            // in the path is not added again.
            if (!item.parentId.empty() && runningPath.find(item.parentId) == std::string::npos) {
                runningPath += item.parentId + "/";
            }
            item.path = runningPath;
            openIds.push_back(item.id);
            m_items.push_back(std::move(item));
            ++count;
        }
    }

    std::set<std::string> parents;
    for (const MenuItem& item : m_items) {
        if (!item.parentId.empty()) {
            parents.insert(item.parentId);
        }
    }
    for (MenuItem& item : m_items) {
        item.hasChildren = parents.count(item.id) != 0;
    }
    LayoutTexts();
    HtmlLog().Write("Green", "Initialization is completed (%i)", count);
    return true;
}

void CMenu::LayoutTexts() {
    const std::vector<FontRecord>& fonts = ResourceManager::Instance().Fonts();
    for (MenuItem& item : m_items) {
        if (item.font < 0 || static_cast<std::size_t>(item.font) >= fonts.size()) {
            continue;
        }
        const FontRecord& font = fonts[static_cast<std::size_t>(item.font)];
        const std::u16string text = TextStorage().GetTextAt(item.textIndex);
        float half = 0.0f;
        for (char16_t c : text) {
            if (font.glyphs.empty()) {
                break;
            }
            if (c == u' ') {
                half += (static_cast<float>(font.glyphs.front().advance) + font.interval) * 0.35f;
                continue;
            }
            const auto glyph = std::find_if(font.glyphs.begin(), font.glyphs.end(),
                                            [c](const GlyphRecord& g) { return g.character == c; });
            if (glyph != font.glyphs.end()) {
                half += (static_cast<float>(glyph->advance) + font.interval) * 0.5f;
            }
        }
        const std::int32_t glyphHeight = font.glyphs.empty() ? 0 : font.glyphs.front().height;
        item.textX = item.x - half;
        item.textY = item.y + static_cast<float>(item.height - glyphHeight - 1) * 0.5f;
    }
}
