#include "app/ResourceLocator.h"

#include <algorithm>
#include <system_error>

namespace fs = std::filesystem;

ResourceLocator::ResourceLocator(fs::path programFolder, fs::path dataFromPrograms,
                                 fs::path installedData)
{
    const auto add = [this](fs::path folder) {
        if (folder.empty())
            return;
        folder = folder.lexically_normal();
        // "a/b/" and "a/b" are one folder.
        if (!folder.has_filename() && folder.has_parent_path())
            folder = folder.parent_path();
        if (std::find(m_folders.begin(), m_folders.end(), folder) == m_folders.end())
            m_folders.push_back(std::move(folder));
    };
    add(programFolder);
    if (!dataFromPrograms.empty() && dataFromPrograms.is_relative())
        add(programFolder / dataFromPrograms);
    add(std::move(installedData));
}

ResourceLocator ResourceLocator::forProgram(const fs::path &programFolder)
{
#if defined(QUILLO_DATA_FROM_PROGRAMS) && defined(QUILLO_INSTALLED_DATA)
    return ResourceLocator(programFolder, QUILLO_DATA_FROM_PROGRAMS, QUILLO_INSTALLED_DATA);
#else
    return ResourceLocator(programFolder, {}, {});
#endif
}

ResourceLocator ResourceLocator::forThisProgram()
{
    std::error_code error;
    // Links resolved, as the system started it.
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    return forProgram(error ? fs::current_path(error) : program.parent_path());
}

fs::path ResourceLocator::folderOf(std::string_view name) const
{
    for (const fs::path &folder : m_folders) {
        std::error_code error;
        if (fs::is_regular_file(folder / name, error))
            return folder;
    }
    return m_folders.empty() ? fs::path() : m_folders.front();
}
