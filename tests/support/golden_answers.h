// The answers a recognizer gives today on a fixed list of generated frames of its camera, read
// as a request is read. A change that is meant to leave every answer alone (a faster routine,
// say) must leave this list unchanged. The answers live in a text file beside the tests; with
// TORVA_GOLDEN_ANSWERS_OUT set the test writes the answers of the build at hand there instead
// of comparing (tools/regenerate-golden-answers.sh does this for both cameras).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/location/planes.h"
#include "engine/recognizer_state.h"
#include "recognizer/dialog/recognizer_camera.h"
#include "recognizer/dialog/recognizer_dlg.h"
#include "tools/testimage/test_image.h"

struct GoldenFrame {
    std::uint64_t seed;
    testimage::Layout layout;
    const char* effects;  // NAME=S,... over the gate camera's effects; "gate" for none
};

// Effect mixes of the list: the gate camera's own, then cluttered and textured walls, then
// poor optics and light.
inline constexpr const char* GoldenEffectMixes[] = {
    "gate",
    "clutter=1,rust=1,dirt=1",
    "clutter=1,rust=1,dirt=1,ribs=1,wear=1",
    "noise=1,blur=1,jpeg=1",
    "light=1,perspective=1,rotation=1,motion=1",
};

// Every mix with every layout the camera reads, `perLayout` seeds each.
inline std::vector<GoldenFrame> GoldenFrames(int perLayout) {
    std::vector<testimage::Layout> layouts{testimage::Layout::OneLine};
    if (CameraNumber != 1) {
        layouts.push_back(testimage::Layout::TwoLines);
        layouts.push_back(testimage::Layout::Vertical);
    }
    std::vector<GoldenFrame> frames;
    std::uint64_t seed = 7001;
    for (const char* mix : GoldenEffectMixes) {
        for (const testimage::Layout layout : layouts) {
            for (int n = 0; n < perLayout; ++n) frames.push_back(GoldenFrame{seed++, layout, mix});
        }
    }
    return frames;
}

inline testimage::Effects GoldenEffects(const std::string& mix) {
    testimage::Effects effects = testimage::GateCameraEffects();
    std::istringstream items(mix);
    std::string item;
    while (std::getline(items, item, ',')) {
        const std::size_t equals = item.find('=');
        if (equals == std::string::npos) continue;
        for (const testimage::EffectName& effect : testimage::EffectNames) {
            if (item.compare(0, equals, effect.name) == 0) effects.*effect.strength = std::stod(item.substr(equals + 1));
        }
    }
    return effects;
}

inline std::string FieldOrDash(const char* text) { return text[0] != 0 ? text : "-"; }

// One line per frame: the frame, the pipeline's answer and the result record's fields.
inline std::string GoldenAnswerLine(const GoldenFrame& golden) {
    testimage::FrameRequest request = testimage::CameraFrameRequest(CameraNumber, golden.seed);
    request.layout = golden.layout;
    request.effects = testimage::SeenByCamera(GoldenEffects(golden.effects), CameraNumber);
    const testimage::Frame frame = testimage::RenderFrame(request);
    if (frame.gray.size() != sizeof WorkImage) return "frame of the wrong size";
    std::memcpy(WorkImage, frame.gray.data(), sizeof WorkImage);
    ResetRecognitionResult(RecognizerResult, CameraNumber, 0);
    const int answer = RecognizeInRegion(ThisCamera.margins, FrameWidth, FrameHeight);
    const RecognitionResult& result = RecognizerResult;
    std::ostringstream line;
    line << "seed " << golden.seed << " layout " << testimage::LayoutName(golden.layout) << " effects "
         << golden.effects << " | answer " << answer << " code_flag " << int{result.codeFound} << " code "
         << FieldOrDash(result.code) << " size_type_flag " << int{result.sizeTypeFound} << " size_type "
         << FieldOrDash(result.sizeType);
    return line.str();
}

inline std::vector<std::string> ReadGoldenLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line[0] != '#') lines.push_back(line);
    }
    return lines;
}

#if defined(__SANITIZE_ADDRESS__)
inline constexpr std::size_t GoldenStride = 4;  // the sanitizer build reads every fourth frame
#else
inline constexpr std::size_t GoldenStride = 1;
#endif

// Compares (or, with TORVA_GOLDEN_ANSWERS_OUT set, writes) the answers of the list.
inline void CheckGoldenAnswers(const std::string& path, int perLayout) {
    const std::vector<GoldenFrame> frames = GoldenFrames(perLayout);
    if (const char* out = std::getenv("TORVA_GOLDEN_ANSWERS_OUT")) {
        std::ofstream file(out);
        file << "# Answers of generated frames; regenerate with tools/regenerate-golden-answers.sh\n";
        for (const GoldenFrame& golden : frames) file << GoldenAnswerLine(golden) << '\n';
        ASSERT_TRUE(file.good()) << "cannot write " << out;
        return;
    }
    const std::vector<std::string> expected = ReadGoldenLines(path);
    ASSERT_EQ(expected.size(), frames.size()) << path << " does not list the frames of the test";
    for (std::size_t i = 0; i < frames.size(); i += GoldenStride) {
        EXPECT_EQ(GoldenAnswerLine(frames[i]), expected[i]);
    }
}
