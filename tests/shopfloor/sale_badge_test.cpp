// The sale badge: the chain of sales of one kind with its sounds and count,
// how it is drawn, and the fish icons it gives the order cards.
#include "shopfloor/sale_badge.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "shop_world.h"
#include "shopfloor/item_codes.h"

namespace {

class SaleBadgeTest : public shop_test::ShopWorldTest {
protected:
    std::vector<panel_test::DrawnText> Render(bool showCount) {
        device.draws.clear();
        badge.Render(&device, {1.0f, 1.0f}, 0xFFFFFFFF, showCount);
        return DrawnTexts();
    }

    CSaleBadge badge;
};

TEST_F(SaleBadgeTest, SalesOfOneKindChainAndAnotherKindStartsAgain) {
    struct Sale {
        std::int32_t kind;
        std::int32_t count;
        int sample;
    };
    const Sale sales[] = {
        {FISH_1, 1, 16}, {FISH_1, 2, 17}, {FISH_1, 3, 18}, {FISH_1, 4, 18}, {FISH_2, 1, 16}};
    for (const Sale& sale : sales) {
        SCOPED_TRACE(sale.count);
        const int before = Plays(sale.sample);
        badge.icon.offsetY = -20.0f;
        badge.frame.offsetY = -20.0f;
        badge.Add(sale.kind, 400.0f, 300.0f);
        LetSoundsRun(0.1f);
        EXPECT_EQ(badge.kind, sale.kind);
        EXPECT_EQ(badge.count, sale.count);
        EXPECT_EQ(Plays(sale.sample), before + 1);
        // A sale puts a floating badge back in its place.
        EXPECT_FLOAT_EQ(badge.icon.offsetY, 0.0f);
        EXPECT_FLOAT_EQ(badge.frame.offsetY, 0.0f);
        const auto texts = Render(true);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].text, std::u16string(1, static_cast<char16_t>(u'0' + sale.count)));
        EXPECT_FLOAT_EQ(texts[0].scale, 0.7f);
    }
    // The new chain: frame at the given place less 6, the icon nudged.
    EXPECT_FLOAT_EQ(badge.frame.x, 394.0f);
    EXPECT_FLOAT_EQ(badge.frame.y, 294.0f);
    EXPECT_FLOAT_EQ(badge.frame.scaleX, 0.75f);
    EXPECT_FLOAT_EQ(badge.icon.x, 400.0f);
    EXPECT_FLOAT_EQ(badge.icon.y, 290.0f);
    EXPECT_FLOAT_EQ(badge.icon.scaleX, 0.7f);
}

TEST_F(SaleBadgeTest, WithoutTheCountOnlyTheIconIsDrawnAndAResetBadgeDrawsNothing) {
    badge.Add(CRAB, 100.0f, 100.0f);
    EXPECT_TRUE(Render(false).empty());
    ASSERT_EQ(device.draws.size(), 1u);
    EXPECT_EQ(device.draws[0].texture,
              Resources().Images()[static_cast<std::size_t>(icons)].texture);
    EXPECT_EQ(device.draws[0].source->left, 226);
    EXPECT_FLOAT_EQ(device.draws[0].translation.x, 103.0f);
    EXPECT_FLOAT_EQ(device.draws[0].translation.y, 104.0f);

    Render(true);
    EXPECT_EQ(device.draws.size(), 3u);

    badge.Reset();
    EXPECT_EQ(badge.kind, -1);
    EXPECT_EQ(badge.count, 0);
    for (bool showCount : {false, true}) {
        Render(showCount);
        EXPECT_TRUE(device.draws.empty());
    }
}

TEST_F(SaleBadgeTest, FishIconsComeFromTheirTableAndOtherKindsAreEmpty) {
    struct Case {
        std::int32_t kind;
        backend::Rect source;
    };
    const Case cases[] = {{FISH_1, {226, 103, 302, 160}},
                          {JELLY_FISH_2, {432, 154, 512, 227}},
                          {SHARK_2, {5, 439, 123, 494}},
                          {SHELL, {265, 53, 326, 100}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        const CGuiImage icon = CSaleBadge::MakeFishIcon(c.kind, 10.0f, 20.0f, 0.5f, 0.6f);
        EXPECT_EQ(icon.image, icons);
        EXPECT_EQ(icon.hoverImage, -1);
        EXPECT_EQ(icon.source.left, c.source.left);
        EXPECT_EQ(icon.source.top, c.source.top);
        EXPECT_EQ(icon.source.right, c.source.right);
        EXPECT_EQ(icon.source.bottom, c.source.bottom);
        EXPECT_FLOAT_EQ(icon.x, 10.0f);
        EXPECT_FLOAT_EQ(icon.scaleY, 0.6f);
    }
    for (std::int32_t kind : {-1, FISH_KIND_COUNT}) {
        EXPECT_EQ(CSaleBadge::MakeFishIcon(kind, 10.0f, 20.0f, 1.0f, 1.0f).image, -1);
        // A badge of such a kind gets no icon and no nudge.
        CSaleBadge odd;
        odd.Add(kind == -1 ? 99 : kind, 50.0f, 50.0f);
        EXPECT_EQ(odd.icon.image, -1);
        EXPECT_EQ(odd.count, 1);
    }
}

}  // namespace
