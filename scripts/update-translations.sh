#!/usr/bin/env bash
# Brings the translation files up to date with the string table: new German
# texts are added as unfinished entries (fill in their <translation> and drop
# type="unfinished"), texts that left the table are removed. The string-table
# test fails while any entry has no translation.
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=$(command -v lupdate6 || command -v lupdate || echo /usr/lib/qt6/bin/lupdate)
for ts in resources/translations/RQarda*.ts; do
  "$lupdate" -locations none -no-obsolete -source-language de_DE resources/StringTable.cpp -ts "$ts"
done
