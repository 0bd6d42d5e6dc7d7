// The operating envelope of one camera's recognizer: renders generated frames around a good
// frame, changing one factor at a time, runs the camera's engine over each frame as its request
// handler does, and prints per step the share of numbers read right, read wrong and not read.
// Built once per camera: envelope (camera 2) and envelope_cam1 (camera 1). See tools/README.md.
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <QPainter>
#include <QtGlobal>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "engine/location/planes.h"
#include "engine/recognizer_state.h"
#include "recognizer/dialog/recognizer_camera.h"
#include "recognizer/dialog/recognizer_dlg.h"
#include "tools/testimage/test_image.h"

namespace {

using testimage::FrameRequest;

constexpr int UsageError = 2;
constexpr int RunError = 1;
constexpr int DefaultFrames = 24;
constexpr int MaxFrames = 10000;
constexpr int DefaultJobs = 4;
constexpr int MaxJobs = 64;
constexpr std::uint64_t FirstSeed = 1000;

constexpr const char* ProgramName = CameraNumber == 1 ? "envelope_cam1" : "envelope";
const char* const Usage =
    "usage: %s [--frames N] [--jobs J] [--factor NAME]...\n"
    "       %s --picture NAME STEP FILE.png\n"
    "Sweeps one factor at a time around a good camera-%d frame and prints, per step, the share\n"
    "of numbers read right, read wrong and not read (and how many of the frames the engine found\n"
    "without contrast, and the share of size/type codes read right).\n"
    "  --frames N     frames a step (default %d), seeds %llu and on, the same for every step\n"
    "  --jobs J       worker processes (default %d)\n"
    "  --factor NAME  sweep only this factor; repeatable\n"
    "  --picture      writes the first frame of step STEP (1, 2, ... as in the table) of factor\n"
    "                 NAME as a PNG: the markings and the search region round them (outlined)\n"
    "Factors:\n";

// The good frame every sweep starts from.
constexpr int GoodCharHeight = CameraNumber == 1 ? 30 : 36;
constexpr double GoodStrokeShare = 1.0 / 6;  // bold stems of a sixth of the height read best
constexpr int DarkPaintLevel = 30;
constexpr int FullLevel = 255;
constexpr double NoiseFloor = 5, ShotGain = 0.08, NoiseReferenceLevel = 128;  // the generator's
constexpr double BlurBase = 0.35, BlurRange = 1.15;                           // the generator's

int GoodStroke(int height) { return static_cast<int>(std::lround(height * GoodStrokeShare)); }

FrameRequest GoodFrame(std::uint64_t seed) {
    FrameRequest request = testimage::CameraFrameRequest(CameraNumber, seed);
    request.layout = testimage::Layout::OneLine;
    request.charHeight = GoodCharHeight;
    request.strokeWidth = GoodStroke(GoodCharHeight);
    return request;
}

struct Step {
    std::string label;
    std::function<void(FrameRequest&)> apply;
};

struct Factor {
    std::string name;
    std::string what;
    std::vector<Step> steps;
};

std::string Number(double value, int decimals = 0) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// The search region of the recognizer's default margins, both corners inclusive.
struct Region {
    int left, top, right, bottom;
};
Region SearchRegion() {
    const SearchMargins& m = ThisCamera.margins;
    return {m.left, m.top, FrameWidth - m.right, FrameHeight - m.bottom};
}

Factor HeightFactor(const char* name, testimage::Layout layout, std::vector<int> heights) {
    Factor factor{name, std::string("character height in rows, ") + testimage::LayoutName(layout), {}};
    for (int height : heights) {
        factor.steps.push_back({Number(height) + " rows", [=](FrameRequest& r) {
                                    r.layout = layout;
                                    r.charHeight = height;
                                    r.strokeWidth = GoodStroke(height);
                                }});
    }
    return factor;
}

Factor StrokeFactor() {
    Factor factor{"stroke", "stem width in pixels at " + Number(GoodCharHeight) + "-row characters", {}};
    for (int stroke : {3, 4, 5, 6, 8, 10}) {
        const std::string share = Number(static_cast<double>(stroke) / GoodCharHeight, 2);
        factor.steps.push_back({Number(stroke) + " px (" + share + " of the height)", [=](FrameRequest& r) { r.strokeWidth = stroke; }});
    }
    return factor;
}

// Paint of one gray level on a wall of another, before light, dirt, blur and noise.
Factor ContrastFactor(const char* name, testimage::Paint paint) {
    const bool dark = paint == testimage::Paint::DarkOnLight;
    Factor factor{name,
                  dark ? "gray levels of wall over black paint (paint 30)" : "gray levels of white paint over the wall (paint 255)",
                  {}};
    for (int difference : {24, 48, 72, 96, 128, 160, 192, 225}) {
        const int paintLevel = dark ? DarkPaintLevel : FullLevel;
        const int wallLevel = dark ? DarkPaintLevel + difference : FullLevel - difference;
        factor.steps.push_back({Number(difference) + " levels", [=](FrameRequest& r) {
                                    r.paint = paint;
                                    r.paintLevel = paintLevel;
                                    r.wallLevel = wallLevel;
                                }});
    }
    return factor;
}

std::string BlurLabel(double strength) {
    return strength <= 0 ? std::string("none") : "sigma " + Number(BlurBase + BlurRange * strength, 2) + " px";
}

Factor BlurFactor() {
    Factor factor{"blur", "lens blur (Gaussian sigma)", {}};
    for (double strength : {0.0, 0.2, 0.4, 0.6, 0.8, 1.0}) {
        factor.steps.push_back({BlurLabel(strength), [=](FrameRequest& r) { r.effects.blur = strength; }});
    }
    return factor;
}

// Black on white and white on black at the full range of gray, no light fall-off: a crisp
// picture makes edges of the whole range.
Factor CrispFactor() {
    Factor factor{"crisp", "white paint on a black wall and black on white, full range, no uneven light: blur", {}};
    for (double strength : {0.0, 0.1, 0.2, 0.5}) {
        factor.steps.push_back({BlurLabel(strength), [=](FrameRequest& r) {
                                    const bool white = r.seed % 2 == 0;
                                    r.paint = white ? testimage::Paint::LightOnDark : testimage::Paint::DarkOnLight;
                                    r.paintLevel = white ? FullLevel : 0;
                                    r.wallLevel = white ? 0 : FullLevel;
                                    r.effects.light = 0;
                                    r.effects.blur = strength;
                                }});
    }
    return factor;
}

Factor NoiseFactor() {
    Factor factor{"noise", "sensor noise (its sigma at gray 128)", {}};
    for (double strength : {0.0, 0.5, 1.0}) {
        const double sigma = std::sqrt(NoiseFloor * strength * NoiseFloor * strength + strength * ShotGain * NoiseReferenceLevel);
        factor.steps.push_back({"sigma " + Number(sigma, 1), [=](FrameRequest& r) { r.effects.noise = strength; }});
    }
    return factor;
}

Factor TiltFactor() {
    Factor factor{"tilt", "rotation in degrees, clockwise and anticlockwise by turns", {}};
    for (double degrees : {0.0, 2.0, 4.0, 6.0, 7.0, 8.0, 10.0}) {
        factor.steps.push_back({"+-" + Number(degrees) + " deg", [=](FrameRequest& r) {
                                    r.rotationDegrees = r.seed % 2 == 0 ? degrees : -degrees;
                                    r.effects.perspective = 0;
                                }});
    }
    return factor;
}

Factor PolarityFactor() {
    Factor factor{"polarity", "paint against the wall", {}};
    factor.steps.push_back({"dark on light", [](FrameRequest& r) { r.paint = testimage::Paint::DarkOnLight; }});
    factor.steps.push_back({"light on dark", [](FrameRequest& r) { r.paint = testimage::Paint::LightOnDark; }});
    return factor;
}

Factor CheckGapFactor() {
    Factor factor{"check-gap", "columns of wall between the serial's last digit and the frame round the check digit", {}};
    for (int gap : {12, 24, 36, 44, 52, 60, 68, 80}) {
        factor.steps.push_back({Number(gap) + " px", [=](FrameRequest& r) {
                                    r.checkFrame = true;
                                    r.checkDigitGap = gap;
                                }});
    }
    return factor;
}

Factor LayoutFactor() {
    Factor factor{"layout", "how the number is painted", {}};
    for (testimage::Layout layout : {testimage::Layout::OneLine, testimage::Layout::TwoLines, testimage::Layout::Vertical}) {
        factor.steps.push_back({testimage::LayoutName(layout), [=](FrameRequest& r) { r.layout = layout; }});
    }
    return factor;
}

// The markings' outer edge (number and size/type code together) `inside` pixels inside the
// margin of the search region (negative: outside), centred along that margin.
enum class Edge { Left, Right, Top, Bottom };
const char* const EdgeNames[] = {"left", "right", "top", "bottom"};

// The text area runs from the chosen line to the far side of the frame, and the markings go
// against that line, centred along the region's other side.
void PlaceAgainst(FrameRequest& r, const Region& region, Edge edge, int inside) {
    testimage::Box area{region.left, region.top, region.right, region.bottom};
    r.placeX = 0.5;
    r.placeY = 0.5;
    switch (edge) {
        case Edge::Left:
            area.left = region.left + inside;
            area.right = FrameWidth - 1;
            r.placeX = 0;
            break;
        case Edge::Right:
            area.left = 0;
            area.right = region.right - inside;
            r.placeX = 1;
            break;
        case Edge::Top:
            area.top = region.top + inside;
            area.bottom = FrameHeight - 1;
            r.placeY = 0;
            break;
        case Edge::Bottom:
            area.top = 0;
            area.bottom = region.bottom - inside;
            r.placeY = 1;
            break;
    }
    r.textArea = area;
}

Factor PositionFactor(Edge edge) {
    const Region region = SearchRegion();
    const std::string name = std::string("position-") + EdgeNames[static_cast<int>(edge)];
    const std::string what = std::string("pixels the code's ") + EdgeNames[static_cast<int>(edge)] +
                             " edge lies inside (+) or outside (-) the search region's " + EdgeNames[static_cast<int>(edge)] +
                             " margin" + (edge == Edge::Bottom ? " (the size/type code is lowest)" : "");
    Factor factor{name, what, {}};
    for (int inside : {-16, -8, -4, 0, 4, 16}) {
        factor.steps.push_back({(inside > 0 ? "+" : "") + Number(inside) + " px", [=](FrameRequest& r) { PlaceAgainst(r, region, edge, inside); }});
    }
    return factor;
}

std::vector<Factor> Factors() {
    std::vector<Factor> factors;
    if (CameraNumber == 1) {
        factors.push_back(HeightFactor("height", testimage::Layout::OneLine, {12, 16, 20, 24, 28, 32, 36, 40, 44}));
    } else {
        factors.push_back(HeightFactor("height", testimage::Layout::OneLine, {16, 20, 24, 28, 36, 44, 52}));
        factors.push_back(HeightFactor("height-two-lines", testimage::Layout::TwoLines, {44, 52, 58, 64, 70, 76, 84}));
        factors.push_back(LayoutFactor());
    }
    factors.push_back(StrokeFactor());
    factors.push_back(ContrastFactor("contrast-dark", testimage::Paint::DarkOnLight));
    factors.push_back(ContrastFactor("contrast-light", testimage::Paint::LightOnDark));
    factors.push_back(BlurFactor());
    factors.push_back(CrispFactor());
    factors.push_back(NoiseFactor());
    factors.push_back(TiltFactor());
    factors.push_back(PolarityFactor());
    factors.push_back(CheckGapFactor());
    if (CameraNumber == 1) {
        for (Edge edge : {Edge::Left, Edge::Right, Edge::Top, Edge::Bottom}) factors.push_back(PositionFactor(edge));
    }
    return factors;
}

enum Outcome : std::int8_t { Right, Wrong, NotRead, NotMade, OutcomeCount };

// What a worker reports of one frame.
struct Record {
    std::int32_t step;
    Outcome number;
    Outcome sizeType;
    bool noContrast;
};

Outcome Judge(bool found, const char* read, const std::string& truth) {
    if (!found) return NotRead;
    return truth == read ? Right : Wrong;
}

// Renders the frame of one step and seed and recognizes it as the request handler does.
Record ReadOne(const Step& step, int stepIndex, std::uint64_t seed) {
    FrameRequest request = GoodFrame(seed);
    step.apply(request);
    testimage::Frame frame;
    try {
        frame = testimage::RenderFrame(request);
    } catch (const std::exception&) {
        return {stepIndex, NotMade, NotMade, false};  // the generator cannot place it so
    }
    std::memcpy(WorkImage, frame.gray.data(), sizeof WorkImage);
    ResetRecognitionResult(RecognizerResult, CameraNumber, 0);
    const int answer = RecognizeInRegion(ThisCamera.margins, FrameWidth, FrameHeight);
    const RecognitionResult& result = RecognizerResult;
    return {stepIndex, Judge(result.codeFound != 0, result.code, frame.truth.number),
            Judge(result.sizeTypeFound != 0, result.sizeType, frame.truth.sizeType), answer == PipelineNoContrast};
}

void KeepSeriousMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

bool WriteAll(int fd, const void* data, std::size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = write(fd, bytes, size);
        if (written <= 0) return false;
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

struct Job {
    const Step* step;
    int stepIndex;
    std::uint64_t seed;
};

// A worker takes every jobs-th frame and reports each through its pipe.
[[noreturn]] void RunWorker(const std::vector<Job>& jobs, int worker, int workers, int fd) {
    qInstallMessageHandler(KeepSeriousMessages);
    for (std::size_t j = static_cast<std::size_t>(worker); j < jobs.size(); j += static_cast<std::size_t>(workers)) {
        const Record record = ReadOne(*jobs[j].step, jobs[j].stepIndex, jobs[j].seed);
        if (!WriteAll(fd, &record, sizeof record)) _exit(RunError);
    }
    _exit(0);
}

struct Counts {
    int number[OutcomeCount] = {};
    int sizeType[OutcomeCount] = {};
    int noContrast = 0;
};

// Starts the workers and gathers their records; false when one failed.
bool RunJobs(const std::vector<Job>& jobs, int workers, std::vector<Counts>& counts) {
    std::vector<pollfd> pipes;
    std::vector<pid_t> children;
    std::fflush(nullptr);
    for (int w = 0; w < workers; ++w) {
        int ends[2];
        if (pipe(ends) != 0) return false;
        const pid_t child = fork();
        if (child < 0) return false;
        if (child == 0) {
            close(ends[0]);
            RunWorker(jobs, w, workers, ends[1]);
        }
        close(ends[1]);
        pipes.push_back({ends[0], POLLIN, 0});
        children.push_back(child);
    }
    std::vector<std::string> pending(pipes.size());
    std::size_t open = pipes.size();
    while (open > 0) {
        if (poll(pipes.data(), pipes.size(), -1) < 0) return false;
        for (std::size_t p = 0; p < pipes.size(); ++p) {
            if (pipes[p].fd < 0 || pipes[p].revents == 0) continue;
            char buffer[4096];
            const ssize_t got = read(pipes[p].fd, buffer, sizeof buffer);
            if (got <= 0) {
                close(pipes[p].fd);
                pipes[p].fd = -1;
                --open;
                continue;
            }
            pending[p].append(buffer, static_cast<std::size_t>(got));
            while (pending[p].size() >= sizeof(Record)) {
                Record record;
                std::memcpy(&record, pending[p].data(), sizeof record);
                pending[p].erase(0, sizeof record);
                Counts& c = counts[static_cast<std::size_t>(record.step)];
                ++c.number[record.number];
                ++c.sizeType[record.sizeType];
                c.noContrast += record.noContrast ? 1 : 0;
            }
        }
    }
    bool ok = true;
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        ok = ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    return ok;
}

std::string Share(int count, int total) { return total > 0 ? Number(100.0 * count / total) + " %" : "-"; }

void PrintFactor(const Factor& factor, const Counts* counts) {
    std::printf("\n%s: %s\n\n", factor.name.c_str(), factor.what.c_str());
    std::printf("| step | frames | right | wrong | not read | no contrast | size/type right |\n");
    std::printf("|---|---|---|---|---|---|---|\n");
    for (std::size_t s = 0; s < factor.steps.size(); ++s) {
        const Counts& c = counts[s];
        const int made = c.number[Right] + c.number[Wrong] + c.number[NotRead];
        std::printf("| %s | %d | %s | %s | %s | %s | %s |\n", factor.steps[s].label.c_str(), made, Share(c.number[Right], made).c_str(),
                    Share(c.number[Wrong], made).c_str(), Share(c.number[NotRead], made).c_str(),
                    Share(c.noContrast, made).c_str(), Share(c.sizeType[Right], made).c_str());
    }
}

// The part of the frame that shows the markings and the margins of the search region near them,
// with the search region outlined.
constexpr int PictureMargin = 24;
constexpr QRgb RegionOutline = qRgb(230, 40, 40);

QRect PictureArea(const testimage::Truth& truth, const Region& region) {
    QRect code;
    for (const testimage::LineTruth& line : truth.lines) {
        code |= QRect(QPoint(line.box.left, line.box.top), QPoint(line.box.right, line.box.bottom));
    }
    const QRect search(QPoint(region.left, region.top), QPoint(region.right, region.bottom));
    const int reach = PictureMargin + truth.charHeight;
    QRect area = code.adjusted(-reach, -reach, reach, reach);
    if (CameraNumber == 1) area |= search.adjusted(-PictureMargin, -PictureMargin, PictureMargin, PictureMargin);
    return area & QRect(0, 0, FrameWidth, FrameHeight);
}

int WritePicture(const Factor& factor, int step, const char* file) {
    FrameRequest request = GoodFrame(FirstSeed);
    factor.steps[static_cast<std::size_t>(step - 1)].apply(request);
    testimage::Frame frame;
    try {
        frame = testimage::RenderFrame(request);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s: %s\n", ProgramName, failure.what());
        return RunError;
    }
    QImage gray(frame.gray.data(), FrameWidth, FrameHeight, FrameWidth, QImage::Format_Grayscale8);
    QImage picture = gray.convertToFormat(QImage::Format_RGB32);
    const Region region = SearchRegion();
    {
        QPainter painter(&picture);
        painter.setPen(QColor(RegionOutline));
        painter.drawRect(QRect(QPoint(region.left, region.top), QPoint(region.right, region.bottom)));
    }
    if (!picture.copy(PictureArea(frame.truth, region)).convertToFormat(QImage::Format_RGB888).save(file, "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", ProgramName, file);
        return RunError;
    }
    std::printf("%s, step %s, seed %llu: %s\n", factor.name.c_str(), factor.steps[static_cast<std::size_t>(step - 1)].label.c_str(),
                static_cast<unsigned long long>(FirstSeed), file);
    return 0;
}

template <typename Value>
bool ParseValue(const char* text, Value& value, Value low, Value high) {
    const char* end = text + std::strlen(text);
    const auto result = std::from_chars(text, end, value);
    return result.ec == std::errc() && result.ptr == end && value >= low && value <= high;
}

void PrintUsage(std::FILE* to, const std::vector<Factor>& factors) {
    std::fprintf(to, Usage, ProgramName, ProgramName, CameraNumber, DefaultFrames, static_cast<unsigned long long>(FirstSeed), DefaultJobs);
    for (const Factor& factor : factors) std::fprintf(to, "    %-17s %s\n", factor.name.c_str(), factor.what.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<Factor> all = Factors();
    int frames = DefaultFrames;
    int workers = DefaultJobs;
    std::vector<const Factor*> chosen;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help") {
            PrintUsage(stdout, all);
            return 0;
        }
        if (option == "--picture" && i + 3 < argc) {
            int step = 0;
            for (const Factor& factor : all) {
                if (factor.name == argv[i + 1] && ParseValue(argv[i + 2], step, 1, static_cast<int>(factor.steps.size()))) {
                    qInstallMessageHandler(KeepSeriousMessages);
                    return WritePicture(factor, step, argv[i + 3]);
                }
            }
        }
        const char* value = i + 1 < argc ? argv[++i] : nullptr;
        bool ok = value != nullptr;
        if (ok && option == "--frames") {
            ok = ParseValue(value, frames, 1, MaxFrames);
        } else if (ok && option == "--jobs") {
            ok = ParseValue(value, workers, 1, MaxJobs);
        } else if (ok && option == "--factor") {
            const Factor* found = nullptr;
            for (const Factor& factor : all) found = factor.name == value ? &factor : found;
            ok = found != nullptr;
            if (ok) chosen.push_back(found);
        } else {
            ok = false;
        }
        if (!ok) {
            std::fprintf(stderr, "%s: bad option %s %s\n", ProgramName, option.c_str(), value ? value : "");
            PrintUsage(stderr, all);
            return UsageError;
        }
    }
    if (chosen.empty()) {
        for (const Factor& factor : all) chosen.push_back(&factor);
    }

    std::vector<Job> jobs;
    std::vector<std::size_t> firstStep;
    int steps = 0;
    for (const Factor* factor : chosen) {
        firstStep.push_back(static_cast<std::size_t>(steps));
        for (const Step& step : factor->steps) {
            for (int f = 0; f < frames; ++f) jobs.push_back({&step, steps, FirstSeed + static_cast<std::uint64_t>(f)});
            ++steps;
        }
    }
    std::vector<Counts> counts(static_cast<std::size_t>(steps));
    if (!RunJobs(jobs, workers, counts)) {
        std::fprintf(stderr, "%s: a worker failed\n", ProgramName);
        return RunError;
    }
    std::printf("Camera %d: good frame one line, %d-row characters, stems a sixth of the height, the generator's "
                "gate-camera effects; "
                "%d frames a step (seeds %llu to %llu); numbers read right, wrong, not read.\n",
                CameraNumber, GoodCharHeight, frames, static_cast<unsigned long long>(FirstSeed),
                static_cast<unsigned long long>(FirstSeed + frames - 1));
    for (std::size_t k = 0; k < chosen.size(); ++k) PrintFactor(*chosen[k], &counts[firstStep[k]]);
    return 0;
}
