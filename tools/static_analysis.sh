#!/usr/bin/env bash
# Static analysis of vellicor's own sources: clang-tidy with the checks of
# .clang-tidy, and cppcheck. Any finding fails the script.
#
#   tools/static_analysis.sh      (build folder: $VELLICOR_TIDY_BUILD or build-tidy)
#
# clang-tidy reads the compile commands of a configured build, so it sees the
# same flags and include paths as the compiler; nothing needs to be built.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${VELLICOR_TIDY_BUILD:-build-tidy}
jobs=${VELLICOR_TIDY_JOBS:-$(nproc 2>/dev/null || echo 2)}
tidy=$(command -v clang-tidy || command -v clang-tidy-14)

cmake -S . -B "$build" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null

# The sources this platform compiles (the Win32 file layer and the Windows
# Imaging Component reader need Windows headers, and are checked where they
# build). Tests are left out: they are GoogleTest macros over the code
# checked here.
# clang-tidy reads the engine and the programs' own code; the dialog's Qt
# code (slow to parse, checked by cppcheck with its Qt library below) and the
# fuzz harnesses stay out, to keep CI within its time.
mapfile -t sources < <(git ls-files 'engine/*.cpp' 'driver/*.cpp' 'console/*.cpp' |
  grep -v -e 'win32_' -e '_wic\.cpp$' -e '/tests/' -e '_stb\.cpp$' -e '/stb_' -e 'png_chunks')

status=0
echo "== clang-tidy over ${#sources[@]} files"
printf '%s\n' "${sources[@]}" |
  xargs -P "$jobs" -n 4 "$tidy" -p "$build" --quiet 2>/dev/null || status=1

# The PNG reader on stb_image, which this platform builds only when asked,
# through a configuration of its own so that clang-tidy sees its flags.
stb_build="$build-stb"
if cmake -S . -B "$stb_build" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DCMAKE_BUILD_TYPE=Debug \
    -DVELLICOR_PNG_DECODER=stb -DVELLICOR_BUILD_TESTS=OFF -DVELLICOR_BUILD_DIALOG=OFF \
    >/dev/null 2>&1; then
  mapfile -t stb_sources < <(git ls-files 'engine/*_stb.cpp' 'engine/*/stb_*.cpp' \
    'engine/*/png_chunks.cpp')
  echo "== clang-tidy over ${#stb_sources[@]} files of the stb_image build"
  printf '%s\n' "${stb_sources[@]}" |
    xargs -P "$jobs" -n 4 "$tidy" -p "$stb_build" --quiet 2>/dev/null || status=1
else
  echo "== clang-tidy: no stb_image here (libstb-dev); its PNG reader is not checked"
fi

echo "== cppcheck"
cppcheck_flags=(--enable=warning,performance,portability --error-exitcode=1 --inline-suppr
  --quiet --std=c++20 --language=c++ -I . -I include
  --suppress=missingIncludeSystem --suppress=unmatchedSuppression)
# Qt's keywords (emit, slots) are macros only in the dialog: elsewhere "emit"
# is an ordinary name and must not be read as Qt's empty macro.
cppcheck "${cppcheck_flags[@]}" engine driver console fuzz web || status=1
cppcheck "${cppcheck_flags[@]}" --library=qt -i dialog/tests dialog || status=1

[ $status -eq 0 ] && echo "static analysis: no findings"
exit $status
