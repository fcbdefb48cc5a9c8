#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdio>

#include "imaging/jpeg_codec.h"
#include "imaging/picture_codec.h"
#include "imaging/png_codec.h"
#include "support/library_pictures.h"
#include "support/temp_dir.h"
#include "support/test_pictures.h"

namespace tavlix::imaging {
namespace {

using test::MakeJpeg;
using test::MakePng;
using test::TempDir;

std::vector<std::uint8_t> Encoded(const RasterView& view, PictureFormat format) {
  TempDir dir;
  const auto path = dir / "out";
  EXPECT_TRUE(SavePicture(view, format, path));
  return test::ReadBytes(path);
}

std::array<int, 3> PixelAt(const Raster& r, std::uint32_t x, std::uint32_t y) {
  const std::uint8_t* p = &r.rgb[(std::size_t{y} * r.width + x) * 3];
  return {p[0], p[1], p[2]};
}

TEST(PictureCodec, PngRoundTripIsExactAndGreyBecomesEqualChannels) {
  const Raster picture = test::TestPicture(37, 23);
  const auto png = Encoded(ViewOf(picture), PictureFormat::png);
  const auto back = DecodePicture(png);
  ASSERT_TRUE(back) << back.error();
  EXPECT_EQ(back->width, 37u);
  EXPECT_EQ(back->height, 23u);
  EXPECT_EQ(back->rgb, picture.rgb);

  const auto grey = test::GreyPixels(19, 5);
  const auto grey_png = Encoded({19, 5, PixelLayout::grey8, grey}, PictureFormat::png);
  const auto grey_back = DecodePicture(grey_png);
  ASSERT_TRUE(grey_back);
  for (std::size_t i = 0; i < grey.size(); ++i)
    for (int c = 0; c < 3; ++c) ASSERT_EQ(grey_back->rgb[i * 3 + static_cast<std::size_t>(c)], grey[i]);

  for (const auto& encoding : {LibpngDefaultEncoding(), PngEncoding{PngEncoding::Filter::up, 3, {}},
                               PngEncoding{PngEncoding::Filter::paeth, 9, PngEncoding::Strategy::filtered}}) {
    platform::MemorySink out;
    ASSERT_TRUE(EncodePng(ViewOf(picture), out, encoding));
    EXPECT_EQ(DecodePicture(out.data())->rgb, picture.rgb);
  }
}

TEST(PictureCodec, JpegRoundTripStaysClose) {
  const Raster picture = test::TestPicture(64, 48, 3);
  const auto jpeg = Encoded(ViewOf(picture), PictureFormat::jpeg);
  ASSERT_EQ(SniffFormat(jpeg), PictureFormat::jpeg);
  const auto back = DecodePicture(jpeg);
  ASSERT_TRUE(back) << back.error();
  EXPECT_LT(test::MeanDifference(*back, picture), 6.0);

  const auto grey = test::GreyPixels(16, 16);
  std::vector<std::uint8_t> flat(std::size_t{16} * 16, 90);
  const auto grey_back = DecodePicture(Encoded({16, 16, PixelLayout::grey8, flat}, PictureFormat::jpeg));
  ASSERT_TRUE(grey_back);
  EXPECT_EQ(PixelAt(*grey_back, 5, 5), (std::array<int, 3>{90, 90, 90}));
}

TEST(PictureCodec, PngKindsAllDecodeToColourOverWhite) {
  // 8-bit grey.
  const auto grey = DecodePng(MakePng(3, 1, PNG_COLOR_TYPE_GRAY, 8, {0, 128, 255}));
  ASSERT_TRUE(grey) << grey.error();
  EXPECT_EQ(PixelAt(*grey, 1, 0), (std::array<int, 3>{128, 128, 128}));
  // 1-bit grey: 0 and 1 are black and white.
  const auto bits = DecodePng(MakePng(8, 1, PNG_COLOR_TYPE_GRAY, 1, {0b10100000}));
  ASSERT_TRUE(bits) << bits.error();
  EXPECT_EQ(PixelAt(*bits, 0, 0), (std::array<int, 3>{255, 255, 255}));
  EXPECT_EQ(PixelAt(*bits, 1, 0), (std::array<int, 3>{0, 0, 0}));
  // Palette with a transparent entry.
  const auto palette = DecodePng(MakePng(2, 1, PNG_COLOR_TYPE_PALETTE, 8, {0, 1}, PNG_INTERLACE_NONE,
                                         {{10, 20, 30}, {200, 100, 50}}, {0}));
  ASSERT_TRUE(palette) << palette.error();
  EXPECT_EQ(PixelAt(*palette, 0, 0), (std::array<int, 3>{255, 255, 255}));
  EXPECT_EQ(PixelAt(*palette, 1, 0), (std::array<int, 3>{200, 100, 50}));
  // 16-bit colour: scaled to 8 bits.
  const auto deep = DecodePng(MakePng(1, 1, PNG_COLOR_TYPE_RGB, 16, {0xFF, 0xFF, 0x80, 0x00, 0x00, 0x00}));
  ASSERT_TRUE(deep) << deep.error();
  EXPECT_EQ(PixelAt(*deep, 0, 0), (std::array<int, 3>{255, 128, 0}));
  // Alpha: transparent is white, opaque is kept, half is between.
  const auto alpha =
      DecodePng(MakePng(3, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, {0, 0, 0, 0, 9, 8, 7, 255, 0, 0, 0, 128}));
  ASSERT_TRUE(alpha) << alpha.error();
  EXPECT_EQ(PixelAt(*alpha, 0, 0), (std::array<int, 3>{255, 255, 255}));
  EXPECT_EQ(PixelAt(*alpha, 1, 0), (std::array<int, 3>{9, 8, 7}));
  EXPECT_EQ(PixelAt(*alpha, 2, 0), (std::array<int, 3>{127, 127, 127}));
  // Interlaced colour, with and without alpha.
  const Raster picture = test::TestPicture(13, 11, 5);
  const auto interlaced = DecodePng(MakePng(13, 11, PNG_COLOR_TYPE_RGB, 8, picture.rgb, PNG_INTERLACE_ADAM7));
  ASSERT_TRUE(interlaced) << interlaced.error();
  EXPECT_EQ(interlaced->rgb, picture.rgb);
  std::vector<std::uint8_t> rgba;
  for (std::size_t i = 0; i < picture.rgb.size(); i += 3)
    rgba.insert(rgba.end(), {picture.rgb[i], picture.rgb[i + 1], picture.rgb[i + 2], 255});
  const auto interlaced_alpha =
      DecodePng(MakePng(13, 11, PNG_COLOR_TYPE_RGB_ALPHA, 8, rgba, PNG_INTERLACE_ADAM7));
  ASSERT_TRUE(interlaced_alpha) << interlaced_alpha.error();
  EXPECT_EQ(interlaced_alpha->rgb, picture.rgb);
}

TEST(PictureCodec, CmykAndProgressiveJpegsDecode) {
  // Adobe CMYK stores the inks inverted: 255 is no ink.
  std::vector<std::uint8_t> cmyk;
  for (int i = 0; i < 16 * 16; ++i) {
    if (i % 16 < 8)
      cmyk.insert(cmyk.end(), {255, 0, 0, 255});  // magenta and yellow: red
    else
      cmyk.insert(cmyk.end(), {255, 255, 255, 255});  // white
  }
  const auto decoded = DecodeJpeg(MakeJpeg(16, 16, 4, JCS_CMYK, cmyk, false));
  ASSERT_TRUE(decoded) << decoded.error();
  const auto red = PixelAt(*decoded, 2, 8), white = PixelAt(*decoded, 13, 8);
  EXPECT_GT(red[0], 240);
  EXPECT_LT(red[1], 15);
  EXPECT_LT(red[2], 15);
  EXPECT_GT(white[0] + white[1] + white[2], 3 * 240);

  const Raster picture = test::TestPicture(40, 30, 2);
  const auto progressive = DecodeJpeg(MakeJpeg(40, 30, 3, JCS_RGB, picture.rgb, true));
  ASSERT_TRUE(progressive) << progressive.error();
  EXPECT_LT(test::MeanDifference(*progressive, picture), 4.0);
}

TEST(PictureCodec, PicturesAboveTheBudgetAreRefusedFromTheirHeader) {
  // A PNG header announcing 20000 x 20000 colour pixels (1.2 GB) and no data.
  const Raster one = test::TestPicture(1, 1);
  auto png = Encoded(ViewOf(one), PictureFormat::png);
  test::SetPngSize(png, 20000, 20000);
  const auto big_png = DecodePicture(png);
  ASSERT_FALSE(big_png);
  EXPECT_NE(big_png.error().find("20000 x 20000"), std::string::npos) << big_png.error();

  // A JPEG whose frame header announces 60000 x 60000.
  auto jpeg = Encoded(ViewOf(test::TestPicture(8, 8)), PictureFormat::jpeg);
  test::SetJpegSize(jpeg, 60000, 60000);
  const auto big_jpeg = DecodePicture(jpeg);
  ASSERT_FALSE(big_jpeg);
  EXPECT_NE(big_jpeg.error().find("60000 x 60000"), std::string::npos) << big_jpeg.error();
  // Exactly at the budget is allowed; one row more is not.
  EXPECT_TRUE(CheckedPixelBytes(16384, 10922, PixelLayout::rgb24));
  EXPECT_FALSE(CheckedPixelBytes(16384, 10923, PixelLayout::rgb24));
  EXPECT_FALSE(CheckedPixelBytes(65536, 1, PixelLayout::grey8));
  EXPECT_FALSE(CheckedPixelBytes(0, 5, PixelLayout::grey8));
}

TEST(PictureCodec, DamagedAndForeignFilesAreErrorsNotPictures) {
  const Raster picture = test::TestPicture(30, 30);
  const auto png = Encoded(ViewOf(picture), PictureFormat::png);
  const auto jpeg = Encoded(ViewOf(picture), PictureFormat::jpeg);
  EXPECT_FALSE(DecodePicture({}));
  EXPECT_FALSE(DecodePicture(std::vector<std::uint8_t>{'%', 'P', 'D', 'F', '-'}));
  for (const std::size_t keep : {std::size_t{8}, std::size_t{40}, png.size() / 2, png.size() - 5})
    EXPECT_FALSE(DecodePicture(std::span(png).first(keep))) << "PNG cut to " << keep;
  for (const std::size_t keep : {std::size_t{3}, std::size_t{100}, jpeg.size() / 2, jpeg.size() - 2})
    EXPECT_FALSE(DecodePicture(std::span(jpeg).first(keep))) << "JPEG cut to " << keep;
  auto bad_crc = png;
  bad_crc[bad_crc.size() / 2] ^= 0x55;
  EXPECT_FALSE(DecodePicture(bad_crc));
}

TEST(PictureCodec, EncoderFailuresAreReported) {
  const Raster picture = test::TestPicture(64, 64);
  // A sink that refuses every byte, as a full disk does.
  struct FullSink final : platform::ByteSink {
    Status Write(std::span<const std::uint8_t>) override { return Fail("no space left on device"); }
  } full;
  EXPECT_FALSE(EncodePng(ViewOf(picture), full));
  EXPECT_FALSE(EncodeJpeg(ViewOf(picture), full));
  const RasterView short_view{64, 64, PixelLayout::rgb24, std::span(picture.rgb).first(100)};
  platform::MemorySink memory;
  EXPECT_FALSE(EncodeJpeg(short_view, memory));
  EXPECT_FALSE(EncodePng(short_view, memory));
}

TEST(PictureCodec, FormatsByNameAndContent) {
  EXPECT_EQ(FormatForName("a/B.JPEG"), PictureFormat::jpeg);
  EXPECT_EQ(FormatForName("x.Jpg"), PictureFormat::jpeg);
  EXPECT_EQ(FormatForName("x.png"), PictureFormat::png);
  EXPECT_FALSE(FormatForName("x.pdf"));
  EXPECT_FALSE(FormatForName("png"));
  // Content decides, not the name.
  TempDir dir;
  test::SavePictureFile(dir / "looks.png", test::TestPicture(4, 4), PictureFormat::jpeg);
  const auto loaded = LoadPicture(dir / "looks.png");
  ASSERT_TRUE(loaded) << loaded.error();
  EXPECT_FALSE(LoadPicture(dir / "missing.png"));
}

}  // namespace
}  // namespace tavlix::imaging
