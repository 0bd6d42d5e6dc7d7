#include "engine/recognizer_state.h"

RecognitionResult RecognizerResult;
std::uint8_t DebugDumpFlag = 0;
