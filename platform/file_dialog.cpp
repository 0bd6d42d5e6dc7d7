#include "platform/file_dialog.h"

#include <QFile>
#include <QFileDialog>

#include "platform/dialog.h"

namespace win {
namespace {

FileDialogHook& Hook() {
    static FileDialogHook* const hook = new FileDialogHook;
    return *hook;
}

std::string Text(const char* text) { return text ? text : ""; }

bool HasWildcard(const std::string& name) { return name.find_first_of("*?") != std::string::npos; }

}  // namespace

void SetFileDialogHook(FileDialogHook hook) { Hook() = std::move(hook); }

QStringList NameFiltersOf(const char* filter) {
    const QStringList parts = QString::fromUtf8(filter ? filter : "").split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty() && parts[i + 1].isEmpty()) break;  // the closing "|"
        const QString patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
        filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defaultExtension, const char* fileName, DWORD flags,
                         const char* filter, CDialog* parent)
    : request_{openFileDialog != FALSE, Text(defaultExtension), Text(fileName), Text(filter), flags}, parent_(parent) {}

INT_PTR CFileDialog::DoModal() {
    path_.clear();
    if (Hook()) {
        const std::optional<std::string> chosen = Hook()(request_);
        if (!chosen) return IDCANCEL;
        path_ = *chosen;
        return IDOK;
    }
    QFileDialog dialog(parent_ ? parent_->widget() : nullptr);
    dialog.setAcceptMode(request_.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(request_.open && (request_.flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile
                                                                              : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(request_.flags & OFN_OVERWRITEPROMPT));
    dialog.setDefaultSuffix(QString::fromUtf8(request_.defaultExtension));
    const QStringList filters = NameFiltersOf(request_.filter.c_str());
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    dialog.setOption(QFileDialog::HideNameFilterDetails);  // the texts are shown as the program wrote them
    // A wildcard name only narrows the listing, which the filter already does.
    if (!request_.fileName.empty() && !HasWildcard(request_.fileName)) {
        dialog.selectFile(QString::fromUtf8(request_.fileName));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return IDCANCEL;
    path_ = QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
    return IDOK;
}

}  // namespace win
