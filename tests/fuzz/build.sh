#!/usr/bin/env bash
# Builds the fuzz targets with clang++ and libFuzzer into a build folder of
# their own (default: build-fuzz at the source root; QUORV_FUZZ_BUILD
# overrides it). Prints the folder's path on success; the compiler's
# output goes to build.log there and is shown only when the build fails.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
BUILD=${QUORV_FUZZ_BUILD:-$ROOT/build-fuzz}
JOBS=$(nproc 2>/dev/null || echo 2)
CXX_FUZZ=${QUORV_FUZZ_CXX:-$(command -v clang++ || command -v clang++-14 || true)}

if [ -z "$CXX_FUZZ" ]; then
  echo "fuzz: clang++ not found (Debian packages clang and libclang-rt-14-dev)" >&2
  exit 1
fi
mkdir -p "$BUILD"
log="$BUILD/build.log"
if ! { cmake -S "$HERE" -B "$BUILD" -DCMAKE_CXX_COMPILER="$CXX_FUZZ" &&
       cmake --build "$BUILD" -j"$JOBS"; } >"$log" 2>&1; then
  cat "$log" >&2
  echo "fuzz: build failed (log: $log)" >&2
  exit 1
fi
echo "$BUILD"
