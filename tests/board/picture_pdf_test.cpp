#include <gtest/gtest.h>

#include "imaging/board_pdf_reader.h"
#include "picture_fixture.h"
#include "platform/held_file.h"

namespace tavlix::board {
namespace {

using imaging::PictureFormat;
namespace fs = std::filesystem;

class PicturePdf : public test::PictureTest {
 protected:
  PicturePdf() { fs::create_directories(save_); }
  fs::path Target(const char* ext) const { return save_ / (std::string("20201203_142501") + ext); }
};

TEST_F(PicturePdf, TheBoardsOwnFormatIsCopiedUnchangedAndNeverReplacesAFile) {
  const auto pdf = PutPdfOnBoard("s.pdf", 3);
  for (const settings::OutputFormat format :
       {settings::OutputFormat::board, settings::OutputFormat::pdf, settings::FormatFromCode(5)}) {
    fs::remove_all(save_);
    fs::create_directories(save_);
    EXPECT_EQ(worker_.SaveFromPDFimg(pdf, Target(".pdf"), format), 1);
    EXPECT_EQ(test::ReadText(Target(".pdf")), test::ReadText(pdf));
  }
  // A file of that name stays, and the failure is reported.
  test::WriteFile(Target(".pdf"), "keep me");
  EXPECT_EQ(worker_.SaveFromPDFimg(pdf, Target(".pdf"), settings::OutputFormat::board), 0);
  EXPECT_EQ(test::ReadText(Target(".pdf")), "keep me");
}

TEST_F(PicturePdf, ADamagedSecondPageKeepsTheFirstAndCopiesThePdf) {
  const auto pdf = PutPdfOnBoard("s.pdf", 3);
  auto bytes = test::ReadBytes(pdf);
  const auto layout = imaging::ScanBoardPdf(bytes);
  ASSERT_TRUE(layout);
  const auto& page2 = layout->streams[1];
  for (std::size_t i = page2.offset + 4; i < page2.offset + page2.length - 4; i += 5) bytes[i] ^= 0x3C;
  test::WriteBytes(pdf, bytes);
  EXPECT_EQ(worker_.SaveFromPDFimg(pdf, Target(".png"), settings::OutputFormat::png), 0);
  EXPECT_EQ(Saved(), (std::vector<std::string>{"20201203_142501.pdf", "20201203_142501.png"}));
  EXPECT_EQ(test::ReadBytes(Target(".pdf")), bytes);
  EXPECT_EQ(test::Decoded(Target(".png")).rgb, test::TestPicture(40, 24, 1).rgb);
}

TEST_F(PicturePdf, ARefusedPdfIsCopiedAsItIs) {
  const auto pdf = PutPdfOnBoard("s.pdf", 4);
  std::string text = test::ReadText(pdf);
  text.replace(text.rfind("/Size 19"), 8, "/Size 20");
  test::WriteFile(pdf, text);
  EXPECT_EQ(worker_.SaveFromPDFimg(pdf, Target(".jpg"), settings::OutputFormat::jpeg), 0);
  EXPECT_EQ(Saved(), std::vector<std::string>{"20201203_142501.pdf"});
  EXPECT_EQ(test::ReadText(Target(".pdf")), text);
}

TEST_F(PicturePdf, TheFormatArgumentDecidesNotTheCurrentSetting) {
  const auto pdf = PutPdfOnBoard("s.pdf", 1);
  worker_.OutputFileExt = settings::OutputFormat::jpeg;
  EXPECT_EQ(worker_.SaveFromPDFimg(pdf, Target(".png"), settings::OutputFormat::png), 1);
  EXPECT_EQ(imaging::SniffFormat(test::ReadBytes(Target(".png"))), PictureFormat::png);
  EXPECT_EQ(Saved(), std::vector<std::string>{"20201203_142501.png"});
}

// A clock whose sleep lets the test act in the middle of a wait.
class HookClock final : public platform::ClockSource {
 public:
  std::function<void()> on_sleep;
  platform::Millis slept{0};
  platform::Millis Now() override { return slept; }
  platform::WallTime WallNow() override { return test::CopyTime(); }
  void Sleep(platform::Millis duration) override {
    slept += duration;
    if (on_sleep) on_sleep();
  }
};

TEST_F(PicturePdf, AFileInUseIsTriedOnceMoreAfterHalfASecond) {
  const auto pdf = PutPdfOnBoard("s.pdf", 1);
  auto clock = std::make_shared<HookClock>();
  platform::ScopedClock scoped(clock);
  auto board_lock = platform::HeldFile::Hold(pdf);
  ASSERT_TRUE(board_lock.ok()) << board_lock.error();
  // Still in use after the wait: the failure path, and nothing is read from
  // a file in use, not even for the plain copy.
  EXPECT_EQ(worker_.SaveFromPDFimg(pdf, Target(".png"), settings::OutputFormat::png), 0);
  EXPECT_EQ(clock->slept, platform::Millis(500));
  EXPECT_TRUE(Saved().empty());

  // Released during the wait: the second try converts.
  clock->on_sleep = [&] { board_lock = Error{}; };
  EXPECT_EQ(worker_.SaveFromPDFimg(pdf, Target(".png"), settings::OutputFormat::png), 1);
  EXPECT_EQ(clock->slept, platform::Millis(1000));
  EXPECT_EQ(Saved(), std::vector<std::string>{"20201203_142501.png"});
}

TEST_F(PicturePdf, PicturesArePackagedOrCopiedPlainWhenTheyCannotBe) {
  const auto jpg = PutPictureOnBoard("a.jpg", PictureFormat::jpeg);
  worker_.ImageType = 1;
  EXPECT_EQ(worker_.SaveToPDFimg(Target(".pdf"), jpg), 1);
  EXPECT_EQ(Saved(), std::vector<std::string>{"20201203_142501.pdf"});

  // A PNG that cannot be packaged (here a JPEG under a PNG's name) goes
  // over as it is, under the PNG name.
  fs::remove_all(save_);
  fs::create_directories(save_);
  const auto fake = PutOnBoard("b.png", test::ReadText(jpg));
  worker_.ImageType = 2;
  EXPECT_EQ(worker_.SaveToPDFimg(Target(".pdf"), fake), 0);
  EXPECT_EQ(Saved(), std::vector<std::string>{"20201203_142501.png"});
  EXPECT_EQ(test::ReadText(Target(".png")), test::ReadText(jpg));

  // An unknown kind is not packaged; an existing fallback name is kept.
  fs::remove(Target(".png"));
  test::WriteFile(Target(".png"), "keep me");
  worker_.ImageType = 0;
  EXPECT_EQ(worker_.SaveToPDFimg(Target(".pdf"), jpg), 0);
  EXPECT_EQ(Saved(), std::vector<std::string>{"20201203_142501.png"});
  EXPECT_EQ(test::ReadText(Target(".png")), "keep me");
}

}  // namespace
}  // namespace tavlix::board
