// Addresses, messages and file names shared by the director and the recognizers.
#pragma once

#include <cstdint>

inline constexpr unsigned WM_USER_BASE = 0x0400;
inline constexpr unsigned WM_RECOGNITION_RESULT = WM_USER_BASE + 0x76;  // 1142, sent
inline constexpr unsigned WM_RECOGNIZE_REQUEST = WM_USER_BASE + 0x77;   // 1143, posted
static_assert(WM_RECOGNITION_RESULT == 1142 && WM_RECOGNIZE_REQUEST == 1143);

inline constexpr int FirstCamera = 1;
inline constexpr int LastCamera = 4;

// The window captions are the programs' addresses.
inline constexpr const char* DirectorWindowCaption = "TORVA-VIDEO-DIRECTOR";
inline constexpr const char* CameraWindowCaptions[LastCamera + 1] = {
    nullptr, "TORVA-VIDEO-CAM1", "TORVA-VIDEO-CAM2", "TORVA-VIDEO-CAM3", "TORVA-VIDEO-CAM4"};

// Caption of camera 1 to 4, or nullptr for any other number.
constexpr const char* CameraWindowCaption(int camera) {
    return camera >= FirstCamera && camera <= LastCamera ? CameraWindowCaptions[camera] : nullptr;
}

// Single-instance mark: property name per camera, its value is the camera number.
constexpr const char* InstancePropertyNameFor(int camera) {
    return camera == 1 ? "TORVA_XHR_1" : camera == 2 ? "TORVA_XHR_2" : nullptr;
}

// Request file formats; camera 1 ignores the side and uses one file.
inline constexpr const char* Camera1RequestFile = "c:\\1.syc";
inline constexpr const char* SidedRequestFileFormat = "c:\\%d_%d.syc";  // camera, side
inline constexpr const char* Camera4RequestFile = "c:\\4.syc";
