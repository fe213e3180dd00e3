"""Checks the include order of the program's folders under src/.

    check_layers.py [SRC_FOLDER]      (default: the src/ beside tests/)

The folders build on each other in this order, and a file includes only
from its own folder or one below it:

    text < platform < settings < mail, notify, tray, dialogs < app

mail, notify, tray and dialogs never include each other. Every folder
except the backends (platform/qt, platform/win32, platform/posix) is
portable: it includes only the C++ standard library and the mail library's
own header, includes no backend header, and never asks which system it is
built for (_WIN32 and the like).

Prints one line per fault (file:line: what) and ends in failure when there
is one.
"""
import os
import re
import sys

LAYER_RANK = {
    "text": 0,
    "platform": 1,
    "settings": 2,
    "mail": 3,
    "notify": 3,
    "tray": 3,
    "dialogs": 3,
    "app": 4,
}
BACKENDS = ("platform/qt", "platform/win32", "platform/posix")
# Headers outside the C++ standard library that portable code may include:
# the mail library's own interface, which is plain C.
PORTABLE_LIBRARY_HEADERS = {"popmail/popmail.h"}
SOURCE_SUFFIXES = (".h", ".hpp", ".c", ".cpp", ".h.in")

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
# The C++ standard library's headers: lower-case names without a suffix.
STANDARD_HEADER = re.compile(r"^[a-z_]+$")
SYSTEM_QUESTION = re.compile(r"\b(_WIN32|_WIN64|__MINGW32__|__MINGW64__|_MSC_VER|__linux__|"
                             r"__unix__|__APPLE__|Q_OS_[A-Z0-9_]+)\b")


def is_backend(relative_path):
    return any(relative_path == b or relative_path.startswith(b + "/") for b in BACKENDS)


def include_fault(folder, target):
    """What is wrong with a file of `folder` including "target", or None."""
    target_folder = target.split("/", 1)[0] if "/" in target else None
    if target_folder not in LAYER_RANK:
        return f'"{target}" names no folder of src/'
    if target_folder == folder:
        return None
    if LAYER_RANK[target_folder] > LAYER_RANK[folder]:
        return f'"{target}": {folder}/ includes from {target_folder}/, a folder above it'
    if LAYER_RANK[target_folder] == LAYER_RANK[folder]:
        return f'"{target}": {folder}/ includes from {target_folder}/, a folder beside it'
    return None


def portable_fault(target, angled):
    """What is wrong with a portable file including `target`, or None."""
    if angled:
        if STANDARD_HEADER.match(target) or target in PORTABLE_LIBRARY_HEADERS:
            return None
        return f"<{target}> is a system header, and this folder is portable"
    if is_backend(os.path.dirname(target)):
        return f'"{target}" is a backend header, and this folder is portable'
    return None


def check_file(path, relative_path):
    folder = relative_path.split("/", 1)[0]
    portable = not is_backend(os.path.dirname(relative_path))
    faults = []
    with open(path, encoding="utf-8", errors="replace") as source:
        for number, line in enumerate(source, start=1):
            where = f"{relative_path}:{number}"
            match = INCLUDE.match(line)
            if match:
                angled, target = match.group(1) == "<", match.group(2).strip()
                fault = None if angled else include_fault(folder, target)
                if fault is None and portable:
                    fault = portable_fault(target, angled)
                if fault:
                    faults.append(f"{where}: {fault}")
            if portable:
                question = SYSTEM_QUESTION.search(line)
                if question:
                    faults.append(f"{where}: mentions {question.group(1)}, "
                                  "and this folder is portable")
    return faults


def check_tree(src):
    faults = []
    for root, folders, files in os.walk(src):
        folders.sort()
        for name in sorted(files):
            if not name.endswith(SOURCE_SUFFIXES):
                continue
            path = os.path.join(root, name)
            relative_path = os.path.relpath(path, src).replace(os.sep, "/")
            if relative_path.split("/", 1)[0] not in LAYER_RANK:
                faults.append(f"{relative_path}: lies in no folder of the include order")
                continue
            faults.extend(check_file(path, relative_path))
    return faults


def main(arguments):
    here = os.path.dirname(os.path.abspath(__file__))
    src = arguments[0] if arguments else os.path.join(here, "..", "..", "src")
    if not os.path.isdir(src):
        print(f"check_layers: no folder {src}", file=sys.stderr)
        return 2
    faults = check_tree(src)
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
