#include "CoreTestSupport.h"
#include "platform/foundation/Bundle.h"
#include "platform/ui/Image.h"

#include <filesystem>
#include <fstream>
#include <cstdlib>
#include <unistd.h>

using namespace platform::ui;
namespace fs = std::filesystem;

namespace {

// A 4 x 2 picture: red, green, blue, white on top; then black, grey, yellow, clear.
ImagePtr sample() {
    std::vector<uint8_t> rgba = {255, 0, 0, 255, 0,   255, 0,   255, 0,   0,   255, 255, 255, 255, 255, 255,
                                 0,   0, 0, 255, 128, 128, 128, 255, 255, 255, 0,   255, 0,   0,   0,   0};
    return Image::fromPixels(4, 2, rgba);
}

} // namespace

class ImageTest : public CoreUiTest {
protected:
    void SetUp() override {
        CoreUiTest::SetUp();
        // A folder of its own (mkdtemp), which no other run of the tests can share.
        std::string pattern = (fs::temp_directory_path() / "kavo-ui-image-XXXXXX").string();
        if (::mkdtemp(pattern.data())) folder = pattern;
        ASSERT_FALSE(folder.empty());
        fs::create_directories(folder / "images");
        previousBundle = platform::Bundle::main().path();
        platform::Bundle::main().setMainPath(folder.string());
    }
    void TearDown() override {
        platform::Bundle::main().setMainPath(previousBundle);
        fs::remove_all(folder);
        CoreUiTest::TearDown();
    }
    fs::path folder;
    std::string previousBundle;
};

TEST_F(ImageTest, PngRoundTripKeepsEveryPixel) {
    ImagePtr image = sample();
    std::vector<uint8_t> png = image->pngData();
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png[1], 'P');
    ImagePtr back = Image::fromData(png);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->pixelData(), image->pixelData());
    EXPECT_EQ(back->pixel(0, 0), Color::red());
    EXPECT_EQ(back->pixel(3, 1).a, 0);
    EXPECT_EQ(back->pixel(9, 9), Color::clear()); // outside
}

TEST_F(ImageTest, NamedImagesComeFromTheBundleFolderWithOrWithoutExtension) {
    ASSERT_TRUE(sample()->writePng((folder / "images" / "bg_main.png").string()));
    ImagePtr byFullName = Image::named("bg_main.png");
    ASSERT_TRUE(byFullName);
    EXPECT_EQ(byFullName->size(), (Size{4, 2}));
    EXPECT_EQ(byFullName->name(), "bg_main.png");
    EXPECT_EQ(Image::named("bg_main.png"), byFullName); // cached
    ASSERT_TRUE(Image::named("bg_main"));
    EXPECT_EQ(Image::named("bg_main")->pixel(1, 0), Color::green());
    EXPECT_EQ(Image::named("missing.png"), nullptr);
    EXPECT_EQ(Image::named(""), nullptr);
    EXPECT_EQ(Image::named("../escape.png"), nullptr);
}

TEST_F(ImageTest, UndecodableBytesGiveNoImage) {
    EXPECT_EQ(Image::fromData({}), nullptr);
    EXPECT_EQ(Image::fromData({0x89, 'P', 'N', 'G', 1, 2, 3}), nullptr);
    std::ofstream(folder / "images" / "broken.png") << "not a picture";
    EXPECT_EQ(Image::named("broken.png"), nullptr);
    EXPECT_EQ(Image::fromPixels(2, 2, {1, 2, 3}), nullptr); // wrong byte count
}

TEST_F(ImageTest, CropScaleFlipAndMaskSizes) {
    ImagePtr image = sample();
    ImagePtr right = image->cropped({2, 0, 5, 5}); // clipped to the picture
    ASSERT_TRUE(right);
    EXPECT_EQ(right->size(), (Size{2, 2}));
    EXPECT_EQ(right->pixel(0, 0), Color::blue());
    EXPECT_EQ(image->cropped({10, 10, 2, 2}), nullptr);

    ImagePtr big = image->scaled({8, 4});
    EXPECT_EQ(big->size(), (Size{8, 4}));
    EXPECT_EQ(big->pixel(0, 0), Color::red());
    EXPECT_EQ(image->scaled({0.2, 0})->size(), (Size{1, 1}));

    ImagePtr mirrored = image->flipped(true);
    EXPECT_EQ(mirrored->pixel(0, 0), Color::white());
    EXPECT_EQ(mirrored->pixel(3, 0), Color::red());
    ImagePtr upsideDown = image->flipped(false);
    EXPECT_EQ(upsideDown->pixel(0, 0), Color::black());

    ImagePtr stretch = image->stretchable(1, 1);
    EXPECT_EQ(stretch->leftCap(), 1);
    EXPECT_TRUE(stretch->isStretchable());
    EXPECT_FALSE(image->isStretchable());

    ImagePtr halfMask = Image::filled(4, 2, Color::white(0.5, 1));
    ImagePtr faded = image->masked(halfMask);
    EXPECT_NEAR(faded->pixel(0, 0).a, 0.5, 0.01);
    EXPECT_EQ(faded->pixel(0, 0).r, 1);
}
