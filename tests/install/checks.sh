# Checks shared by the install-tree and package tests. Sourced; each function
# stops the test with a message on the first thing that is wrong.

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The tree under ROOT (an installed prefix) holds the program, the hack as a
# relative link that reaches it, and the documents; HELP_DIR is where the
# help page must be, with the pictures it shows.
check_tree() {
    root=$1 helpdir=$2
    exe=$root/bin/quorvane
    hack=$root/libexec/xscreensaver/quorvane
    [ -f "$exe" ] && [ ! -L "$exe" ] && [ -x "$exe" ] || fail "$exe is not an executable file"
    [ -L "$hack" ] || fail "$hack is not a link"
    case $(readlink "$hack") in
        /*) fail "$hack points to an absolute path, which breaks under DESTDIR" ;;
    esac
    [ "$(readlink -f "$hack")" = "$(readlink -f "$exe")" ] || fail "$hack does not reach $exe"
    "$hack" --version | grep -q '^quorvane ' || fail "the hack does not start the program"
    for f in "$root/share/xscreensaver/config/quorvane.xml" "$root/share/man/man6/quorvane.6.gz" \
             "${helpdir%/}/quorvane.htm" "$root/share/doc/quorvane/copyright" \
             "$root/share/doc/quorvane/changelog.gz"; do
        [ -s "$f" ] || fail "$f is missing or empty"
    done
    gzip -t "$root/share/man/man6/quorvane.6.gz" "$root/share/doc/quorvane/changelog.gz" ||
        fail "a compressed document is damaged"
    # The help page's pictures of the styles are installed beside it.
    pictures=$(grep -o 'src="[^"]*"' "${helpdir%/}/quorvane.htm" | sed 's/^src="//; s/"$//')
    [ "$(printf '%s\n' "$pictures" | grep -c '^gallery/.*\.png$')" -ge 20 ] ||
        fail "the help page shows fewer than 20 pictures of the styles"
    for picture in $pictures; do
        file "${helpdir%/}/$picture" | grep -q 'PNG image data' ||
            fail "the help page shows $picture, which is not installed beside it"
    done
    grep -q '^License: Expat$' "$root/share/doc/quorvane/copyright" || fail "the copyright names no licence"
}

xpath() {
    xmllint --xpath "$1" "$2" 2>/dev/null || true
}

# What xscreensaver's settings program needs of a hack's description: a
# well-formed <screensaver> whose name is the hack's file name, a label, one
# command whose arguments the program accepts, a description, and no element
# the settings program does not know.
check_hack_xml() {
    xml=$1 exe=$2
    xmllint --noout "$xml" || fail "$xml is not well-formed"
    [ "$(xpath 'count(/screensaver)' "$xml")" = 1 ] || fail "$xml: the root is not <screensaver>"
    [ "$(xpath 'string(/screensaver/@name)' "$xml")" = "$(basename "$xml" .xml)" ] ||
        fail "$xml: name differs from the file name, so the hack's settings are not found"
    [ -n "$(xpath 'normalize-space(/screensaver/@_label)' "$xml")" ] || fail "$xml: no _label"
    [ -n "$(xpath 'normalize-space(/screensaver/_description)' "$xml")" ] || fail "$xml: no _description"
    [ "$(xpath 'count(/screensaver/command)' "$xml")" = 1 ] || fail "$xml: not exactly one <command>"
    known='self::screensaver or self::command or self::fullcommand or self::number or self::boolean
        or self::select or self::option or self::string or self::file or self::hgroup or self::vgroup
        or self::_description or self::video or self::xscreensaver-text or self::xscreensaver-image
        or self::xscreensaver-updater'
    [ "$(xpath "count(//*[not($known)])" "$xml")" = 0 ] || fail "$xml: an element xscreensaver does not know"
    args=$(xpath 'string(/screensaver/command/@arg)' "$xml")
    case " $args " in
        *" -root "* | *" --root "*) ;;
        *) fail "$xml: the command does not draw on the window xscreensaver gives (-root)" ;;
    esac
    # Without a display the program cannot draw; what matters is that it
    # takes the arguments (2 is its answer to a command line it cannot read).
    rc=0
    # shellcheck disable=SC2086
    env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u XSCREENSAVER_WINDOW timeout 20 "$exe" $args \
        >/dev/null 2>&1 || rc=$?
    [ "$rc" != 2 ] || fail "the program rejects the hack's arguments '$args'"
    [ "$rc" != 124 ] || fail "the program did not end without a display"
}

# The help page is sound HTML and lists every setting of KEYS_HEADER with its
# default in the last cell of the setting's row (on or off for a switch; a
# number may be followed by what it stands for, in brackets).
check_help_page() {
    page=$1 keys=$2
    xmllint --html --noout "$page" || fail "$page is not sound HTML"
    tr -d '\\\n' <"$keys" | grep -o 'QV_SETTING([a-z]*, *[A-Za-z0-9]*, *[A-Za-z0-9]*, *[A-Za-z0-9]*, *[a-z0-9]*)' |
        sed 's/QV_SETTING(\([a-z]*\), *\([A-Za-z0-9]*\),.*, *\([a-z0-9]*\))/\1 \2 \3/' >"$dest/keys"
    [ "$(wc -l <"$dest/keys")" -gt 40 ] || fail "could not read the settings from $keys"
    while read -r type key def; do
        case $def in true) def=on ;; false) def=off ;; esac
        row=$(grep -F "class=\"key\">$key<" "$page") || fail "$page does not explain $key"
        case $row in
            *"<td>$def</td></tr>" | *"<td>$def ("*")</td></tr>") ;;
            *) fail "$page gives another default than $def for $key" ;;
        esac
    done <"$dest/keys"
    for key in InstallFolder Folders 'Message0 to Message11' 'Color0 to Color11' \
               'id="seed"' 'id="render"' '--seed' '--render' '/r7'; do
        grep -qF -- "$key" "$page" || fail "$page does not explain $key"
    done
}

# Every option of the program's usage text, and every environment variable
# it reads, is in the (compressed) manual page.
check_man_page() {
    man=$1 exe=$2
    plain=$(gzip -dc "$man" | sed 's/\\-/-/g')
    options=$("$exe" --help | grep -E '^  [-/]' | grep -oE '(^| )(--?[a-z][a-z-]*|/[a-z])' | sort -u)
    [ -n "$options" ] || fail "no options in the usage text"
    for opt in $options; do
        printf '%s\n' "$plain" | grep -qE -- "(^|[^-a-z])$opt([^-a-z]|\$)" ||
            fail "$man does not explain $opt"
    done
    for var in QUORTEMP TEMP TMPDIR QUORVANE_CONFIG_DIR XDG_CONFIG_HOME XSCREENSAVER_WINDOW; do
        printf '%s\n' "$plain" | grep -qx "\.B $var" || fail "$man does not explain $var"
    done
    if command -v groff >/dev/null; then
        warnings=$(gzip -dc "$man" | LC_ALL=C.UTF-8 groff -man -ww -z 2>&1)
        [ -z "$warnings" ] || fail "$man: $warnings"
    fi
}
