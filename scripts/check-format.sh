#!/usr/bin/env bash
# Fails when a C++ source of the tree is not formatted as the root
# .clang-format says; lists the files that are not.
set -euo pipefail
cd "$(dirname "$0")/.."
formatter=${CLANG_FORMAT:-clang-format}
if ! command -v "$formatter" >/dev/null; then
  echo "check-format: $formatter is not installed" >&2
  exit 1
fi
unformatted=()
while IFS= read -r -d '' file; do
  if ! "$formatter" --dry-run --Werror "$file" >/dev/null 2>&1; then
    unformatted+=("$file")
  fi
done < <(find game tools tests bench editor fuzz -type f \( -name '*.cpp' -o -name '*.h' \) -print0 2>/dev/null | sort -z)
if ((${#unformatted[@]})); then
  echo "Not formatted (run: clang-format -i <file>):" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
echo "check-format: every source file is formatted"
