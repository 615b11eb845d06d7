#pragma once

class CNuboHWI;
class DeviceWorker;

// The keyboard as a window reaches it: the one device facade, and the one worker thread that
// may talk to it besides the user-interface thread's short queries.
struct DeviceAccess {
    CNuboHWI &hwi;
    DeviceWorker &worker;
};
