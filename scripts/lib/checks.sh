# The reliability checks of scripts/test, each after the normal build and
# tests: the tests under AddressSanitizer + UndefinedBehaviorSanitizer, the
# threaded tests under ThreadSanitizer, and a short run of every fuzz target.
# Each stops the script (set -e) on any finding. Needs lib/common.sh.

# The site's browser and Apache tests export the same fixture as its php
# test and add only chromium and Apache, so the sanitizer build leaves them out.
SANITIZER_SKIP_TESTS='^web_(browser|apache)$'

# build_targets DIR TARGETS... -- CMAKE-OPTIONS...: configures DIR and builds
# only the named targets (a name the tree does not define is skipped).
build_targets() {
  local dir=$1; shift
  local targets=()
  while (($#)) && [ "$1" != "--" ]; do targets+=("$1"); shift; done
  [ "${1:-}" = "--" ] && shift
  cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null
  local known
  known=$(cmake --build "$dir" --target help | sed -n 's/^\([A-Za-z0-9_.-]*\): .*/\1/p')
  local present=()
  for t in "${targets[@]}"; do
    grep -qx "$t" <<<"$known" && present+=("$t")
  done
  cmake --build "$dir" -j "$JOBS" --target "${present[@]}"
}

# The GoogleTest and Qt Test programs of a configured tree.
test_targets() {
  cmake --build "$1" --target help | sed -n 's/^\([A-Za-z0-9_]*_tests\): .*/\1/p'
}

# Runs a command with address-space randomisation off where allowed: older
# sanitizer runtimes cannot map their shadow memory beside a high-entropy layout.
without_aslr() {
  if setarch "$(uname -m)" -R true 2>/dev/null; then
    setarch "$(uname -m)" -R "$@"
  else
    "$@"
  fi
}

# Every test but the site's browser and Apache ones, built with -fsanitize=address,undefined at -O1.
# A finding aborts its test; leaks are reported when each test exits.
asan_tests() {
  local dir="$ROOT/build-asan"
  local options=(-DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g" "-DCMAKE_C_FLAGS_DEBUG=-O1 -g"
    -DMARKSEND_SANITIZE=address,undefined -DMARKSEND_BUILD_WINDOW=ON -DMARKSEND_BUILD_TESTS=ON)
  cmake -S "$ROOT" -B "$dir" -G Ninja "${options[@]}" >/dev/null
  mapfile -t targets < <(test_targets "$dir")
  build_targets "$dir" "${targets[@]}" marksend-export marksend-sample -- "${options[@]}"
  mkdir -p "$dir/artifacts"
  (cd "$dir" && without_aslr env QT_QPA_PLATFORM=offscreen \
    ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:halt_on_error=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --output-on-failure -j "$JOBS" --timeout 900 -E "$SANITIZER_SKIP_TESTS")
}

# The export worker's tests and the window's, built with -fsanitize=thread.
# Qt from Debian is not instrumented and synchronises inside itself
# (futex-based mutexes, semaphores), so races are only looked for in our own
# instrumented code (ignore_noninstrumented_modules); the window marks Qt's
# blocking hand-off for the sanitizer itself (app/window/blocking_handoff.h).
tsan_tests() {
  local dir="$ROOT/build-tsan"
  build_targets "$dir" export_tests window_tests -- -DCMAKE_BUILD_TYPE=Debug \
    "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g" "-DCMAKE_C_FLAGS_DEBUG=-O1 -g" -DMARKSEND_SANITIZE=thread \
    -DMARKSEND_BUILD_WINDOW=ON -DMARKSEND_BUILD_TESTS=ON
  mkdir -p "$dir/artifacts"
  (cd "$dir" && without_aslr env QT_QPA_PLATFORM=offscreen \
    TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:ignore_noninstrumented_modules=1 \
    ctest --output-on-failure -j "$JOBS" --timeout 900 -L '^(export|window)$')
}

FUZZ_TARGETS=(ini_file plus_rewrite codepage874 number_format subject_name)

# Builds the libFuzzer targets with clang into build-fuzz and runs each for
# FUZZ_SECONDS (default 20) on the seeds in fuzz/corpus/<target>; what the
# run adds goes to build-fuzz/corpus, a failing input to build-fuzz/artifacts.
fuzz_tests() {
  local dir="$ROOT/build-fuzz" seconds=${FUZZ_SECONDS:-20}
  local targets=()
  for t in "${FUZZ_TARGETS[@]}"; do targets+=("fuzz_$t"); done
  build_targets "$dir" "${targets[@]}" -- -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 -DMARKSEND_FUZZ=ON \
    -DMARKSEND_SANITIZE=address,undefined -DMARKSEND_BUILD_WINDOW=OFF -DMARKSEND_BUILD_TESTS=OFF "$@"
  for t in "${FUZZ_TARGETS[@]}"; do
    mkdir -p "$dir/corpus/$t" "$dir/artifacts"
    echo "Fuzzing $t for ${seconds}s"
    if ! without_aslr "$dir/bin/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$dir/artifacts/$t-" \
        "$dir/corpus/$t" "$ROOT/fuzz/corpus/$t" >"$dir/fuzz_$t.log" 2>&1; then
      tail -n 60 "$dir/fuzz_$t.log"
      echo "fuzz_$t found a failing input (see $dir/artifacts/)" >&2
      return 1
    fi
    grep -E '^stat::number_of_executed_units' "$dir/fuzz_$t.log" || true
  done
}
