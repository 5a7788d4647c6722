#pragma once
// Message-box styles by the host's codes: buttons (low bits), icon, default button and modality,
// added together. The rules and the deletion guard name the style of the messages they prepare
// here; the message service reads them back part by part.

namespace condpag {

inline constexpr int kStyleOk = 0;
inline constexpr int kStyleOkCancel = 1;
inline constexpr int kStyleAbortRetryIgnore = 2;
inline constexpr int kStyleYesNoCancel = 3;
inline constexpr int kStyleYesNo = 4;
inline constexpr int kStyleRetryCancel = 5;
inline constexpr int kStyleStop = 16;
inline constexpr int kStyleQuestion = 32;
inline constexpr int kStyleExclamation = 48;
inline constexpr int kStyleInformation = 64;
inline constexpr int kStyleDefaultButton2 = 256;
inline constexpr int kStyleDefaultButton3 = 512;
inline constexpr int kStyleSystemModal = 4096;

}  // namespace condpag
