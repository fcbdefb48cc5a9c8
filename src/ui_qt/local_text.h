// Texts of the settings and the localisation file are 8-bit, in the system's
// code page (UTF-8 on Linux); the widgets take QString. Pure.
#pragma once

#include <QString>
#include <string>

namespace tavlix::ui_qt {

inline QString FromLocal(const std::string& text) {
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToLocal(const QString& text) {
  return text.toLocal8Bit().toStdString();
}

}  // namespace tavlix::ui_qt
