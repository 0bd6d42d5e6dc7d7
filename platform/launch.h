// Starting programs by their launch names ("TORVA2.dic"): looked up beside this program, else on
// PATH, started detached and never waited for.
#pragma once

#include <functional>
#include <string>

#include "platform/win_types.h"

namespace win {

inline constexpr UINT LaunchStarted = 33;  // any answer above 31 means started
inline constexpr UINT ERROR_FILE_NOT_FOUND = 2;

// Starts the program that `commandLine` names (its first word; the others are its arguments);
// its first window takes `showCommand`. Answers LaunchStarted, or ERROR_FILE_NOT_FOUND when
// the name is found nowhere or the program cannot be started. With a hook installed the hook
// answers instead and nothing is started.
UINT WinExec(const char* commandLine, UINT showCommand);

// The program a launch name stands for: this program's own folder first, then PATH; empty when
// neither holds an executable of that name.
std::string FindLaunchName(const std::string& name);
// Starts `program` detached with `arguments`, handing it `showCommand`; the started process id,
// or 0 when it could not be started.
long long StartProgram(const std::string& program, const std::string& arguments, UINT showCommand);

using WinExecHook = std::function<UINT(const char* commandLine, UINT showCommand)>;
void SetWinExecHook(WinExecHook hook);

}  // namespace win
