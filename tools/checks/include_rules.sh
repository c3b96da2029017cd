#!/usr/bin/env bash
# The include rules of the source tree:
#  - a subsystem's core (every src/<subsystem>/ file outside its ui/ folder, src/ui
#    and src/app excepted) includes no Qt Widgets header;
#  - nothing outside src/app includes app/;
#  - the window kit src/ui includes only common/ and its own headers (it reaches the database
#    and the settings only through what it is given);
#  - no global instance accessor (a static `instance()`) outside src/app.
# Usage: include_rules.sh SOURCE_DIR QT_WIDGETS_INCLUDE_DIR
set -euo pipefail
src="$1/src"
widgets_dir="$2"

widget_headers=$(cd "$widgets_dir" && ls | grep -v '\.h$' | sort -u)
widget_headers+=$'\nQtWidgets'
pattern="#[[:space:]]*include[[:space:]]*<(QtWidgets/)?($(echo "$widget_headers" | paste -sd'|'))>"

failed=0
for dir in "$src"/*/; do
    dir="${dir%/}"
    name=$(basename "$dir")
    case "$name" in ui | app) continue ;; esac
    while IFS= read -r line; do
        echo "core includes a Qt Widgets header: $line"
        failed=1
    done < <(find "$dir" -path "$dir/ui" -prune -o -type f \( -name '*.h' -o -name '*.cpp' \) -print0 |
             xargs -0 -r grep -HnE "$pattern" || true)
done

while IFS= read -r line; do
    echo "includes the shell: $line"
    failed=1
done < <(grep -rHnE '#[[:space:]]*include[[:space:]]*"app/' "$src" --include='*.h' --include='*.cpp' |
         grep -v "^$src/app/" || true)

while IFS= read -r line; do
    echo "the window kit includes a layer above it: $line"
    failed=1
done < <(grep -rHnE '#[[:space:]]*include[[:space:]]*"' "$src/ui" --include='*.h' --include='*.cpp' |
         grep -vE '#[[:space:]]*include[[:space:]]*"(common|ui)/' || true)

while IFS= read -r line; do
    echo "global instance accessor: $line"
    failed=1
done < <(grep -rHnE '\binstance[[:space:]]*\(\)' "$src" --include='*.h' --include='*.cpp' |
         grep -v "^$src/app/" || true)

if [ "$failed" -ne 0 ]; then
    exit 1
fi
echo "include rules kept"
