#include "board/command_files.h"

#include <gtest/gtest.h>

#include "board/link_state.h"
#include "support/recording_target.h"
#include "support/temp_dir.h"

namespace tavlix::board {
namespace {

using test::Note;
using Bytes = std::vector<std::uint8_t>;

Bytes Result(std::uint8_t status, std::uint8_t detail) {
  Bytes b = {0x01, 0x23, 0x45, 0x67, status, detail};
  for (std::uint8_t i = 0; i < 12; ++i) b.push_back(static_cast<std::uint8_t>(0x10 + i));
  b.push_back(0xEE);
  return b;
}

class Parsing : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetLinkStateForTests();
    Link().hWnd_Form = &target_;
  }
  void TearDown() override { ResetLinkStateForTests(); }
  TResultFile Last() {
    TResultFile r;
    GetLastResult(r);
    return r;
  }
  test::RecordingTarget target_;
};

TEST_F(Parsing, FillsEveryFieldBigEndian) {
  Bytes b = Result(0, 0);
  b[6] = 0x01;
  b[7] = 0x02;
  EXPECT_EQ(ParseReceiveCommand(b), kParsedResult);
  const TResultFile r = Last();
  EXPECT_EQ(r.Magic, 0x01234567);
  EXPECT_EQ(r.Value1, 258);
  EXPECT_EQ(r.Value2, 0x1213);
  EXPECT_EQ(r.Value6, 0x1A1B);
  EXPECT_EQ(r.Tail, 0xEE);
  EXPECT_TRUE(target_.notes().empty()) << "status 0 reports nothing";
}

TEST_F(Parsing, StatusAndDetailMapToNotifications) {
  struct Case {
    std::uint8_t status, detail;
    int code;
  };
  const Case cases[] = {
      {2, 0, BOARD_BUSY},      {2, 9, BOARD_BUSY},        {3, 1, BOARD_ERR_E4},      {3, 2, BOARD_ERR_E5},
      {3, 3, BOARD_ERR_FL},    {3, 4, BOARD_ERR_OTHER},   {3, 5, BOARD_ERR_E3},      {3, 6, BOARD_ERR_OTHER},
      {3, 0, BOARD_ERR_OTHER}, {3, 7, BOARD_ERR_OTHER},   {3, 255, BOARD_ERR_OTHER}, {1, 1, BOARD_ERR_OTHER},
      {4, 0, BOARD_ERR_OTHER}, {255, 3, BOARD_ERR_OTHER},
  };
  for (const Case& c : cases) {
    target_.clear();
    EXPECT_EQ(ParseReceiveCommand(Result(c.status, c.detail)), kParsedResult);
    EXPECT_EQ(target_.notes(), (std::vector<Note>{{c.code, 1}}))
        << "status " << int{c.status} << " detail " << int{c.detail};
    EXPECT_EQ(Last().Status, c.status);
    EXPECT_EQ(Last().Detail, c.detail);
  }
}

TEST_F(Parsing, NotificationComesFirstSoCleanResultInTheHandlerKeepsTheNewResult) {
  Link().CurrentProgress = 7;
  TResultFile seen_in_handler;
  target_.on_note = [&](const Note&) {
    GetLastResult(seen_in_handler);
    CleanResult();
  };
  ParseReceiveCommand(Result(0, 0));  // an earlier result sits in the record
  ParseReceiveCommand(Result(3, 2));
  EXPECT_EQ(seen_in_handler.Status, 0) << "the handler ran before the record was filled";
  EXPECT_EQ(Last().Status, 3);
  EXPECT_EQ(Last().Detail, 2);
  EXPECT_EQ(Last().Magic, 0x01234567);
  EXPECT_EQ(GetProgress(), 7) << "a result leaves CurrentProgress alone";
}

TEST_F(Parsing, WithoutMagicOnlyTheSizeIsKept) {
  ParseReceiveCommand(Result(3, 1));
  target_.clear();
  const TResultFile before = Last();
  const Bytes other = {0x01, 0x23, 0x45, 0x66, 3, 1, 0, 0};
  EXPECT_EQ(ParseReceiveCommand(other), kParsedOther);
  EXPECT_EQ(GetProgress(), 8);
  const Bytes short_magic = {0x01, 0x23, 0x45};
  EXPECT_EQ(ParseReceiveCommand(short_magic), kParsedOther);
  EXPECT_EQ(GetProgress(), 3);
  EXPECT_EQ(ParseReceiveCommand({}), kParsedOther);
  EXPECT_EQ(GetProgress(), 0);
  EXPECT_EQ(Last(), before);
  EXPECT_TRUE(target_.notes().empty());
}

TEST_F(Parsing, ShortResultGivesZeroForMissingFields) {
  ParseReceiveCommand(Result(0, 0));
  const Bytes short_result = {0x01, 0x23, 0x45, 0x67, 2, 0, 0xAB};
  EXPECT_EQ(ParseReceiveCommand(short_result), kParsedResult);
  const TResultFile r = Last();
  EXPECT_EQ(r.Status, 2);
  EXPECT_EQ(r.Value1, 0xAB00);
  EXPECT_EQ(r.Value2, 0);
  EXPECT_EQ(r.Tail, 0);
  const Bytes magic_only = {0x01, 0x23, 0x45, 0x67};
  EXPECT_EQ(ParseReceiveCommand(magic_only), kParsedResult);
  EXPECT_EQ(Last(), (TResultFile{0x01234567, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(Parsing, CleanResultZeroesTheRecord) {
  ParseReceiveCommand(Result(3, 3));
  CleanResult();
  EXPECT_EQ(Last(), TResultFile{});
}

TEST(DeleteFiles, DeleteOnlyWhatExistsUnderTheDriveRoot) {
  test::TempDir dir;
  const std::string root = (dir.path() / "").string();
  std::filesystem::create_directory(dir / "cmd");
  for (const char* name : {"boardctrl.bin", "progress.bin", "result.bin"})
    test::WriteFile(dir / "cmd" / name, "x");
  EXPECT_TRUE(DeleteCommandFile(root));
  EXPECT_TRUE(DeleteProgressFile(root));
  EXPECT_TRUE(DeleteResultFile(root));
  EXPECT_FALSE(std::filesystem::exists(dir / "cmd" / "result.bin"));
  EXPECT_FALSE(DeleteCommandFile(root));
  EXPECT_FALSE(DeleteProgressFile(root));
  EXPECT_FALSE(DeleteResultFile(root));
}

}  // namespace
}  // namespace tavlix::board
