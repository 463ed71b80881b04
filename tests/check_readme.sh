#!/usr/bin/env bash
# The README's function reference must be what the catalogue says today.
set -euo pipefail
host=$1 readme=$2
expected=$("$host" list --markdown)
actual=$(sed -n '/<!-- catalogue:begin -->/,/<!-- catalogue:end -->/p' "$readme" | sed '1d;$d')
if [[ "$expected" != "$actual" ]]; then
  echo "README.md function reference is stale; regenerate it with: funcplug list --markdown"
  diff <(echo "$expected") <(echo "$actual") || true
  exit 1
fi
echo "readme: 1 passed, 0 failed"
