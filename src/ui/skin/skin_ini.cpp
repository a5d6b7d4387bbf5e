#include "ui/skin/skin_ini.h"

#include <utility>

#include "storage/ini_file.h"

namespace tarnel {

SkinIniReader SkinIniFile(std::string path) {
    return [reader = [&] {
        CIniFile ini;
        ini.SetPath(std::move(path));
        return ini;
    }()](std::string_view section, std::string_view key) { return reader.ReadString(section, key); };
}

}  // namespace tarnel
