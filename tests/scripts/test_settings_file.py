"""The settings file helper writes what the program reads: CP932, CRLF,
sections in order, a key given twice taking its last value."""
import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
HELPER = os.path.join(HERE, "settings_file.py")
sys.path.insert(0, HERE)
import settings_file  # noqa: E402


class SettingsFileTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.path = os.path.join(self.folder.name, "vantorel.ini")

    def tearDown(self):
        self.folder.cleanup()

    def run_helper(self, *arguments, stdin=""):
        return subprocess.run([sys.executable, HELPER, self.path, *arguments], input=stdin,
                              capture_output=True, text=True, check=False)

    def written(self):
        with open(self.path, "rb") as f:
            return f.read()

    def test_items_become_sections_and_keys_in_cp932_with_crlf(self):
        result = self.run_helper("USERINFO", "USERNAME=花子", "TOKENCMD=helper --a=b", "OPTION",
                                 "ONMOUSE=True")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(self.written(),
                         "[USERINFO]\r\nUSERNAME=花子\r\nTOKENCMD=helper --a=b\r\n"
                         "[OPTION]\r\nONMOUSE=True\r\n".encode("cp932"))

    def test_accepted_settings_take_overrides_and_the_password_from_stdin(self):
        result = self.run_helper("--accepted", "--password-stdin", "USERINFO", "INTERVAL=30",
                                 "OPTION", "IGNOREERR=False", stdin="s3cret\n")
        self.assertEqual(result.returncode, 0, result.stderr)
        text = self.written().decode("cp932")
        self.assertEqual(text.split("\r\n"), [
            "[USERINFO]", "STARTUP=True", "INTERVAL=30", "PASSWORD=s3cret",
            "[OPTION]", "ZEROCHECK=False", "TitleCallBack=True", "IGNOREERR=False",
            "ONMOUSE=False", "CHECKONCE=False", ""])
        self.assertNotIn("s3cret", result.stdout + result.stderr)

    def test_a_key_before_any_section_or_an_unknown_option_is_refused(self):
        self.assertNotEqual(self.run_helper("USERNAME=x").returncode, 0)
        self.assertNotEqual(self.run_helper("--nosuch").returncode, 0)
        self.assertFalse(os.path.exists(self.path))

    def test_text_outside_cp932_is_refused_rather_than_written_wrongly(self):
        with self.assertRaises(UnicodeEncodeError):
            settings_file.write_settings(self.path, {"USERINFO": {"USERNAME": "😀"}})
        self.assertFalse(os.path.exists(self.path))


if __name__ == "__main__":
    unittest.main()
