#include <gtest/gtest.h>

#include "cli/cli_run.h"
#include "cli/command_line.h"
#include "support/temp_dir.h"
#include "support/test_pictures.h"

namespace tavlix::cli {
namespace {

using imaging::PictureFormat;

class ConvertCommand : public ::testing::Test {
 protected:
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  test::TempDir dir_;
};

TEST_F(ConvertCommand, BoardPdfToOnePictureAPage) {
  const imaging::Raster one = test::TestPicture(30, 20, 1), two = test::TestPicture(30, 20, 2);
  const auto pdf = test::BoardPdfBytes({imaging::ViewOf(one), imaging::ViewOf(two)});
  test::WriteBytes(dir_ / "scan.pdf", pdf);
  const CliRun run = Tavlix({"convert", Path("scan.pdf"), Path("out.png")});
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.out, "Wrote " + Path("out.png") + "\nWrote " + Path("out_2.png") + "\n");
  EXPECT_EQ(test::Decoded(dir_ / "out.png").rgb, one.rgb);
  EXPECT_EQ(test::Decoded(dir_ / "out_2.png").rgb, two.rgb);

  const CliRun jpeg = Tavlix({"convert", Path("scan.pdf"), Path("out.JPEG")});
  EXPECT_EQ(jpeg.status, kExitOk) << jpeg.err;
  EXPECT_EQ(imaging::SniffFormat(test::ReadBytes(dir_ / "out_2.JPEG")), PictureFormat::jpeg);
}

TEST_F(ConvertCommand, PicturesToPdfAndToEachOther) {
  const imaging::Raster picture = test::TestPicture(50, 40);
  test::SavePictureFile(dir_ / "in.png", picture, PictureFormat::png);
  EXPECT_EQ(Tavlix({"convert", Path("in.png"), Path("out.pdf")}).status, kExitOk);
  EXPECT_EQ(test::ReadText(dir_ / "out.pdf").substr(0, 5), "%PDF-");
  EXPECT_EQ(Tavlix({"convert", Path("in.png"), Path("out.jpg")}).status, kExitOk);
  EXPECT_LT(test::MeanDifference(test::Decoded(dir_ / "out.jpg"), picture), 6.0);
  // The kind comes from the content: a JPEG named .png converts as a JPEG.
  std::filesystem::copy_file(dir_ / "out.jpg", dir_ / "misnamed.png");
  EXPECT_EQ(Tavlix({"convert", Path("misnamed.png"), Path("again.png")}).status, kExitOk);
}

TEST_F(ConvertCommand, AnExistingTargetIsReplacedOnlyWithForce) {
  test::SavePictureFile(dir_ / "in.jpg", test::TestPicture(20, 20), PictureFormat::jpeg);
  test::WriteFile(dir_ / "out.png", "precious");
  const CliRun refused = Tavlix({"convert", Path("in.jpg"), Path("out.png")});
  EXPECT_EQ(refused.status, kExitFailure);
  EXPECT_NE(refused.err.find("exists; use --force"), std::string::npos) << refused.err;
  EXPECT_EQ(test::ReadText(dir_ / "out.png"), "precious");
  EXPECT_EQ(Tavlix({"convert", "--force", Path("in.jpg"), Path("out.png")}).status, kExitOk);
  EXPECT_EQ(imaging::SniffFormat(test::ReadBytes(dir_ / "out.png")), PictureFormat::png);

  // A later page's name counts too, and is checked before anything is written.
  const imaging::Raster page = test::TestPicture(8, 8);
  test::WriteBytes(dir_ / "two.pdf", test::BoardPdfBytes({imaging::ViewOf(page), imaging::ViewOf(page)}));
  test::WriteFile(dir_ / "p_2.png", "precious");
  EXPECT_EQ(Tavlix({"convert", Path("two.pdf"), Path("p.png")}).status, kExitFailure);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "p.png"));
}

TEST_F(ConvertCommand, FailuresSayWhatWentWrong) {
  test::WriteFile(dir_ / "notes.txt", "hello");
  test::WriteFile(dir_ / "bad.pdf", "%PDF-1.4 but nothing the board writes");
  test::SavePictureFile(dir_ / "in.png", test::TestPicture(8, 8), PictureFormat::png);

  const CliRun foreign = Tavlix({"convert", Path("notes.txt"), Path("o.png")});
  EXPECT_EQ(foreign.status, kExitFailure);
  EXPECT_NE(foreign.err.find("neither a PDF nor a JPEG or PNG"), std::string::npos) << foreign.err;
  const CliRun bad = Tavlix({"convert", Path("bad.pdf"), Path("o.png")});
  EXPECT_EQ(bad.status, kExitFailure);
  EXPECT_NE(bad.err.find("cannot convert the PDF"), std::string::npos) << bad.err;
  EXPECT_EQ(Tavlix({"convert", Path("missing.png"), Path("o.png")}).status, kExitFailure);
  EXPECT_EQ(Tavlix({"convert", Path("in.png"), Path("o.gif")}).status, kExitUsage);
  EXPECT_EQ(Tavlix({"convert", Path("bad.pdf"), Path("o.pdf")}).status, kExitUsage);
  EXPECT_EQ(Tavlix({"convert", Path("in.png")}).status, kExitUsage);
  // A path from the root is a path on every system, never a Windows-style option.
  EXPECT_EQ(Tavlix({"convert", "/no/such.png", Path("o.png")}).status, kExitFailure);
  EXPECT_EQ(Tavlix({"convert", Path("in.png"), Path("o.png"), "--frobnicate"}).status, kExitUsage);
  EXPECT_EQ(test::FilesIn(dir_.path()), (std::vector<std::string>{"bad.pdf", "in.png", "notes.txt"}));

  const CliRun help = Tavlix({"convert", "--help"});
  EXPECT_EQ(help.status, kExitOk);
  EXPECT_NE(help.out.find("--force"), std::string::npos);
  EXPECT_NE(Tavlix({"--help"}).out.find("convert"), std::string::npos);
}

}  // namespace
}  // namespace tavlix::cli
