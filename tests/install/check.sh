#!/usr/bin/env bash
# Installs the build into a temporary prefix and builds a small program
# against the installed toolkit, once through pkg-config and once through
# CMake's find_package; both programs must run.
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/tsl-install.XXXXXX)
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/prefix" >/dev/null
libdir=$(find "$work/prefix" -name tessel.pc -printf '%h\n' | head -1)
test -n "$libdir"
test -f "$work/prefix/include/tessel.h"

export PKG_CONFIG_PATH="$libdir"
cc -std=c99 -Wall -Werror "$here/hello.c" -o "$work/hello-pc" $(pkg-config --cflags --libs --static tessel)
"$work/hello-pc"

mkdir -p "$work/proj"
cp "$here/hello.c" "$work/proj/hello.cpp"
cat >"$work/proj/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.20)
project(hello LANGUAGES CXX)
find_package(Tessel REQUIRED)
add_executable(hello hello.cpp)
target_link_libraries(hello PRIVATE Tessel::tessel)
CMAKE
cmake -S "$work/proj" -B "$work/proj/build" -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/proj/build" >/dev/null
"$work/proj/build/hello"
