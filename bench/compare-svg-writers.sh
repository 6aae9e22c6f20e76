#!/usr/bin/env bash
# Side by side: our SVG writer (options 0x2FFE), svgo and scour on one icon theme (Papirus unless --theme names
# another folder of /usr/share/icons). Prints files per second, output bytes and how many outputs render equal to
# their original (64x64, at most 2% of the pixels off by more than 24/255). Run by hand after building svgrender,
# svgwrite and svgdiff:
#   bench/compare-svg-writers.sh [--limit N] [--theme NAME] [--build DIR]
# scour comes from Debian (the scour package); svgo is used when it is on the PATH. A tool that is missing is
# reported and left out, never fetched.
set -euo pipefail

limit=0
theme=Papirus
build="$(cd "$(dirname "$0")/.." && pwd)/build"
while [ $# -gt 0 ]; do
    case "$1" in
    --limit) limit="$2"; shift 2 ;;
    --theme) theme="$2"; shift 2 ;;
    --build) build="$2"; shift 2 ;;
    *) echo "usage: $0 [--limit N] [--theme NAME] [--build DIR]" >&2; exit 2 ;;
    esac
done
for tool in svgrender svgwrite svgdiff; do
    [ -x "$build/bench/$tool" ] || { echo "build $tool first (cmake --build $build --target $tool)" >&2; exit 2; }
done
icons="/usr/share/icons/$theme"
[ -d "$icons" ] || { echo "no icon theme at $icons" >&2; exit 2; }

work="$build/svg-compare"
kinds=ours
if command -v svgo >/dev/null; then kinds="$kinds svgo"; else echo "svgo is not installed: left out"; fi
if /usr/bin/python3 -c 'import scour' 2>/dev/null; then kinds="$kinds scour"; else echo "scour is not installed: left out"; fi

# Flat, numbered copies, so that all three tools read the same files from one folder. A limit takes files spread
# evenly over the sorted list, so that every size and context of the theme is in the sample.
rm -rf "$work/in" "$work/ours" "$work/svgo" "$work/scour" "$work/png"
mkdir -p "$work/in" "$work/ours" "$work/svgo" "$work/scour" "$work/png"
find "$icons" -name '*.svg' -type f | LC_ALL=C sort > "$work/all.txt"
awk -v dir="$work/in" -v limit="$limit" -v total="$(wc -l < "$work/all.txt")" '
    limit == 0 || limit >= total || int((NR - 1) * limit / total) != int(NR * limit / total) {
        printf "%s\t%s/%05d.svg\n", $0, dir, ++n
    }' "$work/all.txt" > "$work/sources.tsv"
while IFS=$'\t' read -r source copy; do cp "$source" "$copy"; done < "$work/sources.tsv"
count=$(wc -l < "$work/sources.tsv")
names=$(cd "$work/in" && ls)

now() { date +%s.%N; }
since() { awk -v start="$1" -v end="$(now)" 'BEGIN { print end - start }'; }
declare -A seconds
for name in $names; do printf '%s\t%s\n' "$work/in/$name" "$work/ours/$name"; done > "$work/ours.tsv"
start=$(now)
"$build/bench/svgwrite" --list "$work/ours.tsv" 0x2FFE 2> "$work/ours.log" || true
seconds[ours]=$(since "$start")

if [[ " $kinds " == *" svgo "* ]]; then
    start=$(now)
    svgo --quiet -f "$work/in" -o "$work/svgo" 2> "$work/svgo.log" || true
    seconds[svgo]=$(since "$start")
fi

# scour in one interpreter, as svgo and ours run in one process too.
if [[ " $kinds " == *" scour "* ]]; then
    start=$(now)
    /usr/bin/python3 - "$work/in" "$work/scour" 2> "$work/scour.log" <<'PY' || true
import os, sys
from scour import scour
source, target = sys.argv[1], sys.argv[2]
options = scour.parse_args(['--enable-id-stripping', '--enable-comment-stripping', '--shorten-ids',
                            '--remove-metadata', '--strip-xml-prolog', '--indent=none'])
for name in sorted(os.listdir(source)):
    try:
        with open(os.path.join(source, name), encoding='utf-8') as f:
            text = scour.scourString(f.read(), options)
        with open(os.path.join(target, name), 'w', encoding='utf-8') as f:
            f.write(text)
    except Exception as error:
        print(name, error, file=sys.stderr)
PY
    seconds[scour]=$(since "$start")
fi

# Render the originals and every output; a missing output or one that does not render counts as unequal.
for kind in in $kinds; do
    mkdir -p "$work/png/$kind"
    for name in $names; do
        [ -f "$work/$kind/$name" ] && printf '%s\0%s\0' "$work/$kind/$name" "$work/png/$kind/${name%.svg}.png"
    done
done | xargs -0 -n 2 -P 4 sh -c '"$0" "$1" "$2" 64 64 2>/dev/null || true' "$build/bench/svgrender"

bytes() { find "$1" -name '*.svg' -type f -exec cat {} + | wc -c; }
rendered=$(ls "$work/png/in" | wc -l)
input=$(bytes "$work/in")
printf '%s: %d files, %d render with our engine; input %d bytes\n\n' "$theme" "$count" "$rendered" "$input"
printf '%-7s %8s %9s %8s %12s %8s %14s\n' tool written seconds files/s 'bytes out' '% of in' 'render-equal'
for kind in $kinds; do
    for name in $names; do
        [ -f "$work/png/in/${name%.svg}.png" ] \
            && printf '%s\t%s\n' "$work/png/in/${name%.svg}.png" "$work/png/$kind/${name%.svg}.png"
    done > "$work/$kind-pairs.tsv"
    "$build/bench/svgdiff" --list "$work/$kind-pairs.tsv" > "$work/$kind-diff.txt"
    equal=$(tail -n 1 "$work/$kind-diff.txt" | awk '{ print $2 }')
    written=$(ls "$work/$kind" | wc -l)
    out=$(bytes "$work/$kind")
    awk -v kind="$kind" -v written="$written" -v seconds="${seconds[$kind]}" -v count="$count" -v out="$out" \
        -v input="$input" -v equal="$equal" -v rendered="$rendered" 'BEGIN {
            printf "%-7s %8d %9.2f %8.0f %12d %7.1f%% %7d/%-6d\n", kind, written, seconds, count / seconds, out,
                100 * out / input, equal, rendered
        }' 
done
echo
echo "unequal renders: $work/{ours,svgo,scour}-diff.txt; tool errors: $work/{ours,svgo,scour}.log"
