#pragma once
// Text between the headless controls (UTF-8 std::string) and Qt (QString).

#include <QString>
#include <string>

namespace condpag::ui {

inline QString qstr(const std::string& text) { return QString::fromStdString(text); }
inline std::string sstr(const QString& text) { return text.toStdString(); }

// One twip is 1/15 of a pixel at 96 dpi.
inline constexpr int kTwipsPerPixel = 15;
inline int px(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

}  // namespace condpag::ui
