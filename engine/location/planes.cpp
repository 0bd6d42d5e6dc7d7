#include "engine/location/planes.h"

std::uint8_t LoadedImage[FrameSize];
std::uint8_t WorkImage[FrameSize];
std::uint8_t EdgeImage[FrameSize];
EdgeFieldCell EdgeField[FrameSize];
std::uint8_t BinaryImage[FrameSize];
std::uint8_t BinaryBackup[FrameSize];
std::uint8_t BinarySnapshot[FrameSize];
