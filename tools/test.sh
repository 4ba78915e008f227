#!/bin/bash
# Builds every test under AddressSanitizer and UndefinedBehaviorSanitizer and runs them all. Then
# holds the code to what CI checks: clang-format, Release builds with -Werror by GCC and by Clang,
# clang-tidy (.clang-tidy), the benchmarks' build, a short run of every fuzzer, the Debian package.
# Prints the time each stage took.
#
# While developing, ZUL_TEST_QUICK=1 tools/test.sh stops after the sanitizer tests.
# With ZUL_TEST_FRESH_ROOT=1 (as CI runs it) two stages follow on fresh Debian 12 roots: the build
# with nothing but tools/install-deps.sh, and the package's installation with its manual pages.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
timings=()
current=""  # the stage that runs; still set when it failed
started=0
beat=""

# Prints a line every minute while a stage runs, so a long stage is not mistaken for a hang: the
# minutes so far and, where the stage writes its build log to $progress_log, ninja's last step.
heartbeat() {
  local minutes=0 step sleeper
  trap 'kill "$sleeper" 2>/dev/null; exit 0' TERM
  while true; do
    sleep 60 >/dev/null 2>&1 &
    sleeper=$!
    wait "$sleeper"
    minutes=$((minutes + 1))
    step=""
    [[ -n "${progress_log:-}" && -f "$progress_log" ]] &&
      step="$(grep -o '^\[[0-9]*/[0-9]*\]' "$progress_log" | tail -n 1 || true)"
    echo "   $1: $minutes min${step:+ $step}"
  done
}

stop_heartbeat() {
  [[ -n "$beat" ]] || return 0
  kill "$beat" 2>/dev/null || true
  wait "$beat" 2>/dev/null || true
  beat=""
}

# Runs "$@" as the stage named $1 and notes its time.
stage() {
  current="$1"
  started=$SECONDS
  shift
  echo "== $current"
  heartbeat "$current" &
  beat=$!
  "$@"
  stop_heartbeat
  timings+=("$(printf '%-14s %4d s' "$current" $((SECONDS - started)))")
  current=""
}

# The times are shown also when a stage fails, the failed one last.
report() {
  stop_heartbeat
  [[ -z "$current" ]] ||
    timings+=("$(printf '%-14s %4d s  failed' "$current" $((SECONDS - started)))")
  ((${#timings[@]})) || return 0
  echo "== Time per stage"
  printf '%s\n' "${timings[@]}"
}
trap report EXIT

# Configures and builds $1 with the CMake options that follow; the log is shown only on failure.
quiet_build() {
  local build="$1"
  shift
  mkdir -p "$build"
  { cmake -S "$root" -B "$build" -G Ninja "$@" && cmake --build "$build"; } >"$build/ci.log" 2>&1 ||
    { cat "$build/ci.log"; return 1; }
}

sanitizers() {
  local build="$root/build-test"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZUL_SANITIZE=ON \
    -DZUL_BUILD_TESTS=ON >/dev/null
  cmake --build "$build"
  ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" \
    LSAN_OPTIONS="suppressions=$root/tools/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    ctest --test-dir "$build" --output-on-failure --parallel "$jobs"
}

format() {
  git -C "$root" ls-files -z -- '*.cpp' '*.h' |
    (cd "$root" && xargs -0 clang-format --dry-run -Werror)
}

# The program and its tests into build-$1 with compiler $2, warnings as errors, and what follows.
release() {
  local name="$1" compiler="$2"
  shift 2
  quiet_build "$root/build-$name" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER="$compiler" \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DZUL_BUILD_TESTS=ON "$@"
}

# The project's own sources as the Clang build compiled them, but for the tests: those run under
# the sanitizers, and tidying them too would double the time of this stage.
tidy() {
  local build="$root/build-clang"
  comm -12 <(git -C "$root" ls-files -- '*.cpp' ':!:*/tests/*' | sed "s|^|$root/|" | sort) \
    <(grep -o '"file": "[^"]*"' "$build/compile_commands.json" | cut -d'"' -f4 | sort -u) |
    xargs -d '\n' -P "$jobs" -n 4 clang-tidy -p "$build" --quiet --header-filter="^$root/[a-z]+/" \
      2> >(grep -v '^[0-9]* warnings\? generated\.$' >&2)
}

# Every libFuzzer target of the Clang build for 60 s, as many at once as there are cores. The target
# zul_NAME_fuzzer starts from the seeds that the build's zul_make_NAME_seeds writes, or else from
# fuzz/corpus/NAME, with the dictionary fuzz/NAME.dict and the options of fuzz/NAME.options ("key =
# value" lines, as OSS-Fuzz reads them) where they exist. What it finds goes to a scratch folder,
# never into the repository.
fuzz() {
  local build="$root/build-clang" work fuzzer name key value failed=0
  work="$build/fuzz-work"
  rm -rf "$work"
  mkdir -p "$work"
  local -a pids=() names=()
  while IFS= read -r fuzzer; do
    name="$(basename "$fuzzer" _fuzzer)"
    name="${name#zul_}"
    local -a args=(-max_total_time=60 -artifact_prefix="$work/$name-")
    [[ -f "$root/fuzz/$name.dict" ]] && args+=(-dict="$root/fuzz/$name.dict")
    if [[ -f "$root/fuzz/$name.options" ]]; then
      while IFS=' =' read -r key value; do
        if [[ "$key" =~ ^[a-z_]+$ ]]; then args+=("-$key=$value"); fi
      done <"$root/fuzz/$name.options"
    fi
    mkdir -p "$work/$name" "$work/$name-seeds"
    local -a corpus=("$work/$name" "$work/$name-seeds")
    if [[ -x "$(dirname "$fuzzer")/zul_make_${name}_seeds" ]]; then
      QT_QPA_PLATFORM=offscreen "$(dirname "$fuzzer")/zul_make_${name}_seeds" "$work/$name-seeds"
    elif [[ -d "$root/fuzz/corpus/$name" ]]; then
      corpus+=("$root/fuzz/corpus/$name")
    fi
    while ((${#pids[@]} >= jobs)); do
      wait "${pids[0]}" || { failed=1; tail -n 40 "$work/${names[0]}.log"; }
      pids=("${pids[@]:1}")
      names=("${names[@]:1}")
    done
    echo "$name"
    "$fuzzer" "${args[@]}" "${corpus[@]}" >"$work/$name.log" 2>&1 &
    pids+=($!)
    names+=("$name")
  done < <(find "$build" -name 'zul_*_fuzzer' -type f -executable | sort)
  ((${#names[@]})) || { echo "no fuzz targets built"; return 1; }
  for i in "${!pids[@]}"; do
    wait "${pids[$i]}" || { failed=1; tail -n 40 "$work/${names[$i]}.log"; }
  done
  return "$failed"
}

# The package holds the program beside its help page, the commands in the path, their manual pages
# for every locale, copyright and changelog, the completion of zulren, and what the desktop needs
# to list the program and its filter files; lintian finds no error in it.
package() {
  local build="$root/build-gcc" deb listing missing=0
  (cd "$build" && cpack -G DEB >"$build/cpack.log" 2>&1) || { cat "$build/cpack.log"; return 1; }
  deb="$(ls "$build"/zul_*.deb)"
  listing="$(dpkg-deb -c "$deb")"
  for path in ./usr/lib/zul/zul ./usr/lib/zul/zulhilfe.html "./usr/bin/zul -> ../lib/zul/zul" \
    ./usr/bin/zulren ./usr/share/man/man1/zulren.1.gz ./usr/share/man/man1/zul.1.gz \
    ./usr/share/man/de/man1/zulren.1.gz ./usr/share/man/de/man1/zul.1.gz \
    ./usr/share/doc/zul/copyright ./usr/share/doc/zul/changelog.gz \
    ./usr/share/bash-completion/completions/zulren \
    ./usr/share/applications/org.example.zul.desktop \
    ./usr/share/metainfo/org.example.zul.metainfo.xml \
    ./usr/share/mime/packages/org.example.zul.xml \
    ./usr/share/icons/hicolor/scalable/apps/org.example.zul.svg \
    ./usr/share/icons/hicolor/48x48/apps/org.example.zul.png; do
    grep -qF -- " $path" <<<"$listing" || { echo "$deb lacks $path"; missing=1; }
  done
  if grep -q '_tests$\|_bench$\|_fuzzer$' <<<"$listing"; then
    echo "$deb holds test programs"
    missing=1
  fi
  lintian --fail-on error "$deb" 2> >(grep -v '^running with root privileges' >&2) || missing=1
  return "$missing"
}

stage install-deps "$root/tools/install-deps.sh"
stage sanitizers sanitizers
[[ "${ZUL_TEST_QUICK:-}" == 1 ]] && exit 0
stage clang-format format
progress_log="$root/build-gcc/ci.log" stage gcc-release release gcc g++ -DZUL_BUILD_BENCH=ON
progress_log="$root/build-clang/ci.log" \
  stage clang-release release clang clang++ -DZUL_BUILD_BENCH=ON -DZUL_BUILD_FUZZ=ON
stage clang-tidy tidy
stage fuzz fuzz
stage package package
[[ "${ZUL_TEST_FRESH_ROOT:-}" == 1 ]] || exit 0
stage fresh-build "$root/tools/fresh-root.sh"
stage fresh-install "$root/tools/fresh-root.sh" --install "$(ls "$root"/build-gcc/zul_*.deb)"
