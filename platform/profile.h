// Settings files in the Windows ini format ("[Section]" lines and "key=value" lines), named by
// Windows paths.
#pragma once

#include "platform/win_types.h"

namespace win {

// A UTF-8 byte-order mark at the start of a file is no part of its first line.
//
// Copies the value of `key` in `section` (names match whatever their case; the value without
// the blanks around it or a pair of enclosing quotes) into `buffer`, cut to `size` - 1
// characters; `defaultValue` when the file, the section or the key is missing. Answers the
// number of characters copied.
DWORD GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue, char* buffer,
                               DWORD size, const char* fileName);

// Sets `key` in `section` to `value`: changes the key's line where there is one, else adds the
// key at the end of the section, or the section at the end of the file, creating the file when
// it is missing. Every other line stays as it was, and the file keeps its mode. FALSE when the
// file cannot be written or is read-only (it is then unchanged).
BOOL WritePrivateProfileStringA(const char* section, const char* key, const char* value, const char* fileName);

}  // namespace win
