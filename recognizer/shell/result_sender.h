// Hands a recognizer's answer to the director.
#pragma once

#include "common/recognition_result.h"

// Writes the record into a block inside the director's process and sends it the block's
// address; frees the block once the director's handler has returned. Without a director
// window nothing is sent. A step that fails ends the send: the director is never handed an
// address that does not hold the whole record.
void SendResultToDirector(const RecognitionResult& result);

// How long the block stays after the director's handler returned.
inline constexpr unsigned ResultSettleMs = 50;
