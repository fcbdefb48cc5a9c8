#include "imaging/board_pdf_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "imaging/board_pdf_pictures.h"
#include "imaging/board_pdf_writer.h"
#include "support/temp_dir.h"
#include "support/test_pictures.h"

namespace tavlix::imaging {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ColourPdf(int pages, std::uint32_t width = 24, std::uint32_t height = 10) {
  static std::vector<Raster> pictures;
  pictures.clear();
  std::vector<RasterView> views;
  for (int k = 0; k < pages; ++k)
    pictures.push_back(test::TestPicture(width, height, static_cast<unsigned>(k + 1)));
  for (const Raster& p : pictures) views.push_back(ViewOf(p));
  return test::BoardPdfBytes(views);
}

// Replaces the first occurrence of `from` by `to` (same length, so that
// every offset in the file stays right).
Bytes Patched(Bytes pdf, const std::string& from, const std::string& to, bool last = false) {
  EXPECT_EQ(from.size(), to.size());
  const std::string text(pdf.begin(), pdf.end());
  const std::size_t at = last ? text.rfind(from) : text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) std::copy(to.begin(), to.end(), pdf.begin() + static_cast<std::ptrdiff_t>(at));
  return pdf;
}

TEST(BoardPdfReader, WriterFilesReadBackPageByPage) {
  for (int pages = 1; pages <= 4; ++pages) {
    std::vector<Raster> pictures;
    std::vector<RasterView> views;
    for (int k = 0; k < pages; ++k)
      pictures.push_back(test::TestPicture(31, 17, static_cast<unsigned>(k + 7)));
    for (const Raster& p : pictures) views.push_back(ViewOf(p));
    const Bytes pdf = test::BoardPdfBytes(views);
    const auto layout = ScanBoardPdf(pdf);
    ASSERT_TRUE(layout) << layout.error();
    EXPECT_EQ(layout->pages, pages);
    EXPECT_EQ(layout->width, 31u);
    EXPECT_EQ(layout->height, 17u);
    EXPECT_FALSE(layout->grey);
    std::vector<std::uint8_t> pixels;
    for (int k = 0; k < pages; ++k) {
      ASSERT_TRUE(InflateBoardPdfPage(pdf, *layout, k, pixels));
      EXPECT_EQ(pixels, pictures[static_cast<std::size_t>(k)].rgb) << "page " << k + 1;
    }
  }
}

TEST(BoardPdfReader, WriterFilesAreRealPdfsWithOneImageAPage) {
  if (!test::HavePdfImages()) GTEST_SKIP() << "pdfimages is not installed";
  test::TempDir dir;
  for (int pages : {1, 3, 4}) {
    const auto path = dir / ("p" + std::to_string(pages) + ".pdf");
    test::WriteBytes(path, ColourPdf(pages, 20, 12));
    const auto listing = test::CommandOutput("pdfimages -list " + path.string() + " 2>&1");
    ASSERT_TRUE(listing);
    // A header of two lines, then one line an image, on pages 1, 2, ...
    EXPECT_EQ(std::count(listing->begin(), listing->end(), '\n'), 2 + pages) << *listing;
    for (int page = 1; page <= pages; ++page) {
      const std::string line = "\n   " + std::to_string(page) + "     " + std::to_string(page - 1) +
                               " image      20    12  rgb     3   8  image";
      EXPECT_NE(listing->find(line), std::string::npos) << *listing;
    }
  }
}

TEST(BoardPdfReader, PageCountFollowsTheLastSize) {
  EXPECT_EQ(PagesForSize(-3), 1);
  EXPECT_EQ(PagesForSize(0), 1);
  EXPECT_EQ(PagesForSize(7), 1);
  EXPECT_EQ(PagesForSize(8), 2);
  EXPECT_EQ(PagesForSize(11), 2);
  EXPECT_EQ(PagesForSize(12), 3);
  EXPECT_EQ(PagesForSize(15), 3);
  EXPECT_EQ(PagesForSize(16), 4);
  EXPECT_EQ(PagesForSize(19), 4);
  EXPECT_EQ(PagesForSize(20), 0);

  EXPECT_EQ(ScanBoardPdf(ColourPdf(1))->pages, 1);  // /Size 7
  EXPECT_EQ(ScanBoardPdf(Patched(ColourPdf(2), "/Size 11", "/Size 08"))->pages, 2);
  EXPECT_EQ(ScanBoardPdf(Patched(ColourPdf(3), "/Size 15", "/Size 12"))->pages, 3);
  EXPECT_EQ(ScanBoardPdf(ColourPdf(4))->pages, 4);  // /Size 19
  const auto refused = ScanBoardPdf(Patched(ColourPdf(4), "/Size 19", "/Size 20"));
  ASSERT_FALSE(refused);
  EXPECT_NE(refused.error().find("more than four pages"), std::string::npos);
  // An unreadable /Size counts as 0: one page, read from the last section.
  EXPECT_EQ(ScanBoardPdf(Patched(ColourPdf(1), "/Size 7", "/Size x"))->pages, 1);
  // More pages claimed than sections present: the walk runs out of /Prev.
  EXPECT_FALSE(ScanBoardPdf(Patched(ColourPdf(2), "/Size 11", "/Size 15")));
  // A single section claiming two pages has no /Prev before its trailer.
  EXPECT_FALSE(ScanBoardPdf(Patched(ColourPdf(1), "/Size 7", "/Size 9")));
}

TEST(BoardPdfReader, GreyInAnyPageMakesEveryPageGrey) {
  const Raster colour = test::TestPicture(8, 4);
  const auto grey = test::GreyPixels(8, 4);
  const std::vector<RasterView> views{ViewOf(colour), ViewOf(colour), {8, 4, PixelLayout::grey8, grey}};
  const Bytes pdf = test::BoardPdfBytes(views);
  const auto layout = ScanBoardPdf(pdf);
  ASSERT_TRUE(layout) << layout.error();
  EXPECT_TRUE(layout->grey);
  std::vector<std::uint8_t> pixels;
  // A colour page read as grey keeps its first width x height bytes; the
  // bytes left over are checked, not refused.
  ASSERT_TRUE(InflateBoardPdfPage(pdf, *layout, 0, pixels));
  EXPECT_EQ(pixels, Bytes(colour.rgb.begin(), colour.rgb.begin() + 32));
  ASSERT_TRUE(InflateBoardPdfPage(pdf, *layout, 2, pixels));
  EXPECT_EQ(pixels, grey);
}

// Four pages of sensor noise: about 2.7 MB that do not compress.
std::vector<Raster> NoisyPages() {
  std::vector<Raster> pages;
  std::mt19937 random(5);
  for (int k = 0; k < 4; ++k) {
    pages.push_back(Raster{480, 480, Bytes(std::size_t{480} * 480 * 3)});
    for (auto& b : pages.back().rgb) b = static_cast<std::uint8_t>(random());
  }
  return pages;
}

TEST(BoardPdfReader, TheWholeFileIsReadSoEveryPageIsFound) {
  test::TempDir dir;
  const std::vector<Raster> pages = NoisyPages();
  std::vector<RasterView> views;
  for (const Raster& p : pages) views.push_back(ViewOf(p));
  const Bytes big = test::BoardPdfBytes(views);
  ASSERT_GT(big.size(), 2'700'000u);
  test::WriteBytes(dir / "big.pdf", big);
  const auto read = ReadBoardPdf(dir / "big.pdf");
  ASSERT_TRUE(read) << read.error();
  EXPECT_EQ(read->layout.pages, 4);
  std::vector<std::uint8_t> pixels;
  ASSERT_TRUE(InflateBoardPdfPage(read->bytes, read->layout, 3, pixels));
  EXPECT_EQ(pixels, pages[3].rgb);
}

TEST(BoardPdfReader, HostileOffsetsAndSizesAreRefused) {
  const Bytes good = ColourPdf(2, 24, 10);
  ASSERT_TRUE(ScanBoardPdf(good));
  const std::string text(good.begin(), good.end());
  // The image entry of the last section: third-last before its trailer.
  const std::size_t last_trailer = text.rfind("trailer");
  const std::string image_entry = text.substr(last_trailer - 60, 10);
  const std::string bound_entry = text.substr(last_trailer - 40, 10);
  const std::string prev =
      text.substr(text.find("/Prev ") + 6, text.find(" >>", text.find("/Prev ")) - text.find("/Prev ") - 6);

  struct Case {
    const char* what;
    Bytes pdf;
  };
  const std::vector<Case> cases = {
      {"entry past the end", Patched(good, image_entry, "9999999999", true)},
      {"bound before the object", Patched(good, bound_entry, image_entry, true)},
      {"bound past the end", Patched(good, bound_entry, "0099999999", true)},
      {"negative entry", Patched(good, image_entry, "-000000001", true)},
      {"/Prev forwards", Patched(good, "/Prev " + prev, "/Prev " + std::string(prev.size(), '9'))},
      {"/Prev negative", Patched(good, "/Prev " + prev, "/Prev -" + std::string(prev.size() - 1, '1'))},
      {"/Prev to the end",
       Patched(good, "/Prev " + prev, "/Prev " + std::to_string(good.size() - 8).substr(0, prev.size()))},
      {"zero width", Patched(good, "/Width 24", "/Width 00")},
      {"negative height", Patched(good, "/Height 10", "/Height -1")},
      {"absurd width", Patched(ColourPdf(1, 10000, 1), "/Width 10000", "/Width 99999")},
      {"no height", Patched(Patched(good, "/Height", "/Heigh "), "/Height", "/Heigh ", true)},
      {"no stream keyword", Patched(good, "stream\r\n", "strexm\r\n")},
      {"no trailer", Patched(Patched(good, "trailer", "trailor", true), "trailer", "trailor")},
  };
  for (const Case& c : cases) {
    const auto layout = ScanBoardPdf(c.pdf);
    if (!layout) continue;
    // Whatever passes the scan must still fail to inflate cleanly.
    std::vector<std::uint8_t> pixels;
    bool all = true;
    for (int k = 0; k < layout->pages; ++k) all = all && InflateBoardPdfPage(c.pdf, *layout, k, pixels);
    EXPECT_FALSE(all) << c.what << " passed as " << layout->pages << " pages of " << layout->width << " x "
                      << layout->height;
  }
}

TEST(BoardPdfReader, ShortAndDamagedStreamsFail) {
  // Twice the rows the data hold: the inflated data are too short.
  const Bytes tall = Patched(ColourPdf(1, 24, 10), "/Height 10", "/Height 20");
  const auto layout = ScanBoardPdf(tall);
  ASSERT_TRUE(layout);
  std::vector<std::uint8_t> pixels;
  const Status short_data = InflateBoardPdfPage(tall, *layout, 0, pixels);
  ASSERT_FALSE(short_data);
  EXPECT_NE(short_data.error().find("the page needs 1440"), std::string::npos) << short_data.error();
  EXPECT_EQ(short_data.kind(), ErrorKind::damaged);

  Bytes damaged = ColourPdf(3, 40, 30);
  const auto damaged_layout = ScanBoardPdf(damaged);
  ASSERT_TRUE(damaged_layout);
  const BoardPdfStream& page2 = damaged_layout->streams[1];
  for (std::size_t i = page2.offset + 2; i < page2.offset + page2.length - 2; i += 3) damaged[i] ^= 0xA5;
  EXPECT_TRUE(InflateBoardPdfPage(damaged, *damaged_layout, 0, pixels));
  EXPECT_EQ(InflateBoardPdfPage(damaged, *damaged_layout, 1, pixels).kind(), ErrorKind::damaged);
  EXPECT_TRUE(InflateBoardPdfPage(damaged, *damaged_layout, 2, pixels));
  // Only the stored checksum of page 3 wrong: the pixels inflate, the page fails.
  const BoardPdfStream& page3 = damaged_layout->streams[2];
  damaged[page3.offset + page3.length - 3] ^= 0x01;  // before "\r\n"
  EXPECT_FALSE(InflateBoardPdfPage(damaged, *damaged_layout, 2, pixels));
}

TEST(BoardPdfPictures, PagesConvertedOnThreadsAreSavedInPageOrder) {
  test::TempDir dir;
  std::vector<Raster> pictures;
  std::vector<RasterView> views;
  for (unsigned k = 1; k <= 4; ++k) pictures.push_back(test::TestPicture(20, 10, k));
  for (const Raster& p : pictures) views.push_back(ViewOf(p));
  test::WriteBytes(dir / "board.pdf", test::BoardPdfBytes(views));
  const auto pdf = ReadBoardPdf(dir / "board.pdf");
  ASSERT_TRUE(pdf) << pdf.error();
  const std::vector<std::filesystem::path> names{dir / "a.png", dir / "a_2.png", dir / "a_3.png",
                                                 dir / "a_4.png"};
  for (unsigned threads : {1u, 4u}) {
    for (const auto& name : names) std::filesystem::remove(name);
    std::vector<std::filesystem::path> saved;
    ASSERT_TRUE(SaveBoardPdfPages(*pdf, names, PictureFormat::png, SaveMode::never_replace, &saved, threads));
    EXPECT_EQ(saved, names);
    for (std::size_t k = 0; k < 4; ++k) EXPECT_EQ(test::Decoded(names[k]).rgb, pictures[k].rgb) << k;
  }
  // A second run meets the files and replaces nothing.
  std::vector<std::filesystem::path> saved;
  EXPECT_FALSE(SaveBoardPdfPages(*pdf, names, PictureFormat::jpeg, SaveMode::never_replace, &saved, 4));
  EXPECT_TRUE(saved.empty());
  EXPECT_EQ(SniffFormat(test::ReadBytes(dir / "a.png")), PictureFormat::png);
}

TEST(BoardPdfPictures, ADamagedPageStopsTheSaveThereWithNothingHalfWritten) {
  Bytes bytes = ColourPdf(4, 40, 30);
  auto layout = ScanBoardPdf(bytes);
  ASSERT_TRUE(layout);
  const BoardPdfStream& page3 = layout->streams[2];
  for (std::size_t i = page3.offset + 2; i < page3.offset + page3.length - 2; i += 3) bytes[i] ^= 0xA5;
  const BoardPdf pdf{bytes, *layout};
  for (unsigned threads : {1u, 2u, 4u}) {
    test::TempDir dir;
    const std::vector<std::filesystem::path> names{dir / "a.jpg", dir / "a_2.jpg", dir / "a_3.jpg",
                                                   dir / "a_4.jpg"};
    std::vector<std::filesystem::path> saved;
    const Status done =
        SaveBoardPdfPages(pdf, names, PictureFormat::jpeg, SaveMode::never_replace, &saved, threads);
    ASSERT_FALSE(done);
    EXPECT_NE(done.error().find("page 3"), std::string::npos) << done.error();
    EXPECT_EQ(saved, std::vector<std::filesystem::path>(names.begin(), names.begin() + 2)) << threads;
    EXPECT_EQ(test::FilesIn(dir.path()), (std::vector<std::string>{"a.jpg", "a_2.jpg"})) << threads;
  }
}

TEST(BoardPdfPictures, ThePagesInFlightFitTheRasterBudget) {
  constexpr std::size_t kPage = std::size_t{2496} * 1760 * 3;
  EXPECT_EQ(BoardPdfPageThreads(8, 4, kPage), 4u);
  EXPECT_EQ(BoardPdfPageThreads(8, 1, kPage), 1u);
  EXPECT_EQ(BoardPdfPageThreads(3, 4, kPage), 3u);
  EXPECT_GE(BoardPdfPageThreads(0, 4, kPage), 1u);
  // Pixels and encoded file of each page in flight stay within the budget.
  EXPECT_EQ(BoardPdfPageThreads(8, 4, kRasterBudgetBytes / 3), 1u);
  EXPECT_EQ(BoardPdfPageThreads(8, 4, kRasterBudgetBytes / 6), 3u);
}

}  // namespace
}  // namespace tavlix::imaging
