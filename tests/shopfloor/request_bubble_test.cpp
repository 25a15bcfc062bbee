// The wish bubble: its opening, waiting time, warning, expiry, the audio
// effect that winds it back, training, the hit test and the icons it shows.
#include "shopfloor/request_bubble.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "shop_world.h"
#include "shopfloor/item_codes.h"

namespace {

constexpr float X = 100.0f;
constexpr float Y = 300.0f;

class RequestBubbleTest : public shop_test::ShopWorldTest {
protected:
    // One frame of the owner: the update and the expiry it takes at once.
    bool Step(float dt, float effect = 0.0f) {
        bubble.Update(input, {1.0f, 1.0f}, dt, effect);
        const bool expired = bubble.TakeExpired();
        LetSoundsRun(dt);
        return expired;
    }

    // Steps until the wish becomes readable; the seconds that took.
    float Open(float dt) {
        float seconds = 0.0f;
        while (bubble.GetRequest() == 0 && seconds < 5.0f) {
            Step(dt);
            seconds += dt;
        }
        return seconds;
    }

    // Where the picture of `image` with this source rectangle was drawn.
    std::vector<backend::Vec2f> PlacesOf(std::int32_t image, const backend::Rect& source) {
        std::vector<backend::Vec2f> places;
        for (const media_test::RecordedDraw& draw : DrawsOf(image)) {
            if (draw.source && draw.source->left == source.left && draw.source->top == source.top &&
                draw.source->right == source.right && draw.source->bottom == source.bottom) {
                places.push_back(draw.translation);
            }
        }
        return places;
    }

    CRequestBubble bubble;
};

TEST_F(RequestBubbleTest, TenSecondWishOpensWarnsAndExpiresOnceAtAnyFrameRate) {
    for (const float dt : {1.0f / 60.0f, 1.0f / 7.0f}) {
        SCOPED_TRACE(dt);
        bubble.SetRequest(ITEM_FOOD_1, 10.0f, X, Y);
        EXPECT_FLOAT_EQ(bubble.GetPatience(), 100.0f);
        const int warnings = Plays(5);
        const int expiries = Plays(13);
        bool readable = false;
        int expiredFrames = 0;
        float warnedAt = -1.0f;
        while (bubble.GetElapsed() < 10.0f) {
            const float before = bubble.GetElapsed();
            const bool wasWarned = bubble.IsWarned();
            expiredFrames += Step(dt) ? 1 : 0;
            if (!wasWarned && bubble.IsWarned()) {
                warnedAt = bubble.GetElapsed();
                // The first frame past 8.5 s, not one later.
                EXPECT_LE(before, 8.5f);
            }
            if (!readable && bubble.GetRequest() != 0) {
                readable = true;
                // The opening: the rise, then the body grows to full size.
                EXPECT_GT(bubble.GetElapsed(), 1.45f);
                EXPECT_LT(bubble.GetElapsed(), 1.75f);
            }
            if (!readable) {
                EXPECT_EQ(bubble.GetRequest(), 0u);
            }
        }
        EXPECT_GT(warnedAt, 8.5f);
        EXPECT_EQ(Plays(5), warnings + 1);
        EXPECT_EQ(expiredFrames, 1);
        EXPECT_EQ(Plays(13), expiries + 1);
        EXPECT_EQ(bubble.GetRequest(), 0u);
        EXPECT_FLOAT_EQ(bubble.GetPatience(), 0.0f);
        // It fades out within about half a second and empties itself.
        float fading = 0.0f;
        while (bubble.GetAlpha() > 0.0f && fading < 2.0f) {
            EXPECT_FALSE(Step(dt));
            fading += dt;
        }
        EXPECT_LE(fading, 0.52f + dt);
        device.draws.clear();
        bubble.Render(&device, {1.0f, 1.0f});
        EXPECT_TRUE(device.draws.empty());
        EXPECT_FALSE(Step(dt));
        EXPECT_EQ(Plays(13), expiries + 1);
    }
}

TEST_F(RequestBubbleTest, AudioEffectWindsTheWaitBackWithoutASecondWarning) {
    const float dt = 1.0f / 60.0f;
    bubble.SetRequest(ITEM_FOOD_2, 10.0f, X, Y);
    while (bubble.GetElapsed() < 9.0f) {
        Step(dt);
    }
    ASSERT_TRUE(bubble.IsWarned());
    const int warnings = Plays(5);
    const std::int32_t fullWater = bubble.GetFill().source.bottom;
    float seconds = 0.0f;
    while (bubble.GetElapsed() > 0.0f && seconds < 10.0f) {
        Step(dt, 2.0f);
        seconds += dt;
        EXPECT_EQ(bubble.GetRequest(), static_cast<std::uint32_t>(ITEM_FOOD_2));
    }
    EXPECT_NEAR(seconds, 4.5f, 0.05f);
    EXPECT_TRUE(bubble.IsWarned());
    // The water sank to the bottom of the bubble.
    EXPECT_LT(bubble.GetFill().source.bottom, fullWater);
    EXPECT_EQ(bubble.GetFill().source.bottom, bubble.GetFill().source.top);
    while (bubble.GetElapsed() < 9.0f) {
        Step(dt);
    }
    EXPECT_EQ(Plays(5), warnings);
}

TEST_F(RequestBubbleTest, TrainingFreezesTheWaitButTheEffectStillRewindsIt) {
    const float dt = 1.0f / 60.0f;
    bubble.SetRequest(ITEM_FOOD_1, 10.0f, X, Y);
    while (bubble.GetElapsed() < 3.0f) {
        Step(dt);
    }
    const float frozen = bubble.GetElapsed();
    g_gameSession.AddModeBits(MODE_TRAINING);
    for (int i = 0; i < 1200; ++i) {
        EXPECT_FALSE(Step(dt));
    }
    EXPECT_FLOAT_EQ(bubble.GetElapsed(), frozen);
    EXPECT_EQ(bubble.GetRequest(), static_cast<std::uint32_t>(ITEM_FOOD_1));
    Step(1.0f, 1.0f);
    EXPECT_NEAR(bubble.GetElapsed(), frozen - 1.0f, 1e-4f);
}

TEST_F(RequestBubbleTest, EffectDuringTheFadeOutRevivesTheWishButNotAfterClear) {
    const float dt = 1.0f / 60.0f;
    bubble.SetRequest(ITEM_MEDICINE_1, 3.0f, X, Y);
    int expiries = 0;
    while (expiries == 0) {
        expiries += Step(dt) ? 1 : 0;
    }
    Step(dt);
    ASSERT_GT(bubble.GetAlpha(), 0.0f);
    Step(dt, 1.0f);
    EXPECT_EQ(bubble.GetRequest(), static_cast<std::uint32_t>(ITEM_MEDICINE_1));
    for (int i = 0; i < 600 && expiries < 2; ++i) {
        expiries += Step(dt) ? 1 : 0;
    }
    EXPECT_EQ(expiries, 2);

    bubble.SetRequest(ITEM_FOOD_1, 10.0f, X, Y);
    Open(dt);
    bubble.Clear();
    EXPECT_EQ(bubble.GetRequest(), 0u);
    EXPECT_FLOAT_EQ(bubble.GetPatience(), 0.0f);
    Step(dt, 1.0f);
    EXPECT_EQ(bubble.GetRequest(), 0u);
    for (int i = 0; i < 60; ++i) {
        Step(dt, 1.0f);
    }
    EXPECT_FLOAT_EQ(bubble.GetAlpha(), 0.0f);
    EXPECT_EQ(bubble.GetRequest(), 0u);
}

TEST_F(RequestBubbleTest, ABubbleWithoutAWishIsNeverHovered) {
    const float dt = 1.0f / 60.0f;
    // The cursor on the body's centre, where the sell button also lies.
    input.cursorX = X + 124.0f;
    input.cursorY = Y - 29.0f;

    // Cleared during the opening while under the cursor: the bubble goes idle
    // at once, and must not keep the aquarium pointed at.
    bubble.SetRequest(ITEM_FOOD_1, 10.0f, X, Y);
    while (!bubble.IsHovered() && bubble.GetElapsed() < 3.0f) {
        Step(dt);
    }
    ASSERT_TRUE(bubble.IsHovered());
    ASSERT_FLOAT_EQ(bubble.GetAlpha(), 0.0f);
    bubble.Clear();
    Step(dt);
    EXPECT_FALSE(bubble.IsHovered());
    EXPECT_EQ(bubble.GetRequest(), 0u);
    device.draws.clear();
    bubble.Render(&device, {1.0f, 1.0f});
    EXPECT_TRUE(device.draws.empty());

    // Reset under the cursor after the opening.
    bubble.SetRequest(ITEM_FOOD_1, 10.0f, X, Y);
    Open(dt);
    ASSERT_TRUE(bubble.IsHovered());
    bubble.Reset();
    EXPECT_FALSE(bubble.IsHovered());
    Step(dt);
    EXPECT_FALSE(bubble.IsHovered());

    // The hit area reaches 5 pixels below the body.
    bubble.SetRequest(ITEM_FOOD_1, 10.0f, X, Y);
    Open(dt);
    input.cursorX = X + 80.0f;
    input.cursorY = Y + 8.0f;
    Step(dt);
    EXPECT_TRUE(bubble.IsHovered());
    input.cursorY = Y + 9.0f;
    Step(dt);
    EXPECT_FALSE(bubble.IsHovered());
}

TEST_F(RequestBubbleTest, AWishWithoutWaitingTimeShowsNothing) {
    const int wishes = Plays(12);
    bubble.SetRequest(ITEM_FOOD_1, 0.0f, X, Y);
    EXPECT_EQ(Plays(12), wishes + 1);
    for (int i = 0; i < 200; ++i) {
        EXPECT_FALSE(Step(1.0f / 60.0f));
    }
    EXPECT_EQ(bubble.GetRequest(), 0u);
    EXPECT_FLOAT_EQ(bubble.GetAlpha(), 0.0f);
    device.draws.clear();
    bubble.Render(&device, {1.0f, 1.0f});
    EXPECT_TRUE(device.draws.empty());
}

TEST_F(RequestBubbleTest, BrushWishesHaveTheirOwnSound) {
    struct Case {
        std::uint32_t request;
        int sample;
    };
    const Case cases[] = {{ITEM_BRUSH_1, 11},        {ITEM_BRUSH_2, 11}, {ITEM_FOOD_1, 12},
                          {STONE | GREEN_GRASS, 12}, {WISH_LAMP_ON, 12}, {ITEM_MEDICINE_2, 12}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        const int before = Plays(c.sample);
        bubble.SetRequest(c.request, 10.0f, X, Y);
        EXPECT_EQ(Plays(c.sample), before + 1);
        LetSoundsRun(0.1f);
    }
}

TEST_F(RequestBubbleTest, InteriorIconsStandByTheNumberOfCategories) {
    struct Case {
        std::uint32_t request;
        // Ground, algae, house, coral; (0, 0) for an empty slot.
        std::vector<backend::Vec2f> places;
    };
    const Case cases[] = {
        {STONE, {{103, -44}, {0, 0}, {0, 0}, {0, 0}}},
        {SAND | RED_GRASS, {{84, -49}, {111, -54}, {0, 0}, {0, 0}}},
        {STONE | GREEN_GRASS | CASTLE, {{68, -42}, {93, -41}, {131, -56}, {0, 0}}},
        {STONE | GREEN_GRASS | CHEST, {{68, -42}, {98, -41}, {137, -51}, {0, 0}}},
        {ROCK | BLUE_GRASS | RED_CORAL, {{68, -44}, {101, -47}, {0, 0}, {139, -44}}},
        {ROCK | RED_GRASS | CASTLE, {{68, -44}, {89, -52}, {131, -56}, {0, 0}}},
        {SAND | BLUE_GRASS | SEA_SHELL | YELLOW_CORAL,
         {{68, -56}, {88, -43}, {115, -58}, {135, -37}}},
        // A single category other than a ground has no place.
        {CASTLE, {{0, 0}, {0, 0}, {0, 0}, {0, 0}}},
    };
    const CRequestBubble::IconSlot slots[] = {
        CRequestBubble::ICON_GROUND, CRequestBubble::ICON_ALGAE, CRequestBubble::ICON_HOUSE,
        CRequestBubble::ICON_CORAL};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        bubble.SetRequest(c.request, 10.0f, X, Y);
        for (int i = 0; i < 4; ++i) {
            const CGuiImage& icon = bubble.GetIcon(slots[i]);
            const backend::Vec2f& place = c.places[static_cast<std::size_t>(i)];
            if (place.x == 0.0f) {
                EXPECT_EQ(icon.image, -1) << i;
                continue;
            }
            EXPECT_EQ(icon.image, interiors) << i;
            EXPECT_FLOAT_EQ(icon.x, X + place.x) << i;
            EXPECT_FLOAT_EQ(icon.y, Y + place.y) << i;
        }
    }
}

TEST_F(RequestBubbleTest, SingleIconsFollowTheirTable) {
    struct Case {
        std::uint32_t request;
        bool instruments;
        backend::Rect source;
        float x;
        float y;
    };
    const Case cases[] = {
        {ITEM_FOOD_1, false, {213, 349, 287, 412}, 86, -58},
        {ITEM_FOOD_4, false, {211, 291, 286, 349}, 86, -58},
        {ITEM_VITAMIN_COST, false, {77, 303, 133, 363}, 96, -53},
        {ITEM_MEDICINE_1, false, {227, 189, 286, 252}, 92, -58},
        {ITEM_MEDICINE_2, false, {160, 363, 216, 426}, 95, -58},
        {ITEM_BRUSH_2, false, {131, 303, 213, 365}, 81, -61},
        {WISH_COMPRESSOR_OFF, true, {350, 369, 410, 432}, 96, -64},
        {WISH_LAMP_ON, true, {190, 369, 248, 432}, 96, -60},
        // Several bits: the last row of the table that matches.
        {ITEM_FOOD_2 | ITEM_VITAMIN_GROWTH, false, {217, 410, 287, 473}, 89, -59},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        bubble.SetRequest(c.request, 10.0f, X, Y);
        const CGuiImage& icon = bubble.GetIcon(CRequestBubble::ICON_GROUND);
        EXPECT_EQ(icon.image, c.instruments ? instruments : interiors);
        EXPECT_EQ(icon.source.left, c.source.left);
        EXPECT_EQ(icon.source.top, c.source.top);
        EXPECT_EQ(icon.source.right, c.source.right);
        EXPECT_EQ(icon.source.bottom, c.source.bottom);
        EXPECT_FLOAT_EQ(icon.x, X + c.x);
        EXPECT_FLOAT_EQ(icon.y, Y + c.y);
    }
    // A code of no row shows an empty single-icon bubble.
    bubble.SetRequest(ITEM_COMPUTER, 10.0f, X, Y);
    EXPECT_EQ(bubble.GetIcon(CRequestBubble::ICON_GROUND).image, -1);
    EXPECT_EQ(bubble.GetBody().source.right, 88);
}

TEST_F(RequestBubbleTest, RenderDrawsTheWaterOverTheIconsOnceOpen) {
    const float dt = 1.0f / 60.0f;
    bubble.SetRequest(STONE | GREEN_GRASS | CASTLE, 20.0f, X, Y);
    // During the rise only the small bubble shows.
    Step(dt);
    device.draws.clear();
    bubble.Render(&device, {1.0f, 1.0f});
    ASSERT_EQ(device.draws.size(), 1u);
    EXPECT_EQ(PlacesOf(animation, {123, 436, 175, 486}).size(), 1u);

    Open(dt);
    while (bubble.GetAlpha() < 255.0f || bubble.GetElapsed() < 10.0f) {
        Step(dt);
    }
    device.draws.clear();
    bubble.Render(&device, {1.0f, 1.0f});
    // Body at full size, the three icons (ground, house, algae), then the
    // water, its surface and the edges.
    const auto body = PlacesOf(interiors, {0, 448, 122, 512});
    ASSERT_EQ(body.size(), 1u);
    EXPECT_FLOAT_EQ(body[0].x, X + 64.0f);
    EXPECT_FLOAT_EQ(body[0].y, Y - 61.0f);
    const auto castle = PlacesOf(interiors, {122, 462, 174, 511});
    ASSERT_EQ(castle.size(), 1u);
    EXPECT_FLOAT_EQ(castle[0].x, X + 131.0f);
    ASSERT_GE(device.draws.size(), 9u);
    EXPECT_EQ(device.draws[1].source->left, 423);  // the ground first
    EXPECT_EQ(device.draws[2].source->left, 122);  // then the house
    EXPECT_EQ(device.draws[3].source->left, 124);  // then the algae
    // Half the wait: the water fills the lower half of the bubble.
    const media_test::RecordedDraw& fill = device.draws[4];
    EXPECT_EQ(fill.texture, Resources().Images()[static_cast<std::size_t>(animation)].texture);
    EXPECT_EQ(fill.source->top, 423);
    EXPECT_NEAR(static_cast<float>(fill.source->bottom - fill.source->top), 29.0f, 1.0f);
    EXPECT_NEAR(fill.translation.y, Y - 60.0f + 32.0f, 1.0f);
    EXPECT_EQ(fill.colour, 0xFFFFFFFFu);
    EXPECT_GT(bubble.GetAirBubbleCount() + 1, 0u);
}

}  // namespace
