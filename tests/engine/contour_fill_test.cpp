// Marking and clearing a traced piece leaves exactly the planes the plain four-sweep marking
// leaves, which is kept here as the reference.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "engine/location/boxes.h"
#include "engine/location/contours.h"
#include "engine/location/planes.h"
#include "support/frame_drawing.h"

namespace {

std::vector<std::uint8_t> Reference(FrameSize);

// One sweep of the reference: each pixel above 1 marks the ink after it in the sweep's column
// direction and the ink beside it in the sweep's row direction.
bool ReferenceSweep(const FrameRegion& box, int rowStep, int columnStep) {
    bool changed = false;
    auto mark = [&](int x, int y) {
        if (x < box.left || x > box.right || y < box.top || y > box.bottom) return;
        std::uint8_t& pixel = Reference[PixelIndex(x, y)];
        if (pixel == 1) {
            pixel = PieceInkMark;
            changed = true;
        }
    };
    for (int y = rowStep > 0 ? box.top : box.bottom; y >= box.top && y <= box.bottom; y += rowStep) {
        for (int x = columnStep > 0 ? box.left : box.right; x >= box.left && x <= box.right; x += columnStep) {
            if (Reference[PixelIndex(x, y)] <= 1) continue;
            mark(x + columnStep, y);
            mark(x, y + rowStep);
        }
    }
    return changed;
}

void ReferenceMarkAndClear(const FrameRegion& box) {
    bool changed = true;
    while (changed) {
        changed = ReferenceSweep(box, 1, 1);
        changed |= ReferenceSweep(box, 1, -1);
        changed |= ReferenceSweep(box, -1, 1);
        changed |= ReferenceSweep(box, -1, -1);
    }
    for (int y = box.top; y <= box.bottom; ++y)
        for (int x = box.left; x <= box.right; ++x)
            if (Reference[PixelIndex(x, y)] > 1) Reference[PixelIndex(x, y)] = 0;
}

CharBox Grown(CharBox box, int by) {
    return CharBox{static_cast<std::int16_t>(box.left - by), static_cast<std::int16_t>(box.top - by),
                   static_cast<std::int16_t>(box.right + by), static_cast<std::int16_t>(box.bottom + by)};
}

// Both planes cleared over the box, compared whole.
void ExpectSameClearing(const CharBox& box) {
    std::memcpy(Reference.data(), BinaryImage, FrameSize);
    ReferenceMarkAndClear(ClipToFrame(BoxTopLeft(box), BoxBottomRight(box)));
    MarkAndClearRegion(BoxTopLeft(box), BoxBottomRight(box));
    ASSERT_EQ(std::memcmp(Reference.data(), BinaryImage, FrameSize), 0)
        << "box " << box.left << "," << box.top << " - " << box.right << "," << box.bottom;
}

class ContourFill : public ::testing::Test {
protected:
    void SetUp() override {
        drawing::FillPlane(BinaryImage, 0);
        drawing::FillPlane(BinaryBackup, 0);
    }

    // Random ink of the given density over the area: pieces with holes, pieces inside the holes
    // of others, pieces that reach the area's and the frame's edge.
    void Scatter(const FrameRegion& area, double density) {
        std::bernoulli_distribution ink(density);
        for (int y = area.top; y <= area.bottom; ++y)
            for (int x = area.left; x <= area.right; ++x) BinaryImage[PixelIndex(x, y)] = ink(random) ? 1 : 0;
    }

    // Traces every piece of the area in scan order, as the component search does, and clears
    // each over its box grown by `grow`; `leaveEvery` leaves every so many traces uncleared, as
    // a failed search does.
    void TraceAndClearAll(const FrameRegion& area, int grow, int leaveEvery) {
        int traces = 0;
        std::uniform_int_distribution<int> direction(0, ContourDirectionCount - 1);
        for (int x = area.left; x <= area.right; ++x) {
            for (int y = area.top; y <= area.bottom; ++y) {
                if (BinaryImage[PixelIndex(x, y)] != 1) continue;
                TraceContour(y, x, direction(random));
                ++traces;
                if (leaveEvery > 0 && traces % leaveEvery == 0) continue;
                ExpectSameClearing(Grown(PathBoundingBox(), grow));
                if (HasFailure()) return;
            }
        }
    }

    std::mt19937 random{26};
};

TEST_F(ContourFill, RandomPiecesWithHolesInsideTheFrame) {
    for (const double density : {0.3, 0.5, 0.62, 0.75}) {
        Scatter(FrameRegion{100, 200, 160, 250}, density);
        TraceAndClearAll(FrameRegion{100, 200, 160, 250}, 0, 0);
    }
}

TEST_F(ContourFill, PiecesTouchingTheFrameEdges) {
    const FrameRegion corners[] = {{0, 0, 40, 30}, {FrameWidth - 41, FrameHeight - 31, FrameWidth - 1, FrameHeight - 1}};
    for (const FrameRegion& area : corners) {
        Scatter(area, 0.6);
        TraceAndClearAll(area, 0, 0);
    }
}

TEST_F(ContourFill, BoxesWiderThanThePiece) {
    Scatter(FrameRegion{300, 300, 350, 340}, 0.55);
    TraceAndClearAll(FrameRegion{300, 300, 350, 340}, 3, 0);
}

TEST_F(ContourFill, MarksLeftBehindByEarlierTraces) {
    // A hook left traced, and a dot in its bend cleared over a box that takes in the hook's marks.
    drawing::FillRect(BinaryImage, 20, 20, 40, 22, 1);
    drawing::FillRect(BinaryImage, 20, 20, 22, 40, 1);
    drawing::FillRect(BinaryImage, 20, 38, 40, 40, 1);
    drawing::FillRect(BinaryImage, 30, 30, 31, 31, 1);
    ASSERT_EQ(TraceContour(20, 20, 2), 0);
    ASSERT_EQ(TraceContour(30, 30, 2), 0);
    ExpectSameClearing(CharBox{23, 23, 35, 35});

    Scatter(FrameRegion{200, 100, 250, 140}, 0.55);
    TraceAndClearAll(FrameRegion{200, 100, 250, 140}, 2, 3);
    // The planes are binarized afresh: nothing of the earlier marks may linger in the clearing.
    Scatter(FrameRegion{200, 100, 250, 140}, 0.55);
    std::memcpy(BinaryBackup, BinaryImage, FrameSize);
    TraceAndClearAll(FrameRegion{200, 100, 250, 140}, 0, 0);
}

TEST_F(ContourFill, ContourCutShortAt2000Points) {
    // A comb whose outline is longer than a trace may follow: the box holds only part of it,
    // and the comb's back runs on beyond it.
    drawing::FillRect(BinaryImage, 5, 130, 594, 131, 1);
    for (int x = 5; x < 595; x += 10) drawing::FillRect(BinaryImage, x, 100, x + 1, 129, 1);
    ASSERT_EQ(TraceContour(100, 5, 2), 1);
    ASSERT_LT(PathBoundingBox().right, 500);
    ExpectSameClearing(PathBoundingBox());
}

}  // namespace
