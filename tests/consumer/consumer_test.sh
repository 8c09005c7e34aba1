#!/usr/bin/env bash
# The library as a developer meets it: installed into a prefix of their own, then used from
# C++ (find_package, and add_subdirectory of the sources), C (pkg-config) and Python (the
# wheel, in a virtual environment), with the README's own examples; each must give the answer of chenggu --json, and the Python
# module's tests must pass.
# Usage: consumer_test.sh BUILD_DIR CHENGGU SOURCE_DIR WHEEL
set -euo pipefail
build=$1 chenggu=$2 source=$3 wheel=$4
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
python=/usr/bin/python3
example() { "$python" "$source/tests/consumer/readme_example.py" "$source/README.md" "$1"; }
check() { "$python" "$source/tests/consumer/same_answer.py" "$tmp/expected.json" "$tmp/printed" "$1"; }

prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
"$chenggu" --json 1990-01-30 子 >"$tmp/expected.json"

# C++: a CMake project that finds the installed package.
mkdir "$tmp/cpp"
example cmake >"$tmp/cpp/CMakeLists.txt"
example cpp >"$tmp/cpp/reading.cpp"
cmake -S "$tmp/cpp" -B "$tmp/cpp/build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >"$tmp/log" 2>&1 ||
    { cat "$tmp/log"; exit 1; }
cmake --build "$tmp/cpp/build" >"$tmp/log" 2>&1 || { cat "$tmp/log"; exit 1; }
"$tmp/cpp/build/reading" >"$tmp/printed"
check C++

# C++ against the shared library: what it exports is enough for the README's program.
mkdir "$tmp/cpp-shared"
cp "$tmp/cpp/reading.cpp" "$tmp/cpp-shared"
sed 's/chenggu::engine/chenggu::shared/' "$tmp/cpp/CMakeLists.txt" >"$tmp/cpp-shared/CMakeLists.txt"
grep -q chenggu::shared "$tmp/cpp-shared/CMakeLists.txt"
cmake -S "$tmp/cpp-shared" -B "$tmp/cpp-shared/build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
    >"$tmp/log" 2>&1 || { cat "$tmp/log"; exit 1; }
cmake --build "$tmp/cpp-shared/build" >"$tmp/log" 2>&1 || { cat "$tmp/log"; exit 1; }
"$tmp/cpp-shared/build/reading" >"$tmp/printed"
check "C++ (shared library)"

# C++ again, with the library's sources added to the project (add_subdirectory): the library
# alone is built, with nothing beyond the compiler.
mkdir "$tmp/sub"
cp "$tmp/cpp/reading.cpp" "$tmp/sub"
cat >"$tmp/sub/CMakeLists.txt" <<END
cmake_minimum_required(VERSION 3.20)
project(reading CXX)
add_subdirectory("$source" chenggu)
add_executable(reading reading.cpp)
target_link_libraries(reading PRIVATE chenggu::engine)
END
cmake -S "$tmp/sub" -B "$tmp/sub/build" -G Ninja >"$tmp/log" 2>&1 || { cat "$tmp/log"; exit 1; }
! grep -q "^CHENGGU_CLI:BOOL=ON" "$tmp/sub/build/CMakeCache.txt" || { echo "the CLI is built"; exit 1; }
cmake --build "$tmp/sub/build" --target reading >"$tmp/log" 2>&1 || { cat "$tmp/log"; exit 1; }
"$tmp/sub/build/reading" >"$tmp/printed"
check "C++ (add_subdirectory)"

# C: compiled and linked with what pkg-config says, against the shared library.
example c >"$tmp/reading.c"
flags=$(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --cflags --libs chenggu)
# shellcheck disable=SC2086
cc -std=c11 -Wall -Werror "$tmp/reading.c" $flags -Wl,-rpath,"$prefix/lib" -o "$tmp/reading-c"
"$tmp/reading-c" >"$tmp/printed"
check C

# Python: the wheel installed with pip into a virtual environment, offline.
"$python" -m venv --system-site-packages "$tmp/venv"
"$tmp/venv/bin/python" -m pip install --quiet --no-index "$wheel"
example python >"$tmp/reading.py"
(cd "$tmp" && "$tmp/venv/bin/python" reading.py) >"$tmp/printed"
check Python
(cd "$tmp" && CHENGGU="$chenggu" "$tmp/venv/bin/python" -m unittest discover -s "$source/python/tests" 2>&1) |
    tail -3
