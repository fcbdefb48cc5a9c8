#include "board/driver_facade.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "board/command_files.h"
#include "board_fixture.h"

namespace tavlix::board {
namespace {

using test::Note;
using Notes = std::vector<Note>;

class Facade : public test::BoardFixture {
 protected:
  void SetUp() override {
    BoardFixture::SetUp();
    ResetDriverForTests();
    Link().hWnd_Form = nullptr;
    SetMessagePump([this] {
      ++pumps_;
      if (on_pump) on_pump(pumps_);
      target_.Pump();
    });
  }
  void TearDown() override {
    ResetDriverForTests();
    BoardFixture::TearDown();
  }

  // Waits (really) until `done`, pumping the window's queue; false on time-out.
  template <typename Done>
  bool PumpUntil(Done done) {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
      if (std::chrono::steady_clock::now() > give_up) return false;
      target_.WaitAndPump(std::chrono::milliseconds(1));
    }
    return true;
  }

  // With the worker thread running, the hand-over's time-out must leave it
  // real time to take a turn, however busy the machine: time runs ten times
  // faster than real, not as fast as the waiting thread can yield.
  static void UseWorkerClock() { platform::SetClock(std::make_shared<platform::ScaledClock>(10)); }

  static std::vector<std::uint8_t> Command(std::uint8_t code) { return {0x01, 0x23, 0x45, 0x67, code}; }

  int pumps_ = 0;
  std::function<void(int)> on_pump;
};

TEST_F(Facade, QueuedWritesAnswerBusyAndTooLong) {
  const auto scan = Command(CMD_SCAN);
  EXPECT_EQ(Write(scan, 0, false), kWriteHandedOver);
  const auto feed = Command(CMD_FEED);
  EXPECT_EQ(Write(feed, 0, false), kWriteBusy);
  EXPECT_EQ(Link().WriteBuffer[4], CMD_SCAN) << "the waiting command is untouched";
  const std::vector<std::uint8_t> too_long(257, 0);
  EXPECT_EQ(Write(too_long, 0, false), kWriteBusy) << "a waiting command is checked first";
  Link().WriteRequest = kMailboxEmpty;
  EXPECT_EQ(Write(too_long, 0, false), kWriteTooLong);
  EXPECT_EQ(Link().WriteRequest.load(), kMailboxEmpty);
  const std::vector<std::uint8_t> longest(256, 7);
  EXPECT_EQ(Write(longest, 0, false), kWriteHandedOver);
  EXPECT_EQ(Link().WriteBufferSize.load(), 256);
}

TEST_F(Facade, SynchronousWriteNobodyTakesGivesUpAtThe201stStep) {
  const auto scan = Command(CMD_SCAN);
  EXPECT_EQ(Write(scan, 2000, true), kWriteTimedOut);
  EXPECT_EQ(pumps_, 201);
  EXPECT_EQ(clock_->TotalSlept(), platform::Millis(2010));
  EXPECT_EQ(Link().WriteRequest.load(), kMailboxEmpty) << "the command was withdrawn";
}

TEST_F(Facade, CommandClaimedAtTheLastMomentCountsAsHandedOver) {
  on_pump = [](int pump) {
    if (pump == 201) Link().WriteRequest = kMailboxClaimed;  // the worker takes it now
    if (pump == 204) Link().WriteRequest = kMailboxEmpty;    // and has written it
  };
  const auto scan = Command(CMD_SCAN);
  EXPECT_EQ(Write(scan, 2000, true), kWriteHandedOver);
  EXPECT_EQ(pumps_, 204);
}

TEST_F(Facade, WriteCommandRetriesOnlyWithTheBoardPresentAndTakesTheTurn) {
  Unplug();
  EXPECT_EQ(WriteCommand(CMD_SCAN, 100, true), kWriteTimedOut);
  EXPECT_EQ(pumps_, 11) << "no second attempt without a board";
  EXPECT_FALSE(IsConnected());

  Plug();
  MakeCmd();
  Hide();
  pumps_ = 0;
  Link().hWnd_Form = &target_;
  EXPECT_EQ(WriteCommand(CMD_FEED, 100, true), kWriteTimedOut);
  EXPECT_EQ(pumps_, 22) << "one retry";
  EXPECT_TRUE(IsConnected());
  EXPECT_FALSE(Hidden()) << "the folder was taken back from the board";
  EXPECT_EQ(target_.notes(), (Notes{{BOARD_FOUND, kBoardFound}}));
}

TEST_F(Facade, InitOpenScanAndHandOverThroughTheWorkerThread) {
  UseWorkerClock();
  MakeCmd();
  ASSERT_TRUE(DriverInit(&target_));
  EXPECT_EQ(target_.notes(), (Notes{{BOARD_FOUND, kBoardFound}})) << "nested, during DriverInit";
  EXPECT_FALSE(DriverInit(nullptr));
  EXPECT_EQ(Link().hWnd_Form.load(), &target_);
  EXPECT_TRUE(OfferSetting(settings::OutputFormat::png, save_.string()));
  EXPECT_EQ(*DriverWorker()->SavePath(), save_.string());
  EXPECT_TRUE(DriverOpen());

  SetFlgAppScanTimeout(true);
  SetFlgAppScan(true);
  EXPECT_TRUE(GetFlgAppScan());
  EXPECT_EQ(WriteCommand(CMD_SCAN, 2000, true), kWriteHandedOver);
  EXPECT_EQ(test::ReadBytes(Cmd() / "boardctrl.bin"), Command(CMD_SCAN));
  ASSERT_TRUE(PumpUntil([&] { return Hidden(); }));
  SetFlgAppScan(false);
  const auto notes = target_.notes();
  EXPECT_EQ(ArgsOf(notes, BOARD_FOUND).size(), 1u) << "the first cycle sends no second BOARD_FOUND";
  EXPECT_EQ(notes.back(), (Note{BOARD_PROGRESS, -1}));
  EXPECT_TRUE(DriverUninit());
  EXPECT_FALSE(DriverClose()) << "no thread after DriverUninit";
  EXPECT_FALSE(DriverInit(&target_)) << "the link is set up once";
}

TEST_F(Facade, ClosedWorkerParksAndStaysQuietUntilOpenedAgain) {
  UseWorkerClock();
  ASSERT_TRUE(DriverInit(&target_));
  ASSERT_TRUE(DriverOpen());
  ASSERT_TRUE(DriverClose());
  ASSERT_TRUE(DriverClose());
  ASSERT_TRUE(PumpUntil([] { return DriverWorker()->IsParked(); }));
  target_.clear();
  Unplug();  // would be BOARD_LOST at the next cycle
  for (int i = 0; i < 50; ++i) target_.WaitAndPump(std::chrono::milliseconds(1));
  EXPECT_TRUE(target_.notes().empty());
  EXPECT_TRUE(DriverWorker()->IsParked());

  ASSERT_TRUE(DriverOpen());  // once is enough after two closes
  ASSERT_TRUE(PumpUntil([&] { return !target_.notes().empty(); }));
  EXPECT_EQ(target_.notes().front(), (Note{BOARD_LOST, 1}));
}

TEST_F(Facade, ReadEndsByItsTimeOut) {
  std::array<std::uint8_t, 8> buffer{};
  int size = 99;
  EXPECT_EQ(Read(buffer, size, 50), kReadTimedOut);
  EXPECT_EQ(size, 0);
  EXPECT_FALSE(Link().ReadRequest.load());
  EXPECT_EQ(ReadCommand(), 0);
}

TEST_F(Facade, UninitStopsAWorkerThatIsWaitingForTheWindow) {
  SetNotifyDeliveryBound(std::chrono::milliseconds(200));
  ASSERT_TRUE(DriverInit(&target_));
  ASSERT_TRUE(DriverOpen());
  Unplug();  // the worker will send BOARD_LOST to a window that never pumps
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(DriverUninit());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  SetNotifyDeliveryBound(kNotifyDeliveryBound);
}

}  // namespace
}  // namespace tavlix::board
