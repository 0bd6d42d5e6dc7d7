#include "engine/glyph/glyph_record.h"

#include <cstring>
#include <type_traits>

GlyphRecord Glyph;

static_assert(std::is_trivially_copyable_v<GlyphRecord>);

void ResetGlyphRecord() { std::memset(&Glyph, 0, sizeof Glyph); }
