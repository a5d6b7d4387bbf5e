// The program's paths, computed once at start from strings the caller gives:
// the data root (the executable's folder when it holds Skins/, else the installed
// share/tarnel/) and the per-user data base folder. No Qt here. Folders end with '/'.
#pragma once
#include <string>

namespace tarnel {

struct AppPaths {
    std::string exePath;      // full path of the running executable
    std::string exeDrive;     // empty where paths have no drive
    std::string exeDir;       // the data root, with a trailing '/'; base of relative names
    std::string exeFileName;  // file name and extension of exePath (single-instance search)
    std::string helpDir;                 // root + "Help/"
    std::string skinMainIni;             // root + "Skins/Main.ini"
    std::string skinDir;                 // folder of skinMainIni
    std::string lightTemplatePrefix;     // root + "Skins/UserDengColor_"
    std::string profileSkinIni, profileSkinDir;      // root + "Skins/Profile.ini"
    std::string compositeSkinIni, compositeSkinDir;  // root + "Skins/Composite.ini"
    std::string magicFnSkinIni, magicFnSkinDir;      // root + "Skins/MagicFN.ini"
    std::string packageDir;              // root + "Package"
    std::string daemonPath;              // root + "Osvrik.exe"
    std::string userDataDir;             // local application data + "/Vornak_TX48RGB"
    std::string userSettingsIni;         // userDataDir + "/wskb.ini"
    std::string userLightPrefix;         // userDataDir + "/UserDengColor_"
    std::string webLink;                 // "SCREEN"/"Link" of skinMainIni (read by the window)
};

inline constexpr const char* kUserDataFolderName = "Vornak_TX48RGB";

// The data root: `exeDir` when it holds a Skins folder, else `installedDataDir`.
std::string FindDataRoot(const std::string& exeDir, const std::string& installedDataDir);

// Every path of the table except userDataDir and its files (start-up step 2).
AppPaths BuildAppPaths(const std::string& exePath, const std::string& dataRoot);

// userDataDir and its two file paths (dialog initialisation step 13).
void SetUserDataPaths(AppPaths& paths, const std::string& localAppDataDir);

}  // namespace tarnel
