#include "engine/media/resource_manager.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/framework/app_timer.h"
#include "resource_test_support.h"

namespace {

using namespace resource_test;

const char* const GROUPS_INDEX = R"(<Resources type="all">
<SetDefaults path="Resources/Images/"/>
<Intro>
  <Image id="INTRO_SCREEN" path="screen.png" stretch="true"/>
  <Image id="INTRO_PROGRESS" path="bar.png" x="100" y="600"/>
</Intro>
<Image id="A" path="a.png"/>
<Image id="B" path="b.png" coverage="-1"/>
<Image id="C" path="c.png" coverage="0,-1"/>
<Image id="M" path="missing.png"/>
<Image id="D" path="d.png" coverage="1" only_intro="1"/>
<Image id="E" path="e.png" coverage="-2" only_intro="1" stretch="1"/>
<Image id="F" path="missing.png" coverage="-2" stretch="1" x="5"/>
<Sample id="S" path="s.wav" coverage="3"/>
<Animation2D id="AN" path="an.txt" image_id="A" coverage="-2"/>
<Shape id="SH" path="sh.dat"/>
</Resources>
)";

class ResourceGroupTest : public ScratchFolderTest {
protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        ASSERT_NE(Device(), nullptr);
        m_device = std::make_unique<CRecordingDevice>(Device());
        WriteIndex(GROUPS_INDEX);
        WriteSolidPng("Resources/Images/screen.png", 16, 12, 0xFF202020);
        WriteSolidPng("Resources/Images/bar.png", 400, 40, 0xFFFFFFFF);
        for (const char* name : {"a", "b", "c", "d", "e"}) {
            WriteSolidPng(std::string("Resources/Images/") + name + ".png", 2, 2, 0xFFFFFFFF);
        }
        ASSERT_TRUE(m_manager.ReadIndex());
    }

    void TearDown() override {
        m_manager.Release();
        ScratchFolderTest::TearDown();
    }

    bool Loaded(const std::string& id) {
        const std::int32_t index = m_manager.GetIndex(RESOURCE_IMAGE, id);
        return index >= 0 && m_manager.Images()[static_cast<std::size_t>(index)].texture != nullptr;
    }

    std::string LoadedIds() {
        std::string ids;
        for (const ImageRecord& image : m_manager.Images()) {
            if (image.texture != nullptr) {
                ids += image.id;
            }
        }
        return ids;
    }

    CResourceManager m_manager;
    std::unique_ptr<CRecordingDevice> m_device;
};

TEST_F(ResourceGroupTest, CountByGroupCountsTheGroupsMembers) {
    struct Case {
        CoverageMask mask;
        int total;
    };
    const std::vector<Case> cases = {
        {0x5, 4},   // A, B, C, M: the intro pictures only count when asked for
        {0x1, 3},   // A, C, M
        {0x7, 9},   // every image but D, and the Animation2D
        {0x20, 1},  // the sample
        {0x2, 5},   // four intro images and the Animation2D
        {0x0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m_manager.CountByGroup(c.mask), c.total) << "mask " << c.mask;
        EXPECT_EQ(m_manager.GetProgressTotal(), c.total);
        EXPECT_EQ(m_manager.GetProgressLoaded(), 0);
    }
}

TEST_F(ResourceGroupTest, LoadingAGroupAdvancesTheProgressPerPicture) {
    m_manager.CountByGroup(0x5);
    // The intro pictures share group 0x1 and load with it, without progress.
    EXPECT_EQ(m_manager.LoadImages(m_device.get(), 0x5), RESULT_INVALID_DATA);  // M was last
    EXPECT_EQ(LoadedIds(), "INTRO_SCREENINTRO_PROGRESSABC");
    EXPECT_EQ(m_manager.GetProgressLoaded(), 4);
    EXPECT_EQ(m_device->presents, 4);
    EXPECT_TRUE(LogHas("Load is completed (5) ", "Green"));

    // Loaded pictures are refused without a line of their own, and still
    // advance the progress.
    HtmlLog().Start();
    m_manager.LoadImages(m_device.get(), 0x5);
    EXPECT_EQ(m_manager.GetProgressLoaded(), 8);
    EXPECT_TRUE(LogHas("Load is completed (0) "));
    const auto texts = LogTexts();
    EXPECT_EQ(
        std::count_if(texts.begin(), texts.end(),
                      [](const std::string& t) { return t.rfind("Loading texture", 0) == 0; }),
        1);  // only the missing picture tries again
}

// A clock that moves only while the device makes a texture: a second for each.
class CTextureClock : public backend::IClock {
public:
    double Seconds() override { return now; }
    std::uint64_t Milliseconds() override { return static_cast<std::uint64_t>(now * 1000.0); }
    void Sleep(std::uint32_t milliseconds) override { now += milliseconds / 1000.0; }
    double now = 100.0;
};

class CSlowTextureDevice : public CRecordingDevice {
public:
    CSlowTextureDevice(backend::IRenderDevice* real, CTextureClock& clock)
        : CRecordingDevice(real), m_clock(clock) {}
    std::unique_ptr<backend::ITexture> CreateTexture(int width, int height,
                                                     const std::uint32_t* pixels) override {
        m_clock.now += 1.0;
        return CRecordingDevice::CreateTexture(width, height, pixels);
    }

private:
    CTextureClock& m_clock;
};

TEST_F(ResourceGroupTest, LoadingTimeIsNotCountedAsAFrameStep) {
    CTextureClock clock;
    ScopedClock useClock(&clock);
    CSlowTextureDevice device(Device(), clock);
    AppTimer(TIMER_START);

    m_manager.LoadImages(&device, 0x5);
    EXPECT_GE(clock.now, 105.0) << "five pictures were made";
    clock.now += 0.02;
    EXPECT_NEAR(AppTimer(TIMER_GET_ELAPSED_TIME), 0.02, 1e-6);

    const double before = clock.now;
    m_manager.LoadImageById(&device, "D");
    EXPECT_TRUE(Loaded("D"));
    EXPECT_GE(clock.now, before + 1.0);
    clock.now += 0.03;
    EXPECT_NEAR(AppTimer(TIMER_GET_ELAPSED_TIME), 0.03, 1e-6);
    AppTimer(TIMER_STOP);
}

TEST_F(ResourceGroupTest, UnloadingByGroup) {
    m_manager.LoadImages(m_device.get(), 0x5 | 0x8);
    EXPECT_EQ(LoadedIds(), "INTRO_SCREENINTRO_PROGRESSABCD");
    // Mask 0 keeps exactly the pictures of group 0x1.
    EXPECT_EQ(m_manager.UnloadImagesByGroup(0), 2);
    EXPECT_EQ(LoadedIds(), "INTRO_SCREENINTRO_PROGRESSAC");
    m_manager.LoadImages(m_device.get(), 0x8);
    EXPECT_EQ(m_manager.UnloadImagesByGroup(0x8), 1);
    EXPECT_EQ(m_manager.UnloadImagesByGroup(0x4), 1);  // C
    EXPECT_EQ(LoadedIds(), "INTRO_SCREENINTRO_PROGRESSA");

    EXPECT_TRUE(m_manager.UnloadImage("A"));
    EXPECT_FALSE(m_manager.UnloadImage("A "));
    EXPECT_FALSE(Loaded("A"));
    const std::size_t lines = LogTexts().size();
    EXPECT_EQ(m_manager.LoadImageById(m_device.get(), "NOPE"), RESULT_FAIL);
    EXPECT_EQ(LogTexts().size(), lines);
    EXPECT_EQ(m_manager.LoadImageById(m_device.get(), "A"), RESULT_OK);
    EXPECT_TRUE(Loaded("A"));
}

TEST_F(ResourceGroupTest, AReleasedPictureIsLoadedAgainForItsGroupsOnly) {
    CTextureClock clock;
    ScopedClock useClock(&clock);
    AppTimer(TIMER_START);
    // B stands in group 0x4 only.
    EXPECT_FALSE(m_manager.LoadImageIfReleased(m_device.get(), "B", 0x8));
    EXPECT_FALSE(Loaded("B")) << "it waits for its own group";
    EXPECT_TRUE(m_manager.LoadImageIfReleased(m_device.get(), "B", 0x4 | 0x8));
    EXPECT_TRUE(Loaded("B"));

    // A picture that is there costs nothing, not even the frame's time.
    clock.now += 0.02;
    EXPECT_FALSE(m_manager.LoadImageIfReleased(m_device.get(), "B", 0x4));
    EXPECT_NEAR(AppTimer(TIMER_GET_ELAPSED_TIME), 0.02, 1e-6);

    // Ids of other kinds, unknown ids and a missing device load nothing.
    for (const char* id : {"S", "AN", "NOPE"}) {
        EXPECT_FALSE(m_manager.LoadImageIfReleased(m_device.get(), id, ~CoverageMask{0})) << id;
    }
    EXPECT_FALSE(m_manager.LoadImageIfReleased(nullptr, "A", ~CoverageMask{0}));
    EXPECT_FALSE(Loaded("A"));
    AppTimer(TIMER_STOP);
}

TEST_F(ResourceGroupTest, IntroPicturesAreStretchedAndReleased) {
    m_manager.LoadImages(m_device.get(), COVERAGE_INTRO);
    EXPECT_EQ(m_device->presents, 0);
    const auto& images = m_manager.Images();
    const ImageRecord& screen = images[0];
    EXPECT_FLOAT_EQ(screen.scaleX, 64.0f);  // 16 x 12 over 1024 x 768
    EXPECT_FLOAT_EQ(screen.scaleY, 64.0f);
    const ImageRecord& bar = images[1];
    EXPECT_FLOAT_EQ(bar.scaleX, 1.0f);
    EXPECT_FLOAT_EQ(bar.x, 100.0f);
    const ImageRecord& unloaded =
        images[static_cast<std::size_t>(m_manager.GetIndex(RESOURCE_IMAGE, "F"))];
    EXPECT_FLOAT_EQ(unloaded.scaleX, 1.0f);
    EXPECT_FLOAT_EQ(unloaded.x, 0.0f);

    m_manager.LoadImages(m_device.get(), 0x8);
    EXPECT_TRUE(Loaded("D"));
    EXPECT_TRUE(Loaded("E"));
    m_manager.ReleaseIntroResources();
    EXPECT_FALSE(Loaded("D"));
    EXPECT_FALSE(Loaded("E"));
    EXPECT_TRUE(Loaded("INTRO_SCREEN"));
    EXPECT_TRUE(LogHas("Releasing intro resources", "Blue"));
    EXPECT_TRUE(LogHas("Intro resources is released (2)", "Green"));
}

TEST_F(ResourceGroupTest, CurrentGroup) {
    EXPECT_EQ(m_manager.GetCurrentGroup(), 0);
    EXPECT_FALSE(m_manager.SetCurrentGroup(0));
    EXPECT_TRUE(m_manager.SetCurrentGroup(0x10));
    EXPECT_EQ(m_manager.GetCurrentGroup(), 0x10);
    EXPECT_FALSE(m_manager.SetCurrentGroup(0x10));
}

TEST_F(ResourceGroupTest, ReleaseEmptiesTheListsButKeepsTheAnimationRecords) {
    m_manager.LoadImages(m_device.get(), 0x5);
    m_manager.Animations2D()[0].frames.resize(3);
    m_manager.Release();
    EXPECT_TRUE(LogHas("Releasing resources", "Blue"));
    EXPECT_TRUE(LogHas("Resources is released (9,0,1,0,0,0,1,0)", "Green"));
    EXPECT_TRUE(m_manager.Images().empty());
    EXPECT_TRUE(m_manager.Samples().empty());
    EXPECT_TRUE(m_manager.Shapes().empty());
    ASSERT_EQ(m_manager.Animations2D().size(), 1u);
    EXPECT_TRUE(m_manager.Animations2D()[0].frames.empty());
    EXPECT_EQ(m_manager.Animations2D()[0].image, -1);
    EXPECT_EQ(m_manager.GetAnimation2D("AN").image, -1);
    EXPECT_EQ(m_manager.GetAnimation2D("nope").image, -1);
}

// A quad of two materials, without normals.
const char* const QUAD_X = R"(xof 0303txt 0032
template Vector { <3D82AB5E-62DA-11cf-AB39-0020AF71E433> FLOAT x; FLOAT y; FLOAT z; }
Mesh Quad {
 4;
 0.0;0.0;0.0;, 0.0;1.0;0.0;, 1.0;1.0;0.0;, 1.0;0.0;0.0;;
 1;
 4;0,1,2,3;;
 MeshMaterialList { 1; 1; 0;;
  Material { 1.0;0.5;0.25;1.0;; 8.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; }
 }
}
)";

const char* const SMALL_FONT = R"(Define CharList
'A', 'B', 'C'
);
Define WidthList
(4, 4, 4)
Define RectList
(0, 0, 4, 4), (4, 0, 4, 4), (8, 0, 4, 4)
);
Define OffsetList
(0, 0), (0, 0), (0, 0)
);
)";

class ResourceStartTest : public ScratchFolderTest {};

TEST_F(ResourceStartTest, InitializeLoadsKindByKindAndLogsEachStage) {
    WriteIndex(R"(<Resources>
<SetDefaults path="Resources/Media/"/>
<Intro><Image id="INTRO_SCREEN" path="screen.png"/><Image id="INTRO_PROGRESS" path="bar.png"/></Intro>
<Image id="A" path="a.png"/>
<Image id="B" path="b.png" coverage="-1"/>
<Image id="MENU_VER_PANEL" path="a.png"/>
<Mesh id="QUAD" path="quad.x"/>
<Font id="F" path="font.png" data_path="font.txt" height="4" max_length="64"/>
</Resources>
)");
    WriteSolidPng("Resources/Media/screen.png", 16, 12, 0xFF202020);
    WriteSolidPng("Resources/Media/bar.png", 8, 2, 0xFFFFFFFF);
    WriteSolidPng("Resources/Media/a.png", 2, 2, 0xFFFFFFFF);
    WriteSolidPng("Resources/Media/b.png", 2, 2, 0xFFFFFFFF);
    WriteSolidPng("Resources/Media/font.png", 12, 4, 0xFFFFFFFF);
    WriteFile("Resources/Media/quad.x", QUAD_X);
    WriteFile("Resources/Media/font.txt", SMALL_FONT);

    CSteppingClock clock(1000.0, 0.5);
    ScopedClock useClock(&clock);
    CRecordingDevice device(Device());
    CResourceManager manager;
    EXPECT_EQ(
        manager.Initialize(nullptr, &device, 0.25f, 0.25f, 0.0f, 0.0f, 0.25f, 0.25f, 0.0f, 0.0f),
        RESULT_OK);

    // The stages in order, each with its heading, its items and its summary,
    // and a blank line after it.
    const std::vector<std::string> expected = {
        "Loading intro textures:\n",
        "Loading texture: (Resources/Media/screen.png) complete (21)",
        "Loading texture: (Resources/Media/bar.png) complete (21)",
        "Load is completed (2) ",
        "",
        "Loading textures:\n",
        "Loading texture: (Resources/Media/a.png) complete (21)",
        "Loading texture: (Resources/Media/b.png) complete (21)",
        "Loading texture: (Resources/Media/a.png) complete (21)",
        "Load is completed (3) ",
        "",
        "Loading meshes:\n",
        "Loading mesh: (Resources/Media/quad.x) complete",
        "Load is completed (1)",
        "",
        "Loading samples:\n",
        "Load is completed (0)",
        "",
        "Loading streams:\n",
        "Load is completed (0)",
        "",
        "Loading musics:\n",
        "Load is completed (0)",
        "",
        "Loading fonts:\n",
        "Loading texture: (Resources/Media/font.png) complete (21)",
        "Initializing characters (Resources/Media/font.txt)",
        "Complete",
        "Load is completed (1)",
        "",
        "Loading 2D index animations:\n",
        "Load is completed (0)",
        "",
        "Loading 3D animations:\n",
        "Load is completed (0)",
        "",
    };
    const std::vector<std::string> texts = LogTexts();
    const auto first = std::find(texts.begin(), texts.end(), expected.front());
    ASSERT_NE(first, texts.end());
    EXPECT_EQ(std::vector<std::string>(first, texts.end()), expected);

    // Every counted item drew one loading-screen frame: three pictures, the
    // mesh and the font. Each was presented at once; only the splash fade
    // waited for the refresh.
    EXPECT_EQ(manager.GetProgressTotal(), 5);
    EXPECT_EQ(manager.GetProgressLoaded(), 5);
    EXPECT_EQ(device.immediatePresents, 5);
    EXPECT_GT(device.presents, device.immediatePresents);
    EXPECT_EQ(manager.Fonts()[0].glyphs.size(), 3u);
    EXPECT_EQ(manager.GetImageInfo("A").width, 2);

    HtmlLog().Start();
    manager.Release();
    EXPECT_TRUE(LogHas("Resources is released (5,1,0,0,0,1,0,0)", "Green"));
    EXPECT_EQ(manager.GetIndex(RESOURCE_IMAGE, "A"), -1);
}

TEST_F(ResourceStartTest, WithoutADeviceNothingLoads) {
    WriteIndex(R"(<Resources><Image id="A" path="a.png"/></Resources>)");
    CResourceManager manager;
    EXPECT_EQ(manager.Initialize(nullptr, nullptr, 1, 1, 0, 0, 1, 1, 0, 0), RESULT_OK);
    EXPECT_TRUE(LogHas("Couldn't create sprite", "Red"));
    EXPECT_EQ(manager.GetIndex(RESOURCE_IMAGE, "A"), -1);
    EXPECT_EQ(manager.DrawImage(0, nullptr, nullptr, nullptr, 0.0f, {0, 0}, 0xFFFFFFFF),
              RESULT_FAIL);
}

TEST_F(ResourceStartTest, AFontThatFailsEndsTheFontStage) {
    ASSERT_EQ(::mkfifo("pipe", 0600), 0);
    WriteSolidPng("f.png", 12, 4, 0xFFFFFFFF);
    WriteFile("font.txt", SMALL_FONT);
    WriteFile("none.txt", "no sections at all\n");
    WriteFile("strip.txt",
              "\xEF\xBB\xBF"
              "AB");
    WriteFile("strip.dat", std::string("\0\0\4\0\4\0\4\0", 8));
    WriteFile("empty.dat", "");
    struct Case {
        const char* name;
        const char* font;  // the attributes of the first font
        const char* line;  // its "Red" line
    };
    const std::vector<Case> cases = {
        {"missing", R"(Font id="F0" data_path="missing.txt")", "Couldn't open file"},
        // The game does not wait on a pipe, nor read a device for ever.
        {"pipe", R"(Font id="F0" data_path="pipe")", "Couldn't open file"},
        {"device", R"(Font id="F0" data_path="/dev/zero")", "Couldn't open file"},
        {"folder", R"(Font id="F0" data_path=".")", "Couldn't open file"},
        {"strip symbols from a pipe", R"(FontFi id="F0" symbols_path="pipe" data_path="strip.dat")",
         "Couldn't open symbol file"},
        {"strip data from a device",
         R"(FontFi id="F0" symbols_path="strip.txt" data_path="/dev/zero")", "Couldn't open file"},
        // Read without error but without a glyph: the same failure, for both
        // kinds of font.
        {"no glyphs", R"(Font id="F0" data_path="none.txt")", nullptr},
        {"no strip glyphs", R"(FontFi id="F0" symbols_path="strip.txt" data_path="empty.dat")",
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HtmlLog().Start();
        WriteIndex(std::string("<Resources>\n<") + c.font +
                   R"( path="f.png" height="4" max_length="64"/>
<Font id="F1" path="f.png" data_path="font.txt" height="4" max_length="64"/>
</Resources>)");
        CResourceManager manager;
        ASSERT_TRUE(manager.ReadIndex());
        EXPECT_EQ(manager.LoadFonts(Device()), RESULT_FAIL);
        if (c.line != nullptr) {
            EXPECT_TRUE(LogHas(c.line, "Red"));
        }
        EXPECT_TRUE(manager.Fonts()[0].glyphs.empty());
        EXPECT_EQ(manager.Fonts()[1].texture, nullptr);
        EXPECT_FALSE(LogHas("Load is completed (0)"));
        manager.Release();
    }
}

TEST_F(ResourceStartTest, PipesAndDevicesNamedAsFontsAndMeshesFailAndLoadingGoesOn) {
    ASSERT_EQ(::mkfifo("pipe", 0600), 0);
    WriteSolidPng("f.png", 12, 4, 0xFFFFFFFF);
    for (const std::string special : {"pipe", "/dev/zero"}) {
        SCOPED_TRACE(special);
        HtmlLog().Start();
        WriteIndex(R"(<Resources>
<Mesh id="M" path=")" +
                   special + R"("/>
<Font id="F" path="f.png" data_path=")" +
                   special + R"(" height="4" max_length="64"/>
</Resources>)");
        CRecordingDevice device(Device());
        CResourceManager manager;
        EXPECT_EQ(manager.Initialize(nullptr, &device, 1, 1, 0, 0, 1, 1, 0, 0), RESULT_OK);
        EXPECT_TRUE(LogHas("Loading mesh: (" + special + ") failed", "Red"));
        EXPECT_TRUE(LogHas("Couldn't open file", "Red"));
        EXPECT_TRUE(LogHas("Loading 3D animations:\n"));
        manager.Release();
    }
}

TEST_F(ResourceStartTest, ASoundThatFailsIsCountedInTheSummary) {
    WriteIndex(R"(<Resources><Sample id="S" path="missing.wav"/></Resources>)");
    CResourceManager manager;
    ASSERT_TRUE(manager.ReadIndex());
    EXPECT_FALSE(manager.LoadSamples(Device()));
    EXPECT_TRUE(LogHas("Load is failed (1)", "Red"));
    EXPECT_EQ(manager.Samples()[0].sample, 0u);
    EXPECT_EQ(manager.GetProgressLoaded(), 0);
}

}  // namespace
