// Writes the resource script of the program's windows and menus, and its
// icon file, from the layouts and the icon pixels the program is built
// with. Runs on the build machine during the Windows build:
//
//   vantorel-rcgen OUT_FOLDER     writes OUT_FOLDER/forms.rc and vantorel.ico

#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "platform/ProgramForms.h"
#include "platform/win32/rcgen/DialogScript.h"
#include "platform/win32/rcgen/IconFile.h"
#include "platform/win32/rcgen/ProgramResources.h"
#include "platform/win32/rcgen/ResourceNames.h"

namespace {

constexpr const char* kScriptName = "forms.rc";
constexpr const char* kIconName = "vantorel.ico";

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    if (!out) {
        std::cerr << "vantorel-rcgen: cannot write " << path << "\n";
        return false;
    }
    return true;
}

std::string Script(const std::string& iconPath, bool hasIcon) {
    using namespace vantorel::win32::rcgen;
    std::string script =
        "// Generated at build time from the program's window layouts. Do not edit.\n"
        "#pragma code_page(65001)\n"
        "#include <windows.h>\n\n";
    if (hasIcon) {
        script += std::to_string(vantorel::win32::res::kProgramIconId) + " ICON " +
                  Quoted(iconPath) + "\n\n";
    }
    for (const vantorel::platform::FormLayout* layout : vantorel::ProgramForms()) {
        script += MenuScript(*layout);
        script += "\n";
        script += DialogScript(*layout);
        script += "\n";
    }
    return script;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: vantorel-rcgen OUT_FOLDER\n";
        return 2;
    }
    const std::string folder = argv[1];
    const std::string iconPath = folder + "/" + kIconName;
    const auto icon = vantorel::win32::rcgen::ProgramIcon();
    const std::string iconBytes =
        icon.empty() ? std::string() : vantorel::win32::rcgen::IconFileBytes(icon);
    const bool written = WriteFile(iconPath, iconBytes) &&
                         WriteFile(folder + "/" + kScriptName, Script(iconPath, !icon.empty()));
    return written ? 0 : 1;
}
