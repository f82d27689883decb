// The Linux host: the host contract (host/host.h) on X11 and GLX.
#pragma once

#include "host/host.h"

// Runs the parsed options (the place, the settings, the pacing) and returns
// the exit code. A stop signal that ended the run is in stopSignalCaught().
int X11HostMain(const SaverOptions& options);

// The SIGTERM, SIGINT or SIGHUP that ended the run, or 0.
int stopSignalCaught();
