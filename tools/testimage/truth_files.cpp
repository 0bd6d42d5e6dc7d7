// Effect defaults and names, the ground-truth text and the files written beside each image.
#include <charconv>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/gray_bmp_writer.h"
#include "tools/testimage/camera.h"
#include "tools/testimage/test_image.h"

namespace testimage {
namespace {

constexpr int BestQuality = 100;

const char* const LayoutNames[] = {"one-line", "two-lines", "vertical"};
const char* const PassKindNames[] = {"four", "six-one", "six-two"};
const char* const RoleNames[] = {"number", "owner", "serial", "size_type"};
const char* const WallNames[] = {"gray", "red", "blue", "green", "white"};

// Locale-independent: Qt sets the process locale from the environment.
std::string Fixed(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2).ptr;
    return std::string(text, end);
}

std::string BoxText(const Box& box) {
    return std::to_string(box.left) + " " + std::to_string(box.top) + " " + std::to_string(box.right) + " " +
           std::to_string(box.bottom);
}

bool WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

std::string MakeFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) return "cannot create folder " + folder + ": " + error.message();
    return "";
}

}  // namespace

const EffectName EffectNames[EffectCount] = {
    {"ribs", &Effects::ribs},         {"rust", &Effects::rust},
    {"dirt", &Effects::dirt},         {"wear", &Effects::wear},
    {"light", &Effects::light},       {"clutter", &Effects::clutter},
    {"rotation", &Effects::rotation}, {"perspective", &Effects::perspective},
    {"blur", &Effects::blur},         {"motion", &Effects::motion},
    {"noise", &Effects::noise},       {"jpeg", &Effects::jpeg},
};

Effects GateCameraEffects() {
    return {.ribs = 0.5, .rust = 0.3, .dirt = 0.3, .wear = 0.3, .light = 0.5, .clutter = 0.5,
            .rotation = 0.5, .perspective = 0.3, .blur = 0.5, .motion = 0.3, .noise = 0.5, .jpeg = 0.3};
}

Effects CleanEffects() { return Effects{}; }

const LineTruth* FindLine(const Truth& truth, LineRole role) {
    for (const LineTruth& line : truth.lines) {
        if (line.role == role) return &line;
    }
    return nullptr;
}

const char* LayoutName(Layout layout) { return LayoutNames[static_cast<int>(layout)]; }

const char* PassKindName(PassKind kind) { return PassKindNames[static_cast<int>(kind)]; }

std::optional<Layout> ParseLayout(const std::string& name) {
    for (int i = 0; i < static_cast<int>(std::size(LayoutNames)); ++i) {
        if (name == LayoutNames[i]) return static_cast<Layout>(i);
    }
    return std::nullopt;
}

std::optional<PassKind> ParsePassKind(const std::string& name) {
    for (int i = 0; i < static_cast<int>(std::size(PassKindNames)); ++i) {
        if (name == PassKindNames[i]) return static_cast<PassKind>(i);
    }
    return std::nullopt;
}

std::string DescribeTruth(const Truth& truth) {
    std::string text;
    auto put = [&text](const std::string& key, const std::string& value) { text += key + " " + value + "\n"; };
    put("size", std::to_string(truth.width) + " " + std::to_string(truth.height));
    put("seed", std::to_string(truth.seed));
    put("number", truth.number);
    put("size_type", truth.sizeType);
    put("layout", LayoutName(truth.layout));
    put("char_height", std::to_string(truth.charHeight));
    put("stroke_width", std::to_string(truth.strokeWidth));
    put("size_type_height", std::to_string(truth.sizeTypeHeight));
    put("size_type_stroke", std::to_string(truth.sizeTypeStroke));
    put("font", truth.font);
    put("paint", truth.paint == Paint::DarkOnLight ? "dark-on-light" : "light-on-dark");
    put("wall", WallNames[static_cast<int>(truth.wall)]);
    put("rotation", Fixed(truth.rotation));
    put("check_frame", truth.checkFrame ? BoxText(truth.checkFrameBox) : "none");
    std::string effects;
    for (const EffectName& effect : EffectNames) {
        effects += (effects.empty() ? "" : " ") + std::string(effect.name) + "=" + Fixed(truth.effects.*effect.strength);
    }
    put("effects", effects);
    for (const LineTruth& line : truth.lines) {
        put("line", std::string(RoleNames[static_cast<int>(line.role)]) + " " + line.text + " " +
                        (line.vertical ? "vertical " : "horizontal ") + BoxText(line.box));
        for (const CharTruth& c : line.chars) put("char", std::string(1, c.ch) + " " + BoxText(c.box));
    }
    return text;
}

std::string WriteGrayFrame(const std::string& folder, const std::string& name, const Frame& frame) {
    if (std::string error = MakeFolder(folder); !error.empty()) return error;
    // An absolute path: the BMP writer maps any other path onto the programs' drive folders.
    const std::filesystem::path base = std::filesystem::absolute(folder) / name;
    const std::string image = base.string() + ".bmp";
    if (WriteGrayBmp(image.c_str(), frame.gray.data(), frame.truth.width, frame.truth.height, frame.truth.width) != 0) {
        return "cannot write " + image;
    }
    if (!WriteText(base.string() + ".txt", "image " + name + ".bmp\n" + DescribeTruth(frame.truth))) {
        return "cannot write " + base.string() + ".txt";
    }
    return "";
}

std::string WritePhotoSet(const std::string& folder, const PhotoSet& set) {
    if (std::string error = MakeFolder(folder); !error.empty()) return error;
    for (const Photo& photo : set.photos) {
        const std::filesystem::path path = std::filesystem::path(folder) / photo.fileName;
        const QByteArray jpeg = photo.frame.jpeg.isEmpty() ? EncodeJpeg(photo.frame.colour, BestQuality) : photo.frame.jpeg;
        std::ofstream out(path, std::ios::binary);
        out.write(jpeg.constData(), jpeg.size());
        out.close();
        if (!out) return "cannot write " + path.string();
        const std::string header = "image " + photo.fileName + "\nview " + photo.view + "\ncamera " +
                                   std::to_string(photo.camera) + "\ncontainer " + std::string(1, photo.container) + "\n";
        std::filesystem::path truthPath = path;
        truthPath.replace_extension(".txt");
        if (!WriteText(truthPath, header + DescribeTruth(photo.frame.truth))) return "cannot write " + truthPath.string();
    }
    return "";
}

}  // namespace testimage
