#!/usr/bin/env bash
# Fails when a C++ file of the project differs from what .clang-format makes of it, naming the files.
set -euo pipefail
root="$1"
cd "$root"
command -v clang-format >/dev/null || { echo "clang-format is not installed"; exit 1; }
drifted=()
while IFS= read -r -d '' file; do
  clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || drifted+=("$file")
done < <(find src tests bench tools fuzz -type f \( -name '*.cpp' -o -name '*.hpp' -o -name '*.h' -o -name '*.c' \) -print0)
if [[ ${#drifted[@]} -gt 0 ]]; then
  echo "These files differ from .clang-format (run clang-format -i on them):"
  printf '  %s\n' "${drifted[@]}"
  exit 1
fi
