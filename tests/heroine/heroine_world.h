#pragma once
// The heroine among the shop devices on the fake render device: every frame
// of her Animation2D resources is a 10-pixel cell of its own image at x =
// 10 x frame number, so a draw tells which layer and frame made it; the
// footwear sheets and the shadow atlas are images of their own; upgrades.xml
// gives the footwear speeds 100, 150 and 220.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device_world.h"
#include "engine/media/frame_animation.h"
#include "game/game_session.h"
#include "heroine/heroine.h"
#include "shopfloor/aquarium_set.h"
#include "shopfloor/location.h"
#include "shopfloor/pet.h"

namespace heroine_test {

using device_test::ONE;

class HeroineWorldTest : public device_test::DeviceWorldTest {
protected:
    static constexpr float S1 = 100.0f;
    static constexpr float S2 = 150.0f;
    static constexpr float S3 = 220.0f;

    void SetUp() override {
        DeviceWorldTest::SetUp();
        resource_test::WriteFile(
            "Resources/Data/upgrades.xml",
            "<Upgrades><Footwear speed_1=\"100\" speed_2=\"150\" speed_3=\"220\"/>"
            "<Machine work_time_1=\"8\" charging_time_1=\"6\"/></Upgrades>");
        ASSERT_TRUE(g_gameSession.LoadUpgrades());
        for (const auto& [id, frames] : ANIMATIONS) {
            AddAnimation(id, frames);
        }
        for (const char* id : {"SLIPPERS_1", "SLIPPERS_2", "SANDALS_1", "SANDALS_2", "BOOTS_1",
                               "BOOTS_2", "WORK_CLOUD", "_SHADOW_PART_2"}) {
            AddImage(id, 1024, 1024);
        }
        device_test::Renew(g_heroine);
        device_test::Renew(g_aquariumSet);
        device_test::Renew(g_pet);
        g_location = CLocation();
        g_heroine.BuildAnimations(1);
        g_heroine.Reset(1, true);
        device.draws.clear();
    }

    void TearDown() override {
        device_test::Renew(g_heroine);
        device_test::Renew(g_aquariumSet);
        DeviceWorldTest::TearDown();
    }

    // One play frame of the heroine alone.
    void Frame(const InputState& input = device_test::Away(), float elapsed = 0.05f) {
        g_heroine.Update(input, ONE, elapsed);
    }
    void Run(float seconds, float elapsed = 0.05f) {
        for (float t = 0.0f; t < seconds - 1e-4f; t += elapsed) {
            Frame(device_test::Away(), elapsed);
        }
    }

    // A task whose station puts her feet on (x, y).
    static CHeroineTask TaskAt(Vec2 feet, std::uint32_t code, std::int32_t aquarium = -1) {
        return CHeroineTask({feet.x - 41.5f, feet.y - 256.0f}, {feet.x, feet.y - 100.0f}, 0.0f,
                            code, aquarium);
    }
    static Vec2 Feet() { return {g_heroine.position.x + 41.5f, g_heroine.position.y + 256.0f}; }
    // A task at the station where she stands, done in the next frame.
    void ActHere(std::uint32_t code, std::int32_t aquarium = -1) {
        g_heroine.Enqueue(TaskAt(Feet(), code, aquarium), ONE);
        Frame();
    }

    static InputState RightPress() {
        InputState input = device_test::Away();
        input.currentMouse.buttons[1] = 0x80;
        return input;
    }

    // An aquarium of slot `index` bought, with its station at `station`.
    static CAquarium& AddAquarium(Vec2 station) {
        g_aquariumSet.AddAquarium(0, 1, 0, 0, 0, 0, 1, 1, false);
        CAquarium& aquarium = *g_aquariumSet.GetAquarium(g_aquariumSet.GetCount() - 1);
        aquarium.stationPoint = station;
        return aquarium;
    }

    // Puts a fish in the aquarium that shows the wish `code` (0: a fish that
    // wants nothing), as its bubble does once its opening has ended.
    static void Wish(CAquarium& aquarium, std::uint32_t code) {
        if (aquarium.IsEmpty()) {
            aquarium.PutFish(FISH_1, false);
            CFish& fish = aquarium.GetFish();
            // No wish of its own during the test.
            fish.type.wishCountdown = 1000.0f;
            fish.lamp = -1;
            fish.compressor = -1;
        }
        CRequestBubble& bubble = aquarium.GetFish().bubble;
        if (code == 0) {
            bubble.Clear();
            return;
        }
        bubble.SetRequest(code, 30.0f, 0.0f, 0.0f);
        const InputState away{};
        for (int i = 0; i < 600 && bubble.GetRequest() == 0; ++i) {
            bubble.Update(away, Vec2{1.0f, 1.0f}, 1.0f / 60.0f, 0.0f);
        }
        ASSERT_EQ(bubble.GetRequest(), code);
    }

    std::int32_t Cash() { return g_gameSession.GetCurrentProfile()->levelCash; }

    // What each draw shows: "body", "back", "arms", "main", "work", "feet",
    // "shadow", "first" and "second" (the hands' pictures), "other".
    std::vector<std::string> DrawnLayers() {
        std::vector<std::string> layers;
        const auto& first = g_heroine.GetFirstHandPicture();
        for (const auto& draw : device.draws) {
            std::string layer = "other";
            const int frame = draw.source ? draw.source->left / 10 : -1;
            for (const auto& [id, frames] : ANIMATIONS) {
                if (draw.texture == Texture(id)) {
                    layer = LayerOf(id, frame);
                }
            }
            for (const char* id : {"SLIPPERS_1", "SLIPPERS_2"}) {
                if (draw.texture == Texture(id)) {
                    layer = "feet";
                }
            }
            if (draw.texture == Texture("INSTRUMENTS")) {
                layer = "second";
                for (int d = 0; d < CCarrySprites::DIRECTIONS; ++d) {
                    for (int l = 0; l < CCarrySprites::LAYERS; ++l) {
                        const backend::Rect& source = first.GetSprite(l, d).source;
                        if (first.GetSprite(l, d).image >= 0 && draw.source &&
                            draw.source->left == source.left && draw.source->top == source.top) {
                            layer = "first";
                        }
                    }
                }
            }
            if (layers.empty() || layers.back() != layer) {
                layers.push_back(layer);
            }
        }
        return layers;
    }

private:
    inline static const std::vector<std::pair<std::string, int>> ANIMATIONS = {
        {"A_PELKA_PART_1", 125}, {"A_PELKA_PART_2", 70},  {"A_PELKA_PART_3", 76},
        {"A_PELKA_PART_4", 186}, {"A_PELKA_PART_5", 45},  {"A_PELKA_PART_6", 105},
        {"A_PELKA_PART_7", 40},  {"A_PELKA_PART_8", 75},  {"A_PELKA_PART_9", 15},
        {"A_SHADOW_PART_1", 47}, {"A_SHADOW_PART_2", 82},
    };

    static std::string LayerOf(const std::string& id, int frame) {
        if (id == "A_PELKA_PART_8") {
            return "body";
        }
        if (id == "A_PELKA_PART_4") {
            return frame >= 111 ? "back" : frame >= 36 ? "arms" : "work";
        }
        if (id == "A_PELKA_PART_9" || (id == "A_PELKA_PART_1" && frame >= 20) ||
            (id == "A_PELKA_PART_6" && frame >= 30)) {
            return "arms";
        }
        if (id.rfind("A_SHADOW", 0) == 0) {
            return "shadow";
        }
        return "main";
    }

    const backend::ITexture* Texture(const std::string& id) {
        return Resources().Images()[static_cast<std::size_t>(Image(id))].texture;
    }

    void AddAnimation(const std::string& id, int count) {
        const std::int32_t image = AddImage(id, 2000, 20);
        Animation2DRecord record;
        record.id = id;
        record.image = image;
        for (int i = 0; i < count; ++i) {
            AnimationFrame frame;
            frame.image = image;
            frame.left = i * 10;
            frame.right = i * 10 + 10;
            frame.bottom = 10;
            record.frames.push_back(frame);
        }
        Resources().Animations2D().push_back(record);
    }
};

}  // namespace heroine_test
