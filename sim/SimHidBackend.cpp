#include "sim/SimHidBackend.h"

#include "sim/SimKeyboard.h"
#include "sim/SimTransport.h"

#include <algorithm>

namespace quillosim {

namespace {

std::wstring pathOf(std::size_t index, const SimKeyboard &keyboard, const wchar_t *interface)
{
    std::wstring name = L"sim:keyboard";
    if (index > 0)
        name += std::to_wstring(index + 1);
    return name + L"#vid_0483&pid_" + keyboard.productId() + L"&" + interface;
}

} // namespace

SimHidBackend::SimHidBackend(std::shared_ptr<SimKeyboard> keyboard, bool withDecoys)
    : m_withDecoys(withDecoys)
{
    if (keyboard)
        m_keyboards.push_back(std::move(keyboard));
}

void SimHidBackend::addKeyboard(std::shared_ptr<SimKeyboard> keyboard)
{
    std::lock_guard lock(m_mutex);
    if (keyboard)
        m_keyboards.push_back(std::move(keyboard));
}

std::vector<std::wstring> SimHidBackend::interfacePaths()
{
    std::lock_guard lock(m_mutex);
    std::vector<std::wstring> paths = decoyPaths();
    for (std::size_t i = 0; i < m_keyboards.size(); ++i) {
        if (m_keyboards[i]->isPlugged())
            paths.push_back(pathOf(i, *m_keyboards[i], L"mi_01"));
    }
    return paths;
}

std::unique_ptr<CNuboUtil> SimHidBackend::open(const std::wstring &path)
{
    std::lock_guard lock(m_mutex);
    for (std::size_t i = 0; i < m_keyboards.size(); ++i) {
        if (path == pathOf(i, *m_keyboards[i], L"mi_01") && m_keyboards[i]->isPlugged()) {
            ++m_opened[path];
            return std::make_unique<SimTransport>(m_keyboards[i]);
        }
    }
    const std::vector<std::wstring> decoys = decoyPaths();
    if (std::find(decoys.begin(), decoys.end(), path) != decoys.end()) {
        ++m_opened[path];
        return std::make_unique<SimTransport>(nullptr);
    }
    return nullptr;
}

std::wstring SimHidBackend::keyboardPath(std::size_t index) const
{
    std::lock_guard lock(m_mutex);
    return index < m_keyboards.size() ? pathOf(index, *m_keyboards[index], L"mi_01")
                                      : std::wstring();
}

int SimHidBackend::openCount(const std::wstring &path) const
{
    std::lock_guard lock(m_mutex);
    const auto it = m_opened.find(path);
    return it == m_opened.end() ? 0 : it->second;
}

std::vector<std::wstring> SimHidBackend::decoyPaths() const
{
    if (!m_withDecoys)
        return {};
    std::vector<std::wstring> paths = {
        L"sim:mouse#vid_046d&pid_c52b&mi_01",
        L"sim:pad#vid_0483&pid_5430&mi_01",
        L"sim:upper#VID_0483&PID_5330&MI_01",
        L"sim:nointerface#vid_0483&pid_5330",
    };
    // The keyboard's other interface comes first, as it does on a real composite device.
    for (std::size_t i = 0; i < m_keyboards.size(); ++i) {
        if (m_keyboards[i]->isPlugged())
            paths.insert(paths.begin() + std::ptrdiff_t(i), pathOf(i, *m_keyboards[i], L"mi_00"));
    }
    return paths;
}

} // namespace quillosim
