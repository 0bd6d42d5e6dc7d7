// The photos of one truck pass, named and sized as the gate cameras deliver them.
#include <cstdio>

#include "tools/testimage/codes.h"
#include "tools/testimage/glyphs.h"
#include "tools/testimage/random.h"
#include "tools/testimage/test_image.h"

namespace testimage {
namespace {

struct ViewPlan {
    const char* view;
    int camera;
    int width;   // the recognizers refuse frames larger than theirs; cameras 3 and 4 stay
    int height;  // within the director's 1024 x 1024
    char container;  // of a two-container pass
};

// In the director's dispatch order of a six-photo pass; a four-photo pass takes the first four
// with "Sidel_01" last.
constexpr ViewPlan SixViews[] = {
    {"Front", 4, 1024, 768, 'A'},    {"Rearx", 1, 800, 600, 'B'},    {"Sider_01", 3, 1024, 768, 'A'},
    {"Sidel_02", 2, 600, 800, 'B'},  {"Sider_02", 3, 1024, 768, 'B'}, {"Sidel_01", 2, 600, 800, 'A'},
};
constexpr int FourViews[] = {0, 1, 2, 5};

// Size/type codes by container length: 20-foot codes start with "2", the longer ones with
// "4", "L" or "9".
constexpr const char* TwentyFoot = "2";
constexpr const char* Longer = "4L9";
constexpr int PassCounterLimit = 10000;

// What stays the same on every photo of one container.
struct Container {
    std::string number;
    std::string sizeType;
    Wall wall = Wall::Gray;
    Paint paint = Paint::DarkOnLight;
    int font = 0;
    bool checkFrame = false;
};

Container DrawContainer(Rng& rng, const char* firsts) {
    Container container;
    container.number = RandomContainerNumber(rng);
    container.sizeType = RandomSizeType(rng, firsts);
    container.wall = DrawWall(rng);
    container.paint = DrawPaint(container.wall, rng);
    container.font = rng.Between(0, CodeFontCount() - 1);
    container.checkFrame = rng.Chance(CheckFrameShare);
    return container;
}

std::string PassPrefix(Rng& rng, int passNumber) {
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "%02d_%02d%02d%02d_%02d%02d%02d_CAR%04d", rng.Between(1, 8), rng.Between(10, 24),
                  rng.Between(1, 12), rng.Between(1, 28), rng.Between(6, 21), rng.Between(0, 59), rng.Between(0, 59),
                  passNumber % PassCounterLimit);
    return prefix;
}

FrameRequest PhotoRequest(const ViewPlan& plan, const Container& container, std::uint64_t seed, const Effects& effects, Rng& rng) {
    FrameRequest request;
    if (plan.camera == 1 || plan.camera == 2) {
        request = CameraFrameRequest(plan.camera, seed);  // where and how that recognizer reads
    } else {
        request.width = plan.width;
        request.height = plan.height;
        request.seed = seed;
        if (plan.camera == 4) request.layout = rng.Chance(0.5) ? Layout::OneLine : Layout::TwoLines;
    }
    request.number = container.number;
    request.sizeType = container.sizeType;
    request.wall = container.wall;
    request.paint = container.paint;
    request.font = container.font;
    request.checkFrame = container.checkFrame;
    request.effects = SeenByCamera(effects, plan.camera);
    return request;
}

}  // namespace

PhotoSet RenderPhotoSet(PassKind kind, std::uint64_t seed, int passNumber, const Effects& effects) {
    RequireCodeFonts();
    Rng rng(MixSeed(seed, static_cast<std::uint64_t>(passNumber)));
    PhotoSet set;
    set.kind = kind;
    set.prefix = PassPrefix(rng, passNumber);
    const Container a = DrawContainer(rng, kind == PassKind::SixOneContainer ? Longer : TwentyFoot);
    Container b = a;
    if (kind == PassKind::SixTwoContainers) {
        do {
            b = DrawContainer(rng, TwentyFoot);
        } while (b.number == a.number);
    }
    std::vector<int> views;
    if (kind == PassKind::FourPhotos) {
        views.assign(std::begin(FourViews), std::end(FourViews));
    } else {
        for (int i = 0; i < static_cast<int>(std::size(SixViews)); ++i) views.push_back(i);
    }
    for (int index : views) {
        const ViewPlan& plan = SixViews[index];
        Photo photo;
        photo.view = plan.view;
        photo.camera = plan.camera;
        photo.container = kind == PassKind::SixTwoContainers ? plan.container : 'A';
        photo.fileName = set.prefix + "_" + plan.view + ".jpg";
        const Container& shown = photo.container == 'A' ? a : b;
        const std::uint64_t photoSeed = MixSeed(seed, static_cast<std::uint64_t>(passNumber), static_cast<std::uint64_t>(index) + 1);
        photo.frame = RenderFrame(PhotoRequest(plan, shown, photoSeed, effects, rng));
        set.photos.push_back(std::move(photo));
    }
    return set;
}

}  // namespace testimage
