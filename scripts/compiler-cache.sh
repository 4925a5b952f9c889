# Sourced by the build scripts: sets cache_options to the CMake options that compile through
# ccache when it is installed. Paths are hashed relative to the checkout, so a fresh checkout
# (as CI makes) reuses the compilations of an earlier one.
cache_options=()
if command -v ccache >/dev/null 2>&1; then
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
    cache_options=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
