// Runs one camera's engine over gray BMP frames as its recognizer's request handler does and
// prints per frame the answer, the code, the size/type code and the time. Built once per camera:
// read_frames (camera 2) and read_frames_cam1 (camera 1). Where the test-image
// generator's ground truth (<name>.txt) lies beside a frame, it also counts how many numbers and
// size/type codes were read right, read wrong and not read. See tools/README.md.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/location/gray_bmp.h"
#include "engine/location/planes.h"
#include "engine/recognizer_state.h"
#include "recognizer/dialog/recognizer_camera.h"
#include "recognizer/dialog/recognizer_dlg.h"

namespace {

namespace fs = std::filesystem;

constexpr int UsageError = 2;
constexpr int RefusedFiles = 1;

constexpr const char* ProgramName = CameraNumber == 1 ? "read_frames_cam1" : "read_frames";
constexpr const char* Answers = CameraNumber == 1 ? "0 read or not, 1 no contrast" : "0 number found, 2 none, 3 no contrast";
const char* const Usage =
    "usage: %s FILE.bmp|FOLDER ...\n"
    "Reads each 8-bit gray BMP (at most %d x %d; a folder: every .bmp in it) with the camera-%d\n"
    "engine inside its recognizer's default search region and prints the answer\n"
    "(%s), the code, the size/type code and the time. With the generator's\n"
    "<name>.txt beside a frame it also prints the share of numbers and size/type codes read\n"
    "right, read wrong and not read.\n";

void PrintUsage(std::FILE* to) { std::fprintf(to, Usage, ProgramName, FrameWidth, FrameHeight, CameraNumber, Answers); }

struct Truth {
    std::string number;
    std::string sizeType;
};

// The generator's "number" and "size_type" lines of the .txt beside the frame.
std::optional<Truth> ReadTruth(const fs::path& frame) {
    fs::path text = frame;
    text.replace_extension(".txt");
    std::ifstream file(text);
    if (!file) return std::nullopt;
    Truth truth;
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string key;
        std::string value;
        fields >> key >> value;
        if (key == "number") truth.number = value;
        if (key == "size_type") truth.sizeType = value;
    }
    if (truth.number.empty()) return std::nullopt;
    return truth;
}

enum Outcome { Right, Wrong, NotRead, OutcomeCount };
const char* const OutcomeNames[OutcomeCount] = {"right", "wrong", "not read"};

Outcome Judge(bool found, const char* read, const std::string& truth) {
    if (!found) return NotRead;
    return truth == read ? Right : Wrong;
}

struct Tally {
    int frames = 0;
    int numbers[OutcomeCount] = {};
    int sizeTypes[OutcomeCount] = {};
    double totalMs = 0;
    int refused = 0;
};

// The request handler's steps: a cleared answer, the frame loaded into the work image, the
// region of interest cut to the image, the recognition.
int RecognizeFile(const fs::path& path, double& milliseconds) {
    ResetRecognitionResult(RecognizerResult, CameraNumber, 0);
    const std::string name = fs::absolute(path).string();
    const int loaded = LoadGrayBmp(name.c_str());
    if (loaded != LoadOk) return loaded == LoadTooLarge ? -LoadTooLarge : -LoadRefused;
    std::memcpy(WorkImage, LoadedImage, sizeof WorkImage);
    const auto start = std::chrono::steady_clock::now();
    const int answer = RecognizeInRegion(ThisCamera.margins, LoadedImageWidth, LoadedImageHeight);
    milliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return answer;
}

void ReadFrame(const fs::path& path, Tally& tally) {
    double milliseconds = 0;
    const int answer = RecognizeFile(path, milliseconds);
    if (answer < 0) {
        ++tally.refused;
        if (answer == -LoadTooLarge) {
            std::fprintf(stderr, "%s: refused: larger than the %d x %d frame\n", path.c_str(), FrameWidth, FrameHeight);
        } else {
            std::fprintf(stderr, "%s: refused: not a readable 8-bit gray BMP (missing, other depth, malformed or truncated)\n",
                         path.c_str());
        }
        return;
    }
    ++tally.frames;
    tally.totalMs += milliseconds;
    const RecognitionResult& result = RecognizerResult;
    std::printf("%s  answer %d  code %s  size/type %s  %.1f ms", path.filename().c_str(), answer,
                result.codeFound ? result.code : "-", result.sizeTypeFound ? result.sizeType : "-", milliseconds);
    if (const std::optional<Truth> truth = ReadTruth(path)) {
        const Outcome number = Judge(result.codeFound != 0, result.code, truth->number);
        const Outcome sizeType = Judge(result.sizeTypeFound != 0, result.sizeType, truth->sizeType);
        ++tally.numbers[number];
        ++tally.sizeTypes[sizeType];
        std::printf("  number %s  size/type %s", OutcomeNames[number], OutcomeNames[sizeType]);
    }
    std::printf("\n");
}

void PrintShares(const char* what, const int (&counts)[OutcomeCount]) {
    const int total = counts[Right] + counts[Wrong] + counts[NotRead];
    if (total == 0) return;
    std::printf("%-10s", what);
    for (int k = 0; k < OutcomeCount; ++k) {
        std::printf("  %s %d (%.1f %%)", OutcomeNames[k], counts[k], 100.0 * counts[k] / total);
    }
    std::printf("  of %d with ground truth\n", total);
}

// The frames named on the command line: files as given, folders by their .bmp files in name
// order.
std::vector<fs::path> CollectFrames(int argc, char** argv) {
    std::vector<fs::path> frames;
    for (int i = 1; i < argc; ++i) {
        const fs::path argument(argv[i]);
        std::error_code error;
        if (!fs::is_directory(argument, error)) {
            frames.push_back(argument);
            continue;
        }
        std::vector<fs::path> inFolder;
        for (const fs::directory_entry& entry : fs::directory_iterator(argument, error)) {
            std::string extension = entry.path().extension().string();
            std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
            if (entry.is_regular_file() && extension == ".bmp") inFolder.push_back(entry.path());
        }
        std::sort(inFolder.begin(), inFolder.end());
        frames.insert(frames.end(), inFolder.begin(), inFolder.end());
    }
    return frames;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
        PrintUsage(argc < 2 ? stderr : stdout);
        return argc < 2 ? UsageError : 0;
    }
    Tally tally;
    for (const fs::path& frame : CollectFrames(argc, argv)) ReadFrame(frame, tally);
    if (tally.frames > 0) {
        std::printf("%d frames, %.1f ms a frame\n", tally.frames, tally.totalMs / tally.frames);
    }
    PrintShares("numbers", tally.numbers);
    PrintShares("size/type", tally.sizeTypes);
    if (tally.refused > 0) std::printf("%d files refused\n", tally.refused);
    return tally.refused > 0 ? RefusedFiles : 0;
}
