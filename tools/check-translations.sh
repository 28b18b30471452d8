#!/usr/bin/env bash
# Fails when lupdate finds a text of the code that the English translation
# lacks: runs lupdate on a copy of res/i18n/halcyon_en.ts and lists every
# message it leaves unfinished. tools/update-translations.sh fixes the file.
#   tools/check-translations.sh [LUPDATE]
set -euo pipefail
cd "$(dirname "$0")/.."
LUPDATE=${1:-/usr/lib/qt6/bin/lupdate}
. tools/translation-sources.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$TS_FILE" "$work/check.ts"
"$LUPDATE" "${LUPDATE_OPTIONS[@]}" "${TRANSLATION_DIRS[@]}" -ts "$work/check.ts" >/dev/null
missing=$(awk '
  /<name>/ { gsub(/.*<name>|<\/name>.*/, ""); context = $0 }
  /<source>/ { source = $0; gsub(/.*<source>|<\/source>.*/, "", source) }
  /type="unfinished"/ { print context ": " source }
' "$work/check.ts")
if [ -n "$missing" ]; then
  echo "texts without an English translation (run tools/update-translations.sh and translate them):" >&2
  echo "$missing" >&2
  exit 1
fi
echo "every text has an English translation ($(grep -c '<message' "$work/check.ts") texts)"
