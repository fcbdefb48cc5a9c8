#include <gtest/gtest.h>

#include <memory>

#include "picture_fixture.h"

namespace tavlix::board {
namespace {

using imaging::PictureFormat;
namespace fs = std::filesystem;

class PictureHandOver : public test::PictureTest {
 protected:
  std::unique_ptr<test::PictureWorker> Collector() {
    auto worker = std::make_unique<test::PictureWorker>(&target_);
    worker->ChangeImageFileSetting(settings::OutputFormat::png, save_.string());
    worker->SetPictureRecord(record_);
    return worker;
  }
  // Runs picture checks, a second apart, until one takes nothing.
  void Collect(TCommunicationThread& worker) {
    for (int i = 0; i < 8 && worker.CheckImageFile(true); ++i) clock_->Advance(std::chrono::seconds(1));
  }
  fs::path record_ = dir_ / "board.pictures";
};

TEST_F(PictureHandOver, TheNextCollectorNeitherCopiesAgainNorSkipsWhatTheLastLeftOpen) {
  // worker_ waits from the start (its time stays before every picture).
  auto first = Collector();
  const fs::path a = PutPictureOnBoard("a.png", PictureFormat::png, 1);
  const fs::path b = PutPictureOnBoard("b.png", PictureFormat::png, 2);
  Collect(*first);
  ASSERT_EQ(Saved().size(), 2u);
  // A picture the board is still writing when the first collector ends.
  const std::string whole = test::ReadText(a);
  const fs::path c = PutOnBoard("c.png", whole.substr(0, whole.size() - 12));
  EXPECT_FALSE(first->CheckImageFile(true));
  first.reset();

  // Started after c was on the board: c would count as an old picture.
  auto next = Collector();
  test::WriteFile(c, whole);
  Collect(*next);
  EXPECT_EQ(Saved().size(), 3u) << "c taken by the next collector";

  worker_.SetPictureRecord(record_);
  Collect(worker_);
  EXPECT_EQ(Saved().size(), 3u) << "nothing copied again";
  PutPictureOnBoard("d.png", PictureFormat::png, 4);
  Collect(worker_);
  EXPECT_EQ(Saved().size(), 4u);
}

}  // namespace
}  // namespace tavlix::board
