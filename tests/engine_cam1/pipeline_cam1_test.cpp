// The camera-1 pipeline and the places where camera 1's drivers and tools differ from camera 2's.
#include "engine/location/cam1/pipeline_cam1.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/glyph/glyph_grid.h"
#include "engine/location/level_histogram.h"
#include "engine/location/line_drivers.h"
#include "engine/location/pipeline_state.h"
#include "engine/location/planes.h"
#include "engine/location/position_reading.h"
#include "engine/location/threshold_sweep.h"
#include "engine/recognizer_state.h"
#include "engine/location/gray_bmp.h"
#include "support/frame_drawing.h"
#include "support/temp_drives.h"

namespace {

// Brisel's default search region.
const PackedPoint RegionTopLeft = PackPoint(220, 140);
const PackedPoint RegionBottomRight = PackPoint(700, 350);

void KeepInResult(const char* code) {
    ResetRecognitionResult(RecognizerResult, CameraNumber, 0);
    std::strcpy(RecognizerResult.code, code);
    std::strcpy(RecognizerResult.sizeType, "22G1");
    RecognizerResult.sizeTypeFound = 1;
}

void SetBins(std::initializer_list<std::pair<int, std::uint32_t>> bins) {
    ClearHistogram();
    for (const auto& [index, count] : bins) HistogramBins[index] = count;
}

}  // namespace

TEST(StrongLevelTest, TheThreeBinsCountTogether) {
    SetBins({{100, 20}, {99, 20}, {98, 17}});
    EXPECT_EQ(FindStrongLevel(250, 56), 100) << "57 together, none alone";
    SetBins({{100, 20}, {99, 20}, {98, 16}});
    EXPECT_EQ(FindStrongLevel(250, 56), 2) << "56 is not more than 56";
    SetBins({{128, 400}});
    EXPECT_EQ(FindStrongLevel(250, 56), 130) << "a lone strong bin is found two levels above it";
}

TEST(RecognizeContainerImage, SweepsByTheStrongLevelOfTheRegion) {
    DebugDumpFlag = 0;
    // No contrast: the record stays as the request handler left it.
    std::memset(WorkImage, 128, sizeof WorkImage);
    KeepInResult("KEPT");
    EXPECT_EQ(RecognizeContainerImage(RegionTopLeft, RegionBottomRight), PipelineNoContrast);
    EXPECT_STREQ(RecognizerResult.code, "KEPT");

    // L = 100: base 60; 72 <= t <= 60 holds for no step, nothing is tried and nothing found.
    std::memset(WorkImage, 0, sizeof WorkImage);
    drawing::DrawStripePatch(300, 200, 98);
    KeepInResult("KEPT");
    CurrentThreshold = -1;
    EXPECT_EQ(RecognizeContainerImage(RegionTopLeft, RegionBottomRight), PipelineNoNumber);
    EXPECT_EQ(StrongEdgeLevel, 100);
    EXPECT_EQ(ThresholdBase, 60);
    EXPECT_EQ(CurrentThreshold, -1);
    EXPECT_STREQ(RecognizerResult.code, "");
    EXPECT_EQ(RecognizerResult.codeFound, 0);
    EXPECT_STREQ(RecognizerResult.sizeType, "");
    EXPECT_EQ(RecognizerResult.sizeTypeFound, 0);

    // L = 130: base 78; 78, 84, 72 and 90 are tried, 90 last.
    drawing::DrawStripePatch(300, 200, 128);
    KeepInResult("KEPT");
    EXPECT_EQ(RecognizeContainerImage(RegionTopLeft, RegionBottomRight), PipelineNoNumber);
    EXPECT_EQ(StrongEdgeLevel, 130);
    EXPECT_EQ(ThresholdBase, 78);
    EXPECT_EQ(CurrentThreshold, 90);
    EXPECT_EQ(SweepStep, 2);
    EXPECT_STREQ(RecognizerResult.code, "");
    EXPECT_EQ(CodeFoundFlag, 0);
}

TEST(RecognizeContainerImage, DebugFlagWritesTheEdgeAndBinaryImages) {
    TempDrives drives;
    const std::string edges = drives.On('c', "work/TDBuf.bmp");
    const std::string binary = drives.On('c', "work/BWBuf.bmp");
    LoadedImageWidth = FrameWidth;
    LoadedImageHeight = FrameHeight;
    std::memset(WorkImage, 0, sizeof WorkImage);
    drawing::DrawStripePatch(300, 200, 98);  // L = 100: no threshold is tried
    DebugDumpFlag = 1;
    RecognizeContainerImage(RegionTopLeft, RegionBottomRight);
    EXPECT_TRUE(std::filesystem::exists(edges));
    EXPECT_FALSE(std::filesystem::exists(binary));
    drawing::DrawStripePatch(300, 200, 128);
    RecognizeContainerImage(RegionTopLeft, RegionBottomRight);
    DebugDumpFlag = 0;
    EXPECT_TRUE(std::filesystem::exists(binary));
}

namespace {

// A number of 11 boxes 20 wide and 30 apart from `left`, the serial number starting 20 further
// right; the boxes are 40 high with their bottoms on `bottom`.
LineRecord NumberAt(int left, int bottom) {
    LineRecord line{};
    line.charCount = 11;
    for (int i = 0; i < 11; ++i) {
        const int x = left + 30 * i + (i >= 4 ? 20 : 0);
        line.boxes[i] = CharBox{static_cast<std::int16_t>(x), static_cast<std::int16_t>(bottom - 39),
                                static_cast<std::int16_t>(x + 19), static_cast<std::int16_t>(bottom)};
    }
    line.charHeight = 40;
    return line;
}

void SetCandidateBoxes(int k, std::initializer_list<int> lefts) {
    LineCandidate& candidate = LineCandidates[k];
    candidate.charCount = 0;
    for (const int left : lefts) {
        candidate.boxes[candidate.charCount] = CharBox{static_cast<std::int16_t>(left), 300,
                                                       static_cast<std::int16_t>(left + 12), 320};
        candidate.boxComponents[candidate.charCount] = ComponentRange{0, -1};
        ++candidate.charCount;
    }
}

std::vector<int> CandidateLefts(int k) {
    std::vector<int> lefts;
    for (int i = 0; i < LineCandidates[k].charCount; ++i) lefts.push_back(LineCandidates[k].boxes[i].left);
    return lefts;
}

}  // namespace

TEST(SizeTypeSearch, RegionBelowBoxesZeroToEightInsideTheFrame) {
    LineRecord number = NumberAt(100, 250);
    number.boxes[9].bottom = 256;  // a lower box 9 moves the band down by half its drop
    FrameRegion region = SizeTypeRegionBelow(number);
    EXPECT_EQ(region.left, 100);
    EXPECT_EQ(region.right, 100 + 8 * 30 + 20 + 19);
    EXPECT_EQ(region.top, 253);
    EXPECT_EQ(region.bottom, 253 + 80);

    // A number at the bottom left corner: the band is cut at the frame's edges.
    number = NumberAt(-5, FrameHeight - 10);
    region = SizeTypeRegionBelow(number);
    EXPECT_EQ(region.left, 0);
    EXPECT_EQ(region.bottom, FrameHeight - 1);
    number = NumberAt(100, FrameHeight + 50);
    EXPECT_TRUE(IsEmptyRegion(SizeTypeRegionBelow(number)));
}

TEST(SizeTypeSearch, StrayBoxesInTheOwnerGapGoBeforeTheWidestGapCut) {
    // Box 3 of the number ends at 209, box 4 starts at 240.
    FoundCodeLine = NumberAt(100, 250);
    LineCandidateCount = 4;
    // The second box stands in the gap; the cut then drops the first box.
    SetCandidateBoxes(0, {105, 215, 300, 330, 360, 390});
    TrimSizeTypeCandidate(0);
    EXPECT_EQ(CandidateLefts(0), (std::vector<int>{300, 330, 360, 390}));
    // Two stray boxes: four are left and nothing is cut.
    SetCandidateBoxes(1, {105, 125, 145, 165, 210, 225});
    TrimSizeTypeCandidate(1);
    EXPECT_EQ(CandidateLefts(1), (std::vector<int>{105, 125, 145, 165}));
    // Left on 207 (2 left of box 3's right) or right on 240 is not in the gap.
    SetCandidateBoxes(2, {207, 228, 300, 330, 360});
    TrimSizeTypeCandidate(2);
    EXPECT_EQ(CandidateLefts(2), (std::vector<int>{300, 330, 360})) << "cut at the widest gap only";
    // Only lines of 5 to 8 boxes are trimmed.
    SetCandidateBoxes(3, {105, 215, 300, 330});
    TrimSizeTypeCandidate(3);
    EXPECT_EQ(LineCandidates[3].charCount, 4);
}

TEST(LineDrivers, RearDoubtRuleAllowsFourDoubtfulAndNMinusFourRetried) {
    std::memset(CurrentLine.status, 0, sizeof CurrentLine.status);
    std::strcpy(CurrentLine.text, "1?3?5?7");
    EXPECT_EQ(IsNumberDoubtful(7), 0) << "three doubtful of seven";
    std::strcpy(CurrentLine.text, "1234567");
    for (int i = 0; i < 3; ++i) CurrentLine.status[i] = StatusRetried;
    EXPECT_EQ(IsNumberDoubtful(7), 0);
    CurrentLine.status[3] = StatusRetried;
    EXPECT_EQ(IsNumberDoubtful(7), 1) << "four retried of seven";
}

TEST(LineDrivers, UnreadTypeLetterBetweenReadCharactersIsG) {
    struct Case {
        const char* read;
        int firstStatus;
        const char* expected;
    };
    const Case cases[] = {
        {"22?1", 0, "22G1"}, {"45?1", 2, "45G1"}, {"2??1", 0, "2??1"}, {"?2?1", 0, "?2?1"},
        {"22??", 0, "22??"}, {"22?7", 0, "22G1"},  // the last character is mended first
        {"22?1", 3, "?2G1"},                        // before the first position is distrusted
    };
    for (const Case& c : cases) {
        std::strcpy(CurrentLine.text, c.read);
        CurrentLine.status[0] = static_cast<std::uint8_t>(c.firstStatus);
        SubstituteSizeTypeCharacters();
        EXPECT_STREQ(CurrentLine.text, c.expected) << c.read;
    }
}

TEST(CharBoxes, RowsOnlyAndBinarizationAddsInkWithinThePointListBound) {
    // A stacked-line flag left over changes nothing: the boxes are evened out as a row.
    VerticalModeFlag = 1;
    CurrentLine.charCount = 3;
    CurrentLine.boxes[0] = CharBox{100, 200, 119, 239};
    CurrentLine.boxes[1] = CharBox{130, 205, 139, 230};
    CurrentLine.boxes[2] = CharBox{150, 200, 169, 239};
    RegularizeCharBoxes();
    VerticalModeFlag = 0;
    EXPECT_EQ(CurrentLine.boxes[1].top, 200);
    EXPECT_EQ(CurrentLine.boxes[1].left, 126);

    // One box whose grown rectangle (98..197 x 98..151) is all strong edge: 5400 pixels qualify.
    // The first 2000, rows 98 to 117, are gray 100 but for the last two, gray 0.
    std::memset(EdgeImage, 0, sizeof EdgeImage);
    std::memset(BinaryImage, 0, sizeof BinaryImage);
    for (int row = 98; row <= 151; ++row) {
        for (int column = 98; column <= 197; ++column) {
            EdgeImage[PixelIndex(column, row)] = 200;
            WorkImage[PixelIndex(column, row)] = row <= 117 ? 100 : 250;
        }
    }
    WorkImage[PixelIndex(196, 117)] = 0;
    WorkImage[PixelIndex(197, 117)] = 0;
    WorkImage[PixelIndex(120, 130)] = 10;   // dark ink inside the box
    BinaryImage[PixelIndex(50, 50)] = 1;    // located ink outside every box
    BinaryImage[PixelIndex(110, 110)] = 3;  // a location mark on light gray inside the box
    CurrentLine.charCount = 1;
    CurrentLine.boxes[0] = CharBox{100, 100, 195, 149};
    CurrentLine.polarity[0] = InkDarker;
    BinarizeCharBoxes();
    EXPECT_EQ(CurrentLine.threshold[0], (1998 * 100) / 2000) << "the mean of exactly the first 2000 pixels";
    EXPECT_EQ(BinaryImage[PixelIndex(120, 130)], 1);
    EXPECT_EQ(BinaryImage[PixelIndex(50, 50)], 1) << "the binary image is not cleared";
    EXPECT_EQ(BinaryImage[PixelIndex(110, 110)], 3) << "a pixel that is not ink keeps what it held";
}
