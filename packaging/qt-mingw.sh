#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Provides a static Qt 6.4.2 for cross-building the Windows program with
# mingw-w64, and prints its folder (the CMake prefix) as the last line.
#   packaging/qt-mingw.sh                 the cached copy; built once from Debian's source
#   packaging/qt-mingw.sh FOLDER          an existing Qt for mingw (holding lib/cmake/Qt6)
#   packaging/qt-mingw.sh FILE.tar.xz     a prebuilt copy, unpacked into the cache
# The cache is $NIHILIST_CACHE_DIR, by default ~/.cache/nihilist-cipher.
# Building needs: cmake ninja-build dpkg-dev g++-mingw-w64-x86-64-posix
# qt6-base-dev-tools (host tools of the same version) and about 2 GB of disk.
set -euo pipefail

qt_version=6.4.2
debian_version=6.4.2+dfsg-10
cache=${NIHILIST_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/nihilist-cipher}
prefix=$cache/qt$qt_version-mingw-w64-x86_64-static/qt6-mingw
repo=$(cd "$(dirname "$0")/.." && pwd)

say() { echo "qt-mingw: $*" >&2; }
is_qt() { [ -f "$1/lib/cmake/Qt6/Qt6Config.cmake" ] && [ -f "$1/lib/libQt6Widgets.a" ]; }

# The FOLDER and tarball forms.
if [ $# -gt 0 ]; then
    given=$1
    if [ -d "$given" ]; then
        for candidate in "$given" "$given/qt6-mingw"; do
            if is_qt "$candidate"; then
                cd "$candidate" && pwd
                exit 0
            fi
        done
        say "$given holds no static Qt for mingw (lib/cmake/Qt6, lib/libQt6Widgets.a)"
        exit 1
    fi
    if [ ! -f "$given" ]; then
        say "no such folder or file: $given"
        exit 1
    fi
    stamp=$prefix/.unpacked-from
    signature="$(basename "$given") $(stat -c '%s %Y' "$given")"
    if is_qt "$prefix" && [ "$(cat "$stamp" 2>/dev/null)" = "$signature" ]; then
        echo "$prefix"
        exit 0
    fi
    say "unpacking $given into $cache"
    mkdir -p "$cache"
    scratch=$(mktemp -d "$cache/unpack.XXXXXX")
    tar -xf "$given" -C "$scratch"
    found=$(find "$scratch" -maxdepth 6 -path '*/lib/cmake/Qt6/Qt6Config.cmake' | head -n 1)
    if [ -z "$found" ]; then
        rm -rf "$scratch"
        say "$given holds no Qt (lib/cmake/Qt6/Qt6Config.cmake)"
        exit 1
    fi
    rm -rf "$prefix"
    mkdir -p "$(dirname "$prefix")"
    mv "${found%/lib/cmake/Qt6/Qt6Config.cmake}" "$prefix"
    rm -rf "$scratch"
    echo "$signature" >"$stamp"
    echo "$prefix"
    exit 0
fi

if is_qt "$prefix"; then
    echo "$prefix"
    exit 0
fi

# Build from Debian's qt6-base source package. The source is fetched through
# a private apt configuration, so the machine's sources stay as they are and
# apt still checks the archive's signatures.
for tool in cmake ninja dpkg-source x86_64-w64-mingw32-g++-posix; do
    command -v "$tool" >/dev/null || { say "missing $tool (see the packages at the top of this script)"; exit 1; }
done
[ -x /usr/lib/qt6/libexec/moc ] || { say "missing Debian's Qt host tools (qt6-base-dev-tools)"; exit 1; }

work=$cache/qt-build
rm -rf "$work"
mkdir -p "$work/apt/lists/partial" "$work/apt/archives/partial"
start=$(date +%s)
say "fetching the qt6-base $debian_version source"
echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main" \
    >"$work/apt/sources.list"
apt_options=(
    -o "Dir::Etc::SourceList=$work/apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
    -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt" -o Debug::NoLocking=1
    -o APT::Sandbox::User=root
)
apt-get "${apt_options[@]}" -qq update >&2
(cd "$work" && apt-get "${apt_options[@]}" -qq source --download-only "qt6-base=$debian_version" >&2)
dpkg-source --no-check -x "$work/qt6-base_$debian_version.dsc" "$work/src" >&2

# With OpenGL off, the Windows platform plugin still reaches for the dynamic
# OpenGL loader in one place; guard it the way the rest of the file is.
sed -i 's/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' \
    "$work/src/src/plugins/platforms/windows/qwindowswindow.cpp"

say "configuring (static, Release, mingw-w64)"
features_off=(sql network dbus opengl printsupport concurrent xml vulkan icu jpeg tabletevent
    pkg_config system_zlib system_png system_freetype system_harfbuzz system_pcre2 zstd)
cmake_features=()
for feature in "${features_off[@]}"; do cmake_features+=("-DFEATURE_$feature=OFF"); done
cmake -S "$work/src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(gcc -print-multiarch)/cmake" \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_widgets=ON -DFEATURE_testlib=ON -DFEATURE_accessibility=ON -DFEATURE_png=ON \
    -DFEATURE_freetype=ON -DFEATURE_harfbuzz=ON \
    -DFEATURE_style_fusion=ON -DFEATURE_style_windows=ON -DFEATURE_style_windowsvista=ON \
    "${cmake_features[@]}" >"$work/configure.log" 2>&1 || { tail -n 40 "$work/configure.log" >&2; exit 1; }

say "building (30 to 40 minutes on 2 cores; log: $work/build.log)"
cmake --build "$work/build" --parallel "$(nproc)" >"$work/build.log" 2>&1 || { tail -n 40 "$work/build.log" >&2; exit 1; }
rm -rf "$prefix"
cmake --install "$work/build" >"$work/install.log" 2>&1 || { tail -n 40 "$work/install.log" >&2; exit 1; }
is_qt "$prefix" || { say "the installed tree lacks Qt6Widgets"; exit 1; }
rm -rf "$work"
say "built in $(( ($(date +%s) - start) / 60 )) min into $prefix"
echo "$prefix"
