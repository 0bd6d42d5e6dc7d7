// The ground truth of a rendered frame agrees with its picture: valid numbers, lines that spell
// them, boxes inside the frame and tight around the paint, the sizes asked for.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/code_rules.h"
#include "tools/testimage/codes.h"
#include "tools/testimage/test_image.h"

namespace {

using namespace testimage;

constexpr Layout AllLayouts[] = {Layout::OneLine, Layout::TwoLines, Layout::Vertical};
constexpr std::uint8_t HalfCover = 128;

FrameRequest Request(int camera, Layout layout, std::uint64_t seed) {
    FrameRequest request = CameraFrameRequest(camera, seed);
    request.layout = layout;
    return request;
}

std::uint8_t InkAt(const Frame& frame, int x, int y) {
    return frame.ink[static_cast<std::size_t>(y) * frame.truth.width + x];
}

std::uint8_t GrayAt(const Frame& frame, int x, int y) {
    return frame.gray[static_cast<std::size_t>(y) * frame.truth.width + x];
}

bool Inside(const Box& inner, const Box& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right && inner.bottom <= outer.bottom;
}

std::vector<const CharTruth*> AllChars(const Truth& truth) {
    std::vector<const CharTruth*> chars;
    for (const LineTruth& line : truth.lines) {
        for (const CharTruth& c : line.chars) chars.push_back(&c);
    }
    return chars;
}

// The box is tight: half-covered pixels reach each of its four sides.
void ExpectTightAroundInk(const Frame& frame, const CharTruth& c) {
    bool left = false, right = false, top = false, bottom = false;
    for (int y = c.box.top; y <= c.box.bottom; ++y) {
        left |= InkAt(frame, c.box.left, y) >= HalfCover;
        right |= InkAt(frame, c.box.right, y) >= HalfCover;
    }
    for (int x = c.box.left; x <= c.box.right; ++x) {
        top |= InkAt(frame, x, c.box.top) >= HalfCover;
        bottom |= InkAt(frame, x, c.box.bottom) >= HalfCover;
    }
    EXPECT_TRUE(left && right && top && bottom) << c.ch << " of " << frame.truth.number;
}

int Median(std::vector<int> values) {
    std::nth_element(values.begin(), values.begin() + static_cast<long>(values.size() / 2), values.end());
    return values[values.size() / 2];
}

// Characters whose middle rows are crossed by slanted strokes, wider than a stem.
bool IsSlanted(char c) { return std::strchr("AKMNVWXYZ247", c) != nullptr; }

// Lengths of the horizontal ink runs through the middle rows of a character: mostly the width
// of its vertical stems and curves.
void AddStemRuns(const Frame& frame, const Box& box, std::vector<int>& runs) {
    for (int y = box.top + box.Height() / 3; y <= box.bottom - box.Height() / 3; ++y) {
        int run = 0;
        for (int x = box.left; x <= box.right + 1; ++x) {
            if (x <= box.right && InkAt(frame, x, y) >= HalfCover) {
                ++run;
            } else if (run > 0) {
                runs.push_back(run);
                run = 0;
            }
        }
    }
}

}  // namespace

TEST(ContainerNumbers, CheckDigitsAreRightAndTheLoweredOwnerIsNeverDrawn) {
    Rng rng(7);
    int categories[3] = {};
    for (int i = 0; i < 3000; ++i) {
        const std::string number = RandomContainerNumber(rng);
        ASSERT_TRUE(IsWellFormedNumber(number)) << number;
        EXPECT_EQ(ComputeCheckDigit(number.c_str()), number[10]) << number;
        EXPECT_NE(number.substr(0, 4), "HLCU");
        const char category = number[3];
        ASSERT_NE(std::string("UJZ").find(category), std::string::npos) << number;
        ++categories[category == 'U' ? 0 : category == 'J' ? 1 : 2];
    }
    EXPECT_GT(categories[0], categories[1] + categories[2]);
    EXPECT_GT(categories[1], 0);
    EXPECT_GT(categories[2], 0);
}

TEST(ContainerNumbers, SizeTypesComeFromTheAcceptedListByLength) {
    Rng rng(3);
    for (int i = 0; i < 500; ++i) {
        const std::string any = RandomSizeType(rng);
        EXPECT_EQ(SizeTypeMatchLevel(any.c_str()), 4) << any;
        EXPECT_EQ(RandomSizeType(rng, "2")[0], '2');
        EXPECT_NE(std::string("4L9").find(RandomSizeType(rng, "4L9")[0]), std::string::npos);
    }
    EXPECT_TRUE(IsWellFormedSizeType("L5G1"));
    EXPECT_FALSE(IsWellFormedSizeType("22g1"));
    EXPECT_FALSE(IsWellFormedNumber("ABCU123456"));
    EXPECT_FALSE(IsWellFormedNumber("ABC0123456 "));
}

TEST(GroundTruth, LinesSpellTheNumberAndSizeTypeInEachLayout) {
    for (const Layout layout : AllLayouts) {
        const Frame frame = RenderFrame(Request(2, layout, 11));
        const Truth& truth = frame.truth;
        EXPECT_EQ(truth.layout, layout);
        EXPECT_EQ(ComputeCheckDigit(truth.number.c_str()), truth.number[10]);
        EXPECT_EQ(SizeTypeMatchLevel(truth.sizeType.c_str()), 4) << truth.sizeType;
        const LineTruth* sizeType = FindLine(truth, LineRole::SizeType);
        ASSERT_NE(sizeType, nullptr);
        EXPECT_EQ(sizeType->text, truth.sizeType);
        EXPECT_EQ(sizeType->vertical, layout == Layout::Vertical);
        if (layout == Layout::TwoLines) {
            ASSERT_NE(FindLine(truth, LineRole::Owner), nullptr);
            ASSERT_NE(FindLine(truth, LineRole::Serial), nullptr);
            EXPECT_EQ(FindLine(truth, LineRole::Owner)->text + FindLine(truth, LineRole::Serial)->text, truth.number);
            EXPECT_EQ(FindLine(truth, LineRole::Number), nullptr);
        } else {
            ASSERT_NE(FindLine(truth, LineRole::Number), nullptr);
            EXPECT_EQ(FindLine(truth, LineRole::Number)->text, truth.number);
            EXPECT_EQ(FindLine(truth, LineRole::Number)->vertical, layout == Layout::Vertical);
        }
        for (const LineTruth& line : truth.lines) {
            std::string spelled;
            for (const CharTruth& c : line.chars) spelled += c.ch;
            EXPECT_EQ(spelled, line.text);
        }
    }
}

TEST(GroundTruth, GivenTextsAndLooksAreUsedAndBadRequestsRefused) {
    FrameRequest request = CameraFrameRequest(2, 5);
    request.number = "TEMU6543210";  // a wrong check digit may be asked for
    request.sizeType = "45G1";
    request.wall = Wall::Blue;
    request.paint = Paint::LightOnDark;
    request.checkFrame = true;
    request.font = 1;
    const Frame frame = RenderFrame(request);
    EXPECT_EQ(frame.truth.number, "TEMU6543210");
    EXPECT_EQ(frame.truth.sizeType, "45G1");
    EXPECT_EQ(frame.truth.wall, Wall::Blue);
    EXPECT_EQ(frame.truth.paint, Paint::LightOnDark);
    EXPECT_TRUE(frame.truth.checkFrame);
    EXPECT_EQ(frame.truth.font, CodeFontNames()[1]);

    FrameRequest bad = request;
    bad.number = "TEMU65432";
    EXPECT_THROW(RenderFrame(bad), std::runtime_error);
    bad = request;
    bad.sizeType = "45g1";
    EXPECT_THROW(RenderFrame(bad), std::runtime_error);
    bad = request;
    bad.width = 20000;
    EXPECT_THROW(RenderFrame(bad), std::runtime_error);
    bad = request;
    bad.font = static_cast<int>(CodeFontNames().size());
    EXPECT_THROW(RenderFrame(bad), std::runtime_error);
    bad = request;
    bad.effects.noise = 1.5;
    EXPECT_THROW(RenderFrame(bad), std::runtime_error);
    bad = request;
    bad.layout = Layout::Vertical;
    bad.charHeight = 200;  // eleven characters of 200 rows fit in no frame
    EXPECT_THROW(RenderFrame(bad), std::runtime_error);
}

TEST(GroundTruth, MoreThanOneBoldSansFontIsAvailable) {
    const std::vector<std::string> fonts = CodeFontNames();
    ASSERT_GE(fonts.size(), 2u);
    for (const std::string& name : fonts) EXPECT_NE(name.find("Bold"), std::string::npos) << name;
}

TEST(GroundTruth, BoxesStayInsideTheRegionEachCameraSearches) {
    for (int camera : {1, 2}) {
        for (std::uint64_t seed = 1; seed <= 4; ++seed) {
            FrameRequest request = CameraFrameRequest(camera, seed);
            if (camera == 2) request.layout = AllLayouts[seed % 3];
            const Frame frame = RenderFrame(request);
            const Box frameBox{0, 0, frame.truth.width - 1, frame.truth.height - 1};
            for (const CharTruth* c : AllChars(frame.truth)) {
                EXPECT_FALSE(c->box.Empty());
                EXPECT_TRUE(Inside(c->box, frameBox));
                EXPECT_TRUE(Inside(c->box, request.textArea))
                    << "camera " << camera << " seed " << seed << " " << c->ch << " at " << c->box.left << "," << c->box.top;
            }
            if (frame.truth.checkFrame) {
                EXPECT_TRUE(Inside(frame.truth.checkFrameBox, request.textArea));
            }
        }
    }
}

TEST(GroundTruth, BoxesAreTightAroundThePaintAndSeparate) {
    for (const Layout layout : AllLayouts) {
        FrameRequest request = Request(2, layout, 21);
        request.effects = CleanEffects();
        request.checkFrame = true;
        const Frame frame = RenderFrame(request);
        const auto chars = AllChars(frame.truth);
        for (const CharTruth* c : chars) ExpectTightAroundInk(frame, *c);
        // Without rotation the boxes of different characters neither touch nor overlap.
        for (std::size_t i = 0; i < chars.size(); ++i) {
            for (std::size_t j = i + 1; j < chars.size(); ++j) {
                const Box a = chars[i]->box, b = chars[j]->box;
                const bool apart = a.right + 1 < b.left || b.right + 1 < a.left || a.bottom + 1 < b.top || b.bottom + 1 < a.top;
                EXPECT_TRUE(apart) << chars[i]->ch << " and " << chars[j]->ch << " in " << LayoutName(layout);
            }
        }
        // The frame round the check digit keeps its distance from the digit.
        const LineTruth* digits = FindLine(frame.truth, layout == Layout::TwoLines ? LineRole::Serial : LineRole::Number);
        const Box check = digits->chars.back().box;
        const Box ring = frame.truth.checkFrameBox;
        EXPECT_TRUE(ring.left + 2 < check.left && ring.right - 2 > check.right && ring.top + 2 < check.top &&
                    ring.bottom - 2 > check.bottom);
        EXPECT_GE(InkAt(frame, ring.left, (ring.top + ring.bottom) / 2), HalfCover);
        EXPECT_EQ(InkAt(frame, (ring.left + check.left) / 2, (ring.top + ring.bottom) / 2), 0);
    }
}

TEST(GroundTruth, PaintIsDarkOrLightInThePictureAsTheTruthSays) {
    for (std::uint64_t seed = 30; seed < 36; ++seed) {
        const Frame frame = RenderFrame(CameraFrameRequest(2, seed));
        for (const CharTruth* c : AllChars(frame.truth)) {
            double paint = 0, wall = 0;
            int paintCount = 0, wallCount = 0;
            // The wall right round the character ("I" has none inside its box).
            for (int y = c->box.top - 3; y <= c->box.bottom + 3; ++y) {
                for (int x = c->box.left - 3; x <= c->box.right + 3; ++x) {
                    if (InkAt(frame, x, y) == 255) {
                        paint += GrayAt(frame, x, y);
                        ++paintCount;
                    } else if (InkAt(frame, x, y) == 0) {
                        wall += GrayAt(frame, x, y);
                        ++wallCount;
                    }
                }
            }
            ASSERT_GT(paintCount, 0);
            ASSERT_GT(wallCount, 0);
            const double contrast = paint / paintCount - wall / wallCount;
            const double sign = frame.truth.paint == Paint::LightOnDark ? 1 : -1;
            EXPECT_GT(sign * contrast, 30) << "seed " << seed << " " << c->ch;
        }
    }
}

TEST(GroundTruth, HeightsAndStrokesAreThoseAskedFor) {
    struct Case {
        Layout layout;
        int height;
        int stroke;
    };
    for (const Case& test : {Case{Layout::OneLine, 30, 3}, Case{Layout::TwoLines, 64, 9}, Case{Layout::Vertical, 44, 6}}) {
        for (int font = 0; font < static_cast<int>(CodeFontNames().size()); ++font) {
            FrameRequest request = Request(2, test.layout, 40 + static_cast<std::uint64_t>(font));
            request.effects = CleanEffects();
            request.charHeight = test.height;
            request.sizeTypeHeight = test.height;
            request.strokeWidth = test.stroke;
            request.font = font;
            const Frame frame = RenderFrame(request);
            EXPECT_EQ(frame.truth.charHeight, test.height);
            EXPECT_EQ(frame.truth.strokeWidth, test.stroke);
            std::vector<int> heights, stems;
            for (const CharTruth* c : AllChars(frame.truth)) {
                heights.push_back(c->box.Height());
                if (!IsSlanted(c->ch)) AddStemRuns(frame, c->box, stems);
            }
            const int height = Median(heights);
            EXPECT_GE(height, test.height - 1) << CodeFontNames()[static_cast<std::size_t>(font)];
            EXPECT_LE(height, test.height * 105 / 100 + 2) << CodeFontNames()[static_cast<std::size_t>(font)];
            ASSERT_FALSE(stems.empty());
            EXPECT_NEAR(Median(stems), test.stroke, 1) << CodeFontNames()[static_cast<std::size_t>(font)];
        }
    }
}

TEST(GroundTruth, DrawnSizesStayInThePaintedRange) {
    for (std::uint64_t seed = 50; seed < 58; ++seed) {
        const Frame frame = RenderFrame(CameraFrameRequest(seed % 4 == 0 ? 1 : 2, seed));
        EXPECT_GE(frame.truth.charHeight, 26);
        EXPECT_LE(frame.truth.charHeight, 70);
        EXPECT_GE(frame.truth.sizeTypeHeight, 26);
        EXPECT_LE(frame.truth.sizeTypeHeight, frame.truth.charHeight);
        EXPECT_GE(frame.truth.strokeWidth, 3);
        EXPECT_LE(frame.truth.strokeWidth, 9);
        EXPECT_LE(std::abs(frame.truth.rotation), 1.5 + 1e-9);
    }
}
