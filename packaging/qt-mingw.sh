#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Provides a static Qt 6.4.2 for cross-building the Windows program with
# mingw-w64 and prints its folder (the CMake prefix) as the last line.
# With --name it prints the name of the recipe's tarball and does nothing
# else: the Qt version and a short hash of the configure options and the
# patches in packaging/qt-patches, so another recipe never passes for this.
# NIHILIST_QT_MINGW may name a Qt for mingw: a folder holding one, or a
# tarball, unpacked once into the cache under its checksum. Without it, the
# Qt is built once from Debian's qt6-base source into the cache
# (NIHILIST_QT_CACHE, by default ~/.cache/nihilist-cipher); that needs cmake,
# ninja-build, dpkg-dev, g++-mingw-w64-x86-64-posix, qt6-base-dev-tools (host
# tools of the same version), about 2 GB of disk and half an hour; the build
# also leaves <name>.tar.xz in the cache, a copy to share.
set -euo pipefail
debian_version=6.4.2+dfsg-10
here=$(dirname "$(realpath "$0")")
cache=${NIHILIST_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/nihilist-cipher}
given=${NIHILIST_QT_MINGW:-}
fail() { echo "qt-mingw: $*" >&2; exit 1; }
say() { echo "qt-mingw: $*" >&2; }

# The recipe. The program is one window of Fusion-styled line edits, lists,
# buttons, labels and two plain-text panes; everything else Qt would link in
# (other styles, style sheets, dialogs, graphics view, the MIME database,
# rich and Markdown text, 64-bit and float painting...) is left out, and the
# rest is optimised for size.
features_on=(widgets testlib accessibility png freetype harfbuzz style_fusion optimize_size)
features_off=(sql network dbus opengl printsupport concurrent xml vulkan icu jpeg tabletevent pkg_config
    system_zlib system_png system_freetype system_harfbuzz system_pcre2 zstd
    mimetype mimetype_database process commandlineparser sharedmemory systemsemaphore xmlstream
    xmlstreamreader xmlstreamwriter timezone sha3_fast gestures jalalicalendar hijricalendar islamiccivilcalendar
    textmarkdownreader textmarkdownwriter textodfwriter texthtmlparser cssparser movie picture pdf
    desktopservices systemtrayicon sessionmanager whatsthis imageformat_ppm imageformat_xbm gif ico
    raster_fp raster_64bit image_heuristic_mask undocommand undostack undogroup
    style_windows style_windowsvista style_stylesheet graphicsview graphicseffect filedialog colordialog
    fontdialog inputdialog progressdialog errormessage wizard messagebox dialogbuttonbox mdiarea dockwidget
    mainwindow toolbar menubar statusbar sizegrip toolbox tabwidget tabbar splitter stackedwidget
    calendarwidget datetimeedit spinbox combobox fontcombobox commandlinkbutton lcdnumber dial progressbar
    splashscreen keysequenceedit textbrowser syntaxhighlighter undoview columnview treeview treewidget
    tableview tablewidget datawidgetmapper completer fscompleter scroller effects)
recipe=(-DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF)
for feature in "${features_on[@]}"; do recipe+=("-DFEATURE_$feature=ON"); done
for feature in "${features_off[@]}"; do recipe+=("-DFEATURE_$feature=OFF"); done
patches=("$here"/qt-patches/*.patch)
hash=$( (echo "qt6-base $debian_version" && printf '%s\n' "${recipe[@]}" && cat "${patches[@]}" \
    "$here/../cmake/mingw-w64-x86_64.cmake") | sha256sum | cut -c1-10)
name=qt6.4.2-mingw-w64-x86_64-static-$hash
if [ "${1:-}" = --name ]; then
    echo "$name.tar.xz"
    exit
fi
# A Qt folder is recognised by its CMake package and its static Widgets.
qt_in() {
    local config
    config=$(find "$1" -maxdepth 5 -path '*/lib/cmake/Qt6/Qt6Config.cmake' -print -quit 2>/dev/null)
    [ -n "$config" ] && [ -f "${config%/cmake/Qt6/Qt6Config.cmake}/libQt6Widgets.a" ] &&
        (cd "${config%/lib/cmake/Qt6/Qt6Config.cmake}" && pwd)
}

if [ -d "$given" ]; then
    qt_in "$given" || fail "$given holds no static Qt for mingw (lib/cmake/Qt6, lib/libQt6Widgets.a)"
    exit
elif [ -f "$given" ]; then
    unpacked=$cache/qt-$(sha256sum <"$given" | cut -c1-16)
    if ! qt_in "$unpacked"; then
        say "unpacking $given into $unpacked"
        rm -rf "$unpacked" "$unpacked.partial" && mkdir -p "$unpacked.partial"
        tar -xf "$given" -C "$unpacked.partial" && mv "$unpacked.partial" "$unpacked"
        qt_in "$unpacked" || fail "$given holds no static Qt for mingw"
    fi
    exit
fi
[ -z "$given" ] || fail "no such folder or file: $given"
prefix=$cache/$name
qt_in "$prefix" && exit

# Debian's qt6-base source, fetched through a private apt configuration: the
# machine's sources stay as they are and apt still checks the signatures.
[ -x /usr/lib/qt6/libexec/moc ] || fail "missing Debian's Qt host tools (qt6-base-dev-tools)"
work=$cache/qt-build
rm -rf "$work" && mkdir -p "$work/apt/lists/partial" "$work/apt/archives/partial"
start=$SECONDS
say "fetching the qt6-base $debian_version source"
echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main" \
    >"$work/apt/sources.list"
apt=(apt-get -qq -o "Dir::Etc::SourceList=$work/apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
    -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt" -o Debug::NoLocking=1 -o APT::Sandbox::User=root)
"${apt[@]}" update >&2
(cd "$work" && "${apt[@]}" source --download-only "qt6-base=$debian_version" >&2)
# The Qt in the shipped program was built from /tmp/qtsrc/qtbase-everywhere-src-6.4.2
# and installed into /tmp/qt6-mingw, paths the program records (Qt's source
# file names and its prefix); the same paths give the same Qt. The result is
# moved into the cache: Qt finds its files relative to where it is.
src=/tmp/qtsrc/qtbase-everywhere-src-6.4.2 staged=/tmp/qt6-mingw
for folder in /tmp/qtsrc "$staged"; do
    [ ! -e "$folder" ] || fail "$folder is in the way; move it aside and run again"
done
mkdir -p /tmp/qtsrc
dpkg-source --no-check -x "$work/qt6-base_$debian_version.dsc" "$src" >&2
# Each patch says at its top what it changes and why.
for patch in "${patches[@]}"; do
    patch -d "$src" -p1 --no-backup-if-mismatch -s <"$patch" || fail "$patch does not apply"
done

say "configuring and building (static, Release; logs in $work)"
options=(-DCMAKE_TOOLCHAIN_FILE="$here/../cmake/mingw-w64-x86_64.cmake" "${recipe[@]}"
    -DCMAKE_INSTALL_PREFIX="$staged" -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(gcc -print-multiarch)/cmake")
step() { # the log's name, then the command
    local log=$work/$1.log
    shift
    "$@" >"$log" 2>&1 || { tail -n 40 "$log" >&2; exit 1; }
}
step configure cmake -S "$src" -B /tmp/qtsrc/build -G Ninja "${options[@]}"
step build cmake --build /tmp/qtsrc/build --parallel "$(nproc)"
step install cmake --install /tmp/qtsrc/build
echo "$name.tar.xz" >"$staged/RECIPE" # what ./dev windows reports
# The copy to share unpacks to qt6-mingw/, its files in a fixed order and
# owned by no one in particular.
tar -C "$(dirname "$staged")" --sort=name --mtime=@0 --owner=0 --group=0 --numeric-owner -cf - \
    "$(basename "$staged")" | xz -6 -T1 >"$cache/$name.tar.xz.partial"
mv "$cache/$name.tar.xz.partial" "$cache/$name.tar.xz"
mkdir -p "$(dirname "$prefix")" && mv "$staged" "$prefix"
qt_in "$prefix" || fail "the installed tree lacks Qt6Widgets"
rm -rf "$work" /tmp/qtsrc
say "built in $(((SECONDS - start) / 60)) min into $prefix; a copy to share: $cache/$name.tar.xz"
