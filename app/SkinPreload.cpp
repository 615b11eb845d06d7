#include "app/SkinPreload.h"

#include <QThread>

#include <utility>

SkinPreload::SkinPreload(std::function<int()> detect, QString folder)
    : m_library(std::make_unique<SkinLibrary>())
{
    // Qt takes the first thread that asks for its thread data as the main thread; it must be
    // this one, not the loader.
    QThread::currentThread();
    // Everything the thread touches is its own until take() has joined it.
    m_thread = std::thread([this, detect = std::move(detect), folder = std::move(folder)] {
        m_deviceType = detect();
        m_loaded = m_library->load(folder, m_deviceType);
    });
}

SkinPreload::~SkinPreload()
{
    wait();
}

void SkinPreload::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

std::unique_ptr<SkinLibrary> SkinPreload::take(int deviceType)
{
    wait();
    // Variant 0 loads variant 1's skins, but only the same answer is the same library.
    if (!m_loaded || m_deviceType != deviceType)
        return nullptr;
    m_loaded = false;
    return std::move(m_library);
}
