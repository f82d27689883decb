// The one mode dispatch: every platform's host runs its parsed command here,
// through the functions of the host contract (host.h).
#include "host/host.h"

int runHostCommand(const HostCommand& command)
{
    switch (command.mode) {
    case RunMode::SettingsDialog:
        return ShowSettingsDialog(nullptr);
    case RunMode::SettingsDialogOwned:
        return ShowSettingsDialog(ForegroundWindow());
    case RunMode::Saver:
        return RunSaver(nullptr);
    case RunMode::Preview:
        return RunPreview(command.rest);
    case RunMode::ChangePassword:
        return RunPasswordChange(command.rest);
    case RunMode::Invalid:
        break;
    }
    return BadCommandExitCode;
}
