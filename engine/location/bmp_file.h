// What the BMP readers share: the header fields they look at and the bottom-up row copy.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>

struct BmpFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using BmpFile = std::unique_ptr<std::FILE, BmpFileCloser>;

struct BmpHeader {
    int width;
    int height;  // positive: rows stored bottom-up
    int bitCount;
    long pixelOffset;
};

// Opens a Windows path for reading; empty when it cannot be opened.
BmpFile OpenBmpFile(const char* path);
// Reads the file and info headers (54 bytes); false when the file is shorter.
bool ReadBmpHeader(std::FILE* file, BmpHeader* header);
// Reads header.height rows of `rowBytes` from the pixel offset, the bottom row first, into
// `rows` (top row first, `rowStride` bytes apart). False when the file ends early.
bool ReadBmpRows(std::FILE* file, const BmpHeader& header, int rowBytes, std::uint8_t* rows, int rowStride);
