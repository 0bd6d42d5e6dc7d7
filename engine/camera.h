// Frame constants of the camera this copy of the engine is built for.
#pragma once

#include <cstdint>

#ifndef TORVA_CAMERA
#error "TORVA_CAMERA must be 1 or 2"
#endif

#if TORVA_CAMERA == 1
inline constexpr int CameraNumber = 1;
inline constexpr int FrameWidth = 800;   // landscape rear photo
inline constexpr int FrameHeight = 600;
#elif TORVA_CAMERA == 2
inline constexpr int CameraNumber = 2;
inline constexpr int FrameWidth = 600;   // portrait side photo
inline constexpr int FrameHeight = 800;
#else
#error "TORVA_CAMERA must be 1 or 2"
#endif

inline constexpr int FrameStride = FrameWidth;
inline constexpr int FrameSize = FrameWidth * FrameHeight;
// The longer side of the frame: tables indexed by a frame row or a frame column use it.
inline constexpr int FrameLongSide = FrameWidth > FrameHeight ? FrameWidth : FrameHeight;
// The level histogram also counts frame rows and columns (line centres), so it is as long as
// the longer frame side.
inline constexpr int HistogramBinCount = FrameLongSide;
