#pragma once
// The animated picture behind the menus, read from "menu scene.xml": still
// pictures, pictures that drift and wrap around, pictures that swing to and
// fro, scrolling textures and frame animations with pauses between their
// runs. Which objects show depends on the menu page on screen.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/backend/video.h"
#include "engine/platform/geometry.h"
#include "engine/platform/media_result.h"
#include "engine/platform/oscillator.h"

struct InputState;

// One visibility rule of a backdrop object.
struct ShowHideRule {
    // A menu item id; a rule that must end the page path carries the "/" that
    // ends the item's part of the path.
    std::string name;
    // True: the name may stand anywhere in the page path.
    bool isRoot = false;
    // The visibility the rule gives when it matches.
    bool show = false;
};

enum SceneObjectType : std::int32_t {
    SCENE_OBJECT_STILL = 0,
    SCENE_OBJECT_MOVING = 1,
    SCENE_OBJECT_ROTATING = 2,
    SCENE_OBJECT_SCROLLING = 3,
    SCENE_OBJECT_FRAME_ANIMATION = 4,
};

// A frame animation over a grid of equal cells of the object's picture. The
// fields read from the file carry the names of their attributes.
struct SceneAnimation {
    // Added to the frame rectangle when drawing; the left and top cuts also
    // move the drawing position.
    std::int32_t cut_left = 0;
    std::int32_t cut_top = 0;
    std::int32_t cut_right = 0;
    std::int32_t cut_bottom = 0;
    std::int32_t first_frame_x = 0;
    std::int32_t first_frame_y = 0;
    std::int32_t last_frame_x = 0;
    std::int32_t last_frame_y = 0;
    std::int32_t cur_frame_x = 0;
    std::int32_t cur_frame_y = 0;
    // Columns and rows of the grid.
    std::int32_t max_frame_x = 0;
    std::int32_t max_frame_y = 0;
    // Cells per step; turned round at the ends of a ping-pong animation.
    std::int32_t anim_dir_x = 0;
    std::int32_t anim_dir_y = 0;
    // Texel position of grid cell (0, 0): the object's rectangle as read.
    std::int32_t originX = 0;
    std::int32_t originY = 0;
    float currentDelay = 0.0f;
    float anim_delay = 0.0f;
    // The pause between runs, plus a random extra of up to
    // add_random_iteration_delay.
    float iteration_delay = 0.0f;
    float add_random_iteration_delay = 0.0f;
    // On every n-th run the pause at the first frame is left out; 0 or less
    // never leaves it out.
    std::int32_t double_action_every_iteration = 0;
    std::int32_t back_anim = 0;  // non-zero: forward, then backward
    std::int32_t loop = 0;
    float elapsed = 0.0f;
    std::int32_t iterations = 0;  // arrivals at the last frame
};

class CSceneObject {
public:
    CSceneObject() { Reset(); }

    // Back to a dead object: no type, no picture, nothing moving. Keeps
    // defaultVisible.
    void Reset();
    // Completes an object after its attributes are read: visibility without
    // rules, the angle and the swing range in radians, the scroll at 0.
    void FinishLoad();
    // Visibility from the page path, then one step of the object's motion
    // (hidden objects move too). The input is not read.
    void Update(const std::string& menuPath, const InputState& input, float scaleX, float scaleY,
                float elapsedSeconds);
    // The code of the last draw; 0 when hidden.
    HResult Render(float scaleX, float scaleY);

    // Whether a rule matches the page path: a root rule anywhere in it, any
    // other only where its first occurrence ends the path.
    static bool RuleMatches(const ShowHideRule& rule, const std::string& menuPath);

    std::int32_t type = -1;
    std::int32_t image = -1;
    // Source rectangle in texels; r_right 0 draws the whole picture.
    std::int32_t r_left = 0;
    std::int32_t r_top = 0;
    std::int32_t r_right = 0;
    std::int32_t r_bottom = 0;
    // The area of the picture a scrolling texture cuts its pieces from.
    std::int32_t dr_left = 0;
    std::int32_t dr_top = 0;
    std::int32_t dr_right = 0;
    std::int32_t dr_bottom = 0;
    std::uint32_t color = 0xFFFFFFFF;
    std::vector<ShowHideRule> rules;
    bool visible = false;
    bool defaultVisible = false;
    float x = 0.0f;
    float y = 0.0f;
    float s_x = 1.0f;
    float s_y = 1.0f;
    float r_c_x = 0.0f;
    float r_c_y = 0.0f;
    float r = 0.0f;  // radians once loaded
    float speed_x = 0.0f;
    float speed_y = 0.0f;
    float min_x = 0.0f;
    float min_y = 0.0f;
    float max_x = 0.0f;
    float max_y = 0.0f;
    COscillator oscillator;
    std::array<backend::Rect, 4> pieceRects{};
    std::array<Vec2, 4> pieceScales{};
    float scrollOffsetX = 0.0f;
    float scrollOffsetY = 0.0f;
    float anchorX = 0.0f;
    float anchorY = 0.0f;
    std::vector<SceneAnimation> animations;
    std::int32_t currentAnimation = 0;

private:
    void UpdateVisibility(const std::string& menuPath);
    void Move(float elapsedSeconds);
    void Scroll(float scaleX, float scaleY, float elapsedSeconds);
    void Animate(float elapsedSeconds);
    bool HasAnimation() const;
};

class CMenuScene {
public:
    CMenuScene() = default;
    ~CMenuScene() { objects.clear(); }

    // Reads Resources/Data/"menu scene.xml". False only when the file does
    // not open; the objects then stay as they were.
    bool Load();
    // `menuPath` is the menu's current path: the ids of the open pages, each
    // followed by "/", empty at the root.
    void Update(const std::string& menuPath, InputState input, float scaleX, float scaleY,
                float elapsedSeconds);
    // Every object in list order, later ones over earlier ones. Always 0.
    HResult Render(float scaleX, float scaleY);

    // In the order in which their elements end in the file.
    std::vector<CSceneObject> objects;
};

// One for the whole game, defined with the other components in game/globals.cpp.
extern CMenuScene g_menuScene;
