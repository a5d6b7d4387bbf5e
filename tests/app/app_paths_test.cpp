#include "app/app_paths.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace tarnel {
namespace {

TEST(AppPaths, BuiltFromTheDataRootAndTheUserFolder) {
    AppPaths p = BuildAppPaths("/opt/tarnel/bin/tarnel", "/opt/tarnel/share/tarnel");
    EXPECT_EQ(p.exeFileName, "tarnel");
    EXPECT_EQ(p.exeDir, "/opt/tarnel/share/tarnel/");
    EXPECT_EQ(p.helpDir, "/opt/tarnel/share/tarnel/Help/");
    EXPECT_EQ(p.skinMainIni, "/opt/tarnel/share/tarnel/Skins/Main.ini");
    EXPECT_EQ(p.skinDir, "/opt/tarnel/share/tarnel/Skins/");
    EXPECT_EQ(p.lightTemplatePrefix, "/opt/tarnel/share/tarnel/Skins/UserDengColor_");
    EXPECT_EQ(p.magicFnSkinDir, "/opt/tarnel/share/tarnel/Skins/");
    EXPECT_EQ(p.packageDir, "/opt/tarnel/share/tarnel/Package");
    EXPECT_TRUE(p.userDataDir.empty());

    SetUserDataPaths(p, "/home/u/.local/share");
    EXPECT_EQ(p.userDataDir, "/home/u/.local/share/Vornak_TX48RGB");
    EXPECT_EQ(p.userSettingsIni, "/home/u/.local/share/Vornak_TX48RGB/wskb.ini");
    EXPECT_EQ(p.userLightPrefix, "/home/u/.local/share/Vornak_TX48RGB/UserDengColor_");
}

TEST(AppPaths, DataRootIsTheProgramFolderWhenItHoldsSkins) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("tarnel_paths_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(dir);
    EXPECT_EQ(FindDataRoot(dir.string(), "/usr/share/tarnel"), "/usr/share/tarnel/");
    fs::create_directories(dir / "Skins");
    EXPECT_EQ(FindDataRoot(dir.string(), "/usr/share/tarnel"), dir.string() + "/");
    fs::remove_all(dir);
}

}  // namespace
}  // namespace tarnel
