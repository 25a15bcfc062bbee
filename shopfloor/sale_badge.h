#pragma once
// Which fish kind was sold last from one aquarium and how many of that kind in
// a row: the kind's icon on a small bubble with the chain count. It also gives
// the order cards their fish icons.
#include <cstdint>

#include "engine/backend/video.h"
#include "engine/media/gui_image.h"
#include "engine/platform/geometry.h"

class CSaleBadge {
public:
    CSaleBadge() = default;

    // Breaks the chain; nothing is shown.
    void Reset() { *this = CSaleBadge(); }
    // Puts both pictures back where the badge was built.
    void ResetOffsets();
    // A sale of the kind; a new chain is built around (x, y).
    void Add(std::int32_t kind, float x, float y);
    // Without the count only the icon is drawn.
    void Render(backend::IRenderDevice* device, Vec2 screenScale, std::uint32_t colour,
                bool showCount);

    // The kind's icon; an empty picture for a kind outside the fish kinds.
    static CGuiImage MakeFishIcon(std::int32_t kind, float x, float y, float scaleX, float scaleY);

    // Owners move the badge through the pictures' offsets.
    CGuiImage icon;
    CGuiImage frame;
    std::int32_t kind = -1;
    std::int32_t count = 0;
};
