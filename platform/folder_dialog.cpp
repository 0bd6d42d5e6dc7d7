#include "platform/folder_dialog.h"

#include <QFile>
#include <QFileDialog>
#include <QString>

#include <cstdio>
#include <filesystem>

namespace win {
namespace {

FolderDialogHook& Hook() {
    static FolderDialogHook* const hook = new FolderDialogHook;
    return *hook;
}

std::optional<std::string> AskForFolder(const char* title) {
    if (Hook()) return Hook()(title);
    const QString folder = QFileDialog::getExistingDirectory(
        nullptr, QString::fromUtf8(title ? title : ""), QString(), QFileDialog::ShowDirsOnly);
    if (folder.isEmpty()) return std::nullopt;
    return QFile::encodeName(folder).toStdString();
}

}  // namespace

PIDLIST_ABSOLUTE SHBrowseForFolderA(BROWSEINFOA* info) {
    const std::optional<std::string> folder = AskForFolder(info->lpszTitle);
    if (!folder) return nullptr;
    if (info->pszDisplayName) {
        const std::string name = std::filesystem::path(*folder).filename().string();
        std::snprintf(info->pszDisplayName, MAX_PATH, "%s", name.c_str());
    }
    return new ITEMIDLIST{*folder};
}

BOOL SHGetPathFromIDListA(PIDLIST_ABSOLUTE folder, char* path) {
    if (!folder || folder->path.empty() || folder->path.size() >= FolderPathSize) return FALSE;
    if (folder->path.find('\\') != std::string::npos) return FALSE;
    std::snprintf(path, FolderPathSize, "%s", folder->path.c_str());
    return TRUE;
}

void CoTaskMemFree(PIDLIST_ABSOLUTE folder) { delete folder; }

void SetFolderDialogHook(FolderDialogHook hook) { Hook() = std::move(hook); }

}  // namespace win
