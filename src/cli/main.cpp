// tarnelctl: the command-line front end.
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "cli/cli.h"
#include "cli/cli_backend.h"

namespace {

namespace fs = std::filesystem;

bool holdsLanguageFile(const fs::path& dir) {
    std::error_code ec;
    return !dir.empty() && fs::exists(dir / "Lang0409.ini", ec);
}

// The folder of the language files: $TARNEL_DATA_DIR, else the executable's folder when it holds
// them, else the installed data folder, else the source tree's data folder (a build tree).
std::string findDataDir(const char* argv0) {
    if (const char* dir = std::getenv("TARNEL_DATA_DIR"); dir && *dir) return dir;
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) exe = fs::absolute(argv0, ec);
    for (const fs::path& dir : {exe.parent_path(), fs::path(TARNEL_INSTALL_DATADIR),
                                fs::path(TARNEL_SOURCE_DATADIR)})
        if (holdsLanguageFile(dir)) return dir.string();
    return TARNEL_SOURCE_DATADIR;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv, argv + argc);
    if (args.empty()) args.push_back("tarnelctl");
    tarnel::CliEnvironment env;
    env.systemBackend = tarnel::SystemBackendFactory();
    env.dataDir = findDataDir(argv[0]);
    return tarnel::RunCli(args, std::cout, std::cerr, env);
}
