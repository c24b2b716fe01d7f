#!/usr/bin/env bash
# Inspects the cross-built plug-in DLL: exact export table, version resource.
set -euo pipefail
dll=${1:?usage: check_dll.sh DLL}
here=$(cd "$(dirname "$0")" && pwd)
python3 "$here/check_dll.py" i686-w64-mingw32-objdump "$dll" \
  TonaroExtensionVersion TonaroExtensionInit TonaroExtensionEnumerate \
  TonaroExtensionTerminate TonaroExtensionGetMenuStatus TonaroExtensionInvoke
