#!/usr/bin/env python3
"""Installs a built tree into a fresh prefix and checks what lands there.

    check_install.py --cmake CMAKE --build BUILD_DIR --source SOURCE_DIR
                     --includedir include --libdir lib --cxx COMPILER
                     [--platform-library static|shared] [--flags "..."] [--emulator "..."]

Checks: every header of the installed libraries lies under PREFIX/include/<library>/
as it lies in the source tree, the umbrella headers are there, the libraries are
under PREFIX/lib/, and a small program built only from the installed headers and
libraries compiles, links and runs.
"""

import argparse
import os
import shlex
import subprocess
import sys
import tempfile

LIBRARIES = ["platform", "tonaropdk", "tonaroframework", "simhost"]
UMBRELLAS = ["tonaropdk/tonaropdk.h", "tonaroframework/tonaroframework.h", "simhost/simhost.h"]
STATIC_ARCHIVES = ["libtonaropdk.a", "libtonaroframework.a", "libsimhost.a"]
HEADER_SUFFIXES = (".h", ".inc")

CONSUMER = r"""
#include "platform/platform.h"
#include "platform/substitute.h"
#include "simhost/simhost.h"
#include "tonaroframework/tonaroframework.h"
#include "tonaropdk/tonaropdk.h"

int main() {
  simhost::Host host;
  host.settings.maxLayersAnswer = 3;
  __PKBase base;
  const bool answered = HK_GetMaxLayers(kTonaroFrameworkVersion) == 3;
  const bool versioned = GetTonaroFrameworkVersion() == kTonaroFrameworkVersion;
  return answered && versioned && base.IsIdentical(&base) ? 0 : 1;
}
"""


def run(command, **options):
    print("+", " ".join(shlex.quote(part) for part in command))
    return subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, **options)


def source_headers(source, library):
    for directory, _, names in os.walk(os.path.join(source, library)):
        for name in names:
            if name.endswith(HEADER_SUFFIXES):
                yield os.path.relpath(os.path.join(directory, name), source)


def check_layout(arguments, prefix, problems):
    include = os.path.join(prefix, arguments.includedir)
    lib = os.path.join(prefix, arguments.libdir)
    for library in LIBRARIES:
        headers = sorted(source_headers(arguments.source, library))
        if not headers:
            problems.append(f"no headers of {library}/ in the source tree")
        for header in headers:
            if not os.path.isfile(os.path.join(include, header)):
                problems.append(f"{header} is not installed under {include}/")
    for umbrella in UMBRELLAS:
        if not os.path.isfile(os.path.join(include, umbrella)):
            problems.append(f"umbrella header {umbrella} is missing under {include}/")
    for directory, _, names in os.walk(include):
        for name in names:
            if not name.endswith(HEADER_SUFFIXES):
                problems.append(f"{os.path.join(directory, name)} is not a header")
    platform_library = "libtonaroplatform." + ("so" if arguments.platform_library == "shared" else "a")
    for archive in STATIC_ARCHIVES + [platform_library]:
        if not os.path.isfile(os.path.join(lib, archive)):
            problems.append(f"{archive} is missing under {lib}/")


def check_consumer(arguments, prefix, problems):
    include = os.path.join(prefix, arguments.includedir)
    lib = os.path.join(prefix, arguments.libdir)
    source = os.path.join(prefix, "consumer.cpp")
    program = os.path.join(prefix, "consumer")
    with open(source, "w", encoding="utf-8") as out:
        out.write(CONSUMER)
    build = run([arguments.cxx, "-std=c++17", *shlex.split(arguments.flags), "-I", include, source,
                 "-L", lib, "-lsimhost", "-ltonaroframework", "-ltonaropdk", "-ltonaroplatform",
                 "-o", program])
    if build.returncode != 0:
        problems.append("a program using only the installed files does not build:\n" + build.stdout)
        return
    environment = dict(os.environ, LD_LIBRARY_PATH=lib)
    result = run(shlex.split(arguments.emulator) + [program], env=environment)
    if result.returncode != 0:
        problems.append(f"the program built from the installed files failed ({result.returncode}):\n"
                        + result.stdout)


def main():
    parser = argparse.ArgumentParser()
    for option in ("--cmake", "--build", "--source", "--includedir", "--libdir", "--cxx"):
        parser.add_argument(option, required=True)
    parser.add_argument("--platform-library", choices=["static", "shared"], default="static")
    parser.add_argument("--flags", default="")
    parser.add_argument("--emulator", default="")
    arguments = parser.parse_args()

    with tempfile.TemporaryDirectory(prefix="zk-install-") as prefix:
        installed = run([arguments.cmake, "--install", arguments.build, "--prefix", prefix])
        if installed.returncode != 0:
            print(installed.stdout)
            print("cmake --install failed")
            return 1
        problems = []
        check_layout(arguments, prefix, problems)
        if not problems:
            check_consumer(arguments, prefix, problems)
    for problem in problems:
        print(problem)
    if problems:
        print(f"install check failed: {len(problems)} problem(s)")
        return 1
    print("install check passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
