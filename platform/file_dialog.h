// The common file dialog: the user picks a file to open or a name to save under.
#pragma once

#include <QStringList>

#include <functional>
#include <optional>
#include <string>

#include "platform/win_types.h"

namespace win {

class CDialog;

inline constexpr DWORD OFN_OVERWRITEPROMPT = 0x0002;
inline constexpr DWORD OFN_HIDEREADONLY = 0x0004;  // there is no read-only box to hide here
inline constexpr DWORD OFN_NOCHANGEDIR = 0x0008;   // the dialog never changes the working folder
inline constexpr DWORD OFN_FILEMUSTEXIST = 0x1000;

// What a file dialog was opened with, as its test hook sees it.
struct FileDialogRequest {
    bool open;
    std::string defaultExtension;
    std::string fileName;
    std::string filter;
    DWORD flags;
};

// With a hook installed the hook answers instead (a path, or nothing for a cancel) and nothing
// is shown.
using FileDialogHook = std::function<std::optional<std::string>(const FileDialogRequest& request)>;
void SetFileDialogHook(FileDialogHook hook);

// The name filters of a filter in the "text|patterns|text|patterns|" form (patterns separated
// by ';'), each as "text (patterns)"; the dialog shows only the text.
QStringList NameFiltersOf(const char* filter);

class CFileDialog {
public:
    CFileDialog(BOOL openFileDialog, const char* defaultExtension = nullptr, const char* fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* filter = nullptr,
                CDialog* parent = nullptr);

    // Shows the dialog, modal; IDOK when a file was chosen, else IDCANCEL.
    INT_PTR DoModal();
    // The chosen file's full path (empty before a choice).
    std::string GetPathName() const { return path_; }

private:
    FileDialogRequest request_;
    CDialog* parent_;
    std::string path_;
};

}  // namespace win
