#pragma once
// The animated backdrop of the menus, defined by "menu scene.xml".
#include <string>

#include "engine/media/media_result.h"
#include "engine/platform/input_devices.h"

class CMenuScene {
public:
    // Reads "menu scene.xml"; false when it does not open.
    bool Load() { return true; }
    // `menuPath` is the menu's current path: the ids of the open pages, each
    // followed by "/", empty at the root. The input is not read.
    void Update(const std::string& /*menuPath*/, InputState /*input*/, float /*scaleX*/,
                float /*scaleY*/, float /*elapsedSeconds*/) {}
    // Every backdrop object in list order.
    HResult Render(float /*scaleX*/, float /*scaleY*/) { return RESULT_OK; }
};
