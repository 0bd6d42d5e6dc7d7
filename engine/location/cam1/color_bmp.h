// The 24-bit colour BMP reader of the camera-1 library test, and its conversion to gray.
#pragma once

#include <cstdint>

#include "engine/camera.h"
#include "platform/win_types.h"

inline constexpr int ColorBytesPerPixel = 3;
inline constexpr int ColorRowBytes = FrameWidth * ColorBytesPerPixel;
inline constexpr int ColorImageSize = ColorRowBytes * FrameHeight;

// The last colour image read, in the file's byte order (blue, green, red), top row first.
extern std::uint8_t ColorImage[ColorImageSize];

// The reader's messages.
inline constexpr const char* ReadBmpCaption = "kemra-ReadBMP";
inline constexpr const char* NotColorBmpText = "不是24位彩色BMP图象!";
inline constexpr const char* ColorHeightOverText = "图象高度越界!";
inline constexpr const char* ColorWidthOverText = "图象宽度越界!";

// The engine shows no windows: the program hands it its message box. Unset, the messages go to
// the console.
using MessageBoxFunction = int (*)(win::HWND owner, const char* text, const char* caption, win::UINT type);
extern MessageBoxFunction ColorBmpMessageBox;

// Reads a 24-bit BMP into ColorImage; 0 loaded, 1 not (a message box says why when the file is
// not 24-bit or larger than the frame). The rest of the buffer outside the image is cleared; on
// refusal nothing changes, the stored image sizes included.
int LoadColorBmp(const char* path);
// Fills the whole LoadedImage from ColorImage with the middle byte (green) of each pixel.
void ConvertColorImageToGray();
