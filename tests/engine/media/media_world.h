#pragma once
// The resource manager started for real on a fake render device and a fake
// audio device, in a scratch working folder that holds the test's
// Resources/Data/resources.xml and media files.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/media/popup_texts.h"
#include "engine/media/resource_manager.h"
#include "fake_audio.h"
#include "fake_render_device.h"
#include "media_test_support.h"
#include "resource_test_support.h"

namespace media_test {

class MediaWorldTest : public resource_test::ScratchFolderTest {
protected:
    // The manager and the popup list are one for the whole program: a test
    // that faded the screen leaves its colour mask behind, one that scored
    // leaves its popups.
    void SetUp() override {
        ScratchFolderTest::SetUp();
        Resources().SetBrightness(255.0f);
        std::destroy_at(&PopupTexts::Instance());
        std::construct_at(&PopupTexts::Instance());
    }

    void TearDown() override {
        // The manager must not keep this test's device or sounds.
        Resources().Release();
        Resources().Animations2D().clear();
        ScratchFolderTest::TearDown();
    }

    static CResourceManager& Resources() { return ResourceManager::Instance(); }

    // Writes resources.xml and runs the manager's start-up loading.
    void Start(const std::string& resourcesXml) {
        WriteIndex(resourcesXml);
        Resources().Initialize(nullptr, &device, 1.0f, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0.0f);
    }

    // An image with a texture, appended to the image list; its index.
    std::int32_t AddImage(const std::string& id, int width, int height) {
        ImageRecord image;
        image.id = id;
        image.texture = new CFakeTexture(width, height);  // released by Release
        image.info.width = width;
        image.info.height = height;
        Resources().Images().push_back(image);
        return static_cast<std::int32_t>(Resources().Images().size()) - 1;
    }

    // Writes a font of two glyphs, A and B, each 9 pixels high, with the
    // given advances, into Resources/; returns its Font element for a
    // resources.xml whose default path is "Resources/".
    static std::string WriteFont(const std::string& id, int advanceA, int advanceB) {
        resource_test::WritePng("Resources/sheet.png", 32, 9,
                                std::vector<std::uint32_t>(32 * 9, 0xFFFFFFFF));
        const std::string a = std::to_string(advanceA);
        const std::string b = std::to_string(advanceB);
        resource_test::WriteFile("Resources/" + id + ".txt",
                                 "Define CharList\n'A', 'B');\nDefine WidthList\n" + a + ", " + b +
                                     ");\nDefine RectList\n(0, 0, " + a + ", 9), (" + a + ", 0, " +
                                     b + ", 9));\nDefine OffsetList\n(0, 0), (0, 0));\n");
        return "<Font id=\"" + id + "\" path=\"sheet.png\" data_path=\"" + id +
               ".txt\" height=\"9\" max_length=\"64\"/>";
    }

    CFakeAudio audio;
    CFakeRenderDevice device;
};

}  // namespace media_test
