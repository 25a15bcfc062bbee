#pragma once
// The animated backdrop of the menus, defined by "menu scene.xml".

class CMenuScene {
public:
    // Reads "menu scene.xml"; false when it does not open.
    bool Load() { return true; }
};
