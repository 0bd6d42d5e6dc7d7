// The lines the recognition pipeline keeps while it reads one frame, and the pieces of the
// pipeline that are worth driving on their own: the threshold sweep, the pairing of an owner
// code line with a serial line, and the size/type search.
#pragma once

#include <cstdint>

#include "engine/location/line_records.h"
#include "engine/location/threshold_sweep.h"
#include "engine/packed_point.h"

inline constexpr int PairingListSlots = 64;

// Lines of 7 characters (serial and check digit) and of 4 letters (owner code) read so far in
// this frame, at any threshold, waiting for a partner.
extern LineRecord SerialLines[PairingListSlots];
extern std::int16_t SerialLineCount;
extern LineRecord OwnerCodeLines[PairingListSlots];
extern std::int16_t OwnerCodeLineCount;

extern LineRecord PairedSerialLine;  // the two lines of an accepted pair
extern LineRecord PairedOwnerLine;

// Appends CurrentLine to a pairing list while it has room; later lines are dropped.
void KeepForPairing(LineRecord (&list)[PairingListSlots], std::int16_t& count);

// Looks for a 4-letter line left of and near a 7-character line whose joined text carries a
// matching check digit; on success the pair is copied into PairedOwnerLine and PairedSerialLine
// and the joined text is left in CurrentLine. True when a pair is accepted.
bool PairCodeLines();

// How the number was found; it decides where the size/type code is looked for.
enum class NumberLayout { OneLine, Pair, Vertical };

// Searches the size/type code beside the accepted number; true when SizeTypeLine was filled.
bool SearchSizeTypeCode(NumberLayout layout);
