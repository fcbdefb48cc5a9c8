// Pictures made to break the picture layer: each must end in a clear failure
// or a correct result, never a crash, a hang or a damaged picture saved as
// good.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/jpeg_codec.h"
#include "imaging/pdf_packaging.h"
#include "imaging/picture_codec.h"
#include "imaging/png_codec.h"
#include "support/library_pictures.h"
#include "support/temp_dir.h"
#include "support/test_pictures.h"

namespace tavlix::imaging {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes JpegOf(const Raster& picture) {
  return test::MakeJpeg(picture.width, picture.height, 3, JCS_RGB, picture.rgb, false);
}

// Packages the bytes into dir/name.pdf and reads the picture back.
Raster PackagedAndReadBack(const test::TempDir& dir, const std::string& name, const Bytes& png) {
  test::WriteFile(dir / (name + ".png"), std::string(png.begin(), png.end()));
  const Status packaged =
      PackagePictureAsPdf(dir / (name + ".png"), PictureFormat::png, dir / (name + ".pdf"));
  EXPECT_TRUE(packaged) << name << ": " << packaged.error();
  if (!packaged || !test::HavePdfImages()) return {};
  EXPECT_TRUE(test::CommandOutput("pdfimages -png " + (dir / (name + ".pdf")).string() + " " +
                                  (dir / name).string()));
  return test::Decoded(dir / (name + "-000.png"));
}

TEST(HostilePictures, InterlacedPngsBecomeCorrectPdfs) {
  test::TempDir dir;
  const Raster picture = test::TestPicture(16, 16);
  std::vector<std::uint8_t> rgba;
  for (std::size_t i = 0; i < picture.rgb.size(); i += 3)
    rgba.insert(rgba.end(),
                {picture.rgb[i], picture.rgb[i + 1], picture.rgb[i + 2], static_cast<std::uint8_t>(i % 256)});
  const Bytes plain = test::MakePng(16, 16, PNG_COLOR_TYPE_RGB, 8, picture.rgb, PNG_INTERLACE_ADAM7);
  const Bytes alpha = test::MakePng(16, 16, PNG_COLOR_TYPE_RGB_ALPHA, 8, rgba, PNG_INTERLACE_ADAM7);
  const Raster plain_back = PackagedAndReadBack(dir, "plain", plain);
  const Raster alpha_back = PackagedAndReadBack(dir, "alpha", alpha);
  if (!test::HavePdfImages()) GTEST_SKIP() << "pdfimages is not installed";
  EXPECT_EQ(plain_back.rgb, picture.rgb);
  const auto over_white = DecodePng(alpha);  // transparency laid over the paper's white
  ASSERT_TRUE(over_white) << over_white.error();
  EXPECT_EQ(alpha_back.rgb, over_white->rgb);
}

TEST(HostilePictures, JpegsAreReadThroughBeforeTheyGoIntoAPdf) {
  test::TempDir dir;
  const Bytes good = JpegOf(test::TestPicture(64, 48));
  Bytes lying = good;
  test::SetJpegSize(lying, 60000, 60000);
  Bytes noise(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 3));
  for (std::size_t i = 0; i < 4000; ++i) noise.push_back(static_cast<std::uint8_t>(i * 37 % 255));
  const std::vector<std::pair<std::string, Bytes>> bad = {
      {"empty", {}},
      {"truncated", Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2))},
      {"lying", lying},
      {"noise", noise}};
  for (const auto& [name, bytes] : bad) {
    test::WriteFile(dir / (name + ".jpg"), std::string(bytes.begin(), bytes.end()));
    EXPECT_FALSE(PackagePictureAsPdf(dir / (name + ".jpg"), PictureFormat::jpeg, dir / (name + ".pdf")))
        << name;
    EXPECT_FALSE(std::filesystem::exists(dir / (name + ".pdf"))) << name;
  }
  // A good one goes in unchanged; bytes after its end do not go in.
  Bytes trailed = good;
  trailed.insert(trailed.end(), 1000, 0x5A);
  const auto pdf = PictureToPdf(trailed, PictureFormat::jpeg);
  ASSERT_TRUE(pdf) << pdf.error();
  const std::string text(pdf->begin(), pdf->end());
  EXPECT_NE(text.find(std::string(good.begin(), good.end()) + "\nendstream"), std::string::npos);
  EXPECT_EQ(text.find(std::string(100, 0x5A)), std::string::npos);
}

TEST(HostilePictures, CorruptDataWarningsAreDamage) {
  const Bytes good = JpegOf(test::TestPicture(64, 64));
  ASSERT_TRUE(DecodeJpeg(good));
  // Cut in half with an end-of-image marker: a marker inside the data.
  Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2));
  cut.insert(cut.end(), {0xFF, 0xD9});
  // Stray bytes between two markers.
  Bytes stray = good;
  stray.insert(stray.begin() + 2, {0x12, 0x34, 0x56});
  for (const Bytes& damaged : {cut, stray}) {
    const auto decoded = DecodeJpeg(damaged);
    ASSERT_FALSE(decoded);
    EXPECT_NE(decoded.error().find("Corrupt JPEG data"), std::string::npos) << decoded.error();
    EXPECT_EQ(decoded.kind(), ErrorKind::damaged);
    EXPECT_FALSE(CheckJpeg(damaged));
  }
}

TEST(HostilePictures, ScansBeyondTheLimitAreDamage) {
  // A 16 x 16 grey progressive JPEG: the DC scan, then every AC coefficient
  // sent alone from bit `top` down to bit 0, one scan a bit: 1 + 63 (top + 1).
  const auto scans = [](int top) {
    std::vector<jpeg_scan_info> script{{1, {0}, 0, 0, 0, 0}};
    for (int k = 1; k < 64; ++k) {
      script.push_back({1, {0}, k, k, 0, top});
      for (int bit = top - 1; bit >= 0; --bit) script.push_back({1, {0}, k, k, bit + 1, bit});
    }
    return script;
  };
  const auto grey = test::GreyPixels(16, 16);
  const Bytes within = test::MakeJpeg(16, 16, 1, JCS_GRAYSCALE, grey, false, scans(6));  // 442 scans
  const Bytes beyond = test::MakeJpeg(16, 16, 1, JCS_GRAYSCALE, grey, false, scans(8));  // 568 scans
  EXPECT_TRUE(DecodeJpeg(within));
  EXPECT_TRUE(CheckJpeg(within));
  const auto refused = DecodeJpeg(beyond);
  ASSERT_FALSE(refused);
  EXPECT_NE(refused.error().find("500 scans"), std::string::npos) << refused.error();
  EXPECT_FALSE(CheckJpeg(beyond));
}

TEST(HostilePictures, TheRasterBudgetTakesCameraPicturesAndRefusesBombs) {
  // A flat 6000 x 4000 camera-sized picture decodes whole.
  const Bytes camera =
      test::MakeJpeg(6000, 4000, 1, JCS_GRAYSCALE, Bytes(std::size_t{6000} * 4000, 200), false);
  const auto decoded = DecodePicture(camera);
  ASSERT_TRUE(decoded) << decoded.error();
  EXPECT_EQ(decoded->rgb.size(), 6000u * 4000u * 3u);
  EXPECT_NEAR(decoded->rgb[decoded->rgb.size() / 2], 200, 1);
  // Headers declaring 60000 x 60000 are refused before any pixel memory.
  Bytes png = test::MakePng(1, 1, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3});
  test::SetPngSize(png, 60000, 60000);
  Bytes jpeg = JpegOf(test::TestPicture(8, 8));
  test::SetJpegSize(jpeg, 60000, 60000);
  for (const Bytes& bomb : {png, jpeg}) {
    const auto refused = DecodePicture(bomb);
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.error().find("60000 x 60000"), std::string::npos) << refused.error();
    EXPECT_EQ(refused.kind(), ErrorKind::too_large);
  }
}

}  // namespace
}  // namespace tavlix::imaging
