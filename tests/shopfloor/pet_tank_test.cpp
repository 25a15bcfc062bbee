// The shipped pet animations as the game draws them: every frame of every
// clip of both pets, in each location, lies inside the pet's tank picture.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "engine/media/frame_animation.h"
#include "game/data_file_test_support.h"
#include "shop_world.h"
#include "shopfloor/pet.h"

namespace {

constexpr Vec2 SCALE{1.0f, 1.0f};
constexpr float TANK_WIDTH = 130.0f;
constexpr float TANK_HEIGHT = 131.0f;

// Frames per clip, and how long each shows, by kind and clip.
struct ClipRun {
    int frames;
    float frameTime;
};
const ClipRun CLIP_RUNS[2][CPet::CLIP_COUNT] = {
    {{60, 0.04f}, {60, 0.06f}, {40, 0.04f}, {40, 0.04f}, {100, 0.04f}},
    {{90, 0.04f}, {50, 0.06f}, {40, 0.04f}, {70, 0.04f}, {50, 0.033f}},
};

class PetTankTest : public shop_test::ShopWorldTest {
protected:
    void SetUp() override {
        ShopWorldTest::SetUp();
        std::ifstream file(data_test::ShippedDataFolder() / "resources.xml");
        std::stringstream text;
        text << file.rdbuf();
        const std::string index = text.str();
        const std::regex element(
            "<Animation2D id=\"(A_PET_[A-Z_0-9]+)\" path=\"([^\"]+)\" image_id=\"([^\"]+)\" "
            "width=\"([0-9]+)\" height=\"([0-9]+)\" f_width=\"(-?[0-9]+)\" "
            "f_height=\"(-?[0-9]+)\"");
        for (std::sregex_iterator it(index.begin(), index.end(), element), end; it != end; ++it) {
            const std::smatch& m = *it;
            const int width = std::stoi(m[4]);
            const int height = std::stoi(m[5]);
            const std::int32_t image = AddImage(m[3], width, height);
            sheets.push_back(Resources().Images()[static_cast<std::size_t>(image)].texture);
            Animation2DRecord record;
            record.id = m[1];
            record.image = image;
            const std::string path = (data_test::ShippedDataFolder() / m[2].str()).string();
            ASSERT_GT(
                ReadAnimationFrames(record.frames, path, image, std::stoi(m[6]), std::stoi(m[7]),
                                    static_cast<float>(width), static_cast<float>(height)),
                0)
                << path;
            Resources().Animations2D().push_back(record);
        }
        ASSERT_EQ(sheets.size(), 6u);
    }

    // The figure's draw of this frame, if any.
    const media_test::RecordedDraw* FigureDraw() {
        for (const media_test::RecordedDraw& draw : device.draws) {
            for (const backend::ITexture* sheet : sheets) {
                if (draw.texture == sheet) {
                    return &draw;
                }
            }
        }
        return nullptr;
    }

    std::vector<const backend::ITexture*> sheets;
    CPet pet;
};

TEST_F(PetTankTest, EveryFrameOfEveryClipStaysInsideTheTankInEachLocation) {
    for (std::int32_t location = 1; location <= 3; ++location) {
        for (std::int32_t kind = 0; kind < 2; ++kind) {
            pet.Init(location, kind, 1);
            const Vec2 base = pet.GetBasePoint();
            for (std::int32_t clip = 0; clip < CPet::CLIP_COUNT; ++clip) {
                const ClipRun& run = CLIP_RUNS[kind][clip];
                pet.SetAnimState(clip);
                for (int frame = 0; frame < run.frames; ++frame) {
                    SCOPED_TRACE(::testing::Message()
                                 << "location " << location << ", kind " << kind << ", clip "
                                 << clip << ", frame " << frame);
                    ASSERT_EQ(pet.GetFigure().GetCurrentClip(), clip);
                    ASSERT_EQ(pet.GetFigure().GetCurrentFrame(static_cast<unsigned>(clip)), frame);
                    device.draws.clear();
                    pet.Render(&device, SCALE);
                    const media_test::RecordedDraw* draw = FigureDraw();
                    ASSERT_NE(draw, nullptr);
                    const float left = draw->translation.x - base.x;
                    const float top = draw->translation.y - base.y;
                    const float right =
                        left + static_cast<float>(draw->source->right - draw->source->left);
                    const float bottom =
                        top + static_cast<float>(draw->source->bottom - draw->source->top);
                    EXPECT_GE(left, 0.0f);
                    EXPECT_GE(top, 0.0f);
                    EXPECT_LE(right, TANK_WIDTH);
                    EXPECT_LE(bottom, TANK_HEIGHT);
                    // Slightly more than a frame's time: exactly one step.
                    if (frame + 1 < run.frames) {
                        pet.Update(input, SCALE, run.frameTime * 1.01f);
                    }
                }
            }
        }
    }
}

}  // namespace
