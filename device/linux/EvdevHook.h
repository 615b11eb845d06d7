#pragma once

#include <string>
#include <thread>
#include <vector>

namespace quillodev {

// Records the keyboards through evdev: grabs every keyboard device, so that keystrokes reach
// nothing else while recording, and turns each key event into a call of the hook procedure on
// one reader thread.
class EvdevHook {
public:
    explicit EvdevHook(std::string inputDir = "/dev/input");
    ~EvdevHook();
    EvdevHook(const EvdevHook &) = delete;
    EvdevHook &operator=(const EvdevHook &) = delete;

    // Opens and grabs every keyboard under the input folder; false when none could be opened.
    bool start();
    // Reads the given descriptors, which it owns from now on (tests pass pipes).
    bool startReading(std::vector<int> fds);
    // Stops the reader, releases the grabs and closes the devices.
    void stop();
    bool running() const { return m_thread.joinable(); }

    // Whether the device reports key events including letters.
    static bool isKeyboard(int fd);

private:
    void run();

    std::string m_inputDir;
    std::vector<int> m_fds;
    std::vector<int> m_grabbed;
    int m_wake[2] = {-1, -1};
    std::thread m_thread;
};

} // namespace quillodev
