#include "engine/glyph/glyph_record.h"

GlyphRecord Glyph;
