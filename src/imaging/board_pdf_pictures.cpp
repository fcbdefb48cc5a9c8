#include "imaging/board_pdf_pictures.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <new>
#include <optional>
#include <system_error>
#include <thread>

#include "imaging/safe_save.h"

namespace tavlix::imaging {
namespace {

namespace fs = std::filesystem;

// An encoded picture held in memory until its turn to be written. Running out
// of memory is a failed write, never an exception through the encoder's C
// frames.
class BufferSink final : public platform::ByteSink {
 public:
  Status Write(std::span<const std::uint8_t> bytes) override {
    try {
      data_.insert(data_.end(), bytes.begin(), bytes.end());
    } catch (const std::bad_alloc&) {
      return Fail("not enough memory for the encoded picture");
    }
    return Success();
  }
  std::vector<std::uint8_t> Take() { return std::move(data_); }

 private:
  std::vector<std::uint8_t> data_;
};

struct EncodedPage {
  std::optional<Status> status;  // set once the page is done
  std::vector<std::uint8_t> file;
};

// Inflates and encodes one page into memory; `pixels` is the thread's page
// buffer, reused from page to page.
EncodedPage EncodePage(const BoardPdf& pdf, int page, PictureFormat format, const fs::path& target,
                       std::vector<std::uint8_t>& pixels) {
  try {
    const BoardPdfLayout& layout = pdf.layout;
    if (Status inflated = InflateBoardPdfPage(pdf.bytes, layout, page, pixels); !inflated)
      return {inflated, {}};
    const RasterView view{layout.width, layout.height, layout.pixel_layout(), pixels};
    BufferSink sink;
    if (Status encoded = EncodePicture(view, format, sink); !encoded)
      return {Fail(target.string() + ": " + encoded.error()), {}};
    return {Success(), sink.Take()};
  } catch (const std::exception&) {
    return {Fail(target.string() + ": not enough memory to convert the page"), {}};
  }
}

// The pages handed out to threads in order. A page is started only while
// fewer than `window` pages are started and not yet written, which bounds
// the memory in flight; a failure stops the handing out.
class PagePipeline {
 public:
  PagePipeline(const BoardPdf& pdf, std::span<const fs::path> paths, PictureFormat format, unsigned window)
      : pdf_(pdf), paths_(paths), format_(format), window_(window), pages_(pdf.layout.pages) {}

  PagePipeline(const PagePipeline&) = delete;
  PagePipeline& operator=(const PagePipeline&) = delete;

  ~PagePipeline() {
    {
      const std::lock_guard lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
    threads_.clear();  // joins
  }

  // Starts up to `count` threads; false when not even one could start.
  bool Start(unsigned count) {
    try {
      for (unsigned k = 0; k < count; ++k) threads_.emplace_back([this] { Work(); });
    } catch (const std::system_error&) {
    } catch (const std::bad_alloc&) {
    }
    return !threads_.empty();
  }

  // Waits for page `page` and takes its outcome.
  EncodedPage Take(int page) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return outcomes_[Index(page)].status.has_value(); });
    return std::move(outcomes_[Index(page)]);
  }

  // Page `page` is written: the next may start.
  void Written(int page) {
    {
      const std::lock_guard lock(mutex_);
      written_ = page + 1;
    }
    changed_.notify_all();
  }

 private:
  static std::size_t Index(int page) { return static_cast<std::size_t>(page); }

  void Work() {
    std::vector<std::uint8_t> pixels;
    for (;;) {
      int page = 0;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] {
          return stop_ || next_ >= pages_ || static_cast<unsigned>(next_ - written_) < window_;
        });
        if (stop_ || next_ >= pages_) return;
        page = next_++;
      }
      EncodedPage outcome = EncodePage(pdf_, page, format_, paths_[Index(page)], pixels);
      {
        const std::lock_guard lock(mutex_);
        if (!*outcome.status) stop_ = true;  // no later page is needed
        outcomes_[Index(page)] = std::move(outcome);
      }
      changed_.notify_all();
    }
  }

  const BoardPdf& pdf_;
  const std::span<const fs::path> paths_;
  const PictureFormat format_;
  const unsigned window_;
  const int pages_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::array<EncodedPage, kBoardPdfMaxPages> outcomes_{};  // guarded by mutex_
  int next_ = 0;                                           // guarded by mutex_
  int written_ = 0;                                        // guarded by mutex_
  bool stop_ = false;                                      // guarded by mutex_
  std::vector<std::jthread> threads_;                      // last: joined first
};

Status WriteEncoded(const fs::path& target, std::span<const std::uint8_t> file, SaveMode mode) {
  return WriteNewFile(
      target, [&](PendingFile& out) { return out.Write(file); }, mode);
}

// One page after the other on the calling thread, each encoded straight into
// its temporary file.
Status SaveInTurn(const BoardPdf& pdf, std::span<const fs::path> paths, PictureFormat format, SaveMode mode,
                  std::vector<fs::path>* saved) {
  const BoardPdfLayout& layout = pdf.layout;
  std::vector<std::uint8_t> pixels;
  for (int page = 0; page < layout.pages; ++page) {
    if (Status inflated = InflateBoardPdfPage(pdf.bytes, layout, page, pixels); !inflated) return inflated;
    const RasterView view{layout.width, layout.height, layout.pixel_layout(), pixels};
    const fs::path& target = paths[static_cast<std::size_t>(page)];
    if (Status written = SavePicture(view, format, target, mode); !written) return written;
    if (saved != nullptr) saved->push_back(target);
  }
  return Success();
}

}  // namespace

unsigned BoardPdfPageThreads(unsigned requested, int pages, std::size_t page_bytes) {
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  unsigned threads = std::min(requested > 0 ? requested : cores, static_cast<unsigned>(std::max(pages, 1)));
  // A page in flight holds its pixels and, until written, its encoded file,
  // which for a picture that does not compress is about as large again.
  const std::size_t in_budget = kRasterBudgetBytes / std::max<std::size_t>(2 * page_bytes, 1);
  threads = static_cast<unsigned>(std::min<std::size_t>(threads, in_budget));
  return std::max(threads, 1u);
}

Status SaveBoardPdfPages(const BoardPdf& pdf, std::span<const fs::path> page_paths, PictureFormat format,
                         SaveMode mode, std::vector<fs::path>* saved, unsigned threads) {
  const BoardPdfLayout& layout = pdf.layout;
  if (layout.pages < 0 || layout.pages > kBoardPdfMaxPages) return Fail("a board PDF holds 1 to 4 pages");
  if (page_paths.size() < static_cast<std::size_t>(layout.pages))
    return Fail("a name for every page is needed");
  const auto page_bytes = CheckedPixelBytes(layout.width, layout.height, layout.pixel_layout());
  if (!page_bytes) return page_bytes.failure();
  const unsigned count = BoardPdfPageThreads(threads, layout.pages, *page_bytes);
  if (count < 2) return SaveInTurn(pdf, page_paths, format, mode, saved);

  PagePipeline pipeline(pdf, page_paths, format, count);
  if (!pipeline.Start(count)) return SaveInTurn(pdf, page_paths, format, mode, saved);
  for (int page = 0; page < layout.pages; ++page) {
    const EncodedPage encoded = pipeline.Take(page);
    if (!*encoded.status) return *encoded.status;
    const fs::path& target = page_paths[static_cast<std::size_t>(page)];
    if (Status written = WriteEncoded(target, encoded.file, mode); !written) return written;
    if (saved != nullptr) saved->push_back(target);
    pipeline.Written(page);
  }
  return Success();
}

}  // namespace tavlix::imaging
