#include "director/view_sequence.h"

#include <algorithm>
#include <cstring>

#include "common/protocol.h"

char PhotoFileNames[MaxPhotoFiles][PhotoNameSize];

namespace {

constexpr const char* MissingView = "Box File Name error";

constexpr ViewStep ViewSequence[] = {
    {"Front", Camera4RequestFile, CameraWindowCaptions[4], 4, 0, 0, 0, MissingView},
    {"Rearx", Camera1RequestFile, CameraWindowCaptions[1], 1, 0, 0, 408, MissingView},
    {"Sider_01", "c:\\3_0.syc", CameraWindowCaptions[3], 3, 0, 410, 0,
     "Box File Name error: Sider_01 "},
    // six photos
    {"Sidel_02", "c:\\2_1.syc", CameraWindowCaptions[2], 2, 1, 410, 408,
     "Box File Name error: Sidel_02 "},
    {"Sider_02", "c:\\3_1.syc", CameraWindowCaptions[3], 3, 1, 720, 0,
     "Box File Name error: Sider_02 "},
    {"Sidel_01", "c:\\2_0.syc", CameraWindowCaptions[2], 2, 0, 720, 408,
     "Box File Name error: Sidel_01 "},
    // four photos
    {"Sidel_01", "c:\\2_0.syc", CameraWindowCaptions[2], 2, 0, 410, 408,
     "Box File Name error: Sidel_01 "},
};

constexpr std::span<const ViewStep> AllSteps{ViewSequence};

}  // namespace

std::span<const ViewStep> CommonViewSteps() { return AllSteps.subspan(0, 3); }

std::span<const ViewStep> SixPhotoViewSteps() { return AllSteps.subspan(3, 3); }

std::span<const ViewStep> FourPhotoViewSteps() { return AllSteps.subspan(6, 1); }

int FindPhotoByView(const char* word, int fileCount) {
    const int listed = std::clamp(fileCount, 0, MaxPhotoFiles);
    for (int i = 0; i < listed; ++i) {
        if (std::strstr(PhotoFileNames[i], word) != nullptr) return i;
    }
    return -1;
}
