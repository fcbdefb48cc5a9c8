#include "board/picture_mark.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace tavlix::board {
namespace {

using std::chrono::milliseconds;

platform::WallTime At(int ms) {
  return platform::WallTime(milliseconds(1'600'000'000'000LL + ms));
}

// Takes what `mark` lets through, one picture a round, as the worker does.
std::vector<std::string> TakeAll(PictureMark& mark, const std::vector<BoardPicture>& listing) {
  std::vector<std::string> taken;
  for (int round = 0; round < 20; ++round) {
    std::vector<BoardPicture> unfinished = mark.Unfinished(listing);
    if (unfinished.empty()) break;
    mark.Finish(unfinished.front());
    taken.push_back(unfinished.front().name);
    unfinished.erase(unfinished.begin());
    mark.Settle(unfinished);
  }
  return taken;
}

TEST(PictureMark, PicturesWithOneCreationTimeAreEachTakenOnceAndTheTimeNeverPassesAnOpenOne) {
  PictureMark mark;
  mark.Prime({{"old.png", At(0)}, {"older.png", At(-10)}});
  // FAT keeps 10 ms: three pictures of one burst share a time.
  const std::vector<BoardPicture> listing = {{"old.png", At(0)}, {"d.jpg", At(20)}, {"c.png", At(10)},
                                             {"a.png", At(10)},  {"b.pdf", At(10)}, {"older.png", At(-10)}};
  EXPECT_EQ(TakeAll(mark, listing), (std::vector<std::string>{"a.png", "b.pdf", "c.png", "d.jpg"}));
  EXPECT_EQ(mark.time(), At(20));

  // One waiting (open) picture holds the time, however many pass it.
  const std::vector<BoardPicture> more = {{"e.png", At(30)}, {"f.png", At(40)}, {"g.png", At(50)}};
  mark.Open(more[0]);
  mark.Finish(more[1]);
  mark.Finish(more[2]);
  mark.Settle({more[0]});
  EXPECT_EQ(mark.Unfinished(more), std::vector<BoardPicture>{more[0]});
  mark.Finish(more[0]);
  mark.Settle({});
  EXPECT_EQ(mark.time(), At(50));
  EXPECT_TRUE(mark.Unfinished(more).empty());
  // The same name later is another picture.
  EXPECT_FALSE(mark.IsFinished({"f.png", At(60)}));
}

TEST(PictureMark, ARecordRoundTripsAndADamagedOneIsNone) {
  PictureMark mark;
  mark.Prime({{"x y:\n.png", At(5)}, {"z.png", At(5)}});
  mark.Open({"waiting.png", At(1)});
  mark.Finish({"later.jpg", At(9)});
  const std::string text = mark.ToText();
  EXPECT_EQ(PictureMark::FromText(text), mark);
  EXPECT_EQ(PictureMark::FromText(PictureMark().ToText()), PictureMark());
  for (std::size_t cut = 0; cut < text.size(); ++cut)
    EXPECT_FALSE(PictureMark::FromText(text.substr(0, cut))) << cut;
  std::string huge = text;
  huge.replace(huge.find("11:"), 3, "18446744073709551615:");
  EXPECT_FALSE(PictureMark::FromText(huge));
  std::string unknown = text;
  unknown.insert(unknown.find("end\n"), "gone 1 1:a\n");
  EXPECT_FALSE(PictureMark::FromText(unknown));
}

TEST(PictureMark, TakingOverKeepsTheNewerTimeTheOthersFinishedAndReopensWhatItLeftOpen) {
  PictureMark stale;  // started before the other collector saved anything
  stale.Prime({});
  PictureMark other;
  other.Prime({});
  other.Finish({"a.png", At(10)});
  other.Finish({"b.png", At(20)});
  other.Open({"c.png", At(30)});
  other.Settle({{"c.png", At(30)}});
  stale.TakeOver(other);
  const std::vector<BoardPicture> listing = {{"a.png", At(10)}, {"b.png", At(20)}, {"c.png", At(30)}};
  EXPECT_EQ(TakeAll(stale, listing), std::vector<std::string>{"c.png"});

  // A collector started after the picture left open counts it as old, yet
  // takes it from the record.
  PictureMark late;
  late.Prime(listing);
  late.TakeOver(other);
  EXPECT_EQ(late.time(), At(30));
  EXPECT_EQ(TakeAll(late, listing), std::vector<std::string>{"c.png"});
}

}  // namespace
}  // namespace tavlix::board
