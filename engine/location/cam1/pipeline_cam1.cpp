#include "engine/recognizer_state.h"

// Until the camera-1 reading stages stand, no rear frame yields a number; the record stays as
// the caller cleared it.
int RecognizeContainerImage(PackedPoint, PackedPoint) { return PipelineNoNumber; }
