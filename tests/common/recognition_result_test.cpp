#include "common/recognition_result.h"
#include "common/protocol.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(RecognitionResult, ResetClearsOnlyWhatANewRequestClears) {
    RecognitionResult r;
    std::memset(&r, 'x', sizeof r);
    ResetRecognitionResult(r, 2, 0x1FF & 0xFF);
    EXPECT_EQ(r.camera, 2);
    EXPECT_EQ(r.side, 0xFF);
    EXPECT_EQ(r.code[0], '\0');
    EXPECT_EQ(r.code[1], 'x');  // bytes after the terminator keep what was there
    EXPECT_EQ(r.sizeType[0], '\0');
    EXPECT_EQ(r.codeFound, 0);
    EXPECT_EQ(r.sizeTypeFound, 0);
}

TEST(Protocol, CaptionsAndProperties) {
    EXPECT_STREQ(CameraWindowCaption(1), "TORVA-VIDEO-CAM1");
    EXPECT_STREQ(CameraWindowCaption(4), "TORVA-VIDEO-CAM4");
    EXPECT_EQ(CameraWindowCaption(0), nullptr);
    EXPECT_EQ(CameraWindowCaption(5), nullptr);
    EXPECT_STREQ(InstancePropertyNameFor(2), "TORVA_XHR_2");
    EXPECT_STREQ(InstancePropertyNameFor(1), "TORVA_XHR_1");
}
