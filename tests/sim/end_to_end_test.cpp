#include <gtest/gtest.h>

#include "end_to_end_fixture.h"
#include "platform/attributes.h"
#include "support/odd_files.h"

namespace tavlix::board {
namespace {

using sim::FaultKind;
using sim::PictureKind;

class ScanRoad : public test::EndToEnd {};

TEST_F(ScanRoad, EveryPictureKindLandsInEveryOutputFormat) {
  struct Case {
    PictureKind kind;
    int pages;
    bool grey;
    settings::OutputFormat format;
    std::vector<std::string> extensions;  // of the files one scan leaves
  };
  const Case cases[] = {
      {PictureKind::png, 1, false, settings::OutputFormat::png, {".png"}},
      {PictureKind::png, 1, false, settings::OutputFormat::jpeg, {".jpg"}},
      {PictureKind::png, 1, false, settings::OutputFormat::pdf, {".pdf"}},
      {PictureKind::png, 1, false, settings::OutputFormat::board, {".png"}},
      {PictureKind::jpeg, 1, false, settings::OutputFormat::board, {".jpg"}},
      {PictureKind::jpeg, 1, true, settings::OutputFormat::png, {".png"}},
      {PictureKind::pdf, 1, false, settings::OutputFormat::board, {".pdf"}},
      {PictureKind::pdf, 3, true, settings::OutputFormat::png, {".png", "_2.png", "_3.png"}},
      {PictureKind::pdf, 2, false, settings::OutputFormat::jpeg, {".jpg", "_2.jpg"}},
  };
  auto options = BoardOptions();
  StartBoard(options);
  StartLink(settings::OutputFormat::png);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(sim::PictureExtension(c.kind)) + " pages " + std::to_string(c.pages) +
                 " format " + std::to_string(settings::FormatCode(c.format)));
    board_->SetPicture({c.kind, c.pages, c.grey, 96, 64});
    OfferSetting(c.format, save_.string());
    const auto before = SavedNames();
    const std::size_t from = Scan();
    ASSERT_TRUE(PumpUntilNote(from, 0));
    EXPECT_EQ(CodesFrom(from),
              (std::vector<int>{BOARD_JOB_BEGIN, BOARD_IMAGE_SAVED, BOARD_JOB_END, BOARD_PROGRESS}));
    std::vector<std::string> added;
    for (const auto& name : SavedNames())
      if (!before.count(name)) added.push_back(name);
    ASSERT_EQ(added.size(), c.extensions.size());
    const std::string stem = added[0].substr(0, 15);  // yyyymmdd_hhmmss
    for (const auto& ext : c.extensions) {
      const bool found = std::any_of(added.begin(), added.end(), [&](const std::string& n) {
        return n.size() >= ext.size() && n.compare(n.size() - ext.size(), ext.size(), ext) == 0 &&
               n.rfind(stem, 0) == 0;
      });
      EXPECT_TRUE(found) << ext;
    }
    EXPECT_FALSE(GetFlgAppScan());
  }
  expected_opened_ = std::size(cases);
  EXPECT_EQ(OpenedCount(), std::size(cases)) << "each saved picture is opened once";
}

TEST_F(ScanRoad, BoardAnswersEndTheScanWithTheirNotification) {
  const struct {
    sim::Fault fault;
    std::vector<int> codes;
  } cases[] = {
      {{FaultKind::busy, 0, {}}, {BOARD_JOB_BEGIN, BOARD_BUSY, BOARD_JOB_END, BOARD_PROGRESS}},
      {{FaultKind::error, 1, {}}, {BOARD_JOB_BEGIN, BOARD_ERR_E4, BOARD_JOB_END, BOARD_PROGRESS}},
      {{FaultKind::error, 2, {}}, {BOARD_JOB_BEGIN, BOARD_ERR_E5, BOARD_JOB_END, BOARD_PROGRESS}},
      {{FaultKind::error, 3, {}}, {BOARD_JOB_BEGIN, BOARD_ERR_FL, BOARD_JOB_END, BOARD_PROGRESS}},
      {{FaultKind::error, 5, {}}, {BOARD_JOB_BEGIN, BOARD_ERR_E3, BOARD_JOB_END, BOARD_PROGRESS}},
      {{FaultKind::error, 4, {}}, {BOARD_JOB_BEGIN, BOARD_ERR_OTHER, BOARD_JOB_END, BOARD_PROGRESS}},
      {{FaultKind::unknown_status, 7, {}}, {BOARD_JOB_BEGIN, BOARD_ERR_OTHER, BOARD_JOB_END, BOARD_PROGRESS}},
  };
  StartBoard(BoardOptions());
  StartLink(settings::OutputFormat::png);
  for (const auto& c : cases) EXPECT_EQ(ScanWithFault(c.fault, 0), c.codes) << sim::DescribeFault(c.fault);
  EXPECT_TRUE(SavedNames().empty());
}

TEST_F(ScanRoad, BoardsThatStopAnsweringAreTimedOut) {
  const struct {
    sim::Fault fault;
  } cases[] = {
      {{FaultKind::never_release, 0, {}}},
      {{FaultKind::stall, 40, {}}},
      {{FaultKind::bad_magic, 0, {}}},  // no answer the computer understands: the progress stands
  };
  StartBoard(BoardOptions());
  StartLink(settings::OutputFormat::png);
  for (const auto& c : cases) {
    EXPECT_EQ(ScanWithFault(c.fault, BOARD_TIMEOUT),
              (std::vector<int>{BOARD_JOB_BEGIN, BOARD_JOB_END, BOARD_PROGRESS, BOARD_TIMEOUT}))
        << sim::DescribeFault(c.fault);
    // The board keeps the folder after never-release; give it back for the next case.
    platform::SetAttributes(dir_ / "board" / "cmd", platform::kAttrNormal);
  }
}

TEST_F(ScanRoad, CommandFolderThatCannotBeMadeTimesOut) {
  if (!test::MakesLinksIn(dir_.path()))
    GTEST_SKIP() << "the board blocks the folder with a link; this system makes none";
  // 300 cycles of a second each: compress time further.
  platform::SetClock(std::make_shared<platform::ScaledClock>(500));
  StartBoard(BoardOptions());
  StartLink(settings::OutputFormat::png);
  board_->SetNextFault({FaultKind::no_cmd_folder, 0, {}});
  SetFlgAppScanTimeout(true);
  SetFlgAppScan(true);
  WriteCommand(CMD_SCAN, 0, false);
  ASSERT_TRUE(PumpUntilNote(0, BOARD_TIMEOUT));
  EXPECT_EQ(test::ArgsOf(target_.notes(), BOARD_JOB_END).size(), 1u);
}

TEST_F(ScanRoad, BoardVanishingEarlyOrLateIsDetachedAsSoonAsItsAbsenceIsSeen) {
  StartBoard(BoardOptions());
  StartLink(settings::OutputFormat::png);
  for (const sim::Fault fault :
       {sim::Fault{FaultKind::vanish, 50, {}}, sim::Fault{FaultKind::vanish, 75, platform::Millis(3000)}}) {
    board_->SetNextFault(fault);
    const std::size_t from = Scan();
    ASSERT_TRUE(PumpUntilNote(from, BOARD_DETACHED))
        << sim::DescribeFault(fault) << " " << testing::PrintToString(CodesFrom(from));
    target_.Pump();
    // Told before a board that comes back could be found again.
    EXPECT_EQ(CodesFrom(from),
              (std::vector<int>{BOARD_JOB_BEGIN, BOARD_LOST, BOARD_DETACHED, BOARD_JOB_END, BOARD_PROGRESS}));
    board_->Plug();
    ASSERT_TRUE(PumpUntilNote(from, BOARD_FOUND));  // the next scan finds it
  }
}

TEST_F(ScanRoad, PictureStoredWhileIdleIsCollected) {
  StartBoard(BoardOptions());
  board_->StorePicture();  // old: on the board before the link starts
  StartLink(settings::OutputFormat::png);
  const std::size_t from = target_.notes().size();
  board_->StorePicture();
  ASSERT_TRUE(PumpUntilNote(from, BOARD_IMAGE_SAVED));
  EXPECT_EQ(SavedNames().size(), 1u) << "only the new picture";
}

}  // namespace
}  // namespace tavlix::board
