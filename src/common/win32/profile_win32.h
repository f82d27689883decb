// Where the settings file lives on Windows, and what went wrong when it
// could not be written. platform.h's profile pair is built on this.
#pragma once

#include <windows.h>

// "PATH: REASON" for the last write of the settings file that failed, in one
// line, for the message that says the settings were not saved.
void describeProfileFailure(char* text, int size);

// Creates (or empties) a file of that name beside the settings file, in the
// folder where a save would put it. INVALID_HANDLE_VALUE when neither place
// can be written.
HANDLE createBesideSettings(const char* name);
