// The side recognizer's answers on the fixed list of generated frames stay what they were.
#include "support/golden_answers.h"

namespace {

TEST(GoldenAnswers, SideFramesOfEveryLayoutAndWall) {
    CheckGoldenAnswers(std::string(TORVA_TESTS_DIR) + "/recognizer/golden/cam2.txt", 2);
}

}  // namespace
