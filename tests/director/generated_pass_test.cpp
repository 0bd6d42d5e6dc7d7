// Generated photo sets of whole truck passes through the director and the real recognizers
// started from the build folder; recognizers of the other cameras answer that they read nothing,
// so what the window shows comes from the real ones alone.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "director_fixture.h"
#include "fusion_fixture.h"
#include "tools/testimage/test_image.h"

namespace {

struct Pass {
    testimage::PassKind kind;
    std::uint64_t seed;
};

// The containers of a set in the order the director shows them: A, then B.
std::vector<std::pair<std::string, std::string>> Containers(const testimage::PhotoSet& set) {
    std::vector<std::pair<std::string, std::string>> containers;
    for (const char which : {'A', 'B'}) {
        for (const testimage::Photo& photo : set.photos) {
            if (photo.container != which) continue;
            containers.emplace_back(photo.frame.truth.number, photo.frame.truth.sizeType);
            break;
        }
    }
    return containers;
}

class GeneratedPassTest : public DirectorTest {
protected:
    // Dispatches the set with the real recognizers started under `launchNames` and empty answers
    // from the fake cameras; keeps the fusion as the window shows it.
    void ReadPass(const Pass& pass, const std::vector<std::string>& launchNames,
                  std::initializer_list<int> fakeCameras) {
        set = testimage::RenderPhotoSet(pass.kind, pass.seed, 1, testimage::GateCameraEffects());
        const std::string folder = drives.root() + "/e/pass";
        ASSERT_EQ(testimage::WritePhotoSet(folder, set), "");
        LaunchRealRecognizers(launchNames);
        AddRecognizers(fakeCameras);
        for (const int camera : fakeCameras) recognizers[camera]->answer = Answer(0, 0, "", "");
        pickedFolder = folder;

        ScriptedDirector director([&](ScriptedDirector& d) {
            const bool up = PumpUntil([&] {
                for (const int camera : {1, 2}) {
                    if (recognizers.count(camera) == 0 && !win::FindWindowA(nullptr, CameraWindowCaption(camera))) {
                        return false;
                    }
                }
                return true;
            });
            EXPECT_TRUE(up) << "the real recognizers appear on the bus";
            if (up) {
                const auto start = std::chrono::steady_clock::now();
                d.ClickSelectFolder();
                const int photos = static_cast<int>(set.photos.size());
                EXPECT_TRUE(PumpUntil([&] { return d.m_fusion.m_resultCount == photos; }))
                    << d.m_fusion.m_resultCount << " answers of " << photos;
                // Reported, never asserted: from the folder choice to the fused result.
                const auto elapsed = std::chrono::steady_clock::now() - start;
                RecordProperty("ms_to_fused_result",
                               static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
            }
            shownLog = d.GetDlgItemText(IDC_RESULT_LOG);
            code1 = d.m_fusion.m_code1;
            code2 = d.m_fusion.m_code2;
            type1 = d.m_fusion.m_type1;
            type2 = d.m_fusion.m_type2;
            d.Close();
        });
        director.DoModal();
        ExpectStartedRecognizersEnd();
    }

    testimage::PhotoSet set;
    std::string shownLog, code1, code2, type1, type2;
};

TEST_F(GeneratedPassTest, SixPhotosOfOneContainerReadBySideRecognizer) {
    ReadPass({testimage::PassKind::SixOneContainer, 1}, {"TORVA2.dic"}, {1, 3, 4});
    const auto containers = Containers(set);
    ASSERT_EQ(containers.size(), 1u);
    EXPECT_EQ(code1, containers[0].first);
    EXPECT_EQ(type1, containers[0].second);
    EXPECT_EQ(code2, "");
    EXPECT_NE(shownLog.find(containers[0].first + " " + containers[0].second), std::string::npos) << shownLog;
}

TEST_F(GeneratedPassTest, SixPhotosOfTwoContainersReadBySideRecognizer) {
    ReadPass({testimage::PassKind::SixTwoContainers, 12}, {"TORVA2.dic"}, {1, 3, 4});
    const auto containers = Containers(set);
    ASSERT_EQ(containers.size(), 2u);
    EXPECT_EQ(code1, containers[0].first);
    EXPECT_EQ(code2, containers[1].first);
    for (const auto& [number, sizeType] : containers) {
        EXPECT_NE(shownLog.find(number), std::string::npos) << shownLog;
    }
}

// The whole system: the director starts both recognizers; the rear and left-side photos are
// read by them, cameras 3 and 4 answer that they read nothing.
TEST_F(GeneratedPassTest, FourPhotosReadByBothRecognizers) {
    ReadPass({testimage::PassKind::FourPhotos, 4}, {"TORVA1.dic", "TORVA2.dic"}, {3, 4});
    const auto containers = Containers(set);
    ASSERT_EQ(containers.size(), 1u);
    EXPECT_EQ(code1, containers[0].first);
    EXPECT_EQ(type1, containers[0].second);
    EXPECT_NE(shownLog.find(containers[0].first + " " + containers[0].second), std::string::npos) << shownLog;
}

TEST_F(GeneratedPassTest, SixPhotosOfOneContainerReadByBothRecognizers) {
    ReadPass({testimage::PassKind::SixOneContainer, 14}, {"TORVA1.dic", "TORVA2.dic"}, {3, 4});
    const auto containers = Containers(set);
    ASSERT_EQ(containers.size(), 1u);
    EXPECT_EQ(code1, containers[0].first);
    EXPECT_EQ(type1, containers[0].second);
    EXPECT_EQ(code2, "");
}

TEST_F(GeneratedPassTest, SixPhotosOfTwoContainersReadByBothRecognizers) {
    ReadPass({testimage::PassKind::SixTwoContainers, 11}, {"TORVA1.dic", "TORVA2.dic"}, {3, 4});
    const auto containers = Containers(set);
    ASSERT_EQ(containers.size(), 2u);
    EXPECT_EQ(code1, containers[0].first);
    EXPECT_EQ(type1, containers[0].second);
    EXPECT_EQ(code2, containers[1].first);
    EXPECT_EQ(type2, containers[1].second);
}

// What a field shows against its truth: right, empty or wrong.
struct FieldCounts {
    int right = 0, empty = 0, wrong = 0;
    void Count(const std::string& shown, const std::string& truth) {
        ++(shown.empty() ? empty : shown == truth ? right : wrong);
    }
    std::string Text() const {
        return std::to_string(right) + " right, " + std::to_string(empty) + " empty, " +
               std::to_string(wrong) + " wrong";
    }
};

bool AnyAnswerHolds(const ResultFusion& fusion, std::uint8_t RecognitionResult::*found) {
    for (int i = 0; i < fusion.m_resultCount; ++i) {
        if (fusion.ResultList[i].*found != 0) return true;
    }
    return false;
}

// The system as it ships: the director starts the two recognizers of this system and nothing
// answers for cameras 3 and 4. Only the rear and left-side photos are answered, two of a
// four-photo set and three of a six-photo set, so what the director decides only at the fourth
// or sixth answer (votes over all answers, default size/type codes, the layout of a six-photo
// set without a size/type code) never happens. One window reads the passes one after the other,
// as an operator would.
class DeploymentTest : public GeneratedPassTest {
protected:
    static constexpr int PassesPerKind = 4;

    void ReadPasses(ScriptedDirector& d) {
        ASSERT_TRUE(PumpUntil([] {
            return win::FindWindowA(nullptr, CameraWindowCaption(1)) &&
                   win::FindWindowA(nullptr, CameraWindowCaption(2));
        })) << "the real recognizers appear on the bus";
        for (const testimage::PassKind kind :
             {testimage::PassKind::FourPhotos, testimage::PassKind::SixOneContainer,
              testimage::PassKind::SixTwoContainers}) {
            for (int seed = 1; seed <= PassesPerKind; ++seed) {
                set = testimage::RenderPhotoSet(kind, static_cast<std::uint64_t>(seed), ++passes,
                                                testimage::GateCameraEffects());
                const std::string folder = drives.root() + "/e/pass" + std::to_string(passes);
                ASSERT_EQ(testimage::WritePhotoSet(folder, set), "");
                pickedFolder = folder;
                d.ClickSelectFolder();
                const std::string pass = std::string(testimage::PassKindName(kind)) + " " + std::to_string(seed);
                const int answers = kind == testimage::PassKind::FourPhotos ? 2 : 3;
                ASSERT_TRUE(PumpUntil([&] { return d.m_fusion.m_resultCount == answers; })) << pass;
                CheckShown(d.m_fusion, pass);
            }
        }
        // The last set's answers are all in: nothing comes after them.
        PumpUntil([] { return false; }, 200);
        EXPECT_EQ(d.m_fusion.m_resultCount, 3);
    }

    // Every number shown is right; a field of a container the set does not hold stays empty;
    // without any size/type code read, no size/type code is shown, nor anything of a six-photo set.
    void CheckShown(const ResultFusion& shown, const std::string& pass) {
        auto containers = Containers(set);
        containers.resize(2);  // B is empty for one container
        const std::pair<std::string, std::string> fields[] = {{shown.m_code1, shown.m_type1},
                                                              {shown.m_code2, shown.m_type2}};
        std::string line = pass + ":";
        for (std::size_t c = 0; c < 2; ++c) {
            const auto& [number, sizeType] = containers[c];
            EXPECT_TRUE(fields[c].first.empty() || fields[c].first == number)
                << pass << " shows " << fields[c].first << " for " << number;
            if (number.empty()) {
                EXPECT_EQ(fields[c].second, "") << pass;
                continue;
            }
            numbers.Count(fields[c].first, number);
            types.Count(fields[c].second, sizeType);
            line += " [" + fields[c].first + " " + fields[c].second + "] of [" + number + " " + sizeType + "]";
        }
        if (!AnyAnswerHolds(shown, &RecognitionResult::sizeTypeFound)) {
            EXPECT_EQ(fields[0].second + fields[1].second, "") << pass << ": no default size/type";
            if (set.kind != testimage::PassKind::FourPhotos) {
                EXPECT_EQ(fields[0].first, "") << pass << ": layout never decided";
            }
        }
        RecordProperty("pass_" + std::to_string(passes), line);
    }

    int passes = 0;
    FieldCounts numbers, types;
};

TEST_F(DeploymentTest, PassesReadWithoutCameras3And4) {
    LaunchRealRecognizers({"TORVA1.dic", "TORVA2.dic"});
    ScriptedDirector director([&](ScriptedDirector& d) {
        ReadPasses(d);
        d.Close();
    });
    director.DoModal();
    ExpectStartedRecognizersEnd();
    RecordProperty("passes", passes);
    RecordProperty("numbers", numbers.Text());
    RecordProperty("size_types", types.Text());
}

}  // namespace
