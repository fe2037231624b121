#!/usr/bin/env bash
# check_program_texts.sh SOURCE_DIR
# The glyph check of clean_install.sh is only as good as program_texts.py:
# every Chinese character of the messages, whose GBK bytes the extractor
# decodes, must come out of it (the Chinese written beside each message is
# checked against its bytes by core_texts_test), and so must the texts of
# the windows, written as UTF-8 (the formula window's "＋" and the
# tooltip's "π" stand for them).
set -euo pipefail
src=$1
here=$(cd "$(dirname "$0")" && pwd)
found=$(python3 "$here/program_texts.py" "$src/app" "$src/core")
expected=$(sed -n 's|^// ||p' "$src/core/message_texts.h" | grep -P '[^\x00-\x7f]' \
  | python3 -c 'import sys; print("\n".join(sorted({f"{ord(c):04x}" for c in sys.stdin.read() if ord(c) > 127})))')
missing=$(comm -23 <(printf '%s\n' $expected ff0b 03c0 | sort -u) <(printf '%s\n' $found | sort -u))
if [ -n "$missing" ]; then
  echo "FAIL: program_texts.py misses: $(for c in $missing; do printf "\\u$c"; done)" >&2
  exit 1
fi
echo "program_texts.py finds $(wc -l <<<"$found") characters, the $(wc -w <<<"$expected") of the messages among them"
