#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/media/resource_manager.h"
#include "resource_test_support.h"

namespace {

using resource_test::LogHas;
using resource_test::ScratchFolderTest;

class ResourceIndexTest : public ScratchFolderTest {
protected:
    void Read(const std::string& body) {
        WriteIndex(body);
        ASSERT_TRUE(m_manager.ReadIndex());
    }

    CResourceManager m_manager;
};

TEST_F(ResourceIndexTest, CoverageGivesTheGroupBits) {
    struct Case {
        const char* attribute;  // nullptr: no attribute
        CoverageMask expected;
    };
    const std::vector<Case> cases = {
        {nullptr, 0x1}, {"", 0x1},     {"0", 0x1},      {"-2", 0x2},   {"-1", 0x4},
        {"1", 0x8},     {"5", 0x80},   {"1,2", 0x18},   {"-2,0", 0x3}, {"7", 0x1},
        {"1, 2", 0x9},  {"3,9", 0x20}, {"1,,2,", 0x18}, {"x", 0x1},    {"-3,-1", 0x4},
    };
    std::string body = "<Resources>\n";
    for (std::size_t i = 0; i < cases.size(); ++i) {
        body += "<Image id=\"I" + std::to_string(i) + "\" path=\"p.png\"";
        if (cases[i].attribute != nullptr) {
            body += std::string(" coverage=\"") + cases[i].attribute + "\"";
        }
        body += "/>\n";
    }
    Read(body + "</Resources>\n");
    ASSERT_EQ(m_manager.Images().size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(m_manager.Images()[i].coverage, cases[i].expected)
            << "coverage " << (cases[i].attribute ? cases[i].attribute : "(none)");
    }
}

TEST_F(ResourceIndexTest, ImagesUnderAnIntroElementJoinTheIntroGroup) {
    Read(R"(<Resources>
  <Intro>
    <Image id="A" path="a.png" coverage="3"/>
    <Sample id="S" path="s.wav"/>
    <Font id="F" path="f.png"/>
  </Intro>
  <Group><IntroPictures><Image id="B" path="b.png"/></IntroPictures></Group>
  <Image id="C" path="c.png"/>
</Resources>)");
    ASSERT_EQ(m_manager.Images().size(), 3u);
    EXPECT_EQ(m_manager.Images()[0].coverage, 0x20u | COVERAGE_INTRO);
    EXPECT_EQ(m_manager.Images()[1].coverage, COVERAGE_MAIN | COVERAGE_INTRO);
    EXPECT_EQ(m_manager.Images()[2].coverage, COVERAGE_MAIN);
    EXPECT_EQ(m_manager.Samples()[0].coverage, COVERAGE_MAIN);
    EXPECT_EQ(m_manager.Fonts()[0].coverage, COVERAGE_MAIN);
}

TEST_F(ResourceIndexTest, SettingElementsApplyToTheFollowingResources) {
    Read(R"(<Root>
<Image id="none" path="a.png"/>
<Resources type="menu"/>
<SetDefaults path="Resources/Images/"/>
<Image id="fish" path="fish.png" alpha="fish_alpha.png"/>
<Image id="noalpha" path="b.png" alpha=""/>
<FontFi id="F" path="sheet.png" data_path="f.dat" symbols_path="f.txt"/>
<SetDefaults path="Resources/Images"/>
<Image id="joined" path="fish.png"/>
<Resources/>
<SetDefaults/>
<Sample id="S" path="s.wav"/>
</Root>)");
    const auto& images = m_manager.Images();
    ASSERT_EQ(images.size(), 4u);
    EXPECT_EQ(images[0].path, "a.png");
    EXPECT_EQ(images[0].group, "");
    EXPECT_EQ(images[1].path, "Resources/Images/fish.png");
    EXPECT_EQ(images[1].alpha, "Resources/Images/fish_alpha.png");
    EXPECT_EQ(images[1].group, "menu");
    EXPECT_EQ(images[2].alpha, "");
    EXPECT_EQ(images[3].path, "Resources/Imagesfish.png");
    const FontRecord& font = m_manager.Fonts()[0];
    EXPECT_EQ(font.path, "Resources/Images/sheet.png");
    EXPECT_EQ(font.dataPath, "Resources/Images/f.dat");
    EXPECT_EQ(font.symbolsPath, "Resources/Images/f.txt");
    EXPECT_EQ(m_manager.Samples()[0].path, "s.wav");
    EXPECT_EQ(m_manager.Samples()[0].group, "");
}

TEST_F(ResourceIndexTest, ImageAttributesAndTheirDefaults) {
    Read(R"(<Resources>
<Image id="plain" path="a.png"/>
<Image id="set" path="b.png" color_key="0x00FF00FF" x="12.5" y="7,25" stretch="true" only_intro="1"/>
<Image id="bad" path="c.png" color_key="pink" x="1e3" stretch="yes" only_intro="true"/>
<Image id="zero" path="d.png" color_key="0"/>
</Resources>)");
    const auto& images = m_manager.Images();
    ASSERT_EQ(images.size(), 4u);
    EXPECT_EQ(images[0].colourKey, 0xFF000000u);
    EXPECT_FALSE(images[0].stretch);
    EXPECT_EQ(images[0].onlyIntro, 0);
    EXPECT_FLOAT_EQ(images[0].scaleX, 1.0f);
    EXPECT_EQ(images[1].colourKey, 0x00FF00FFu);
    EXPECT_FLOAT_EQ(images[1].x, 12.5f);
    EXPECT_FLOAT_EQ(images[1].y, 7.25f);
    EXPECT_TRUE(images[1].stretch);
    EXPECT_EQ(images[1].onlyIntro, 1);
    EXPECT_EQ(images[2].colourKey, 0xFF000000u);
    EXPECT_FLOAT_EQ(images[2].x, 0.0f);
    EXPECT_FALSE(images[2].stretch);
    EXPECT_EQ(images[2].onlyIntro, 0);
    EXPECT_EQ(images[3].colourKey, 0xFF000000u);
}

TEST_F(ResourceIndexTest, FontsShareOneListInFileOrder) {
    Read(R"(<Resources>
<Font id="F0" path="a.png" data_path="a.txt" interval="1.5" height="20" max_length="256" kerning="2" color_key="0x123"/>
<FontFi id="F1" path="b.png" data_path="b.dat" symbols_path="b.txt" editing="A 1 -2|W 0 3"/>
<Font id="F2" path="c.png" data_path="c.txt" editing="ignored"/>
</Resources>)");
    const auto& fonts = m_manager.Fonts();
    ASSERT_EQ(fonts.size(), 3u);
    EXPECT_EQ(m_manager.GetIndex(RESOURCE_FONT, "F2"), 2);
    EXPECT_EQ(fonts[0].format, FONT_FORMAT_TEXT);
    EXPECT_EQ(fonts[1].format, FONT_FORMAT_STRIP);
    EXPECT_EQ(fonts[2].format, FONT_FORMAT_TEXT);
    EXPECT_FLOAT_EQ(fonts[0].interval, 1.5f);
    EXPECT_EQ(fonts[0].height, 20);
    EXPECT_EQ(fonts[0].maxLength, 256);
    EXPECT_EQ(fonts[0].kerningTrim, 2);
    EXPECT_EQ(fonts[0].colourKey, 0xFF000000u);
    EXPECT_EQ(fonts[1].editing, "A 1 -2|W 0 3");
    EXPECT_EQ(fonts[2].editing, "");
    EXPECT_EQ(fonts[2].symbolsPath, "");
}

TEST_F(ResourceIndexTest, MusicTrackListAndAnimationSizes) {
    Read(R"(<Resources>
<Music id="M" path="m.xm" track_list="0, 2 ,1"/>
<Image id="SHEET" path="s.png"/>
<Animation2D id="A" path="a.txt" image_id="SHEET" width="64" height="32" f_width="16" f_height="8"/>
<Animation3D id="N" path="n.xml"/>
<Shape id="SH" path="sh.dat"/>
</Resources>)");
    EXPECT_EQ(m_manager.Musics()[0].trackList, (std::vector<std::uint32_t>{0, 2, 1}));
    const Animation2DRecord& animation = m_manager.Animations2D()[0];
    EXPECT_EQ(animation.image, 0);
    EXPECT_EQ(animation.width, 64);
    EXPECT_EQ(animation.height, 32);
    EXPECT_EQ(animation.frameWidth, 16);
    EXPECT_EQ(animation.frameHeight, 8);
    EXPECT_EQ(m_manager.Animations3D().size(), 1u);
    EXPECT_EQ(m_manager.Shapes().size(), 1u);
}

TEST_F(ResourceIndexTest, AnimationImagesAreLookedUpAsTheFileStandsSoFar) {
    Read(R"(<Resources>
<Sample id="S0" path="s0.wav"/>
<Sample id="LATER" path="s1.wav"/>
<Animation2D id="early" path="a.txt" image_id="LATER"/>
<Animation2D id="none" path="a.txt" image_id="NOWHERE"/>
<Image id="FIRST" path="a.png"/>
<Image id="LATER" path="b.png"/>
<Animation2D id="late" path="a.txt" image_id="LATER"/>
</Resources>)");
    const auto& animations = m_manager.Animations2D();
    // Before the image existed the search went on into the samples.
    EXPECT_EQ(animations[0].image, 1);
    EXPECT_EQ(animations[1].image, -1);
    EXPECT_EQ(animations[2].image, 1);
}

TEST_F(ResourceIndexTest, DuplicateIdsFindTheFirst) {
    Read(R"(<Resources>
<Image id="X" path="a.png"/><Image id="Y" path="b.png"/><Image id="X" path="c.png"/>
</Resources>)");
    EXPECT_EQ(m_manager.GetIndex(RESOURCE_IMAGE, "X"), 0);
    EXPECT_EQ(m_manager.GetIndex(RESOURCE_IMAGE, "Y"), 1);
}

TEST_F(ResourceIndexTest, GetIndexContinuesIntoTheFollowingKinds) {
    Read(R"(<Resources>
<Image id="IMG" path="a.png"/>
<Sample id="S0" path="a.wav"/><Sample id="SND" path="b.wav"/>
<Music id="MUS" path="m.xm"/>
<Font id="F0" path="f.png"/><Font id="MENU_FONT" path="g.png"/>
<Animation3D id="NODE" path="n.xml"/>
<Shape id="SHAPE" path="s.dat"/>
</Resources>)");
    struct Case {
        ResourceKind kind;
        const char* id;
        std::int32_t expected;
    };
    const std::vector<Case> cases = {
        {RESOURCE_IMAGE, "IMG", 0},
        {RESOURCE_MUSIC, "MENU_FONT", 1},  // the menus find their fonts this way
        {RESOURCE_IMAGE, "SND", 1},
        {RESOURCE_IMAGE, "SHAPE", 0},
        {RESOURCE_MUSIC, "MUS", 0},
        {RESOURCE_FONT, "IMG", -1},  // never back to earlier kinds
        {RESOURCE_SHAPE, "NOPE", -1},
        {RESOURCE_ANIMATION_2D, "NODE", 0},
        {RESOURCE_IMAGE, "img", -1},  // exact, case-sensitive
        {RESOURCE_IMAGE, "IMG ", -1},
        {static_cast<ResourceKind>(9), "IMG", -1},
        {static_cast<ResourceKind>(-1), "IMG", -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m_manager.GetIndex(c.kind, c.id), c.expected)
            << "kind " << c.kind << " id " << c.id;
    }
}

TEST_F(ResourceIndexTest, AMissingIndexKeepsTheListsAndLogs) {
    Read(R"(<Resources><Image id="A" path="a.png"/></Resources>)");
    std::filesystem::remove("Resources/Data/resources.xml");
    EXPECT_FALSE(m_manager.ReadIndex());
    EXPECT_TRUE(LogHas("Couldn't open resource index file (Resources/Data/resources.xml)"));
    EXPECT_EQ(m_manager.GetIndex(RESOURCE_IMAGE, "A"), 0);
}

TEST_F(ResourceIndexTest, ASyntaxErrorKeepsWhatWasRead) {
    Read(R"(<Resources>
<Image id="A" path="a.png"/>
<Image id="B" path="b.png"/>
<Image id="C" < path="c.png"/>
<Image id="D" path="d.png"/>
</Resources>)");
    ASSERT_EQ(m_manager.Images().size(), 2u);
    EXPECT_EQ(m_manager.Images()[1].id, "B");
}

TEST_F(ResourceIndexTest, ReadingAgainReplacesTheLists) {
    Read(R"(<Resources><Image id="A" path="a.png"/><Sample id="S" path="s.wav"/></Resources>)");
    Read(R"(<Resources><Image id="B" path="b.png"/></Resources>)");
    ASSERT_EQ(m_manager.Images().size(), 1u);
    EXPECT_EQ(m_manager.Images()[0].id, "B");
    EXPECT_TRUE(m_manager.Samples().empty());
}

}  // namespace
