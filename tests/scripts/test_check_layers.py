"""The include-order check finds each kind of fault in a tiny source tree,
naming file and line, and passes a tree that keeps the order."""
import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
CHECKER = os.path.join(HERE, "check_layers.py")


class CheckLayersTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.src = self.folder.name
        # A tree that keeps the order: every folder includes only below itself.
        self.write("text/Utf8.h", "#pragma once\n#include <string>\n")
        self.write("platform/Platform.h", '#include "text/Utf8.h"\n#include <popmail/popmail.h>\n')
        self.write("platform/qt/main.cpp",
                   '#include <QApplication>\n#include <unistd.h>\n#include "platform/Platform.h"\n'
                   "#ifdef _WIN32\n#endif\n")
        self.write("settings/Store.h", '#include "platform/Platform.h"\n')
        self.write("mail/Check.h", '#include "settings/Store.h"\n#include "mail/Other.h"\n')
        self.write("app/App.cpp", '#include "mail/Check.h"\n#include "text/Utf8.h"\n')

    def tearDown(self):
        self.folder.cleanup()

    def write(self, relative_path, text):
        path = os.path.join(self.src, relative_path)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)

    def check(self):
        result = subprocess.run([sys.executable, "-B", CHECKER, self.src], capture_output=True,
                                text=True, check=False)
        return result.returncode, result.stdout.splitlines()

    def test_a_tree_in_order_passes(self):
        self.assertEqual(self.check(), (0, []))

    def test_an_include_from_a_folder_above_fails_naming_file_and_line(self):
        self.write("platform/qt/main.cpp", '#include "platform/Platform.h"\n#include "app/App.h"\n')
        self.write("text/Utf8.cpp", '#include "text/Utf8.h"\n\n  #  include "settings/Store.h"\n')
        code, lines = self.check()
        self.assertEqual(code, 1)
        self.assertEqual(lines, [
            'platform/qt/main.cpp:2: "app/App.h": platform/ includes from app/, a folder above it',
            'text/Utf8.cpp:3: "settings/Store.h": text/ includes from settings/, '
            "a folder above it"])

    def test_the_middle_folders_do_not_include_each_other(self):
        self.write("tray/Icon.cpp", '#include "notify/Cycle.h"\n')
        self.assertEqual(self.check(), (1, [
            'tray/Icon.cpp:1: "notify/Cycle.h": tray/ includes from notify/, a folder beside it']))

    def test_an_include_that_names_no_folder_or_a_file_outside_the_order_fails(self):
        self.write("app/Main.cpp", '#include "App.h"\n#include "../mail/Check.h"\n')
        self.write("tools/Gen.cpp", "int main() {}\n")
        code, lines = self.check()
        self.assertEqual(code, 1)
        self.assertEqual(lines, ['app/Main.cpp:1: "App.h" names no folder of src/',
                                 'app/Main.cpp:2: "../mail/Check.h" names no folder of src/',
                                 "tools/Gen.cpp: lies in no folder of the include order"])

    def test_portable_folders_include_no_system_or_backend_header(self):
        self.write("settings/File.cpp", "#include <unistd.h>\n#include <cstdio>\n")
        self.write("notify/Title.cpp", "#include <windows.h>\n#include <X11/Xlib.h>\n")
        self.write("platform/Clock.h", '#include <QTimer>\n#include "platform/win32/Ui.h"\n')
        code, lines = self.check()
        self.assertEqual(code, 1)
        self.assertEqual(lines, [
            "notify/Title.cpp:1: <windows.h> is a system header, and this folder is portable",
            "notify/Title.cpp:2: <X11/Xlib.h> is a system header, and this folder is portable",
            "platform/Clock.h:1: <QTimer> is a system header, and this folder is portable",
            'platform/Clock.h:2: "platform/win32/Ui.h" is a backend header, '
            "and this folder is portable",
            "settings/File.cpp:1: <unistd.h> is a system header, and this folder is portable"])

    def test_portable_folders_never_ask_which_system_they_are_built_for(self):
        self.write("app/App.cpp", '#include "mail/Check.h"\n#if defined(_WIN32)\n#endif\n')
        self.write("platform/Names.h", "// on __linux__ the folder differs\n")
        self.assertEqual(self.check(), (1, [
            "app/App.cpp:2: mentions _WIN32, and this folder is portable",
            "platform/Names.h:1: mentions __linux__, and this folder is portable"]))


if __name__ == "__main__":
    unittest.main()
