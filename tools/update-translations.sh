#!/usr/bin/env bash
# Brings res/i18n/halcyon_en.ts up to date with the texts of the code: new
# texts appear as unfinished (translate them in linguist or by hand), texts no
# longer used are dropped.
#   tools/update-translations.sh [LUPDATE]
set -euo pipefail
cd "$(dirname "$0")/.."
LUPDATE=${1:-/usr/lib/qt6/bin/lupdate}
. tools/translation-sources.sh
"$LUPDATE" "${LUPDATE_OPTIONS[@]}" "${TRANSLATION_DIRS[@]}" -ts "$TS_FILE"
grep -c '<message' "$TS_FILE" | xargs printf '%s texts, '
grep -c 'type="unfinished"' "$TS_FILE" | xargs printf '%s without a translation\n' || true
