#include "frontend/menu_scene.h"

#include <cmath>

#include "engine/media/resource_manager.h"
#include "engine/platform/geometry.h"
#include "engine/platform/html_log.h"
#include "engine/platform/input_devices.h"
#include "engine/platform/random_float.h"
#include "engine/platform/value_parsers.h"
#include "engine/platform/xml_reader.h"

namespace {

const char* const SCENE_FILE = "Resources/Data/menu scene.xml";
const char* const RULE_DELIMITERS = ", ";
// The float nearest to pi / 180.
constexpr float DEGREES_TO_RADIANS = 0.017453292f;
// A drift slower than this does not move at all, not even to wrap.
constexpr float MIN_DRIFT_SPEED = 0.000001f;

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

const std::string& Attribute(const XmlNode& node, const std::string& name) {
    static const std::string empty;
    const auto found = node.attributes.find(name);
    return found == node.attributes.end() ? empty : found->second;
}

// Texel coordinates from a scroll offset: rounded half up. An edge near the
// ends of the int32 range, less the offset, may fall outside it; it stops there.
std::int32_t Texel(float value) {
    return TruncateToInt32(value + 0.5f);
}

std::vector<ShowHideRule> ReadRules(const XmlNode& node, bool show) {
    std::vector<ShowHideRule> rules;
    std::vector<std::string> roots;
    std::vector<std::string> items;
    SplitToStrings(Attribute(node, "menu_root"), RULE_DELIMITERS, &roots);
    SplitToStrings(Attribute(node, "menu_item"), RULE_DELIMITERS, &items);
    for (const std::string& name : roots) {
        rules.push_back({name, true, show});
    }
    for (const std::string& name : items) {
        rules.push_back({name + "/", false, show});
    }
    return rules;
}

void ReadObjectAttributes(const XmlNode& node, CSceneObject& object) {
    const auto readInt = [&](const char* name, std::int32_t* field) {
        ParseInt(Attribute(node, name), field);
    };
    const auto readFloat = [&](const char* name, float* field) {
        ParseFloat(Attribute(node, name), field);
    };
    readInt("r_left", &object.r_left);
    readInt("r_right", &object.r_right);
    readInt("r_top", &object.r_top);
    readInt("r_bottom", &object.r_bottom);
    readInt("dr_left", &object.dr_left);
    readInt("dr_right", &object.dr_right);
    readInt("dr_top", &object.dr_top);
    readInt("dr_bottom", &object.dr_bottom);
    readFloat("s_x", &object.s_x);
    readFloat("s_y", &object.s_y);
    readFloat("x", &object.x);
    readFloat("y", &object.y);
    ParseUnsigned(Attribute(node, "color"), &object.color);
    readFloat("r", &object.r);
    readFloat("r_c_x", &object.r_c_x);
    readFloat("r_c_y", &object.r_c_y);
    readFloat("min_x", &object.min_x);
    readFloat("min_y", &object.min_y);
    readFloat("max_x", &object.max_x);
    readFloat("max_y", &object.max_y);
    readFloat("speed_x", &object.speed_x);
    readFloat("speed_y", &object.speed_y);
    // Degrees until FinishLoad.
    readFloat("min_angle", &object.oscillator.minimum);
    readFloat("max_angle", &object.oscillator.maximum);
    readFloat("speed_r", &object.oscillator.speed);
}

SceneAnimation ReadAnimation(const XmlNode& node, const CSceneObject& object) {
    SceneAnimation animation;
    const auto readInt = [&](const char* name, std::int32_t* field) {
        ParseInt(Attribute(node, name), field);
    };
    const auto readFloat = [&](const char* name, float* field) {
        ParseFloat(Attribute(node, name), field);
    };
    readInt("first_frame_x", &animation.first_frame_x);
    readInt("first_frame_y", &animation.first_frame_y);
    readInt("last_frame_x", &animation.last_frame_x);
    readInt("last_frame_y", &animation.last_frame_y);
    readInt("cur_frame_x", &animation.cur_frame_x);
    readInt("cur_frame_y", &animation.cur_frame_y);
    readInt("max_frame_x", &animation.max_frame_x);
    readInt("max_frame_y", &animation.max_frame_y);
    readInt("anim_dir_x", &animation.anim_dir_x);
    readInt("anim_dir_y", &animation.anim_dir_y);
    readInt("cut_left", &animation.cut_left);
    readInt("cut_right", &animation.cut_right);
    readInt("cut_top", &animation.cut_top);
    readInt("cut_bottom", &animation.cut_bottom);
    readInt("back_anim", &animation.back_anim);
    readInt("loop", &animation.loop);
    readInt("double_action_every_iteration", &animation.double_action_every_iteration);
    readFloat("anim_delay", &animation.anim_delay);
    readFloat("iteration_delay", &animation.iteration_delay);
    readFloat("add_random_iteration_delay", &animation.add_random_iteration_delay);
    animation.originX = object.r_left;
    animation.originY = object.r_top;
    return animation;
}

// Frame numbers and cell rectangles come from the file and may be anywhere in
// the int32 range: their sums are worked out wide and stop at the range's ends.
std::int32_t Plus(std::int32_t a, std::int64_t b) {
    return SaturateToInt32(a + b);
}

}  // namespace

void CSceneObject::Reset() {
    type = -1;
    image = -1;
    r_left = r_top = r_right = r_bottom = 0;
    dr_left = dr_top = dr_right = dr_bottom = 0;
    color = 0xFFFFFFFF;
    rules.clear();
    visible = false;
    x = y = 0.0f;
    s_x = s_y = 1.0f;
    r_c_x = r_c_y = 0.0f;
    r = 0.0f;
    speed_x = speed_y = 0.0f;
    min_x = min_y = max_x = max_y = 0.0f;
    oscillator.Clear();
    pieceRects = {};
    pieceScales = {};
    scrollOffsetX = scrollOffsetY = 0.0f;
    anchorX = anchorY = 0.0f;
    animations.clear();
    currentAnimation = 0;
}

void CSceneObject::FinishLoad() {
    if (rules.empty()) {
        visible = true;
    }
    r *= DEGREES_TO_RADIANS;
    if (type == SCENE_OBJECT_ROTATING && oscillator.speed != 0.0f) {
        // The oscillator multiplies its speed by the direction, so the swing
        // always starts towards the maximum, whatever the sign of the speed.
        oscillator.Set(oscillator.minimum * DEGREES_TO_RADIANS,
                       oscillator.maximum * DEGREES_TO_RADIANS, r, oscillator.speed,
                       oscillator.speed > 0.0f ? 1.0f : -1.0f);
    }
    if (type == SCENE_OBJECT_SCROLLING) {
        scrollOffsetX = 0.0f;
        scrollOffsetY = 0.0f;
    }
}

bool CSceneObject::RuleMatches(const ShowHideRule& rule, const std::string& menuPath) {
    const std::size_t at = menuPath.find(rule.name);
    if (at == std::string::npos) {
        return false;
    }
    return rule.isRoot || at + rule.name.size() == menuPath.size();
}

void CSceneObject::UpdateVisibility(const std::string& menuPath) {
    visible = defaultVisible;
    if (rules.empty()) {
        return;
    }
    visible = !defaultVisible;
    for (const ShowHideRule& rule : rules) {
        if (RuleMatches(rule, menuPath)) {
            visible = rule.show;
            return;
        }
    }
}

void CSceneObject::Update(const std::string& menuPath, const InputState& /*input*/, float scaleX,
                          float scaleY, float elapsedSeconds) {
    if (type < 0) {
        return;
    }
    UpdateVisibility(menuPath);
    switch (type) {
        case SCENE_OBJECT_MOVING:
            Move(elapsedSeconds);
            break;
        case SCENE_OBJECT_ROTATING:
            oscillator.Update(elapsedSeconds);
            r = oscillator.value;
            break;
        case SCENE_OBJECT_SCROLLING:
            Scroll(scaleX, scaleY, elapsedSeconds);
            break;
        case SCENE_OBJECT_FRAME_ANIMATION:
            if (HasAnimation()) {
                Animate(elapsedSeconds);
            }
            break;
        default:
            break;
    }
}

void CSceneObject::Move(float elapsedSeconds) {
    const auto drift = [elapsedSeconds](float& position, float speed, float minimum,
                                        float maximum) {
        if (speed <= MIN_DRIFT_SPEED) {
            return;
        }
        position += speed * elapsedSeconds;
        if (position < minimum) {
            position = maximum;
        }
        if (position > maximum) {
            position = minimum;
        }
    };
    drift(x, speed_x, min_x, max_x);
    drift(y, speed_y, min_y, max_y);
}

void CSceneObject::Scroll(float scaleX, float scaleY, float elapsedSeconds) {
    const auto period = [](float& offset, float speed, float elapsed, std::int32_t size) {
        offset += speed * elapsed;
        // An infinite speed on a frame of no length gives NaN, which would
        // stay forever: it starts over like an offset past the end.
        if (!(offset < static_cast<float>(size))) {
            offset = 0.0f;
        }
        if (offset < 0.0f) {
            offset = static_cast<float>(size);
        }
    };
    period(scrollOffsetX, speed_x, elapsedSeconds, Plus(r_right, -std::int64_t{r_left}));
    period(scrollOffsetY, speed_y, elapsedSeconds, Plus(r_bottom, -std::int64_t{r_top}));

    const float sx = s_x * scaleX;
    const float sy = s_y * scaleY;
    const float ox = scrollOffsetX;
    const float oy = scrollOffsetY;
    const std::int32_t restRight = Texel(static_cast<float>(dr_right) - ox);
    const std::int32_t restBottom = Texel(static_cast<float>(dr_bottom) - oy);
    const std::int32_t stripRight = Texel(ox);
    const std::int32_t stripBottom = Texel(oy);
    // The texture moved by the offsets, and the strips the movement uncovers
    // filled with its first columns and rows, mirrored about the anchor.
    pieceRects = {backend::Rect{dr_left, dr_top, restRight, restBottom},
                  backend::Rect{dr_left, dr_top, stripRight, stripBottom},
                  backend::Rect{dr_left, dr_top, stripRight, restBottom},
                  backend::Rect{dr_left, dr_top, restRight, stripBottom}};
    pieceScales = {Vec2{sx, sy}, Vec2{-sx, -sy}, Vec2{-sx, sy}, Vec2{sx, -sy}};
    anchorX = (x + ox) * sx;
    anchorY = (y + oy) * sy;
}

bool CSceneObject::HasAnimation() const {
    return currentAnimation >= 0 && static_cast<std::size_t>(currentAnimation) < animations.size();
}

void CSceneObject::Animate(float elapsedSeconds) {
    SceneAnimation& a = animations[static_cast<std::size_t>(currentAnimation)];
    a.elapsed += elapsedSeconds;
    if (a.elapsed < a.currentDelay) {
        return;
    }
    const auto atFirst = [&a] {
        return a.cur_frame_x == a.first_frame_x && a.cur_frame_y == a.first_frame_y;
    };
    const auto atLast = [&a] {
        return a.cur_frame_x == a.last_frame_x && a.cur_frame_y == a.last_frame_y;
    };
    const auto step = [&a] {
        a.cur_frame_x = Plus(a.cur_frame_x, a.anim_dir_x);
        a.cur_frame_y = Plus(a.cur_frame_y, a.anim_dir_y);
    };
    const auto rest = [&a] {
        a.anim_dir_x = 0;
        a.anim_dir_y = 0;
    };

    if (!atFirst() && !atLast()) {
        step();
    } else {
        const bool onLast = atLast();
        if (onLast) {
            ++a.iterations;
        }
        if (a.back_anim != 0) {
            if ((a.loop != 0 && a.iterations != 0) || onLast) {
                a.anim_dir_x = SaturateToInt32(-std::int64_t{a.anim_dir_x});
                a.anim_dir_y = SaturateToInt32(-std::int64_t{a.anim_dir_y});
            }
            if (a.loop != 0) {
                step();
            } else if (atFirst() && a.iterations != 0) {
                rest();
            } else {
                step();
            }
        } else if (onLast) {
            if (a.loop != 0) {
                a.cur_frame_x = a.first_frame_x;
                a.cur_frame_y = a.first_frame_y;
            } else {
                rest();
            }
        } else {
            step();
        }
    }

    // Keep the frame inside the grid; a step of one column runs row by row.
    if (a.cur_frame_x >= a.max_frame_x) {
        a.cur_frame_x = Plus(a.cur_frame_x, -std::int64_t{a.max_frame_x});
        if (a.anim_dir_x == 1) {
            a.cur_frame_y = Plus(a.cur_frame_y, 1);
        }
    }
    if (a.cur_frame_x < 0) {
        a.cur_frame_x = Plus(a.cur_frame_x, a.max_frame_x);
        if (a.anim_dir_x == -1) {
            a.cur_frame_y = Plus(a.cur_frame_y, -1);
        }
    }
    if (a.cur_frame_y >= a.max_frame_y) {
        a.cur_frame_y = Plus(a.cur_frame_y, -std::int64_t{a.max_frame_y});
        if (a.anim_dir_y == 1) {
            a.cur_frame_x = Plus(a.cur_frame_x, 1);
        }
    }
    if (a.cur_frame_y < 0) {
        a.cur_frame_y = Plus(a.cur_frame_y, a.max_frame_y);
        if (a.anim_dir_y == -1) {
            a.cur_frame_x = Plus(a.cur_frame_x, -1);
        }
    }

    a.elapsed = 0.0f;
    const bool lastOfForwardLoop = atLast() && a.back_anim == 0 && a.loop != 0;
    // A count of 0 or less never leaves the pause out.
    const bool pauseAtFirst = atFirst() && a.loop != 0 &&
                              (a.double_action_every_iteration <= 0 ||
                               a.iterations % a.double_action_every_iteration != 0);
    if (lastOfForwardLoop || pauseAtFirst) {
        a.currentDelay =
            RandomFloat(a.iteration_delay, a.iteration_delay + a.add_random_iteration_delay, 1);
    } else {
        a.currentDelay = a.anim_delay;
    }

    const std::int64_t width = std::int64_t{r_right} - r_left;
    const std::int64_t height = std::int64_t{r_bottom} - r_top;
    const auto cellEdge = [](std::int32_t origin, std::int64_t cell, std::int64_t size) {
        // A frame number needs 33 bits at most and a size 33: the product fits.
        return Plus(origin, SaturateToInt32(cell * size));
    };
    r_left = cellEdge(a.originX, a.cur_frame_x, width);
    r_right = cellEdge(a.originX, std::int64_t{a.cur_frame_x} + 1, width);
    r_top = cellEdge(a.originY, a.cur_frame_y, height);
    r_bottom = cellEdge(a.originY, std::int64_t{a.cur_frame_y} + 1, height);
}

HResult CSceneObject::Render(float scaleX, float scaleY) {
    if (!visible) {
        return RESULT_OK;
    }
    CResourceManager& resources = ResourceManager::Instance();
    const Vec2 centre{r_c_x * scaleX, r_c_y * scaleY};
    const Vec2 scaling{s_x * scaleX, s_y * scaleY};

    if (type == SCENE_OBJECT_FRAME_ANIMATION && HasAnimation()) {
        const SceneAnimation& a = animations[static_cast<std::size_t>(currentAnimation)];
        const backend::Rect source{Plus(r_left, a.cut_left), Plus(r_top, a.cut_top),
                                   Plus(r_right, a.cut_right), Plus(r_bottom, a.cut_bottom)};
        const Vec2 position{std::trunc((x + static_cast<float>(a.cut_left)) * scaleX),
                            std::trunc((y + static_cast<float>(a.cut_top)) * scaleY)};
        return resources.DrawImage(image, &source, &scaling, &centre, r, position, color);
    }
    if (type == SCENE_OBJECT_SCROLLING) {
        HResult result = RESULT_OK;
        for (std::size_t i = 0; i < pieceRects.size(); ++i) {
            result = resources.DrawImage(image, &pieceRects[i], &pieceScales[i], &centre, r,
                                         {anchorX, anchorY}, color);
        }
        return result;
    }
    // A drifting picture keeps its fractions so that slow drifts stay smooth.
    Vec2 position{x * s_x * scaleX, y * s_y * scaleY};
    if (type != SCENE_OBJECT_MOVING) {
        position = {std::trunc(position.x), std::trunc(position.y)};
    }
    const backend::Rect own{r_left, r_top, r_right, r_bottom};
    return resources.DrawImage(image, r_right == 0 ? nullptr : &own, &scaling, &centre, r, position,
                               color);
}

bool CMenuScene::Load() {
    HtmlLog().Write("Blue", "Initializing menu scene");
    CXmlReader reader;
    if (!reader.Open(SCENE_FILE)) {
        HtmlLog().Write("Red", "Couldn't open menu scene file (%s)", SCENE_FILE);
        return false;
    }
    objects.clear();
    bool show = false;
    std::vector<ShowHideRule> rules;
    CSceneObject working;
    CResourceManager& resources = ResourceManager::Instance();

    XmlNode node;
    while (reader.Read(node)) {
        if (node.type == XML_START_ELEMENT && StartsWith(node.path, "Base")) {
            if (node.name == "show" || node.name == "hide") {
                show = node.name == "show";
                rules = ReadRules(node, show);
            } else if (node.name == "object") {
                working.Reset();
                ParseInt(Attribute(node, "type"), &working.type);
                working.rules = rules;
                working.defaultVisible = show;
                working.image = resources.GetIndex(RESOURCE_IMAGE, Attribute(node, "image"));
                // A dead object keeps its reset values and is never finished.
                if (working.image != -1 && working.type != -1) {
                    ReadObjectAttributes(node, working);
                    working.FinishLoad();
                }
            }
            if (node.name == "animation" && StartsWith(node.path, "Base/object")) {
                working.animations.push_back(ReadAnimation(node, working));
            }
        } else if (node.type == XML_END_ELEMENT && node.name == "object" &&
                   StartsWith(node.path, "Base")) {
            objects.push_back(working);
        }
    }
    HtmlLog().Write("Green", "Initialization is completed");
    return true;
}

void CMenuScene::Update(const std::string& menuPath, InputState input, float scaleX, float scaleY,
                        float elapsedSeconds) {
    for (CSceneObject& object : objects) {
        object.Update(menuPath, input, scaleX, scaleY, elapsedSeconds);
    }
}

HResult CMenuScene::Render(float scaleX, float scaleY) {
    for (CSceneObject& object : objects) {
        object.Render(scaleX, scaleY);
    }
    return RESULT_OK;
}
