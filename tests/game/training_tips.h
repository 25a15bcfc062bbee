#pragma once
// Shared by the tests of the training: the tip texts under their ids, the id
// of a shown tip's text, and a plain button of the session's GUI picture.
#include <string>
#include <utility>
#include <vector>

#include "engine/media/gui_button.h"
#include "engine/platform/text_storage.h"

namespace training_test {

// "TIP_HEADER" and "TIP_1" to "TIP_34", each with a short text of its own.
inline std::vector<std::pair<std::string, std::string>> TipTexts() {
    std::vector<std::pair<std::string, std::string>> texts = {{"TIP_HEADER", "TIP"}};
    for (int i = 1; i <= 34; ++i) {
        texts.emplace_back("TIP_" + std::to_string(i), "T" + std::to_string(i));
    }
    return texts;
}

// The tip id whose text a window shows; empty for any other text.
inline std::string TipId(std::int32_t text) {
    for (int i = 1; i <= 34; ++i) {
        const std::string id = "TIP_" + std::to_string(i);
        if (TextStorage().FindIndex(id) == text) {
            return id;
        }
    }
    return {};
}

// A 100 x 40 button at (x, y).
inline GuiButtonDesc PlainButton(float x, float y) {
    GuiButtonDesc desc;
    desc.x = x;
    desc.y = y;
    desc.normalImageId = "GUI";
    desc.normalRight = 100;
    desc.normalBottom = 40;
    desc.hoverImageId = "GUI";
    desc.hoverRight = 100;
    desc.hoverBottom = 40;
    return desc;
}

}  // namespace training_test
