#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

// Where the program looks for the files it ships with (the skin library, the guide): beside
// itself first, so that a build tree or an unpacked copy uses its own; then the data folder of
// the installation it belongs to, found from where the program lies, so that a package
// unpacked anywhere still finds its data; then the data folder it was built for.
class ResourceLocator {
public:
    // `dataFromPrograms`: the data folder relative to the programs' folder ("../share/quillo");
    // `installedData`: the absolute data folder of the configured installation.
    ResourceLocator(std::filesystem::path programFolder, std::filesystem::path dataFromPrograms,
                    std::filesystem::path installedData);
    // The locator of this build's layout.
    static ResourceLocator forProgram(const std::filesystem::path &programFolder);
    // The same for the running program, wherever it lies.
    static ResourceLocator forThisProgram();

    // The folders in the order they are asked, without repeats.
    const std::vector<std::filesystem::path> &folders() const { return m_folders; }
    // The first folder that holds a file `name`; the first folder when none does, so that a
    // message names the place a missing file belongs beside the program.
    std::filesystem::path folderOf(std::string_view name) const;

private:
    std::vector<std::filesystem::path> m_folders;
};
