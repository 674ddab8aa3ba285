#!/usr/bin/env bash
# Fails when a C++ file under src/, tools/ or tests/ is not laid out as
# .clang-format says. `make format` rewrites them.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "clang-format is not installed (scripts/install-deps.sh test)"; exit 1; }
mode=(--dry-run --Werror)
[ "${1:-}" = --fix ] && mode=(-i)
find src tools tests \( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' \) -print0 | sort -z |
    xargs -0 clang-format "${mode[@]}"
echo "source layout: OK"
