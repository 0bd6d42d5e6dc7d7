#include "engine/location/location_passes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "engine/location/planes.h"
#include "support/location_frames.h"

namespace {

constexpr int Threshold = 30;
const PackedPoint FrameTopLeft = PackPoint(0, 0);
const PackedPoint FrameBottomRight = PackPoint(FrameWidth - 1, FrameHeight - 1);

class LocationPassesTest : public ::testing::Test {
protected:
    const drawing::CharStyle style;

    void SetUp() override {
        drawing::FillPlane(WorkImage, 170);
        VerticalModeFlag = 0;
        CodeFoundFlag = 0;
    }
    void TearDown() override {
        VerticalModeFlag = 0;
        CodeFoundFlag = 0;
    }

    static void Prepare(bool noise = true) {
        drawing::BlurWorkImage();
        if (noise) drawing::AddNoise(5, 2024);
        drawing::BinarizeFrame(Threshold);
    }

    int LocateRows() {
        VerticalModeFlag = 0;
        return LocateHorizontalCodeLines(FrameTopLeft, FrameBottomRight);
    }
    int LocateColumns() {
        VerticalModeFlag = 1;
        return LocateVerticalCodeLines(FrameTopLeft, FrameBottomRight);
    }

    // Every box of candidate k holds the character drawn at the matching position: along a
    // row from `first` (pitch apart), or down a column (rowPitch apart).
    void ExpectRowBoxes(int k, int count, int left, int top) const {
        const LineCandidate& candidate = LineCandidates[k];
        ASSERT_EQ(candidate.charCount, count);
        for (int i = 0; i < count; ++i) {
            const CharBox& box = candidate.boxes[i];
            const int charLeft = left + i * style.Pitch();
            EXPECT_GE(box.left, charLeft - 3) << "box " << i;
            EXPECT_LE(box.right, charLeft + style.Width() + 2) << "box " << i;
            EXPECT_NEAR(box.top, top, 3) << "box " << i;
        }
    }
    void ExpectColumnBoxes(int k, int count, int top, int rowPitch) const {
        const LineCandidate& candidate = LineCandidates[k];
        ASSERT_EQ(candidate.charCount, count);
        for (int i = 0; i < count; ++i) {
            EXPECT_NEAR(candidate.boxes[i].top, top + i * rowPitch, 3) << "box " << i;
            EXPECT_NEAR(candidate.boxes[i].bottom, top + i * rowPitch + style.Height(), 3) << "box " << i;
        }
    }

    static LineRecord RecordOf(int k) {
        LoadCandidateIntoLine(k);
        return CurrentLine;
    }
};

TEST_F(LocationPassesTest, OneLineNumberGivesOneCandidateOfElevenBoxes) {
    drawing::DrawTextLine(WorkImage, "TGHU1234567", 40, 150, style);
    Prepare();
    ASSERT_EQ(LocateRows(), 0);
    ASSERT_EQ(LineCandidateCount, 1);
    ExpectRowBoxes(0, 11, 40, 150);
    EXPECT_EQ(LineCandidates[0].status, CandidatePending);
}

TEST_F(LocationPassesTest, OwnerCodeOverSerialNumberGivesLinesThatPair) {
    drawing::DrawTextLine(WorkImage, "ABCU", 40, 150, style);
    drawing::DrawTextLine(WorkImage, "1234567", 40, 250, style);
    Prepare();
    ASSERT_EQ(LocateRows(), 0);
    ASSERT_EQ(LineCandidateCount, 2);
    ExpectRowBoxes(0, 4, 40, 150);
    ExpectRowBoxes(1, 7, 40, 250);
    // The pairing test of the reading code: the owner code's centre lies left of the serial
    // number's, within three character heights.
    const int c4 = LineCentreX(RecordOf(0));
    const int c7 = LineCentreX(RecordOf(1));
    EXPECT_LE(c4, c7);
    EXPECT_LE(c7 - c4, 3 * LineCandidates[1].charHeight);
}

TEST_F(LocationPassesTest, BlankFramesLocateNothing) {
    Prepare();
    EXPECT_EQ(LocateRows(), 1);
    EXPECT_EQ(LocateColumns(), 1);
    CodeFoundFlag = 1;
    EXPECT_EQ(LocateHorizontalTypeLine(FrameTopLeft, FrameBottomRight), 1);
    EXPECT_EQ(LocateVerticalTypeLine(FrameTopLeft, FrameBottomRight), 1);
}

TEST_F(LocationPassesTest, StackedNumberGivesOneColumnOfElevenBoxes) {
    drawing::DrawTextColumn(WorkImage, "MSKU7654321", 300, 60, 10, style);
    Prepare();
    ASSERT_EQ(LocateColumns(), 0);
    ASSERT_EQ(LineCandidateCount, 1);
    ExpectColumnBoxes(0, 11, 60, style.Height() + 10);
    // Read as rows, the same frame holds no line.
    Prepare();
    EXPECT_EQ(LocateRows(), 1);
}

TEST_F(LocationPassesTest, ColumnCandidatesStopAtTheFirstLongGroup) {
    const int pitch = style.Height() + 10;
    // A full column with two more characters 40 rows below it: they are left out.
    drawing::DrawTextColumn(WorkImage, "MSKU7654321", 300, 20, 10, style);
    drawing::DrawTextColumn(WorkImage, "45", 300, 20 + 11 * pitch - 10 + 40, 10, style);
    Prepare();
    ASSERT_EQ(LocateColumns(), 0);
    ASSERT_EQ(LineCandidateCount, 1);
    EXPECT_LT(LineCandidates[0].rect.bottom, 20 + 11 * pitch + 10);
    ExpectColumnBoxes(0, 11, 20, pitch);

    // One character 40 rows above the column spans less than 64 rows: it is taken in, and the
    // spacing rule drops it again.
    drawing::FillPlane(WorkImage, 170);
    drawing::DrawCharacter(WorkImage, 'X', 300, 20, style);
    const int columnTop = 20 + style.Height() + 40;
    drawing::DrawTextColumn(WorkImage, "MSKU7654321", 300, columnTop, 10, style);
    Prepare();
    ASSERT_EQ(LocateColumns(), 0);
    ASSERT_EQ(LineCandidateCount, 1);
    EXPECT_LT(LineCandidates[0].rect.top, 20);
    ExpectColumnBoxes(0, 11, columnTop, pitch);
}

TEST_F(LocationPassesTest, ColumnOfTenFindsItsFaintCheckDigit) {
    const int pitch = style.Height() + 10;
    drawing::DrawTextColumn(WorkImage, "MSKU765432", 300, 60, 10, style);
    drawing::CharStyle faint = style;
    faint.ink = 130;  // its edges fall between the threshold less 8 and the threshold
    drawing::DrawCharacter(WorkImage, '1', 300, 60 + 10 * pitch, faint);
    Prepare(false);
    ASSERT_EQ(LocateColumns(), 0);
    ASSERT_EQ(LineCandidateCount, 1);
    const LineCandidate& column = LineCandidates[0];
    ASSERT_EQ(column.charCount, 11);
    // The added box lies on the axis, W/2 to each side, not on the narrow "1" itself.
    const CharBox& added = column.boxes[10];
    const int axis = (column.boxes[9].left + column.boxes[9].right) / 2;
    EXPECT_EQ(added.left, axis - column.charWidth / 2);
    EXPECT_EQ(added.right, axis + column.charWidth / 2);
    EXPECT_GT(added.top, column.boxes[9].bottom);
    EXPECT_GE(added.bottom, 60 + 10 * pitch + style.Height() - 2);
}

// The size/type region below a one-line number, as the reading code derives it.
struct Region {
    PackedPoint topLeft;
    PackedPoint bottomRight;
};

Region TypeRegionBelow(const LineCandidate& line) {
    const int top = std::max(line.boxes[0].bottom, line.boxes[8].bottom);
    return Region{PackPoint(line.boxes[0].left - 16, top), PackPoint(line.boxes[10].left, top + 2 * line.charHeight)};
}

TEST_F(LocationPassesTest, SizeTypeCodeBelowTheNumberIsLocated) {
    const drawing::CharStyle small{4, 5, 7, 50};
    drawing::DrawTextLine(WorkImage, "TGHU1234567", 40, 150, style);
    drawing::DrawTextLine(WorkImage, "45G1", 40, 230, small);
    Prepare();
    ASSERT_EQ(LocateRows(), 0);
    // The size/type code itself is a line of four for the code pass; the number is first.
    ASSERT_EQ(LineCandidateCount, 2);
    ASSERT_EQ(LineCandidates[0].charCount, 11);
    const Region region = TypeRegionBelow(LineCandidates[0]);

    CodeFoundFlag = 1;
    drawing::BinarizeFrame(Threshold);
    ASSERT_EQ(LocateHorizontalTypeLine(region.topLeft, region.bottomRight), 0);
    ASSERT_EQ(LineCandidateCount, 1);
    const LineCandidate& type = LineCandidates[0];
    ASSERT_EQ(type.charCount, 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_GE(type.boxes[i].left, 40 + i * small.Pitch() - 3) << "box " << i;
        EXPECT_LE(type.boxes[i].right, 40 + i * small.Pitch() + small.Width() + 2) << "box " << i;
    }
}

TEST_F(LocationPassesTest, SizeTypeSearchSeesNoInkOutsideItsRegion) {
    const drawing::CharStyle small{4, 5, 7, 50};
    drawing::DrawTextLine(WorkImage, "45G1", 60, 230, small);
    drawing::FillRect(WorkImage, 30, 226, 36, 270, 50);  // a post left of the region
    Prepare();
    // The region's own binarization leaves the ink of the earlier search outside it.
    const PackedPoint topLeft = PackPoint(44, 215);
    const PackedPoint bottomRight = PackPoint(300, 290);
    std::memset(EdgeImage, 0, sizeof EdgeImage);
    ComputeEdgeImage(topLeft, bottomRight);
    ThresholdEdgeImage(topLeft, bottomRight, Threshold);
    std::memcpy(BinaryBackup, BinaryImage, sizeof BinaryBackup);
    CodeFoundFlag = 1;
    ASSERT_EQ(LocateHorizontalTypeLine(topLeft, bottomRight), 0);
    ASSERT_EQ(LineCandidateCount, 1);
    ASSERT_EQ(LineCandidates[0].charCount, 4);
    EXPECT_GE(LineCandidates[0].boxes[0].left, 57);
    EXPECT_EQ(BinaryBackup[PixelIndex(33, 240)], 0);
    EXPECT_EQ(BinaryImage[PixelIndex(33, 240)], 0);
}

TEST_F(LocationPassesTest, SizeTypeCodeBesideAStackedNumberIsLocated) {
    drawing::DrawTextColumn(WorkImage, "MSKU7654321", 300, 60, 10, style);
    const drawing::CharStyle small{4, 5, 8, 50};
    drawing::DrawTextColumn(WorkImage, "45G1", 220, 200, 8, small);
    Prepare();
    ASSERT_EQ(LocateColumns(), 0);
    ASSERT_EQ(LineCandidateCount, 1);
    const LineCandidate line = LineCandidates[0];
    ASSERT_EQ(line.charCount, 11);
    // The first region of the reading code: four character widths left of box 5.
    const PackedPoint topLeft = PackPoint(line.boxes[5].left - 4 * line.charWidth, line.boxes[0].top);
    const PackedPoint bottomRight = PackPoint(line.boxes[5].left, line.boxes[10].bottom);

    CodeFoundFlag = 1;
    drawing::BinarizeFrame(Threshold);
    ASSERT_EQ(LocateVerticalTypeLine(topLeft, bottomRight), 0);
    ASSERT_EQ(LineCandidateCount, 1);
    const LineCandidate& type = LineCandidates[0];
    ASSERT_EQ(type.charCount, 4);
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(type.boxes[i].top, 200 + i * (small.Height() + 8), 3) << "box " << i;
}

// Irregular thin bars, a big gap, evenly spaced characters, another big gap, one character.
// Answers where the characters start.
int DrawClutteredLine(const drawing::CharStyle& style) {
    const int barGaps[] = {14, 19, 15, 22, 17, 24, 16, 21, 18, 48};
    int x = 30;
    for (int gap : barGaps) {
        drawing::FillRect(WorkImage, x, 150, x + 2, 191, 50);
        x += 3 + gap;
    }
    drawing::DrawTextLine(WorkImage, "H234567", x, 150, style);
    drawing::DrawTextLine(WorkImage, "8", x + 7 * style.Pitch() + 40, 150, style);
    return x;
}

TEST_F(LocationPassesTest, WideLineIsCutLeftOfItsFirstRegularGroup) {
    const int textLeft = DrawClutteredLine(style);
    Prepare(false);
    ASSERT_EQ(LocateRows(), 0);
    ASSERT_EQ(LineCandidateCount, 1);
    EXPECT_EQ(LineCandidates[0].charCount, 8);
    EXPECT_GE(LineCandidates[0].boxes[0].left, textLeft - 2);
    for (int x = 0; x < textLeft - 2; ++x) ASSERT_EQ(BinaryBackup[PixelIndex(x, 170)], 0) << "column " << x;

    // Once a code is found the cut is not made.
    drawing::FillPlane(WorkImage, 170);
    DrawClutteredLine(style);
    Prepare(false);
    CodeFoundFlag = 1;
    LocateRows();
    int bars = 0;
    for (int x = 0; x < textLeft - 2; ++x) bars += BinaryBackup[PixelIndex(x, 170)];
    EXPECT_GT(bars, 0);
}

TEST_F(LocationPassesTest, RegularGroupAtTheStartOfALineIsNotEroded) {
    int x = 40;
    drawing::DrawTextLine(WorkImage, "12345", x, 150, style);
    x += 5 * style.Pitch() + 40;
    const int barGaps[] = {5, 14, 7, 18, 10, 22, 6, 16, 12, 20};
    for (int gap : barGaps) {
        drawing::FillRect(WorkImage, x, 150, x + 2, 191, 50);
        x += 3 + gap;
    }
    drawing::DrawTextLine(WorkImage, "8", x + 40, 150, style);
    Prepare(false);
    static std::uint8_t before[FrameSize];
    std::memcpy(before, BinaryBackup, sizeof before);
    ASSERT_EQ(LocateRows(), 0);
    for (int row = 140; row < 200; ++row) {
        for (int column = 0; column < 40 + 5 * style.Pitch(); ++column) {
            ASSERT_EQ(BinaryBackup[PixelIndex(column, row)], before[PixelIndex(column, row)])
                << "column " << column << ", row " << row;
        }
    }
    ASSERT_GE(LineCandidateCount, 1);
    EXPECT_GE(LineCandidates[0].charCount, 5);
}

TEST(LineCentreTest, MeanOfTruncatedBoxCentres) {
    LineRecord record{};
    EXPECT_EQ(LineCentreX(record), 0);
    record.charCount = 2;
    record.boxes[0] = CharBox{10, 0, 20, 10};
    record.boxes[1] = CharBox{31, 0, 40, 10};
    EXPECT_EQ(LineCentreX(record), 25);
    record.boxes[1] = CharBox{31, 0, 42, 10};  // (15 + 36) / 2
    EXPECT_EQ(LineCentreX(record), 25);
    record.charCount = -3;
    EXPECT_EQ(LineCentreX(record), 0);
    record.charCount = 100;  // a corrupt count reads no box past the record
    EXPECT_GE(LineCentreX(record), 0);
}

}  // namespace
