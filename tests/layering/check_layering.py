#!/usr/bin/env python3
"""Checks that no folder of the project includes headers of a folder it must not use.

    check_layering.py ROOT        check the tree at ROOT; exit 1 listing every violation
    check_layering.py --self-test check that the checker finds violations in a made-up tree

The library's layers only call downward (zkexplodelayers -> tonaroframework ->
tonaropdk -> platform) and never reach the substitute host, the MusicXML code or
the tool. The substitute host and the MusicXML code sit on the host's side: they
never include the framework or the plug-in, and of tonaropdk they use only the
binary conventions and record layouts, never the service binding.
"""

import os
import re
import sys
import tempfile

# Each folder, and the folders whose files it must never include.
FORBIDDEN = {
    "platform": {"tonaropdk", "tonaroframework", "zkexplodelayers", "simhost", "musicxml", "tools"},
    "tonaropdk": {"tonaroframework", "zkexplodelayers", "simhost", "musicxml", "tools"},
    "tonaroframework": {"zkexplodelayers", "simhost", "musicxml", "tools"},
    "zkexplodelayers": {"simhost", "musicxml", "tools"},
    "simhost": {"tonaroframework", "zkexplodelayers", "tools"},
    "musicxml": {"tonaroframework", "zkexplodelayers", "tools"},
}

# The host's side may include tonaropdk headers that do not lead to these.
BINDING_HEADERS = {"tonaropdk/hkbinding.h", "tonaropdk/hkservices.h", "tonaropdk/hkservicetable.inc"}
HOST_SIDE = {"simhost", "musicxml"}

PROJECT_FOLDERS = set(FORBIDDEN) | {"tools", "tests", "bench"}
SOURCE_SUFFIXES = (".h", ".hpp", ".inc", ".c", ".cc", ".cpp")
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]')


def top_folder(path):
    return path.split("/", 1)[0]


def resolve(root, including, spelled):
    """Answers the repository path an include names, or None for a system header."""
    if top_folder(spelled) in PROJECT_FOLDERS:
        return os.path.normpath(spelled)
    beside = os.path.normpath(os.path.join(os.path.dirname(including), spelled))
    if os.path.isfile(os.path.join(root, beside)):
        return beside
    return None


def includes_of(root, path):
    """Answers (line number, spelled, resolved) for every project include of a file."""
    found = []
    with open(os.path.join(root, path), encoding="utf-8", errors="replace") as source:
        for number, line in enumerate(source, 1):
            match = INCLUDE.match(line)
            if match:
                target = resolve(root, path, match.group(1))
                if target is not None:
                    found.append((number, match.group(1), target))
    return found


def source_files(root):
    for folder in sorted(FORBIDDEN):
        for directory, _, names in os.walk(os.path.join(root, folder)):
            for name in sorted(names):
                if name.endswith(SOURCE_SUFFIXES):
                    yield os.path.relpath(os.path.join(directory, name), root)


def reaches_binding(root, header, seen):
    """Answers the chain of includes from a tonaropdk header to the service binding, or None."""
    if header in BINDING_HEADERS:
        return [header]
    if header in seen or not os.path.isfile(os.path.join(root, header)):
        return None
    seen.add(header)
    for _, _, target in includes_of(root, header):
        chain = reaches_binding(root, target, seen)
        if chain:
            return [header] + chain
    return None


def violations(root):
    """Answers (number of files checked, list of messages)."""
    messages = []
    files = list(source_files(root))
    for path in files:
        folder = top_folder(path)
        for number, spelled, target in includes_of(root, path):
            used = top_folder(target)
            if used in FORBIDDEN[folder]:
                messages.append(f"{path}:{number}: includes \"{spelled}\": {folder}/ never includes {used}/")
            elif folder in HOST_SIDE and used == "tonaropdk":
                chain = reaches_binding(root, target, set())
                if chain:
                    messages.append(f"{path}:{number}: includes \"{spelled}\", which leads to the service "
                                    f"binding ({' -> '.join(chain)}): {folder}/ uses only tonaropdk's "
                                    "conventions and record layouts")
    return len(files), messages


def check(root):
    count, messages = violations(root)
    if count == 0:
        print(f"no source files under {root}: wrong root?")
        return 2
    for message in messages:
        print(message)
    if messages:
        print(f"{len(messages)} layering violation(s) in {count} files")
        return 1
    print(f"layering clean: {count} files checked")
    return 0


def write(root, path, text):
    full = os.path.join(root, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "w", encoding="utf-8") as out:
        out.write(text)


def self_test():
    """Builds a clean tree, then adds one violation at a time and expects exactly it reported."""
    failures = []
    with tempfile.TemporaryDirectory() as root:
        for folder in FORBIDDEN:
            write(root, f"{folder}/{folder}.h", "#pragma once\n#include <cstdint>\n#include \"gtest/gtest.h\"\n")
        write(root, "tonaropdk/hkbinding.h", "#pragma once\n#include \"platform/platform.h\"\n")
        write(root, "tonaropdk/hkservices.h", "#pragma once\n#include \"tonaropdk/hkbinding.h\"\n")
        write(root, "tonaropdk/layout.h", "#pragma once\n#include \"platform/platform.h\"\n")
        write(root, "tonaropdk/umbrella.h", "#pragma once\n#include \"tonaropdk/hkservices.h\"\n")
        write(root, "simhost/uses.cpp", "#include \"tonaropdk/layout.h\"\n#include \"platform/platform.h\"\n")
        write(root, "zkexplodelayers/uses.cpp", "#include \"tonaroframework/tonaroframework.h\"\n")
        count, messages = violations(root)
        if count == 0 or messages:
            failures.append(f"clean tree: {count} files, reported {messages}")

        bad = [(folder, used) for folder in sorted(FORBIDDEN) for used in sorted(FORBIDDEN[folder])]
        cases = [(f"{folder}/bad.cpp", f"#include \"{used}/{used}.h\"\n") for folder, used in bad]
        cases += [
            ("tonaroframework/sub/bad.h", "#include <zkexplodelayers/zkexplodelayers.h>\n"),
            ("platform/bad.cpp", "  #  include \"../simhost/simhost.h\"\n"),
            ("musicxml/bad.cpp", "#include \"tonaropdk/umbrella.h\"\n"),
            ("simhost/bad.cpp", "#include \"tonaropdk/hkbinding.h\"\n"),
        ]
        for path, text in cases:
            write(root, path, text)
            _, messages = violations(root)
            if len(messages) != 1 or not messages[0].startswith(path + ":1:"):
                failures.append(f"{path} with {text.strip()!r}: reported {messages}")
            os.remove(os.path.join(root, path))
    for failure in failures:
        print("self-test:", failure)
    print(f"self-test: {len(cases)} violations planted, {len(failures)} not found exactly")
    return 1 if failures else 0


def main(arguments):
    if arguments == ["--self-test"]:
        return self_test()
    if len(arguments) != 1:
        print(__doc__)
        return 2
    return check(arguments[0])


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
