// Password handling of the Windows 95 family. The verifier, its checks and the
// change-password mode come with their own change; until then no verifier is
// ever loaded, so every close is granted, as on a system without a password.
#include "host/win32/win32_host.h"

PasswordState password;

void SetSaverRunningFlag(bool on)
{
    if (!saverHost.Win9xPlatform)
        return;
    UINT previous = 0;
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, on ? 1 : 0, &previous, 0);
}

void LoadPasswordVerifier() {}

void UnloadPasswordVerifier() {}

bool CheckPasswordOnClose(HWND)
{
    if (password.CheckingPassword || password.Closing)
        return false;
    if (!password.PasswordVerifier) {
        password.Closing = true;
        return true;
    }
    return false;
}

int RunPasswordChange(const char*) { return 0; }

void ChangeSaverPassword(HWND) {}
