#include "CliRunner.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Backups the runs make (quillo-cli firmware) go to a folder of the test program's own.
struct DataHome {
    DataHome() { setenv("XDG_DATA_HOME", folder.path("data").c_str(), 1); }
    TempFolder folder;
};
const DataHome dataHome;

} // namespace

std::vector<std::string> CliRun::outLines() const
{
    std::vector<std::string> lines;
    std::istringstream stream(out);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

TempFolder::TempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "quillo-cli-XXXXXX").string();
    if (mkdtemp(pattern.data()))
        m_path = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string TempFolder::quoted(const std::string &name) const
{
    return "'" + path(name).string() + "'";
}

SmallDisk::SmallDisk()
{
    std::filesystem::create_directory(m_folder.path("small"));
    m_mounted = ::geteuid() == 0
                && ::mount("tmpfs", m_folder.path("small").c_str(), "tmpfs", 0, "size=16k") == 0;
}

SmallDisk::~SmallDisk()
{
    if (m_mounted)
        ::umount(m_folder.path("small").c_str());
}

std::filesystem::path SmallDisk::path(const std::string &name) const
{
    return m_folder.path("small") / name;
}

std::string readFile(const std::filesystem::path &path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void writeFile(const std::filesystem::path &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

CliRun runCli(const std::string &arguments, const std::string &out, const std::string &in)
{
    TempFolder streams;
    const std::string command = std::string("'") + QUILLO_CLI + "' " + arguments + " >"
                                + (out.empty() ? streams.quoted("out") : "'" + out + "'") + " 2>"
                                + streams.quoted("err") + " <"
                                + (in.empty() ? std::string("/dev/null") : "'" + in + "'");
    CliRun run;
    const int status = std::system(command.c_str());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readFile(streams.path("out"));
    run.err = readFile(streams.path("err"));
    return run;
}
