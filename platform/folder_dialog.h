// The shell's folder dialog: the user picks a folder, the program asks for its path.
#pragma once

#include <climits>
#include <functional>
#include <optional>
#include <string>

#include "platform/win_types.h"

namespace win {

inline constexpr int MAX_PATH = 260;
// A folder path is as long as the file system lets a whole path be, not MAX_PATH: a folder of
// long (for example Chinese) names passes 260 bytes well before the file system objects.
inline constexpr int FolderPathSize = PATH_MAX;
inline constexpr UINT BIF_RETURNONLYFSDIRS = 0x0001;

// A picked folder; freed with CoTaskMemFree.
struct ITEMIDLIST {
    std::string path;
};
using PIDLIST_ABSOLUTE = ITEMIDLIST*;

struct BROWSEINFOA {
    HWND hwndOwner;
    PIDLIST_ABSOLUTE pidlRoot;  // nullptr: the desktop
    char* pszDisplayName;       // MAX_PATH chars: the picked folder's own name
    const char* lpszTitle;
    UINT ulFlags;
};

// Shows the folder dialog, modal to the program's windows; nullptr when cancelled. With a hook
// installed the hook answers instead (a folder, or nothing for a cancel) and nothing is shown.
PIDLIST_ABSOLUTE SHBrowseForFolderA(BROWSEINFOA* info);
// Copies the folder's path into `path` (FolderPathSize chars); FALSE when there is no folder,
// when the path does not fit, or when a name in it holds a backslash, which the programs' paths
// would read as a separator.
BOOL SHGetPathFromIDListA(PIDLIST_ABSOLUTE folder, char* path);
void CoTaskMemFree(PIDLIST_ABSOLUTE folder);

using FolderDialogHook = std::function<std::optional<std::string>(const char* title)>;
void SetFolderDialogHook(FolderDialogHook hook);

}  // namespace win
