// The board fixture with a worker on it, the command folder made and an
// operation started the way Scan and Feed start one.
#pragma once

#include <memory>

#include "board/command_files.h"
#include "board/communication_thread.h"
#include "board/driver_facade.h"
#include "board_fixture.h"

namespace tavlix::test {

class WorkerFixture : public BoardFixture {
 protected:
  void SetUp() override {
    BoardFixture::SetUp();
    MakeCmd();
    worker_ = std::make_unique<board::TCommunicationThread>(&target_);
    worker_->ChangeImageFileSetting(settings::OutputFormat::png, save_.string());
    target_.clear();
  }

  // Starts an operation the way Scan does, with the command queued.
  void StartScan(std::uint8_t command = board::CMD_SCAN) {
    worker_->SetFlgAppScanTimeout(command == board::CMD_SCAN);
    worker_->SetFlgAppScan(true);
    const std::uint8_t bytes[] = {0x01, 0x23, 0x45, 0x67, command};
    ASSERT_EQ(board::Write(bytes, 0, false), board::kWriteHandedOver);
    target_.clear();
  }

  std::unique_ptr<board::TCommunicationThread> worker_;
};

}  // namespace tavlix::test
