// The Linux host: the run modes on X11.
#pragma once

// Dispatches the argument text (as HostMain on Windows) and returns the exit code.
int HostMain(const char* argumentText);
