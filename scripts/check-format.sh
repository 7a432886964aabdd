#!/usr/bin/env bash
# Fails when a C++ file of the project is not formatted by the repository's .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "clang-format is not installed" >&2; exit 1; }
bad=()
while IFS= read -r -d '' f; do
    clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done < <(git ls-files -z -- '*.cpp' '*.h')
if [ ${#bad[@]} -gt 0 ]; then
    printf 'Not formatted (run clang-format -i on them):\n' >&2
    printf '  %s\n' "${bad[@]}" >&2
    exit 1
fi
echo "formatting ok"
