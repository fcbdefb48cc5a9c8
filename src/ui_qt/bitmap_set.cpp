#include "ui_qt/bitmap_set.h"

#include <QString>
#include <map>

// The resources live in a static library: register them before the first use.
static void RegisterPictureResources() {
  Q_INIT_RESOURCE(tavlixconnect);
}

namespace tavlix::ui_qt {
namespace {

void EnsureResources() {
  static const bool registered = (RegisterPictureResources(), true);
  (void)registered;
}

}  // namespace

const QPixmap& LoadBitmapById(int id) {
  static std::map<int, QPixmap> cache;
  if (const auto it = cache.find(id); it != cache.end()) return it->second;
  EnsureResources();
  return cache.emplace(id, QPixmap(QStringLiteral(":/bitmaps/%1.bmp").arg(id))).first->second;
}

const QIcon& ProgramIcon() {
  static const QIcon icon = [] {
    EnsureResources();
    QIcon i;
    for (const int size : {16, 32, 48, 64, 96, 256})
      i.addFile(QStringLiteral(":/icons/tavlixconnect-%1.png").arg(size));
    return i;
  }();
  return icon;
}

}  // namespace tavlix::ui_qt
