#include "engine/location/line_drivers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/location/position_reading.h"
#include "engine/glyph/glyph_grid.h"
#include "engine/location/gray_bmp.h"
#include "engine/recognizer_state.h"
#include "support/location_frames.h"
#include "support/stub_recognizer.h"
#include "support/temp_drives.h"

namespace {

constexpr std::uint8_t Paper = 180;
constexpr std::uint8_t Ink = 50;
constexpr int LineTop = 100;
constexpr int FirstLeft = 30;
constexpr int Pitch = 40;
constexpr int RingWidth = 24;
constexpr int RingStroke = 4;
constexpr int BoxMargin = 2;
constexpr int FramedWidth = 40;  // a check digit in its painted frame
constexpr int FramedHeight = 70;

// Each test glyph is a ring of its own height, so that the stub recognizer knows it.
int RingHeight(int position) { return 30 + 3 * position; }

int LeftOf(int position) { return FirstLeft + Pitch * position; }

void SetBox(int position, int left, int width, int height) {
    CurrentLine.boxes[position] =
        CharBox{static_cast<std::int16_t>(left - BoxMargin), static_cast<std::int16_t>(LineTop - BoxMargin),
                static_cast<std::int16_t>(left + width - 1 + BoxMargin),
                static_cast<std::int16_t>(LineTop + height - 1 + BoxMargin)};
    CurrentLine.polarity[position] = InkDarker;
    CurrentLine.threshold[position] = 115;
}

void DrawRing(int position, int height) {
    const int left = LeftOf(position);
    drawing::FillRect(WorkImage, left, LineTop, left + RingWidth - 1, LineTop + height - 1, Ink);
    drawing::FillRect(WorkImage, left + RingStroke, LineTop + RingStroke, left + RingWidth - 1 - RingStroke,
                      LineTop + height - 1 - RingStroke, Paper);
    SetBox(position, left, RingWidth, height);
}

// A "1" inside a frame of 3 pixels with a gap of 5 round it.
void DrawFramedDigit(int position) {
    const int left = LeftOf(position);
    drawing::FillRect(WorkImage, left, LineTop, left + FramedWidth - 1, LineTop + FramedHeight - 1, Ink);
    drawing::FillRect(WorkImage, left + 3, LineTop + 3, left + FramedWidth - 4, LineTop + FramedHeight - 4, Paper);
    drawing::CharStyle style;
    style.cellWidth = 4;
    style.cellHeight = 8;
    style.ink = Ink;
    drawing::DrawCharacter(WorkImage, '1', left + 10, LineTop + 7, style);
    SetBox(position, left, FramedWidth, FramedHeight);
}

// A line of `n` rings; the heights in `tall` replace those of their positions.
void DrawRingLine(int n, std::initializer_list<std::pair<int, int>> tall = {}) {
    drawing::FillPlane(WorkImage, Paper);
    std::memset(&CurrentLine, 0, sizeof CurrentLine);
    CurrentLine.charCount = static_cast<std::int8_t>(n);
    for (int i = 0; i < n; ++i) {
        int height = RingHeight(i);
        for (const auto& [position, h] : tall) height = position == i ? h : height;
        DrawRing(i, height);
    }
}

// The edge image the per-box binarization takes its thresholds from, and an empty binary image
// (camera 1 adds the per-box ink to what the location left there).
void FinishDrawing() {
    drawing::BinarizeFrame(40);
    drawing::FillPlane(BinaryImage, 0);
}

std::vector<int> ModesAt(const StubRecognizer& stub, int height) {
    std::vector<int> modes;
    for (const StubCall& call : stub.CallsAt(height)) modes.push_back(call.mode);
    return modes;
}

std::string Text() { return CurrentLine.text; }

std::vector<int> Statuses(int n) { return std::vector<int>(CurrentLine.status, CurrentLine.status + n); }

class LineDriversTest : public ::testing::Test {
protected:
    void SetUp() override {
        VerticalModeFlag = 0;
        DebugDumpFlag = 0;
        std::memset(PositionReadings, 0, sizeof PositionReadings);
    }
    void TearDown() override { DebugDumpFlag = 0; }

    // The letters or digits of `text`, one per ring of the line.
    void AnswerRings(const std::string& text, int firstDigit) {
        for (int i = 0; i < static_cast<int>(text.size()); ++i) {
            const std::string one(1, text[static_cast<std::size_t>(i)]);
            stub.Set(RingHeight(i), i < firstDigit ? StubAnswers{{one}, {}, 0} : StubAnswers{{}, {one}, 0});
        }
    }

    StubRecognizer stub;
};

}  // namespace

TEST_F(LineDriversTest, NumberReadsLettersThenDigitsAndRetriesTheUnread) {
    DrawRingLine(11);
    FinishDrawing();
    AnswerRings("CSQU3054383", 4);
    stub.Set(RingHeight(2), StubAnswers{{"QOD"}, {}, 0});
    stub.Set(RingHeight(5), StubAnswers{{}, {"", "0"}, 0});         // read at the first retry
    stub.Set(RingHeight(7), StubAnswers{{}, {"-"}, 1});             // rejected every time
    stub.Set(RingHeight(8), StubAnswers{{}, {"3456789"}, 0});       // more than a slot holds
    stub.SetOthers(StubAnswers{{}, {"3"}, 0});                      // the check digit
    EXPECT_EQ(RecognizeContainerNumber(), ReadingPlain);
    EXPECT_EQ(Text(), "CSQU305?383");
    EXPECT_EQ(Statuses(11), (std::vector<int>{0, 0, 0, 0, 0, 2, 0, 3, 0, 0, 0}))
        << "a glyph rejected after its noise was cut keeps the flag";
    for (int i = 0; i < 4; ++i) EXPECT_EQ(ModesAt(stub, RingHeight(i)), std::vector<int>{ModeLetters}) << i;
    EXPECT_EQ(ModesAt(stub, RingHeight(4)), std::vector<int>{ModeDigits});
    EXPECT_EQ(ModesAt(stub, RingHeight(5)), std::vector<int>(2, ModeDigits));
    EXPECT_EQ(ModesAt(stub, RingHeight(7)), std::vector<int>(7, ModeDigits)) << "first pass and six retries";
    EXPECT_STREQ(PositionReadings[2].candidates, "QOD");
    EXPECT_STREQ(PositionReadings[8].candidates, "34567");
    EXPECT_STREQ(PositionReadings[7].candidates, "");
    EXPECT_EQ(PositionReadings[0].firstHeight, RingHeight(0));
    EXPECT_EQ(PositionReadings[0].firstWidth, RingWidth);
    EXPECT_EQ(PositionReadings[0].firstInk,
              RingHeight(0) * RingWidth - (RingHeight(0) - 2 * RingStroke) * (RingWidth - 2 * RingStroke));
}

TEST_F(LineDriversTest, FivePositionsCutByNoiseMakeTheNumberDoubtful) {
    DrawRingLine(11);
    FinishDrawing();
    AnswerRings("CSQU3054383", 4);
    stub.SetOthers(StubAnswers{{}, {"3"}, 0});
    for (int i : {1, 4, 6, 8}) stub.Set(RingHeight(i), StubAnswers{{"X"}, {"8"}, 1});
    EXPECT_EQ(RecognizeContainerNumber(), ReadingPlain);
    EXPECT_EQ(Text(), "CXQU8084883");

    stub.Reset();
    AnswerRings("CSQU3054383", 4);
    stub.SetOthers(StubAnswers{{}, {"3"}, 0});
    for (int i : {1, 4, 6, 8, 9}) stub.Set(RingHeight(i), StubAnswers{{"X"}, {"8"}, 1});
    EXPECT_EQ(RecognizeContainerNumber(), ReadingDoubtful);
    EXPECT_EQ(Text(), "CXQU8084883") << "every character was read";
    EXPECT_EQ(Statuses(11), (std::vector<int>{0, 1, 0, 0, 1, 0, 1, 0, 1, 1, 0}));
}

TEST_F(LineDriversTest, BoxTooTallForTheGridIsUnreadable) {
    DrawRingLine(11, {{10, 130}});
    FinishDrawing();
    AnswerRings("CSQU3054383", 4);
    stub.SetOthers(StubAnswers{{}, {"3"}, 0});
    RecognizeContainerNumber();
    EXPECT_EQ(CurrentLine.status[10], StatusUnreadable);
    EXPECT_EQ(CurrentLine.text[10], '?');
    // The middle box beside it is stretched to its neighbours' height, and so too tall as well.
    EXPECT_EQ(CurrentLine.status[9], StatusUnreadable);
    EXPECT_EQ(Text(), "CSQU30543??");
    for (const StubCall& call : stub.calls()) EXPECT_LE(call.height, MaxGlyphSide);
    EXPECT_EQ(stub.calls().size(), 9u) << "unreadable positions are not retried";
}

TEST_F(LineDriversTest, DigitLineTakesItsLastPositionAsACheckDigitAndDumpsTheBinaryImage) {
    TempDrives drives;
    const std::string dump = drives.On('c', "work/BWBuf.bmp");
    LoadedImageWidth = FrameWidth;
    LoadedImageHeight = FrameHeight;
    DrawRingLine(6);
    CurrentLine.charCount = 7;
    DrawFramedDigit(6);
    FinishDrawing();
    AnswerRings("123456", 0);
    stub.SetOthers(StubAnswers{{"F"}, {"", "7"}, 0});
    DebugDumpFlag = 1;
    EXPECT_EQ(RecognizeDigitLine(), ReadingPlain);
    EXPECT_EQ(Text(), "1234567");
    EXPECT_EQ(CurrentLine.status[6], StatusRetried);
    // The frame is gone before the first pass and before each retry: the digit alone is read.
    ASSERT_EQ(stub.calls().size(), 8u);
    for (int k : {6, 7}) {
        EXPECT_EQ(stub.calls()[k].mode, ModeDigits);
        EXPECT_LT(stub.calls()[k].width, FramedWidth / 2) << k;
    }

    std::ifstream in(dump, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const int rowBytes = ((FrameWidth + 7) / 8 + 3) / 4 * 4;
    ASSERT_EQ(bytes.size(), static_cast<std::size_t>(62 + rowBytes * FrameHeight));
    const auto isWhite = [&](int x, int y) {
        return (bytes[static_cast<std::size_t>(62 + (FrameHeight - 1 - y) * rowBytes + x / 8)] & (0x80 >> (x % 8))) != 0;
    };
    EXPECT_FALSE(isWhite(FirstLeft + 1, LineTop + 10)) << "a ring's stroke, binarized per box";
    EXPECT_TRUE(isWhite(FirstLeft + RingWidth / 2, LineTop + 10)) << "inside the ring";
    EXPECT_TRUE(isWhite(5, 5));

    // A letter line has no check digit: its last glyph keeps its frame. It dumps as well.
    std::filesystem::remove(dump);
    stub.Reset();
    stub.SetOthers(StubAnswers{{"F"}, {}, 0});
    EXPECT_EQ(RecognizeLetterLine(), ReadingPlain);
    EXPECT_EQ(Text(), "FFFFFFF");
    ASSERT_EQ(stub.calls().size(), 7u);
    for (const StubCall& call : stub.calls()) EXPECT_EQ(call.mode, ModeLetters);
    EXPECT_EQ(stub.calls()[6].width, FramedWidth);
    EXPECT_TRUE(std::filesystem::exists(dump));

    // Camera 2's number driver leaves the dump to the pipeline; camera 1's writes it as well.
    std::filesystem::remove(dump);
    DrawRingLine(11);
    FinishDrawing();
    RecognizeContainerNumber();
    EXPECT_EQ(std::filesystem::exists(dump), CameraNumber == 1);
}

TEST_F(LineDriversTest, DoubtTestCountsUncertainPositions) {
    struct Case {
        const char* text;
        std::vector<int> status;
        int expected;
    };
    const std::vector<Case> cases = {
        {"CSQU3054383", {0, 1, 0, 0, 1, 0, 1, 0, 1, 1, 0}, 1},       // five cut by noise
        {"CSQU3054383", {0, 1, 0, 0, 1, 0, 1, 0, 1, 0, 0}, 0},       // four
        {"CS?U1I54383", {0, 0, 255, 0, 2, 2, 0, 0, 0, 3, 1}, 1},     // "?", lone strokes at a retry
        {"CS?U1I54383", {0, 0, 255, 0, 2, 2, 0, 0, 0, 3, 0}, 0},
        {"CSQU3054383", {2, 2, 2, 2, 2, 2, 2, 2, 0, 0, 0}, 1},       // eight retried
        {"CSQU3054383", {2, 2, 2, 2, 2, 2, 2, 0, 0, 0, 0}, 0},       // seven
        {"CSQU1054383", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0},       // a "1" read at once is sure
    };
    for (const Case& c : cases) {
        std::strcpy(CurrentLine.text, c.text);
        for (std::size_t i = 0; i < c.status.size(); ++i) CurrentLine.status[i] = static_cast<std::uint8_t>(c.status[i]);
        EXPECT_EQ(IsNumberDoubtful(11), c.expected) << c.text << " " << ::testing::PrintToString(c.status);
    }
    std::memset(CurrentLine.status, 0, sizeof CurrentLine.status);
    std::strcpy(CurrentLine.text, "AB?D");
    EXPECT_EQ(IsNumberDoubtful(4), 0);
    std::strcpy(CurrentLine.text, "A??D");
    EXPECT_EQ(IsNumberDoubtful(4), CameraNumber == 1 ? 0 : 1) << "camera 1 allows four doubtful positions";
    std::strcpy(CurrentLine.text, "1234567");
    for (int i = 0; i < 6; ++i) CurrentLine.status[i] = StatusRetried;
    EXPECT_EQ(IsNumberDoubtful(7), 1) << "six of seven retried";
}

TEST_F(LineDriversTest, SizeTypeSubstitutionsApplyInOrder) {
    struct Case {
        const char* read;
        int firstStatus;
        const char* expected;
    };
    const Case cases[] = {
        {"2261", 0, "22G1"}, {"4561", 0, "45G1"}, {"2263", 0, "2263"}, {"2265", 0, "2265"},
        {"2241", 0, "22G1"}, {"1561", 0, "45G1"}, {"7761", 0, "22G1"}, {"22G7", 0, "22G1"},
        {"22T0", 0, "2210"}, {"22T3", 0, "2273"}, {"22T4", 0, "2274"}, {"22T6", 0, "22T6"},
        {"22G1", 3, "?2G1"}, {"22G1", 2, "22G1"}, {"7?61", 3, "??G1"},
    };
    for (const Case& c : cases) {
        std::strcpy(CurrentLine.text, c.read);
        CurrentLine.status[0] = static_cast<std::uint8_t>(c.firstStatus);
        SubstituteSizeTypeCharacters();
        EXPECT_STREQ(CurrentLine.text, c.expected) << c.read;
    }
}

TEST_F(LineDriversTest, SizeTypeTakesOnlyTypeLettersAtItsThirdPosition) {
    DrawRingLine(4);
    FinishDrawing();
    AnswerRings("22", 0);
    stub.Set(RingHeight(2), StubAnswers{{"B"}, {"6"}, 0});
    stub.Set(RingHeight(3), StubAnswers{{}, {"1"}, 0});
    EXPECT_EQ(RecognizeSizeTypeCode(), 0);
    EXPECT_EQ(Text(), "22G1") << "the digit reading 6, then the substitution";
    EXPECT_EQ(ModesAt(stub, RingHeight(2)), (std::vector<int>{ModeLetters, ModeDigits}));
    EXPECT_EQ(Statuses(4), (std::vector<int>{0, 0, 0, 0}));

    stub.Reset();
    AnswerRings("45", 0);
    stub.Set(RingHeight(2), StubAnswers{{"BRXU"}, {"6"}, 0});
    stub.Set(RingHeight(3), StubAnswers{{}, {"1"}, 0});
    RecognizeSizeTypeCode();
    EXPECT_EQ(Text(), "45R1");
    EXPECT_EQ(ModesAt(stub, RingHeight(2)), std::vector<int>{ModeLetters});

    // Nothing at the first pass: a letter retry that reads "B", then a digit retry.
    stub.Reset();
    AnswerRings("22", 0);
    stub.Set(RingHeight(2), StubAnswers{{"", "B"}, {"", "6"}, 0});
    stub.Set(RingHeight(3), StubAnswers{{}, {"1"}, 0});
    RecognizeSizeTypeCode();
    EXPECT_EQ(Text(), "22G1");
    EXPECT_EQ(CurrentLine.status[2], StatusRetried);
    EXPECT_EQ(ModesAt(stub, RingHeight(2)), (std::vector<int>{ModeLetters, ModeDigits, ModeLetters, ModeDigits}));
}

TEST_F(LineDriversTest, SizeTypeRetriesAndLetterSizes) {
    DrawRingLine(4);
    FinishDrawing();
    // Position 0 reads no digit at any threshold, but an "L" as a letter.
    AnswerRings("?5", 0);
    stub.Set(RingHeight(0), StubAnswers{{"XL"}, {""}, 0});
    stub.Set(RingHeight(2), StubAnswers{{"G"}, {}, 0});
    stub.Set(RingHeight(3), StubAnswers{{}, {"1"}, 0});
    RecognizeSizeTypeCode();
    EXPECT_EQ(Text(), "L5G1");
    EXPECT_EQ(CurrentLine.status[0], StatusRead);
    EXPECT_EQ(ModesAt(stub, RingHeight(0)).size(), 16u) << "first pass, 14 retries, the letter reading";

    // A first character read only at a retry after a noise cut is not trusted.
    stub.Reset();
    AnswerRings("?2", 0);
    stub.Set(RingHeight(0), StubAnswers{{}, {"", "2"}, 1});
    stub.Set(RingHeight(2), StubAnswers{{"G"}, {}, 0});
    stub.Set(RingHeight(3), StubAnswers{{}, {"1"}, 0});
    RecognizeSizeTypeCode();
    EXPECT_EQ(CurrentLine.status[0], StatusRetriedTrimmed);
    EXPECT_EQ(Text(), "?2G1");
}

TEST_F(LineDriversTest, SizeTypeBoxTooTallIsUnreadable) {
    DrawRingLine(4, {{1, 130}});
    FinishDrawing();
    AnswerRings("22", 0);
    stub.Set(RingHeight(2), StubAnswers{{"G"}, {}, 0});
    stub.Set(RingHeight(3), StubAnswers{{}, {"1"}, 0});
    RecognizeSizeTypeCode();
    EXPECT_EQ(Text(), "2?G1");
    EXPECT_EQ(CurrentLine.status[1], StatusUnreadable);
    EXPECT_EQ(stub.calls().size(), 3u) << "neither retried nor read as a letter";
}

// The noise flag in a position's status is the flag of the glyph read there: kept when thinning
// cut a noise piece away before the glyph was rejected, and never the flag of the glyph before.
TEST(PositionStatus, TheNoiseFlagBelongsToTheGlyphReadThere) {
    drawing::FillPlane(BinaryImage, 0);
    std::memset(&CurrentLine, 0, sizeof CurrentLine);
    CurrentLine.charCount = 2;
    CheckDigitPosition = NoCheckDigit;
    // Position 0: a noise block in the corner, cut away (30 cells), then a C whose contour is too
    // long to follow.
    CurrentLine.boxes[0] = CharBox{20, 100, 139, 219};
    drawing::FillRect(BinaryImage, 20, 100, 25, 104, 1);
    drawing::FillRect(BinaryImage, 30, 100, 139, 219, 1);
    drawing::FillRect(BinaryImage, 45, 115, 124, 204, 0);
    drawing::FillRect(BinaryImage, 125, 150, 139, 170, 0);
    // Position 1: a solid square, rejected before thinning.
    CurrentLine.boxes[1] = CharBox{200, 100, 219, 119};
    drawing::FillRect(BinaryImage, 200, 100, 219, 119, 1);

    EXPECT_TRUE(ReadPositionFirstPass(0, ModeDigits));
    EXPECT_EQ(CurrentLine.status[0], StatusRetriedTrimmed);
    EXPECT_TRUE(ReadPositionFirstPass(1, ModeDigits));
    EXPECT_EQ(CurrentLine.status[1], StatusRetried);
}
