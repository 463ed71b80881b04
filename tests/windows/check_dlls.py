#!/usr/bin/python3
"""Static checks of the Windows DLLs: the exact export list, the imported DLLs, the version resource.

    check_dlls.py NAMES_FILE DLL...

NAMES_FILE holds the expected export names one a line (`funcplug list --names`).
Needs Debian's python3-pefile.
"""
import sys

import pefile

ALLOWED_IMPORTS = {"kernel32.dll", "user32.dll", "advapi32.dll", "msvcrt.dll"}
MACHINES = {"funcplug.dll": pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"],
            "funcplug64.dll": pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"]}
# Name, expected value (UTF-8) of the one string table, 041904E3.
VERSION_STRINGS = [
    ("Comments", "Function plug-in by Marta Koval for Veltrano"),
    ("CompanyName", "Veltrano"),
    ("FileDescription", "адаптация rodived"),
    ("FileVersion", "1.0.0.0"),
    ("InternalName", ""),
    ("LegalCopyright", "Copyright (c) 2026 Marta Koval, Veltrano"),
    ("LegalTrademarks", "Veltrano"),
    ("OriginalFilename", ""),
    ("ProductName", "function plugin"),
    ("ProductVersion", "1.0.0.0"),
]


def check(path, expected_names):
    problems = []
    pe = pefile.PE(path)
    name = path.replace("\\", "/").rsplit("/", 1)[-1].lower()
    if name in MACHINES and pe.FILE_HEADER.Machine != MACHINES[name]:
        problems.append("machine type %#x" % pe.FILE_HEADER.Machine)
    if not pe.is_dll():
        problems.append("not a DLL")

    exports = [s.name.decode() for s in pe.DIRECTORY_ENTRY_EXPORT.symbols if s.name is not None]
    unnamed = [s.ordinal for s in pe.DIRECTORY_ENTRY_EXPORT.symbols if s.name is None]
    if sorted(exports) != sorted(expected_names) or unnamed:
        missing = sorted(set(expected_names) - set(exports))
        extra = sorted(set(exports) - set(expected_names))
        problems.append("exports: missing %s, extra %s, by ordinal only %s" % (missing, extra, unnamed))
    if len(exports) != len(set(exports)):
        problems.append("duplicate export names")

    imports = {entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT}
    if not imports <= ALLOWED_IMPORTS:
        problems.append("imports beyond the system DLLs: %s" % sorted(imports - ALLOWED_IMPORTS))

    fixed = pe.VS_FIXEDFILEINFO[0]
    for field in ("FileVersion", "ProductVersion"):
        ms, ls = getattr(fixed, field + "MS"), getattr(fixed, field + "LS")
        version = (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
        if version != (1, 0, 0, 0):
            problems.append("fixed %s %s" % (field, version))

    tables, translations = {}, []
    for info in pe.FileInfo[0]:
        for table in getattr(info, "StringTable", []):
            tables[table.LangID.decode().upper()] = {k.decode(): v.decode() for k, v in table.entries.items()}
        for var in getattr(info, "Var", []):
            translations.append(var.entry.get(b"Translation"))
    if list(tables) != ["041904E3"]:
        problems.append("string tables %s" % list(tables))
    if translations != ["0x0419 0x04e3"]:
        problems.append("translation %s" % translations)
    strings = tables.get("041904E3", {})
    for key, value in VERSION_STRINGS:
        if strings.get(key) != value:
            problems.append("version string %s = %r, expected %r" % (key, strings.get(key), value))
    extra_strings = sorted(set(strings) - {k for k, _ in VERSION_STRINGS})
    if extra_strings:
        problems.append("unexpected version strings %s" % extra_strings)

    for problem in problems:
        print("FAIL %s: %s" % (path, problem))
    print("%s: %d exports, imports %s, %s" % (path, len(exports), ", ".join(sorted(imports)),
                                            "ok" if not problems else "%d problems" % len(problems)))
    return not problems


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 64
    with open(sys.argv[1]) as f:
        expected = [line.strip() for line in f if line.strip()]
    results = [check(path, expected) for path in sys.argv[2:]]
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main())
