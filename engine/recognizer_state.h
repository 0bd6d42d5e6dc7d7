// Program-wide state that the recognizer's shell and its engine share.
#pragma once

#include <cstdint>

#include "common/recognition_result.h"
#include "engine/camera.h"
#include "engine/packed_point.h"

// The one answer record of this recognizer, refilled by every request.
extern RecognitionResult RecognizerResult;
// When 1 the pipeline writes its edge and binary images under "\work".
extern std::uint8_t DebugDumpFlag;

// The pipeline's answers. Camera 2 tells a frame without a number from one without contrast;
// camera 1 answers 0 whether or not it found a number (the record says which) and 1 only when
// the region has no contrast.
inline constexpr int PipelineNumberFound = 0;
#if TORVA_CAMERA == 1
inline constexpr int PipelineNoNumber = 0;
inline constexpr int PipelineNoContrast = 1;
#else
inline constexpr int PipelineNoNumber = 2;
inline constexpr int PipelineNoContrast = 3;
#endif

// Reads the container number and size/type code of the frame in WorkImage inside the region
// (both corners inclusive) into RecognizerResult.
int RecognizeContainerImage(PackedPoint topLeft, PackedPoint bottomRight);
