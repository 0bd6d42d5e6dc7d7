#include "platform/launch.h"

#include <unistd.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "platform/dialog.h"

namespace win {
namespace {

WinExecHook& Hook() {
    static WinExecHook* const hook = new WinExecHook;
    return *hook;
}

bool IsExecutableFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0;
}

std::filesystem::path OwnFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : self.parent_path();
}

}  // namespace

std::string FindLaunchName(const std::string& name) {
    if (name.empty() || name.find('/') != std::string::npos) return {};
    const std::filesystem::path beside = OwnFolder() / name;
    if (IsExecutableFile(beside)) return beside.string();
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (folder.empty()) continue;
        const std::filesystem::path candidate = std::filesystem::path(folder) / name;
        if (IsExecutableFile(candidate)) return candidate.string();
    }
    return {};
}

long long StartProgram(const std::string& program, const std::string& arguments, UINT showCommand) {
    QProcess process;
    process.setProgram(QString::fromStdString(program));
    process.setArguments(QProcess::splitCommand(QString::fromStdString(arguments)));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(ShowCommandVariable), QString::number(showCommand));
    process.setProcessEnvironment(environment);
    qint64 pid = 0;
    return process.startDetached(&pid) ? pid : 0;
}

UINT WinExec(const char* commandLine, UINT showCommand) {
    if (Hook()) return Hook()(commandLine, showCommand);
    const std::string line = commandLine ? commandLine : "";
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string::npos) return ERROR_FILE_NOT_FOUND;
    const std::size_t end = line.find(' ', start);
    const std::string name = line.substr(start, end == std::string::npos ? end : end - start);
    const std::string arguments = end == std::string::npos ? std::string() : line.substr(end + 1);
    const std::string program = FindLaunchName(name);
    if (program.empty()) return ERROR_FILE_NOT_FOUND;
    return StartProgram(program, arguments, showCommand) != 0 ? LaunchStarted : ERROR_FILE_NOT_FOUND;
}

void SetWinExecHook(WinExecHook hook) { Hook() = std::move(hook); }

}  // namespace win
