// Linux hosts' side of platformPostQuit: the event loop polls this.
#pragma once

struct HostQuit {
    bool requested = false;
    int exitCode = 0;
};
extern HostQuit hostQuit;
