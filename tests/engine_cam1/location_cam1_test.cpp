// The rear camera's location: its band thresholds, its one horizontal pass and its candidates
// over the 800 x 600 frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "engine/location/components.h"
#include "engine/location/gray_bmp.h"
#include "engine/location/location_passes.h"
#include "engine/location/text_bands.h"
#include "engine/recognizer_state.h"
#include "support/frame_drawing.h"
#include "support/generated_frames.h"
#include "support/temp_drives.h"

namespace {

constexpr PackedPoint FrameTopLeft = PackPoint(0, 0);
constexpr PackedPoint FrameBottomRight = PackPoint(FrameWidth - 1, FrameHeight - 1);

// Outlined boxes 14 wide and 40 high, 3-column sides and 2-row top and bottom, 20 columns apart.
// On each of its middle rows a line of them records a stroke start 11 columns into the first
// box and at the left side and 11 columns into each further box.
constexpr int BoxWidth = 14;
constexpr int BoxHeight = 40;
constexpr int BoxPitch = 20;

void DrawOutlinedBoxes(int firstLeft, int top, int count) {
    for (int k = 0; k < count; ++k) {
        const int left = firstLeft + k * BoxPitch;
        const int right = left + BoxWidth - 1;
        const int bottom = top + BoxHeight - 1;
        drawing::FillRect(BinaryImage, left, top, right, bottom, 1);
        drawing::FillRect(BinaryImage, left + 3, top + 2, right - 3, bottom - 2, 0);
    }
}

// The drawn binary image with its two copies, as a threshold of the sweep leaves it.
void TakeCopies() {
    std::memcpy(BinaryBackup, BinaryImage, sizeof BinaryBackup);
    std::memcpy(BinarySnapshot, BinaryImage, sizeof BinarySnapshot);
}

class RearLocationTest : public ::testing::Test {
protected:
    void SetUp() override {
        drawing::FillPlane(BinaryImage, 0);
        drawing::FillPlane(WorkImage, 170);
        VerticalModeFlag = 0;
        CodeFoundFlag = 0;
        StrongEdgeLevel = 120;
        CurrentThreshold = 40;
        SweepStep = 0;
    }
    void TearDown() override {
        CodeFoundFlag = 0;
        DebugDumpFlag = 0;
    }

    static int Locate() { return LocateHorizontalCodeLines(FrameTopLeft, FrameBottomRight); }
};

TEST_F(RearLocationTest, BandThresholdOnceTheNumberIsFound) {
    CodeFoundFlag = 1;
    // Rows of 3, 3, 2 starts: every three-row sum is 8, which opens no band.
    for (int row = 200; row < 260; ++row) drawing::DrawStrokeRows(BinaryImage, row, row, (row - 200) % 3 == 2 ? 2 : 3);
    EXPECT_EQ(FindHorizontalTextBands(FrameTopLeft, FrameBottomRight), 1);
    // Three starts on every row: sums of 9 do.
    drawing::DrawStrokeRows(BinaryImage, 200, 259, 3);
    ASSERT_EQ(FindHorizontalTextBands(FrameTopLeft, FrameBottomRight), 0);
    EXPECT_EQ(TextBands[0].start, 200);
}

TEST_F(RearLocationTest, TallBandsAreSplitOnlyBeforeTheNumberIsFound) {
    // 70 rows of 10 starts with a dip to 8 between rows 330 and 332.
    auto draw = [] {
        drawing::FillPlane(BinaryImage, 0);
        drawing::DrawStrokeRows(BinaryImage, 300, 369, 10);
        drawing::FillRect(BinaryImage, 0, 330, FrameWidth - 1, 332, 0);
        drawing::DrawStrokeRows(BinaryImage, 330, 330, 9);
        drawing::DrawStrokeRows(BinaryImage, 331, 331, 8);
        drawing::DrawStrokeRows(BinaryImage, 332, 332, 9);
    };
    draw();
    ASSERT_EQ(FindHorizontalTextBands(FrameTopLeft, FrameBottomRight), 0);
    ASSERT_EQ(TextBandCount, 2);
    EXPECT_EQ(TextBands[0].end, 330);
    EXPECT_EQ(RowStrokeCounts[331], 0);

    draw();
    CodeFoundFlag = 1;
    ASSERT_EQ(FindHorizontalTextBands(FrameTopLeft, FrameBottomRight), 0);
    ASSERT_EQ(TextBandCount, 1);
    EXPECT_EQ(TextBands[0].start, 299);
    EXPECT_EQ(TextBands[0].end, 370);
    EXPECT_EQ(RowStrokeCounts[331], 8);
}

TEST_F(RearLocationTest, CandidatesReach26ColumnsBeyondTheirStrokeStarts) {
    // Stroke starts from column 300 to column 380.
    DrawOutlinedBoxes(289, 200, 5);
    TakeCopies();
    ASSERT_EQ(Locate(), 0);
    ASSERT_EQ(LineCandidateCount, 1);
    const LineCandidate& line = LineCandidates[0];
    EXPECT_EQ(line.rect.left, 274);
    EXPECT_EQ(line.rect.right, 406);
    EXPECT_EQ(line.rect.top, 200);
    EXPECT_EQ(line.rect.bottom, 240);
    ASSERT_EQ(line.charCount, 5);
    EXPECT_EQ(line.boxes[0].left, 289);
    EXPECT_EQ(line.boxes[4].right, 289 + 4 * BoxPitch + BoxWidth - 1);
}

TEST_F(RearLocationTest, StrokeStartsUpTo71ColumnsApartMakeOneLine) {
    // A second group of boxes whose first start lies 71 columns after the first group's last.
    DrawOutlinedBoxes(289, 200, 5);
    DrawOutlinedBoxes(440, 200, 5);
    TakeCopies();
    ASSERT_EQ(Locate(), 0);
    ASSERT_EQ(LineCandidateCount, 1);
    EXPECT_EQ(LineCandidates[0].charCount, 10);
    // 72 apart: two lines.
    drawing::FillPlane(BinaryImage, 0);
    DrawOutlinedBoxes(289, 200, 5);
    DrawOutlinedBoxes(441, 200, 5);
    TakeCopies();
    ASSERT_EQ(Locate(), 0);
    EXPECT_EQ(LineCandidateCount, 2);
}

TEST_F(RearLocationTest, CandidatesStayInsideTheFrame) {
    DrawOutlinedBoxes(0, 100, 5);                                     // starts from column 20 (11 is too near the edge)
    DrawOutlinedBoxes(FrameWidth - 4 * BoxPitch - BoxWidth, 300, 5);  // to the last column
    TakeCopies();
    ASSERT_EQ(Locate(), 0);
    ASSERT_EQ(LineCandidateCount, 2);
    EXPECT_EQ(LineCandidates[0].rect.left, 0);
    EXPECT_EQ(LineCandidates[0].rect.right, 80 + 11 + 26);
    EXPECT_EQ(LineCandidates[0].charCount, 5);
    EXPECT_EQ(LineCandidates[1].rect.right, FrameWidth - 1);
    EXPECT_EQ(LineCandidates[1].charCount, 5);
    EXPECT_EQ(LineCandidates[1].boxes[4].right, FrameWidth - 1);
}

TEST_F(RearLocationTest, RoundsEndAfter32Redos) {
    // Two bands of 7 x 78 specks (2 x 6, ten columns apart): more components than the table
    // holds. Each round erases the one piece that overflows it and asks for a redo.
    auto drawSpecks = [](int top) {
        for (int r = 0; r < 7; ++r) {
            for (int x = 20; x + 1 < FrameWidth; x += 10) drawing::FillRect(BinaryImage, x, top + 7 * r, x + 1, top + 7 * r + 5, 1);
        }
    };
    drawSpecks(100);
    drawSpecks(200);
    TakeCopies();
    const std::vector<std::uint8_t> before(BinaryBackup, BinaryBackup + FrameSize);
    EXPECT_EQ(Locate(), 1);
    int erased = 0;
    for (int i = 0; i < FrameSize; ++i) erased += before[i] != BinaryBackup[i] ? 1 : 0;
    EXPECT_EQ(erased, 32 * 12) << "one speck of 12 pixels a round";
}

TEST_F(RearLocationTest, DebugDumpShowsTheImageTheComponentSearchStartsFrom) {
    TempDrives drives;
    const std::string dump = drives.On('c', "work/BWBuf.bmp");
    LoadedImageWidth = FrameWidth;
    LoadedImageHeight = FrameHeight;
    DrawOutlinedBoxes(289, 200, 5);
    TakeCopies();
    DebugDumpFlag = 1;
    ASSERT_EQ(Locate(), 0);

    std::ifstream in(dump, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const int rowBytes = ((FrameWidth + 7) / 8 + 3) / 4 * 4;
    ASSERT_EQ(bytes.size(), static_cast<std::size_t>(62 + rowBytes * FrameHeight));
    const auto isBlack = [&](int x, int y) {
        const std::size_t at = 62 + static_cast<std::size_t>(rowBytes) * (FrameHeight - 1 - y) + x / 8;
        return (bytes[at] & (0x80 >> (x % 8))) == 0;
    };
    EXPECT_TRUE(isBlack(289, 220)) << "the boxes' ink, before the search cleared it";
    EXPECT_FALSE(isBlack(295, 220));
}

TEST(RearGeneratedLocationTest, OneLineNumberAndItsSizeTypeCode) {
    // The recognizer's default search region.
    const generated::Region region{PackPoint(220, 140), PackPoint(699, 349)};
    testimage::FrameRequest request = testimage::CameraFrameRequest(1, 7);
    request.layout = testimage::Layout::OneLine;
    request.charHeight = 34;
    const testimage::Frame frame = testimage::RenderFrame(request);
    ASSERT_EQ(frame.gray.size(), static_cast<std::size_t>(FrameSize));
    const int strongLevel = generated::LoadFrame(frame, region);
    VerticalModeFlag = 0;
    auto locate = [](const generated::Region& where) {
        return [where] { return LocateHorizontalCodeLines(where.topLeft, where.bottomRight); };
    };
    const std::optional<int> threshold =
        generated::Sweep(strongLevel / 3, 16, strongLevel - 16, locate(region),
                         [&] { return generated::FoundAll(frame.truth, {testimage::LineRole::Number}); });
    ASSERT_TRUE(threshold.has_value());
    int elevens = 0;
    for (int k = 0; k < LineCandidateCount; ++k) elevens += LineCandidates[k].charCount == 11 ? 1 : 0;
    EXPECT_EQ(elevens, 1);

    // The same pass reads the size/type code below, from box 0 to box 8, once the number is found.
    const LineCandidate line = LineCandidates[generated::FindCandidate(frame.truth, testimage::LineRole::Number)];
    const int top = std::max(line.boxes[0].bottom, line.boxes[8].bottom);
    const generated::Region below{PackPoint(line.boxes[0].left, top),
                                  PackPoint(line.boxes[8].right, top + 2 * line.charHeight)};
    CodeFoundFlag = 1;
    generated::ComputeEdges(below);
    EXPECT_TRUE(generated::Sweep(*threshold, 16, strongLevel - 16, locate(below), [&] {
                    return generated::FindCandidate(frame.truth, testimage::LineRole::SizeType) >= 0;
                }).has_value());
    CodeFoundFlag = 0;
}

}  // namespace
