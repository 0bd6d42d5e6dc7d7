// What the camera recognizers share around their dialogs: the single-instance start, the window
// set-up, the minimized icon and the result text.
#pragma once

#include <cstddef>
#include <functional>

#include "common/recognition_result.h"
#include "platform/dialog.h"

// Looks for a running copy by its window property; when there is one, restores it, brings it
// forward and answers true (this copy then ends).
bool ActivateRunningInstance(const char* propertyName, int camera);

// The start of a recognizer: takes the single-instance mark or, when another copy holds it or
// a running copy's window is found, hands over to it; else starts the bus and runs the
// dialog. When the bus cannot start, the program says so (string 103 and the reason) and ends
// with exit code 1. Always FALSE: the program ends when this returns.
win::BOOL StartRecognizerInstance(const char* propertyName, int camera, const std::function<void()>& runDialog);

// The recognizer's window set-up: icons, no taskbar button, and the single-instance mark.
void PrepareRecognizerWindow(win::CDialog& dialog, win::HICON icon, const char* propertyName, int camera);
// Draws the icon centred in the client area (the look of a minimized window).
void PaintMinimizedIcon(win::CDialog& dialog, win::HICON icon);
win::HICON LoadRecognizerIcon();

// "%s %s" of the code and the size/type code, each cut at its field.
void FormatResultText(const RecognitionResult& result, char* text, std::size_t size);
inline constexpr std::size_t ResultTextBytes = sizeof RecognitionResult::code + sizeof RecognitionResult::sizeType;

// Texts of the string table.
inline constexpr const char* SocketInitFailedText = "Windows 通信端口初始化失败。";  // string 103
inline constexpr const char* RecognizerMessageCaption = "TORVA";
