// The file-name table of the batch test button.
#pragma once

inline constexpr int BatchNameCapacity = 6000;
inline constexpr int BatchNameBytes = 64;

extern char BatchFileNames[BatchNameCapacity][BatchNameBytes];
extern int BatchFileCount;

// Lists the names matching a Windows path pattern into the table, in directory order, up to its
// capacity. A name too long for a slot (with its terminator) is left out. Answers the count.
int ListFilesToNameTable(const char* pattern);
