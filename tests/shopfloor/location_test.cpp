// The location backdrop: which pieces and waves each room draws at each
// decoration level and in which order, the flickering rise to a higher
// decoration in play and the shop's view of it, and the waves' frames.
#include "shopfloor/location.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "shop_world.h"

namespace {

class LocationTest : public shop_test::ShopWorldTest {
protected:
    void SetUp() override {
        ShopWorldTest::SetUp();
        for (const char* id : {"LOCATION_1", "LOCATION_2", "LOCATION_3", "LOCATION_UPDATES_1",
                               "LOCATION_UPDATES_2", "BONUS_GAME_LOCATION", "SEA_WAVE_MASK"}) {
            AddImage(id, 1024, 1024);
        }
        wave = AddImage("SEA_WAVE", 200, 450);
        location.Build();
    }

    // The draws of one frame, as piece numbers and "w0" to "w2" for waves.
    std::vector<std::string> Drawn() {
        device.draws.clear();
        location.Render(&device, {1.0f, 1.0f}, bonus);
        std::vector<std::string> drawn;
        const auto& images = Resources().Images();
        for (const media_test::RecordedDraw& draw : device.draws) {
            if (draw.texture == images[static_cast<std::size_t>(wave)].texture) {
                // The waves stand apart: wave 1 at the top right, wave 2 in
                // the window of location 2, wave 0 low at the left.
                const float x = draw.translation.x;
                drawn.push_back(x > 500.0f ? "w1" : (x > 100.0f ? "w2" : "w0"));
                continue;
            }
            drawn.push_back(PieceOf(draw));
        }
        return drawn;
    }

    std::string PieceOf(const media_test::RecordedDraw& draw) {
        const auto& images = Resources().Images();
        const auto& pieces = location.GetPieces();
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            const CGuiImage& piece = pieces[i];
            if (images[static_cast<std::size_t>(piece.image)].texture == draw.texture &&
                draw.source && draw.source->left == piece.source.left &&
                draw.source->top == piece.source.top && draw.source->right == piece.source.right &&
                draw.source->bottom == piece.source.bottom && draw.translation.x == piece.x &&
                draw.translation.y == piece.y) {
                return std::to_string(i);
            }
        }
        return "?";
    }

    std::vector<std::string> Pieces(std::initializer_list<const char*> names) {
        return {names.begin(), names.end()};
    }

    CLocation location;
    std::int32_t wave = -1;
    bool bonus = false;
};

TEST_F(LocationTest, EachRoomDrawsItsPiecesAndWavesInOrderForItsDecoration) {
    struct Case {
        std::int32_t location;
        std::int32_t decoration;
        std::vector<std::string> drawn;
    };
    const std::vector<Case> cases = {
        {1, 0, {"0", "w0", "31", "w1", "33"}},
        {1, 3, {"1", "2", "3", "5", "6", "w0", "32", "w1", "33"}},
        {1, 6, {"1", "2", "3", "5", "6", "4", "7", "8", "9", "w0", "32", "w1", "34"}},
        // Above 6 draws like 6.
        {1, 9, {"1", "2", "3", "5", "6", "4", "7", "8", "9", "w0", "32", "w1", "34"}},
        {2, 0, {"10", "w2", "35"}},
        {2, 1, {"11", "12", "w2", "35"}},
        {2, 6, {"11", "12", "13", "14", "15", "16", "17", "18", "19", "w2", "35"}},
        {3, 0, {"20"}},
        {3, 2, {"20", "21", "22", "25"}},
        {3, 6, {"20", "21", "22", "25", "23", "24", "26", "27", "28", "29"}},
        // No room to draw, and no wave.
        {4, 3, {}},
        {0, 3, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.location) + "/" + std::to_string(c.decoration));
        location.Set(c.location, c.decoration);
        EXPECT_EQ(Drawn(), c.drawn);
    }
}

TEST_F(LocationTest, BonusLevelDrawsOnlyItsBackdropInAnyLocation) {
    bonus = true;
    for (const std::int32_t room : {1, 2, 3, 7}) {
        location.Set(room, 6);
        EXPECT_EQ(Drawn(), Pieces({"30"}));
    }
}

TEST_F(LocationTest, BuildingTwiceKeepsThirtySixPiecesAndOneClipPerWave) {
    location.Build();
    EXPECT_EQ(location.GetPieces().size(), 36u);
    for (std::int32_t w = 0; w < CLocation::WAVE_COUNT; ++w) {
        EXPECT_EQ(location.GetWave(w).GetClipCount(), 1);
        EXPECT_TRUE(location.GetWave(w).IsPlaying(0));
        EXPECT_EQ(location.GetWave(w).GetFrameCount(0), 10);
    }
}

TEST_F(LocationTest, RiseAlternatesOldAndNewFasterAndFasterThenKeepsTheNew) {
    location.Set(2, 1);
    location.Set(2, 3);
    EXPECT_EQ(location.GetRiseStep(), 2);
    // Until play starts the new decoration is shown.
    EXPECT_EQ(location.GetShownDecoration(), 3);
    // The shown level at the end of each 1/100 s frame of play.
    std::vector<std::int32_t> shown;
    float seconds = 0.0f;
    while (location.GetRiseStep() != 0 && seconds < 10.0f) {
        location.Update({1.0f, 1.0f}, 0.01f);
        seconds += 0.01f;
        shown.push_back(location.GetShownDecoration());
    }
    // Old for the first second, new for the next, then halves, thirds...
    EXPECT_EQ(shown[50], 1);
    EXPECT_EQ(shown[150], 3);
    EXPECT_EQ(shown[225], 1);
    EXPECT_EQ(shown[275], 3);
    // The rise lasts 2 x (1 + 1/2 + ... + 1/8) seconds.
    EXPECT_NEAR(
        seconds,
        2.0f * (1.0f + 1.0f / 2 + 1.0f / 3 + 1.0f / 4 + 1.0f / 5 + 1.0f / 6 + 1.0f / 7 + 1.0f / 8),
        0.05f);
    EXPECT_EQ(location.GetShownDecoration(), 3);
    // Only the two levels, never the one between.
    for (const std::int32_t level : shown) {
        EXPECT_TRUE(level == 1 || level == 3) << level;
    }
}

TEST_F(LocationTest, ShopShowsTheDecorationFromBeforeAPendingRise) {
    location.Set(1, 2);
    location.Set(1, 5);
    location.UpdateShop({1.0f, 1.0f}, 0.5f);
    EXPECT_EQ(location.GetShownDecoration(), 2);
    EXPECT_EQ(location.GetRiseStep(), 3);
    EXPECT_EQ(Drawn(), Pieces({"1", "2", "3", "w0", "31", "w1", "33"}));
}

TEST_F(LocationTest, LowerOrEqualDecorationStartsNoRise) {
    for (const auto& [before, after] : {std::pair{4, 2}, std::pair{3, 3}}) {
        location.Set(3, before);
        location.Set(3, after);
        EXPECT_EQ(location.GetRiseStep(), 0);
        location.Update({1.0f, 1.0f}, 0.5f);
        EXPECT_EQ(location.GetShownDecoration(), after);
    }
}

TEST_F(LocationTest, LongFrameNearTheEndFinishesTheRise) {
    location.Set(1, 0);
    location.Set(1, 1);
    // Up to a counter of 15.9 in small frames.
    while (location.GetRiseCounter() < 15.9f - 0.08f) {
        location.Update({1.0f, 1.0f}, 0.01f);
    }
    ASSERT_NE(location.GetRiseStep(), 0);
    location.Update({1.0f, 1.0f}, 0.5f);
    EXPECT_EQ(location.GetRiseStep(), 0);
    EXPECT_EQ(location.GetRiseCounter(), 0.0f);
    EXPECT_EQ(location.GetShownDecoration(), 1);
}

TEST_F(LocationTest, OnlyTheWavesOfTheCurrentLocationMove) {
    const auto frames = [this] {
        std::vector<int> result;
        for (std::int32_t w = 0; w < CLocation::WAVE_COUNT; ++w) {
            result.push_back(location.GetWave(w).GetFrameIndex(0));
        }
        return result;
    };
    location.Set(1, 0);
    location.Update({1.0f, 1.0f}, 0.25f);
    EXPECT_EQ(frames(), (std::vector<int>{1, 1, 0}));
    location.Set(2, 0);
    location.UpdateShop({1.0f, 1.0f}, 0.25f);
    EXPECT_EQ(frames(), (std::vector<int>{1, 1, 1}));
    location.Set(3, 0);
    location.Update({1.0f, 1.0f}, 0.25f);
    EXPECT_EQ(frames(), (std::vector<int>{1, 1, 1}));
}

}  // namespace
