#include "app/app_paths.h"

#include <filesystem>
#include <system_error>

namespace tarnel {
namespace {

std::string withSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

std::string folderOf(const std::string& file) {
    size_t slash = file.find_last_of('/');
    return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

}  // namespace

std::string FindDataRoot(const std::string& exeDir, const std::string& installedDataDir) {
    std::error_code ec;
    if (std::filesystem::is_directory(std::filesystem::path(exeDir) / "Skins", ec))
        return withSlash(exeDir);
    return withSlash(installedDataDir);
}

AppPaths BuildAppPaths(const std::string& exePath, const std::string& dataRoot) {
    AppPaths p;
    p.exePath = exePath;
    size_t slash = exePath.find_last_of('/');
    p.exeFileName = slash == std::string::npos ? exePath : exePath.substr(slash + 1);
    p.exeDir = withSlash(dataRoot);
    const std::string& root = p.exeDir;
    p.helpDir = root + "Help/";
    p.skinMainIni = root + "Skins/Main.ini";
    p.skinDir = folderOf(p.skinMainIni);
    p.lightTemplatePrefix = root + "Skins/UserDengColor_";
    p.profileSkinIni = root + "Skins/Profile.ini";
    p.profileSkinDir = folderOf(p.profileSkinIni);
    p.compositeSkinIni = root + "Skins/Composite.ini";
    p.compositeSkinDir = folderOf(p.compositeSkinIni);
    p.magicFnSkinIni = root + "Skins/MagicFN.ini";
    p.magicFnSkinDir = folderOf(p.magicFnSkinIni);
    p.packageDir = root + "Package";
    p.daemonPath = root + "Osvrik.exe";
    return p;
}

void SetUserDataPaths(AppPaths& paths, const std::string& localAppDataDir) {
    paths.userDataDir = withSlash(localAppDataDir) + kUserDataFolderName;
    paths.userSettingsIni = paths.userDataDir + "/wskb.ini";
    paths.userLightPrefix = paths.userDataDir + "/UserDengColor_";
}

}  // namespace tarnel
