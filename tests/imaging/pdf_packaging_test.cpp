#include "imaging/pdf_packaging.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <regex>
#include <string>

#include "imaging/narrow_length.h"
#include "support/temp_dir.h"
#include "support/test_pictures.h"

namespace tavlix::imaging {
namespace {

// What a written one-page PDF says about its page and its image.
struct PdfFacts {
  double page_width = 0, page_height = 0;
  std::string drawing;       // the page's content, inflated
  std::string image_dict;    // the image object's dictionary
  std::string image_stream;  // the image's stream bytes as stored
};

std::string Inflate(const std::string& data) {
  std::string out(1 << 16, '\0');
  uLongf size = 1 << 16;
  const auto length = imaging::NarrowLength(data.size());
  if (!length || uncompress(reinterpret_cast<Bytef*>(out.data()), &size,
                            reinterpret_cast<const Bytef*>(data.data()), *length) != Z_OK)
    return {};
  out.resize(size);
  return out;
}

PdfFacts ReadBack(const std::filesystem::path& path) {
  const std::string pdf = test::ReadText(path);
  PdfFacts facts;
  std::smatch box;
  if (std::regex_search(pdf, box, std::regex(R"(/MediaBox \[ 0 0 ([0-9.]+) ([0-9.]+) \])"))) {
    facts.page_width = std::stod(box[1]);
    facts.page_height = std::stod(box[2]);
  }
  for (std::size_t at = pdf.find("stream\r\n"); at != std::string::npos;
       at = pdf.find("stream\r\n", at + 1)) {
    const std::size_t begin = at + 8, end = pdf.find("\nendstream", begin);
    const std::size_t dict = pdf.rfind(" obj", at);
    const std::string head = pdf.substr(dict, at - dict), data = pdf.substr(begin, end - begin);
    if (head.find("/Subtype /Image") != std::string::npos) {
      facts.image_dict = head;
      facts.image_stream = data;
    } else if (const std::string text = Inflate(data); text.find(" Do") != std::string::npos) {
      facts.drawing = text;
    }
  }
  return facts;
}

void ExpectA4Landscape(const PdfFacts& facts) {
  EXPECT_NEAR(facts.page_width, 841.89, 0.01);
  EXPECT_NEAR(facts.page_height, 595.28, 0.01);
}

TEST(PdfPlacement, WholePercentScaleCentredOnTheLandscapePage) {
  const auto board = PlaceOnA4Landscape(2496, 1760);
  EXPECT_EQ(board.scale, 33u);
  EXPECT_EQ(std::tie(board.width, board.height, board.x, board.y), std::make_tuple(823, 580, 9, 7));
  const auto small = PlaceOnA4Landscape(400, 300);  // enlarged
  EXPECT_EQ(small.scale, 198u);
  EXPECT_EQ(std::tie(small.width, small.height, small.x, small.y), std::make_tuple(792, 594, 25, 0));
  for (const auto& [w, h] : {std::pair{84201u, 10u}, std::pair{10u, 59501u}}) {
    const auto huge = PlaceOnA4Landscape(w, h);
    EXPECT_EQ(huge.scale, 0u);
    EXPECT_EQ(std::tie(huge.width, huge.height, huge.x, huge.y), std::make_tuple(0, 0, 421, 297));
  }
  const auto tall = PlaceOnA4Landscape(595, 842);  // height decides
  EXPECT_EQ(tall.scale, 70u);
  EXPECT_EQ(std::tie(tall.width, tall.height, tall.x, tall.y), std::make_tuple(416, 589, 213, 3));
}

// Packages a JPEG of the given size and reads the PDF back.
PdfFacts PackagedJpeg(const test::TempDir& dir, std::uint32_t width, std::uint32_t height) {
  const auto source = dir / ("in" + std::to_string(height) + ".jpg");
  test::SavePictureFile(source, test::TestPicture(width, height), PictureFormat::jpeg);
  EXPECT_TRUE(PackagePictureAsPdf(source, PictureFormat::jpeg, dir / "out.pdf", SaveMode::replace));
  PdfFacts facts = ReadBack(dir / "out.pdf");
  ExpectA4Landscape(facts);
  return facts;
}

TEST(PdfPackaging, JpegIsEmbeddedUnchangedAndPlaced) {
  test::TempDir dir;
  const PdfFacts board = PackagedJpeg(dir, 2496, 1760);
  EXPECT_NE(board.drawing.find("823 0 0 580 9 7 cm"), std::string::npos) << board.drawing;
  EXPECT_NE(board.image_dict.find("/Width 2496"), std::string::npos);
  EXPECT_NE(board.image_dict.find("/Height 1760"), std::string::npos);
  EXPECT_NE(board.image_dict.find("/DCTDecode"), std::string::npos);
  EXPECT_EQ(board.image_stream, test::ReadText(dir / "in1760.jpg"));
  // Taller than 59,500 pixels: scale 0, drawn with no size at the centre.
  const PdfFacts tall = PackagedJpeg(dir, 8, 60000);
  EXPECT_NE(tall.drawing.find("0 0 0 0 421 297 cm"), std::string::npos) << tall.drawing;
}

TEST(PdfPackaging, PngKeepsItsOwnDataAndItsPixels) {
  test::TempDir dir;
  const Raster picture = test::TestPicture(400, 300);
  test::SavePictureFile(dir / "small.png", picture, PictureFormat::png);
  ASSERT_TRUE(PackagePictureAsPdf(dir / "small.png", PictureFormat::png, dir / "out.pdf"));
  const PdfFacts facts = ReadBack(dir / "out.pdf");
  ExpectA4Landscape(facts);
  EXPECT_NE(facts.drawing.find("792 0 0 594 25 0 cm"), std::string::npos) << facts.drawing;
  EXPECT_NE(facts.image_dict.find("/Predictor 15"), std::string::npos) << facts.image_dict;
  EXPECT_NE(facts.image_dict.find("/Filter /FlateDecode"), std::string::npos) << facts.image_dict;
  // The stream is the PNG's data, not a second compression of the pixels.
  const std::string png = test::ReadText(dir / "small.png");
  EXPECT_LT(facts.image_stream.size(), png.size());
  EXPECT_NE(png.find(facts.image_stream.substr(0, 64)), std::string::npos);

  if (!test::HavePdfImages()) GTEST_SKIP() << "pdfimages is not installed";
  ASSERT_TRUE(
      test::CommandOutput("pdfimages -png " + (dir / "out.pdf").string() + " " + (dir / "x").string()));
  EXPECT_EQ(test::Decoded(dir / "x-000.png").rgb, picture.rgb);
}

TEST(PdfPackaging, GreyAndPalettePngsComeOutRight) {
  if (!test::HavePdfImages()) GTEST_SKIP() << "pdfimages is not installed";
  test::TempDir dir;
  // Grey, through the PNG's own data; an interlaced one through libharu's.
  const auto grey = test::GreyPixels(33, 21);
  ASSERT_TRUE(SavePicture({33, 21, PixelLayout::grey8, grey}, PictureFormat::png, dir / "g.png"));
  ASSERT_TRUE(PackagePictureAsPdf(dir / "g.png", PictureFormat::png, dir / "g.pdf"));
  ASSERT_TRUE(test::CommandOutput("pdfimages -png " + (dir / "g.pdf").string() + " " + (dir / "g").string()));
  const Raster back = test::Decoded(dir / "g-000.png");
  ASSERT_EQ(back.rgb.size(), grey.size() * 3);
  for (std::size_t i = 0; i < grey.size(); ++i) ASSERT_EQ(back.rgb[3 * i], grey[i]);
}

TEST(PdfPackaging, PicturesLibharuCannotTakeAreErrorsAndNothingIsWritten) {
  test::TempDir dir;
  test::SavePictureFile(dir / "real.jpg", test::TestPicture(40, 30), PictureFormat::jpeg);
  test::SavePictureFile(dir / "real.png", test::TestPicture(40, 30), PictureFormat::png);
  // A damaged PNG would make libharu's loader abort the process.
  std::string damaged = test::ReadText(dir / "real.png");
  damaged[damaged.size() / 2] ^= 0x40;
  test::WriteFile(dir / "damaged.png", damaged);
  EXPECT_FALSE(PackagePictureAsPdf(dir / "damaged.png", PictureFormat::png, dir / "a.pdf"));
  EXPECT_FALSE(PackagePictureAsPdf(dir / "real.jpg", PictureFormat::png, dir / "b.pdf"));
  EXPECT_FALSE(PackagePictureAsPdf(dir / "real.png", PictureFormat::jpeg, dir / "c.pdf"));
  EXPECT_FALSE(PackagePictureAsPdf(dir / "missing.jpg", PictureFormat::jpeg, dir / "d.pdf"));
  EXPECT_EQ(test::FilesIn(dir.path()), (std::vector<std::string>{"damaged.png", "real.jpg", "real.png"}));
}

TEST(PdfPackaging, ErrorHandlerPrintsTheNumbers) {
  testing::internal::CaptureStdout();
  error_handler(0x1015, 7, nullptr);
  error_handler(0x2A, 4000000000ul, nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "ERROR: error_no=1015, detail_no=7\nERROR: error_no=002A, detail_no=4000000000\n");
}

TEST(PdfPackaging, AnExistingTargetIsNotReplaced) {
  test::TempDir dir;
  test::SavePictureFile(dir / "p.jpg", test::TestPicture(10, 10), PictureFormat::jpeg);
  test::WriteFile(dir / "out.pdf", "mine");
  EXPECT_FALSE(PackagePictureAsPdf(dir / "p.jpg", PictureFormat::jpeg, dir / "out.pdf"));
  EXPECT_EQ(test::ReadText(dir / "out.pdf"), "mine");
  EXPECT_TRUE(PackagePictureAsPdf(dir / "p.jpg", PictureFormat::jpeg, dir / "out.pdf", SaveMode::replace));
  EXPECT_EQ(test::ReadText(dir / "out.pdf").substr(0, 5), "%PDF-");
  EXPECT_EQ(test::FilesIn(dir.path()), (std::vector<std::string>{"out.pdf", "p.jpg"}));
}

}  // namespace
}  // namespace tavlix::imaging
