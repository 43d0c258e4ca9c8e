#!/usr/bin/env bash
# Fails, naming the files, when C++ sources differ from .clang-format (Debian's
# clang-format). `clang-format -i FILE` puts a file right.
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
  mapfile -t files < <(find src tests bench fuzz -name '*.cpp' -o -name '*.h')
fi
drifted=()
for f in "${files[@]}"; do
  [ -f "$f" ] || continue
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || drifted+=("$f")
done
if [ ${#drifted[@]} -gt 0 ]; then
  echo "check-format: not formatted as .clang-format says (run clang-format -i):" >&2
  printf '  %s\n' "${drifted[@]}" >&2
  exit 1
fi
