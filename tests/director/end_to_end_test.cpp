// A six-photo set through the real camera-2 recognizer started from the build folder and
// recognizers of cameras 1, 3 and 4 that answer chosen records; the fused fields and the
// window as it is drawn.
#include <gtest/gtest.h>

#include <QDialog>
#include <QPixmap>

#include <cstring>

#include "director_fixture.h"
#include "fusion_fixture.h"

namespace {

int CountPixels(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& test) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) count += test(image.pixel(x, y));
    }
    return count;
}

bool IsCodeBlue(QRgb p) { return qBlue(p) > 200 && qRed(p) < 60 && qGreen(p) < 60; }

}  // namespace

TEST_F(DirectorTest, SixPhotoSetThroughFerrowAndAnsweringCamerasIsFusedAndShown) {
    LaunchRealRecognizers({"TORVA2.dic"});
    AddRecognizers({1, 3, 4});
    // Camera and side are the answering window's own.
    const std::string number = Number("TGHU860311");
    recognizers[4]->answer = Answer(0, 0, number, "45G1");
    recognizers[1]->answer = Answer(0, 0, number, "");
    recognizers[3]->answer = Answer(0, 0, "", "45G1");

    const std::vector<Photo> photos = {
        {"01_Front.jpg", QColor(180, 40, 40), 800, 600},
        {"02_Rearx.jpg", QColor(40, 160, 40), 800, 600},
        {"03_Sider_01.jpg", QColor(60, 60, 170)},
        {"04_Sidel_02.jpg", QColor(170, 170, 60)},
        {"05_Sider_02.jpg", QColor(60, 170, 170)},
        {"06_Sidel_01.jpg", QColor(170, 60, 170)},
    };
    pickedFolder = MakeFolder("pass", photos);
    QImage shot;
    std::string shownLog;
    ScriptedDirector director([&](ScriptedDirector& d) {
        const bool ferrowUp =
            PumpUntil([] { return win::FindWindowA(nullptr, CameraWindowCaption(2)) != nullptr; });
        EXPECT_TRUE(ferrowUp) << "the camera-2 recognizer appears on the bus";
        if (ferrowUp) {
            d.ClickSelectFolder();
            EXPECT_TRUE(PumpUntil([&] { return d.m_fusion.m_resultCount == 6; }))
                << d.m_fusion.m_resultCount << " answers";
        }
        shownLog = d.GetDlgItemText(IDC_RESULT_LOG);
        d.widget()->repaint();
        shot = d.widget()->grab().toImage();
        d.Close();
    });
    director.DoModal();

    // Ferrow's answers for both left sides are empty until its engine reads codes.
    int ferrowAnswers = 0;
    for (int i = 0; i < director.m_fusion.m_resultCount; ++i) {
        const RecognitionResult& r = director.m_fusion.ResultList[i];
        if (r.camera == 2) {
            ++ferrowAnswers;
            EXPECT_EQ(r.codeFound, CodeFlagNone);
        }
    }
    EXPECT_EQ(ferrowAnswers, 2);
    const std::string log = director.m_fusion.ResultLog;
    EXPECT_NE(log.find(number + " 45G1\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" \r\n"), std::string::npos) << log;
    EXPECT_NE(shownLog.find(number + " 45G1\n"), std::string::npos) << shownLog;
    EXPECT_EQ(director.m_fusion.m_layout, LayoutOneContainer);
    EXPECT_STREQ(director.m_fusion.m_code1, number.c_str());
    EXPECT_STREQ(director.m_fusion.m_type1, "45G1");
    EXPECT_STREQ(director.m_fusion.m_code2, "");

    ExpectStartedRecognizersEnd();

    ASSERT_FALSE(shot.isNull());
    shot.save(TORVA_BIN_DIR "/director_window.png");
    ASSERT_GE(shot.width(), ResultAreaWidth);
    ASSERT_GE(shot.height(), ResultAreaHeight);
    // Six thumbnails at their places, each of its photo's colour.
    const QPoint centres[] = {{200, 150}, {200, 558}, {560, 200}, {560, 608}, {870, 200}, {870, 608}};
    for (std::size_t i = 0; i < photos.size(); ++i) {
        const QColor seen = shot.pixelColor(centres[i]);
        EXPECT_NEAR(seen.red(), photos[i].colour.red(), 12) << i;
        EXPECT_NEAR(seen.green(), photos[i].colour.green(), 12) << i;
        EXPECT_NEAR(seen.blue(), photos[i].colour.blue(), 12) << i;
    }
    // The number and the size/type code in large blue type on the first line, none below.
    EXPECT_GT(CountPixels(shot, QRect(256, 600, 380, 70), IsCodeBlue), 500);
    EXPECT_GT(CountPixels(shot, QRect(656, 600, 200, 70), IsCodeBlue), 200);
    EXPECT_EQ(CountPixels(shot, QRect(256, 680, 600, 70), IsCodeBlue), 0);
}
