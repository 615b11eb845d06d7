#pragma once

#include "skin/SkinLibrary.h"

#include <functional>
#include <memory>
#include <thread>

// Loads the skins of the variant attached at start, on a thread of its own, while Qt starts
// up: unpacking the faces then costs the program's start nothing. Made before the
// QApplication, taken by CNuboApp once it knows the variant.
class SkinPreload {
public:
    // `detect` tells the attached variant (0 for none); `folder` is where the library lies.
    SkinPreload(std::function<int()> detect, QString folder);
    ~SkinPreload();
    SkinPreload(const SkinPreload &) = delete;
    SkinPreload &operator=(const SkinPreload &) = delete;

    // Until the library is loaded.
    void wait();
    // The library loaded for `deviceType`: nothing when the variant found first was another
    // one or the library failed to load, and the caller loads it itself.
    std::unique_ptr<SkinLibrary> take(int deviceType);

private:
    std::unique_ptr<SkinLibrary> m_library;
    int m_deviceType = -1;
    bool m_loaded = false;
    std::thread m_thread;
};
