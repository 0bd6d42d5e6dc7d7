// Feature preparation after thinning: size units, crowded skeleton cells, the profiles of the
// filled glyph and the skeleton, end points, junctions and the holes sorted by area.
#pragma once

// 0 ready, 1 glyph rejected.
int PrepareSkeletonFeatures();

// Rewrites skeleton cells with four skeleton neighbours: 0 done, 1 not settled after 8 passes.
int ResolveCrowdedSkeletonPixels();

// Profiles of GlyphImage, indexed by glyph row or column minus 1.
void ComputeMarginProfiles();
void ComputeRunCounts();
void ComputeWideRunCounts();
void ComputeInkProjections();
// Gap profile of SkeletonImage inside GlyphBox, indexed by the grid row or column itself.
void ComputeSkeletonGapCounts();
// Orders HoleBoxes (and HoleExtents with them) by area, largest first.
void SortRegions();
