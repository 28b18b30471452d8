# Sourced by the translation scripts: the folders whose texts the user sees,
# and the lupdate options both scripts share.
TRANSLATION_DIRS=()
for d in app base card mp4 telemetry incident recovery listctrl trip display config skin engine; do
  [ -d "$d" ] && TRANSLATION_DIRS+=("$d")
done
TS_FILE=res/i18n/halcyon_en.ts
# No source locations: they would change with every edit of the code.
LUPDATE_OPTIONS=(-silent -locations none -no-obsolete -source-language ko -target-language en -extensions cpp,h)
