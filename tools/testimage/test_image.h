// Synthetic pictures of container markings with their ground truth: what the gate cameras show
// of a container, rendered from a seed, so that tests and benchmarks can ask for frames of any
// layout without a real photo. See tools/README.md.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QByteArray>
#include <QImage>

namespace testimage {

// How the container number is painted.
enum class Layout {
    OneLine,   // 11 characters in a row, the size/type code below
    TwoLines,  // owner code over the 7 digits, the size/type code below the digits
    Vertical,  // 11 characters stacked, the size/type code stacked beside them
};
enum class Paint { DarkOnLight, LightOnDark };
enum class Wall { Gray, Red, Blue, Green, White };

// Strength of each effect, from 0 (off) to 1 (the worst a gate camera gives).
struct Effects {
    double ribs;         // corrugation ribs and their shading
    double rust;         // rust streaks and patches
    double dirt;         // dirt streaks, grime and the weathered tone of the wall
    double wear;         // worn, thinned paint
    double light;        // uneven light, shadow, haze
    double clutter;      // door bars and a logo elsewhere in the frame
    double rotation;     // up to 3 degrees
    double perspective;  // keystone of the camera's oblique view
    double blur;         // lens blur
    double motion;       // horizontal smear of a passing truck
    double noise;        // sensor noise
    double jpeg;         // compression (quality 95 at 0+, 30 at 1)
};
// What a gate camera gives: blur and noise are always part of it, since a clean two-level
// picture has no spread of edge strengths for the recognizer to measure.
Effects GateCameraEffects();
// Every effect off: a plain rendering of the paint on the wall.
Effects CleanEffects();

struct EffectName {
    const char* name;
    double Effects::*strength;
};
inline constexpr int EffectCount = 12;
extern const EffectName EffectNames[EffectCount];

// Pixel rectangle, both corners included; empty when right < left.
struct Box {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;
    bool Empty() const { return right < left || bottom < top; }
    int Width() const { return right - left + 1; }
    int Height() const { return bottom - top + 1; }
};

struct FrameRequest {
    int width = 600;
    int height = 800;
    Box textArea;                 // where the markings go; empty: the frame less a margin
    std::uint64_t seed = 1;
    std::optional<Layout> layout;  // unset: drawn from the seed
    std::string number;           // 11 characters; empty: a random valid number
    std::string sizeType;         // 4 characters; empty: one from the accepted list
    int charHeight = 0;           // cap height in pixels; 0: drawn from 26 to 70 as room allows
    int sizeTypeHeight = 0;       // 0: drawn, at most the character height
    int strokeWidth = 0;          // 0: drawn from 3 to 9 to suit the height
    int font = -1;                // index into CodeFontNames(); -1: drawn
    std::optional<Paint> paint;
    std::optional<Wall> wall;
    std::optional<bool> checkFrame;  // a frame painted round the check digit
    bool rearView = false;        // container doors with locking bars rather than a side wall
    // One line: the size/type code below the first nine characters only, clear of the gap
    // after the owner code (where the rear recognizer looks), rather than up to the check digit.
    bool sizeTypeUnderFirstNine = false;
    int maxCharHeight = 0;        // ceiling of a drawn character height; 0: 70
    Effects effects = GateCameraEffects();
    // Knobs that fix what is otherwise drawn from the seed, for sweeps of one factor at a time.
    std::optional<int> wallLevel;   // gray level 0 to 255 of the wall under the paint
    std::optional<int> paintLevel;  // gray level 0 to 255 of the paint
    std::optional<double> rotationDegrees;  // clockwise; kept even where a straight code would fit
    int checkDigitGap = 0;  // pixels of wall before the check digit (or its frame); 0: drawn
    // Where in the text area the markings go, 0 (left or top edge) to 1 (right or bottom edge).
    std::optional<double> placeX;
    std::optional<double> placeY;
};

// The effects as one camera's optics deliver them: the rear camera (1) looks along the lane, so
// a passing truck does not smear sideways, and it is focused on the doors.
Effects SeenByCamera(Effects effects, int camera);

// A request for one gray request frame of camera 2 (600 x 800, markings inside the region the
// recognizer searches) or camera 1 (800 x 600, inside its default search margins).
FrameRequest CameraFrameRequest(int camera, std::uint64_t seed);

enum class LineRole { Number, Owner, Serial, SizeType };

struct CharTruth {
    char ch = 0;
    Box box;  // every pixel the character's paint covers at least half
};

struct LineTruth {
    LineRole role = LineRole::Number;
    std::string text;
    bool vertical = false;
    Box box;  // union of the character boxes
    std::vector<CharTruth> chars;
};

struct Truth {
    int width = 0;
    int height = 0;
    std::uint64_t seed = 0;
    std::string number;
    std::string sizeType;
    Layout layout = Layout::OneLine;
    int charHeight = 0;      // cap height of the number as painted, before rotation
    int strokeWidth = 0;     // width of a vertical stem of the number
    int sizeTypeHeight = 0;
    int sizeTypeStroke = 0;
    std::string font;
    Paint paint = Paint::DarkOnLight;
    Wall wall = Wall::Gray;
    bool checkFrame = false;
    Box checkFrameBox;       // the painted frame, outer edge
    double rotation = 0;     // degrees, clockwise
    Effects effects{};
    std::vector<LineTruth> lines;
};

const LineTruth* FindLine(const Truth& truth, LineRole role);

struct Frame {
    QImage colour;                    // RGB888, what the camera delivers
    QByteArray jpeg;                  // its JPEG file when compression is on (colour is decoded from it)
    std::vector<std::uint8_t> gray;   // width x height, the green of each pixel, as the director takes it
    std::vector<std::uint8_t> ink;    // paint cover of the markings (0 to 255) before any camera effect
    Truth truth;
};

// Renders one frame. Throws std::runtime_error when no code font is installed or the request
// cannot be met (a fixed height that does not fit, a malformed number or size/type code).
Frame RenderFrame(const FrameRequest& request);

// The bold sans fonts found on this machine, in the order the font index counts them.
std::vector<std::string> CodeFontNames();

// Photo sets of one truck pass, as the gate cameras name them.
enum class PassKind {
    FourPhotos,        // one container: Front, Rearx, Sider_01, Sidel_01
    SixOneContainer,   // one 40-foot container on all six photos
    SixTwoContainers,  // two 20-foot containers: A on Front and the _01 photos, B on the others
};

struct Photo {
    std::string fileName;  // for example "03_110613_130554_CAR0007_Sidel_02.jpg"
    std::string view;      // "Front", "Rearx", "Sider_01", "Sidel_01", "Sider_02" or "Sidel_02"
    int camera = 0;        // 4 front, 1 rear, 3 right side, 2 left side
    char container = 'A';
    Frame frame;
};

struct PhotoSet {
    PassKind kind = PassKind::FourPhotos;
    std::string prefix;  // lane, date, time and pass counter shared by the photos' names
    std::vector<Photo> photos;
};

PhotoSet RenderPhotoSet(PassKind kind, std::uint64_t seed, int passNumber, const Effects& effects);

// The ground-truth text of one image ("key value" lines; see tools/README.md).
std::string DescribeTruth(const Truth& truth);

// Writes <folder>/<name>.bmp (8-bit gray) and <name>.txt beside it. Answers "" or the error.
std::string WriteGrayFrame(const std::string& folder, const std::string& name, const Frame& frame);
// Writes each photo (JPEG) and its .txt into <folder>. Answers "" or the error.
std::string WritePhotoSet(const std::string& folder, const PhotoSet& set);

const char* LayoutName(Layout layout);    // "one-line", "two-lines", "vertical"
const char* PassKindName(PassKind kind);  // "four", "six-one", "six-two"
std::optional<Layout> ParseLayout(const std::string& name);
std::optional<PassKind> ParsePassKind(const std::string& name);

}  // namespace testimage
