// Writes synthetic container pictures with their ground truth into a folder: gray request
// frames of a recognizer, or the photo sets of truck passes. See tools/README.md.
#include <QtGlobal>

#include <charconv>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tools/testimage/test_image.h"

namespace {

using namespace testimage;

constexpr int UsageError = 2;
constexpr int RunError = 1;
constexpr int DefaultCount = 10;
constexpr int MaxCount = 100000;
constexpr int PassKindCount = 3;

const char* const Usage =
    "usage: make_test_images frames|photos FOLDER [options]\n"
    "  --count N        how many frames or photo sets (default 10)\n"
    "  --seed S         seed of the first one (default 1); each next one takes the next seed\n"
    "  --first N        number of the first frame's name (default 1)\n"
    "  --camera 1|2     frames: camera 2, 600 x 800 (default), or camera 1, 800 x 600\n"
    "  --layout L       frames: one-line, two-lines, vertical or any (default: any for camera 2,\n"
    "                   one-line for camera 1)\n"
    "  --pass K         photos: four, six-one, six-two or any (default: the three in turn)\n"
    "  --height H       character height in pixels (default: drawn from 26 to 70)\n"
    "  --clean          every effect off\n"
    "  --effect NAME=S  strength 0 to 1 of one effect; repeatable. Effects:\n"
    "                   ribs rust dirt wear light clutter rotation perspective blur motion\n"
    "                   noise jpeg\n"
    "Frames are named <n>_3.bmp (camera 2) or <n>_1.bmp (camera 1); photo sets go into\n"
    "pass_0001, pass_0002, ... Each image has a .txt of the same name with its ground truth.\n";

struct Options {
    bool photos = false;
    std::string folder;
    int count = DefaultCount;
    std::uint64_t seed = 1;
    int first = 1;
    int camera = 2;
    std::optional<Layout> layout;
    std::optional<PassKind> pass;
    int height = 0;
    Effects effects = GateCameraEffects();
};

template <typename Number>
bool ParseNumber(const std::string& text, Number& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

bool SetEffect(const std::string& assignment, Effects& effects) {
    const std::size_t equals = assignment.find('=');
    if (equals == std::string::npos) return false;
    const std::string name = assignment.substr(0, equals);
    double strength = 0;
    if (!ParseNumber(assignment.substr(equals + 1), strength) || !(strength >= 0 && strength <= 1)) return false;
    for (const EffectName& effect : EffectNames) {
        if (name == effect.name) {
            effects.*effect.strength = strength;
            return true;
        }
    }
    return false;
}

// Answers the options, or an error message in `error`.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error) {
    Options options;
    if (args.size() < 2 || (args[0] != "frames" && args[0] != "photos")) {
        error = "name what to make (frames or photos) and the folder";
        return std::nullopt;
    }
    options.photos = args[0] == "photos";
    options.folder = args[1];
    bool layoutGiven = false;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--clean") {
            options.effects = CleanEffects();
            continue;
        }
        if (i + 1 >= args.size()) {
            error = "option " + option + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        bool ok = true;
        if (option == "--count") {
            ok = ParseNumber(value, options.count) && options.count >= 1 && options.count <= MaxCount;
        } else if (option == "--seed") {
            ok = ParseNumber(value, options.seed);
        } else if (option == "--first") {
            ok = ParseNumber(value, options.first) && options.first >= 0 && options.first <= MaxCount;
        } else if (option == "--camera") {
            ok = ParseNumber(value, options.camera) && (options.camera == 1 || options.camera == 2);
        } else if (option == "--layout") {
            layoutGiven = true;
            options.layout = ParseLayout(value);
            ok = options.layout.has_value() || value == "any";
        } else if (option == "--pass") {
            options.pass = ParsePassKind(value);
            ok = options.pass.has_value() || value == "any";
        } else if (option == "--height") {
            ok = ParseNumber(value, options.height) && options.height >= 8 && options.height <= 200;
        } else if (option == "--effect") {
            ok = SetEffect(value, options.effects);
        } else {
            error = "unknown option " + option;
            return std::nullopt;
        }
        if (!ok) {
            error = "bad value for " + option + ": " + value;
            return std::nullopt;
        }
    }
    if (options.camera == 1 && !layoutGiven) options.layout = Layout::OneLine;
    return options;
}

int WriteFrames(const Options& options) {
    const std::string suffix = options.camera == 1 ? "_1" : "_3";
    for (int i = 0; i < options.count; ++i) {
        FrameRequest request = CameraFrameRequest(options.camera, options.seed + static_cast<std::uint64_t>(i));
        request.layout = options.layout;
        request.charHeight = options.height;
        request.effects = SeenByCamera(options.effects, options.camera);
        const Frame frame = RenderFrame(request);
        const std::string error = WriteGrayFrame(options.folder, std::to_string(options.first + i) + suffix, frame);
        if (!error.empty()) {
            std::fprintf(stderr, "make_test_images: %s\n", error.c_str());
            return RunError;
        }
    }
    std::printf("wrote %d gray frames of camera %d into %s\n", options.count, options.camera,
                std::filesystem::absolute(options.folder).c_str());
    return 0;
}

int WritePhotoSets(const Options& options) {
    for (int i = 0; i < options.count; ++i) {
        const PassKind kind = options.pass ? *options.pass : static_cast<PassKind>(i % PassKindCount);
        const PhotoSet set = RenderPhotoSet(kind, options.seed, options.first + i, options.effects);
        char name[32];
        std::snprintf(name, sizeof name, "pass_%04d", options.first + i);
        const std::string error = WritePhotoSet((std::filesystem::path(options.folder) / name).string(), set);
        if (!error.empty()) {
            std::fprintf(stderr, "make_test_images: %s\n", error.c_str());
            return RunError;
        }
    }
    std::printf("wrote %d photo sets into %s\n", options.count, std::filesystem::absolute(options.folder).c_str());
    return 0;
}

// Qt's notes about the session (no runtime folder and the like) mean nothing to this command.
void KeepSeriousMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(Usage, stdout);
        return 0;
    }
    std::string error;
    const std::optional<Options> options = ParseOptions(args, error);
    if (!options) {
        std::fprintf(stderr, "make_test_images: %s\n%s", error.c_str(), Usage);
        return UsageError;
    }
    qInstallMessageHandler(KeepSeriousMessages);
    try {
        return options->photos ? WritePhotoSets(*options) : WriteFrames(*options);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "make_test_images: %s\n", failure.what());
        return RunError;
    }
}
