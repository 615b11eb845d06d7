#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Runs the real quillo-cli binary and collects what it printed.
struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
    std::vector<std::string> outLines() const;
};

// Standard output goes to `out` when given (then CliRun::out stays empty); standard input
// comes from `in`, or from /dev/null.
CliRun runCli(const std::string &arguments, const std::string &out = {},
              const std::string &in = {});

// A fresh folder for one test's files, removed afterwards.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    std::filesystem::path path(const std::string &name) const { return m_path / name; }
    std::string quoted(const std::string &name) const;

private:
    std::filesystem::path m_path;
};

// A file system of 16 KiB of our own, where a long document does not fit; nothing without
// the right to mount one.
class SmallDisk {
public:
    SmallDisk();
    ~SmallDisk();
    bool mounted() const { return m_mounted; }
    std::filesystem::path path(const std::string &name) const;

private:
    TempFolder m_folder;
    bool m_mounted = false;
};

std::string readFile(const std::filesystem::path &path);
void writeFile(const std::filesystem::path &path, const std::string &text);
