#include "imaging/board_pdf_writer.h"

#include <zlib.h>

#include <cstdio>
#include <map>
#include <string>

#include "imaging/narrow_length.h"

namespace tavlix::imaging {
namespace {

class PdfBuilder {
 public:
  void Text(const std::string& text) { bytes_.insert(bytes_.end(), text.begin(), text.end()); }
  void Raw(std::span<const std::uint8_t> data) { bytes_.insert(bytes_.end(), data.begin(), data.end()); }
  void BeginObject(int number) {
    offsets_[number] = bytes_.size();
    Text(std::to_string(number) + " 0 obj\n");
  }
  std::size_t size() const { return bytes_.size(); }
  std::size_t OffsetOf(int number) const { return offsets_.at(number); }
  std::vector<std::uint8_t> Take() { return std::move(bytes_); }

  // One subsection of a cross-reference table: objects first .. first+count-1.
  void Subsection(int first, int count) {
    Text(std::to_string(first) + " " + std::to_string(count) + "\n");
    for (int number = first; number < first + count; ++number) Entry(OffsetOf(number), 0, 'n');
  }
  void Entry(std::size_t offset, int generation, char kind) {
    char line[21];
    std::snprintf(line, sizeof line, "%010zu %05d %c\r\n", offset, generation, kind);
    Text(std::string(line, 20));
  }

 private:
  std::vector<std::uint8_t> bytes_;
  std::map<int, std::size_t> offsets_;
};

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

// Writes the page's Page, image, contents and a marker object, in that order,
// so that the contents object follows the image and bounds it.
Status WritePageObjects(PdfBuilder& pdf, const RasterView& page, int page_object, int number,
                        int zlib_level) {
  const std::size_t raw = std::size_t{page.width} * page.height * BytesPerPixel(page.layout);
  const auto raw_length = NarrowLength(raw);
  if (!raw_length) return Fail("page " + std::to_string(number) + " is too large to compress");
  std::vector<std::uint8_t> packed(compressBound(*raw_length));
  auto packed_size = static_cast<uLongf>(packed.size());  // compressBound's own type: it fits
  if (compress2(packed.data(), &packed_size, page.pixels.data(), *raw_length, zlib_level) != Z_OK)
    return Fail("cannot compress page " + std::to_string(number));
  packed.resize(packed_size);

  // 300 pixels an inch.
  const double width_pt = page.width * 72.0 / 300.0;
  const double height_pt = page.height * 72.0 / 300.0;
  const std::string image_name = "/Im" + std::to_string(number);
  pdf.BeginObject(page_object);
  pdf.Text("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + Number(width_pt) + " " + Number(height_pt) +
           "] /Resources << /XObject << " + image_name + " " + std::to_string(page_object + 1) +
           " 0 R >> >> /Contents " + std::to_string(page_object + 2) + " 0 R >>\nendobj\n");

  pdf.BeginObject(page_object + 1);
  pdf.Text("<< /Type /XObject /Subtype /Image /Width " + std::to_string(page.width) + " /Height " +
           std::to_string(page.height) + " /ColorSpace " +
           (page.layout == PixelLayout::grey8 ? "/DeviceGray" : "/DeviceRGB") +
           " /BitsPerComponent 8 /Filter /FlateDecode /Length " + std::to_string(packed.size()) +
           " >>\nstream\r\n");
  pdf.Raw(packed);
  pdf.Text("\r\nendstream\nendobj\n");

  const std::string contents =
      "q " + Number(width_pt) + " 0 0 " + Number(height_pt) + " 0 0 cm " + image_name + " Do Q";
  pdf.BeginObject(page_object + 2);
  pdf.Text("<< /Length " + std::to_string(contents.size()) + " >>\nstream\r\n" + contents +
           "\r\nendstream\nendobj\n");

  pdf.BeginObject(page_object + 3);
  pdf.Text("<< /Producer (TavlixConnect board) /Page " + std::to_string(number) + " >>\nendobj\n");
  return Success();
}

std::string PagesObject(int pages) {
  std::string kids;
  for (int k = 0; k < pages; ++k)
    kids += (k ? " " : "") + std::to_string(k == 0 ? 3 : 7 + 4 * (k - 1)) + " 0 R";
  return "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages) + " >>\nendobj\n";
}

}  // namespace

Result<std::vector<std::uint8_t>> WriteBoardPdf(std::span<const RasterView> pages, int zlib_level) {
  if (pages.empty() || pages.size() > 4) return Fail("a board PDF holds 1 to 4 pages");
  for (const RasterView& page : pages)
    if (!IsComplete(page)) return Fail("a page has no pixels");

  PdfBuilder pdf;
  pdf.Text("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
  // The first section: catalog 1, pages 2, page 3, image 4, contents 5,
  // marker 6. /Size 7.
  pdf.BeginObject(1);
  pdf.Text("<< /Type /Catalog /Pages 2 0 R >>\nendobj\n");
  pdf.BeginObject(2);
  pdf.Text(PagesObject(1));
  if (Status written = WritePageObjects(pdf, pages[0], 3, 1, zlib_level); !written) return written.failure();
  std::size_t xref = pdf.size();
  pdf.Text("xref\n0 7\n");
  pdf.Entry(0, 65535, 'f');
  for (int number = 1; number <= 6; ++number) pdf.Entry(pdf.OffsetOf(number), 0, 'n');
  pdf.Text("trailer\n<< /Size 7 /Root 1 0 R /Info 6 0 R >>\nstartxref\n" + std::to_string(xref) +
           "\n%%EOF\n");

  // Each further page: an update with the page list 2 rewritten and the
  // page's four objects.
  for (std::size_t k = 1; k < pages.size(); ++k) {
    const int count = static_cast<int>(k) + 1;
    const int first = 7 + 4 * (count - 2);
    pdf.BeginObject(2);
    pdf.Text(PagesObject(count));
    if (Status written = WritePageObjects(pdf, pages[k], first, count, zlib_level); !written)
      return written.failure();
    const std::size_t previous = xref;
    xref = pdf.size();
    pdf.Text("xref\n0 1\n");
    pdf.Entry(0, 65535, 'f');
    pdf.Subsection(2, 1);
    pdf.Subsection(first, 4);
    pdf.Text("trailer\n<< /Size " + std::to_string(first + 4) + " /Root 1 0 R /Info " +
             std::to_string(first + 3) + " 0 R /Prev " + std::to_string(previous) + " >>\nstartxref\n" +
             std::to_string(xref) + "\n%%EOF\n");
  }
  return pdf.Take();
}

}  // namespace tavlix::imaging
