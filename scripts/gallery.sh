#!/bin/sh
# Renders the gallery: every style the program lists (--list-styles) alone
# for the seeds 1, 2 and 3 (STYLE-SEED.png, the style's name in lower case),
# and three whole runs at the default settings (whole-SEED.png), 480x270 each.
#
# The pictures depend on nothing of the user's: the settings are a fresh set
# in a temporary folder, the defaults but for the first message, which
# defaults to the account's name and is "Quorvane" here. The styles alone
# also have an image folder, the gallery's own images/ (stills the program
# drew), for the image style to show; the whole runs have none, as a fresh
# install has none.
#
# With HELP_PAGE, the table of styles in that page (between the lines
# "<!-- styles -->" and "<!-- end of styles -->") is written anew from the
# list: each style's code, name, what it draws and its picture of seed 2.
#
# usage: scripts/gallery.sh QUORVANE [OUT_DIR [HELP_PAGE]]
#   OUT_DIR defaults to docs/gallery; JOBS (default 2) renders run at once.
set -eu
exe=$(realpath "$1")
here=$(cd "$(dirname "$0")/.." && pwd)
out=${2:-$here/docs/gallery}
mkdir -p "$out"
# Pictures of a style that is gone or renamed go with it.
rm -f "$out"/*.png

# The simulated seconds after which a style's picture is shown: long enough
# for its drawings to fill the screen, short for the slow ones (the check of
# the pictures runs them under the sanitizers). Other styles get 20. A style
# that reworks the screen, alone, first has a picture of another style to
# work on (the program paints one), so its seconds include that picture's.
seconds_of() {
    case $1 in
        Cookies) echo 4 ;;
        Repaint) echo 5 ;;
        Design | PolygonsMoving | Interp | Scroll | Offset | Text | Bitmap) echo 10 ;;
        Plasma | Lines | Dots | Distort | BlockPaint | Sketch) echo 25 ;;
        Turtle | Blur) echo 30 ;;
        Shrinker) echo 45 ;;
        *) echo 20 ;;
    esac
}
whole_seconds=40

config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
mkdir "$config/styles" "$config/whole"
for set in styles whole; do
    printf '[HKEY_CURRENT_USER\\Software\\Quorvane\\Quorvane5\\Config]\nMessage0=Quorvane\n' \
        >"$config/$set/registry.ini"
done
printf '[Quorvane]\nFolders=%s\n' "$here/docs/gallery/images" >"$config/styles/Quorvane5.ini"

"$exe" --list-styles >"$config/list"
styles=$(awk '{ print $2 }' "$config/list")
[ -n "$styles" ] || { echo "gallery: $exe lists no styles" >&2; exit 1; }
{
    for seed in 1 2 3; do
        for style in $styles; do
            name=$(printf '%s' "$style" | tr 'A-Z' 'a-z')
            echo "styles $name-$seed.png $seed $(seconds_of "$style") --style=$style"
        done
        echo "whole whole-$seed.png $seed $whole_seconds"
    done
} >"$config/jobs"

# One render per line: SETTINGS FILE SEED SECONDS [--style=NAME].
xargs -P "${JOBS:-2}" -L 1 sh -c 'QUORVANE_CONFIG_DIR="$0/$3" exec env -u DISPLAY -u WAYLAND_DISPLAY \
    "$1" --render "$2/$4" --size 480x270 --seed "$5" --seconds "$6" $7' "$config" "$exe" "$out" <"$config/jobs"

[ $# -ge 3 ] || exit 0
page=$3
grep -qx '<!-- styles -->' "$page" && grep -qx '<!-- end of styles -->' "$page" ||
    { echo "gallery: $page has no table of styles to fill" >&2; exit 1; }
sed 's/&/\&amp;/g; s/</\&lt;/g; s/>/\&gt;/g' "$config/list" | awk '{
    code = $1; name = $2; low = tolower(name)
    text = $0; sub(/^ *[0-9]+ +[^ ]+ +/, "", text)
    printf "<tr id=\"style-%s\"><td><img src=\"gallery/%s-2.png\" width=\"240\" height=\"135\" alt=\"%s\"></td>", low, low, name
    printf "<td class=\"style\">%s</td><td>%s</td><td>%s</td></tr>\n", name, code, text
}' >"$config/rows"
awk -v rows="$config/rows" '
    $0 == "<!-- end of styles -->" { while ((getline line < rows) > 0) print line; skip = 0 }
    !skip { print }
    $0 == "<!-- styles -->" { skip = 1 }' "$page" >"$config/page"
cat "$config/page" >"$page"
