// The rear recognizer's answers on the fixed list of generated frames stay what they were.
#include "support/golden_answers.h"

namespace {

TEST(GoldenAnswers, RearFramesOfEveryWall) {
    CheckGoldenAnswers(std::string(TORVA_TESTS_DIR) + "/recognizer/cam1/golden/cam1.txt", 2);
}

}  // namespace
