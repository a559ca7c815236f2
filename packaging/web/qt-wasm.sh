#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Finds or makes Qt for WebAssembly and prints its folder (the one holding
# lib/cmake/Qt6/qt.toolchain.cmake) as the last line of its output.
#
#   packaging/web/qt-wasm.sh                 cached copy, else build from source
#   packaging/web/qt-wasm.sh FOLDER          an unpacked Qt for WebAssembly
#   packaging/web/qt-wasm.sh TARBALL.tar.xz  unpacked once into the cache
#   packaging/web/qt-wasm.sh --emsdk         prints a folder for $EMSDK
#
# Qt's CMake files run emcc through $EMSDK, laid out like the official SDK,
# both when Qt is built and when a program is; --emsdk makes that folder for
# Debian's emscripten.
#
# The build from source takes Debian's own qt6-base source package (the
# version of the installed host tools), compiles it with Debian's emscripten
# and installs it under the cache; it takes about 20 minutes on two cores and
# happens once per machine. The cache is $NIHILIST_CACHE_DIR, by default
# ~/.cache/nihilist-cipher; nothing is written inside the source tree.
# Needs: emscripten qt6-base-dev qt6-base-dev-tools cmake ninja-build
# dpkg-dev perl python3 xz-utils (./dev web installs them).
set -euo pipefail

cache=${NIHILIST_CACHE_DIR:-${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/nihilist-cipher}
say() { echo "qt-wasm: $*" >&2; }

# The folder at or below $1 that holds a Qt for WebAssembly, if any.
qt_root_in() {
    local toolchain
    toolchain=$(find "$1" -maxdepth 5 -path '*/lib/cmake/Qt6/qt.toolchain.cmake' -print -quit 2>/dev/null)
    [ -n "$toolchain" ] || return 1
    [ -e "$(dirname "$toolchain")/../../../plugins/platforms/libqwasm.a" ] || return 1
    (cd "$(dirname "$toolchain")/../../.." && pwd -P)
}

from_tarball() {
    local tarball=$1 sum target
    sum=$(sha256sum "$tarball" | cut -c1-16)
    target=$cache/qt-wasm/unpacked-$sum
    if ! [ -e "$target/.complete" ]; then
        say "unpacking $tarball into $target"
        rm -rf "$target" && mkdir -p "$target"
        tar -xf "$tarball" -C "$target"
        qt_root_in "$target" >/dev/null || { say "no Qt for WebAssembly in $tarball"; exit 1; }
        touch "$target/.complete"
    fi
    qt_root_in "$target"
}

# A folder shaped like the official SDK, which Qt's configure looks for:
# .emscripten naming the compiler's root, and upstream/emscripten holding
# the compiler. Debian installs it under /usr/share/emscripten and /usr/bin.
make_emsdk_folder() {
    local emsdk=$1
    rm -rf "$emsdk"
    mkdir -p "$emsdk/upstream/emscripten"
    for entry in /usr/share/emscripten/* /usr/share/emscripten/.[!.]*; do
        [ -e "$entry" ] && ln -s "$entry" "$emsdk/upstream/emscripten/"
    done
    rm -f "$emsdk/upstream/emscripten/emcc" "$emsdk/upstream/emscripten/em++"
    ln -s /usr/bin/emcc "$emsdk/upstream/emscripten/emcc"
    ln -s /usr/bin/em++ "$emsdk/upstream/emscripten/em++"
    # Qt reads the first quoted string after EMSCRIPTEN_ROOT as a path
    # relative to the folder.
    cat >"$emsdk/.emscripten" <<EOF
emsdk_path = '$emsdk'
EMSCRIPTEN_ROOT = emsdk_path + '/upstream/emscripten'
EOF
}

# A private apt configuration whose source list is the machine's Debian
# entries turned into deb-src ones, so that the source package can be
# fetched without changing the machine's own lists.
fetch_source() {
    local work=$1 version=$2 codename
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial" "$work/apt/parts"
    python3 - "$codename" >"$work/apt/sources.list" <<'EOF'
import glob, re, sys
codename = sys.argv[1]
suite = re.compile(r'^%s(-updates|-security)?$' % re.escape(codename))
files = ['/etc/apt/sources.list'] + sorted(glob.glob('/etc/apt/sources.list.d/*'))
for name in files:
    try:
        text = open(name).read()
    except OSError:
        continue
    if name.endswith('.sources'):
        for stanza in re.split(r'\n\s*\n', text):
            fields = {}
            for line in stanza.splitlines():
                if line.startswith('#') or ':' not in line:
                    continue
                key, value = line.split(':', 1)
                fields[key.strip().lower()] = value.strip()
            if 'deb' not in fields.get('types', '').split() or fields.get('enabled', 'yes') == 'no':
                continue
            for uri in fields.get('uris', '').split():
                for s in fields.get('suites', '').split():
                    if suite.match(s):
                        options = '[signed-by=%s] ' % fields['signed-by'] if 'signed-by' in fields else ''
                        print('deb-src %s%s %s %s' % (options, uri, s, fields.get('components', 'main')))
    elif name.endswith('.list'):
        for line in text.splitlines():
            m = re.match(r'^deb\s+(\[[^\]]*\]\s+)?(\S+)\s+(\S+)\s+(.*)$', line.strip())
            if m and suite.match(m.group(3)):
                print('deb-src %s%s %s %s' % (m.group(1) or '', m.group(2), m.group(3), m.group(4)))
EOF
    [ -s "$work/apt/sources.list" ] || { say "no Debian $codename entry in the apt sources"; exit 1; }
    local apt=(apt-get -q -o "Dir::Etc::SourceList=$work/apt/sources.list"
        -o "Dir::Etc::SourceParts=$work/apt/parts" -o "Dir::State::Lists=$work/apt/lists"
        -o "Dir::Cache=$work/apt/cache")
    [ "$(id -u)" -eq 0 ] && apt+=(-o APT::Sandbox::User=root)
    "${apt[@]}" update >&2
    (cd "$work" && "${apt[@]}" source --download-only "qt6-base=$version" >&2)
    local dsc
    dsc=$(ls "$work"/qt6-base_*.dsc | head -1)
    (cd "$work" && dpkg-source --no-check -x "$dsc" source >&2)
}

from_source() {
    local install=$cache/qt-wasm/from-source
    local work=$cache/qt-wasm/source-build
    if [ -e "$install/.complete" ]; then
        qt_root_in "$install"
        return
    fi
    mkdir -p "$cache/qt-wasm"
    exec 9>"$cache/qt-wasm/.lock"
    flock 9 # one build of the cache at a time
    if [ -e "$install/.complete" ]; then
        qt_root_in "$install"
        return
    fi
    local version multiarch started
    version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev-tools)
    multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || gcc -dumpmachine)
    started=$(date +%s)
    say "building Qt $version for WebAssembly from source in $work (about 20 minutes)"
    rm -rf "$work" "$install"
    mkdir -p "$work"
    fetch_source "$work" "$version"
    make_emsdk_folder "$work/emsdk"
    export EMSDK=$work/emsdk NODE_PATH=/usr/share/nodejs
    mkdir -p "$work/build"
    (cd "$work/build" && ../source/configure -prefix "$install" \
        -platform wasm-emscripten -static -release -no-feature-thread \
        -nomake examples -nomake tests -nomake benchmarks \
        -no-feature-network -no-feature-sql -no-feature-dbus -no-feature-printsupport \
        -no-feature-concurrent -no-feature-xml -no-feature-testlib \
        -qt-host-path /usr -- -G Ninja \
        -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$multiarch/cmake" \
        -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake) >&2
    local configured=$(date +%s)
    cmake --build "$work/build" --parallel "$(nproc)" >&2
    cmake --install "$work/build" >&2
    local finished=$(date +%s)
    touch "$install/.complete"
    say "configure $((configured - started)) s, build and install $((finished - configured)) s, in all $(((finished - started) / 60)) min $(((finished - started) % 60)) s"
    rm -rf "$work"
    qt_root_in "$install"
}

if [ $# -eq 0 ]; then
    from_source
elif [ "$1" = --emsdk ]; then
    mkdir -p "$cache"
    make_emsdk_folder "$cache/emsdk"
    echo "$cache/emsdk"
elif [ -d "$1" ]; then
    qt_root_in "$1" || { say "no Qt for WebAssembly in $1"; exit 1; }
elif [ -f "$1" ]; then
    from_tarball "$1"
else
    say "no such folder or file: $1"
    exit 1
fi
