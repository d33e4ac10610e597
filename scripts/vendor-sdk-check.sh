#!/usr/bin/env bash
# Builds the effect module with -DPLURION_VENDOR_SDK, on Linux and with MinGW-w64, against a
# stand-in for the vendor's SDK laid out as its Examples folder (Headers/, Headers/SP/, Util/).
# The stand-in holds our own declarations with what the vendor's headers add around them: MSVC
# `#pragma warning` lines, and a platform branch that only _WINDOWS selects. The Linux module
# built that way must print and render exactly as the regular one.
#
# usage: scripts/vendor-sdk-check.sh --plurion FILE --module FILE --pipl-gen FILE --work DIR
#   --plurion, --module, --pipl-gen: the plurion command, Plurion.so and plurion_pipl_gen of a
#   regular Linux build; --work: a folder for the stand-in SDK and the two builds.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
plurion="" module="" pipl_gen="" work=""
jobs=${PLURION_JOBS:-2}
while [ $# -gt 0 ]; do
    [ $# -ge 2 ] || {
        echo "vendor-sdk-check: $1 needs a value" >&2
        exit 2
    }
    case "$1" in
    --plurion) plurion=$2 ;;
    --module) module=$2 ;;
    --pipl-gen) pipl_gen=$2 ;;
    --work) work=$2 ;;
    *)
        echo "vendor-sdk-check: unknown option '$1'" >&2
        exit 2
        ;;
    esac
    shift 2
done
fail() {
    echo "vendor-sdk-check: FAILED: $*" >&2
    exit 1
}
for given in "$plurion" "$module" "$pipl_gen" "$work"; do
    [ -n "$given" ] || fail "--plurion, --module, --pipl-gen and --work are all needed"
done
step() { printf '\n== %s\n' "$*"; }

step "Stand-in vendor SDK ($work/sdk/Examples)"
rm -rf "$work"
examples=$work/sdk/Examples
mkdir -p "$examples/Headers/SP" "$examples/Util"
(cd "$root/sdk" && find . -name '*.h' -print) | while read -r header; do
    header=${header#./}
    case "$header" in
    SP*.h) target=$examples/Headers/SP/$header ;;
    *) target=$examples/Headers/$header ;;
    esac
    mkdir -p "$(dirname "$target")"
    {
        echo '#pragma warning(push)'
        echo '#pragma warning(disable : 4100)'
        echo '#ifndef _WINDOWS'
        echo '#error "no platform branch: the vendor headers take their Mac branch without _WINDOWS"'
        echo '#endif'
        cat "$root/sdk/$header"
        echo '#pragma warning(pop)'
    } >"$target"
done
cat >"$examples/Util/AEFX_SuiteHelper.h" <<'EOF'
#pragma warning(push)
#pragma warning(pop)
EOF
echo "$(find "$examples" -name '*.h' | wc -l) headers"

# Every compile of the effect's sources must see the stand-in as system folders with _WINDOWS
# defined, and not sdk/.
check_includes() {
    [ -f "$1/compile_commands.json" ] || fail "$1/compile_commands.json is missing"
    ROOT=$root EXAMPLES=$examples perl -0777 -ne '
        for my $entry (split /\n\},?\n/) {
            next unless $entry =~ m{"file": "[^"]*/plugin/[^"]*\.cpp"};
            $sources++;
            die "compiles against sdk/\n" if index($entry, "-I$ENV{ROOT}/sdk ") >= 0;
            die "no system include of the vendor headers\n"
                if index($entry, "-isystem $ENV{EXAMPLES}/Headers ") < 0;
            die "no _WINDOWS\n" if index($entry, "-D_WINDOWS") < 0;
        }
        die "no source of the effect\n" unless $sources;
        print "$sources sources of the effect compile against the vendor headers\n";' \
        "$1/compile_commands.json" || fail "$1: the effect is not built against the vendor headers"
}

step "Linux build against the stand-in"
cmake -S "$root" -B "$work/linux" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DPLURION_BUILD_HOST=OFF -DPLURION_VENDOR_SDK="$examples" >/dev/null
cmake --build "$work/linux" -j "$jobs" --target Plurion
check_includes "$work/linux"
vendor_module=$work/linux/Plurion.so

step "The module built against the vendor headers behaves as the regular one"
same_output() {
    local name=$1
    shift
    "$plurion" --module "$module" "$@" | sed "s|$module|<module>|g" >"$work/$name.regular"
    "$plurion" --module "$vendor_module" "$@" | sed "s|$vendor_module|<module>|g" >"$work/$name.vendor"
    cmp -s "$work/$name.regular" "$work/$name.vendor" || {
        diff "$work/$name.regular" "$work/$name.vendor" | head -20 >&2 || true
        fail "plurion $* differs between the two modules"
    }
    echo "plurion $*: identical"
}
same_output info info
same_output params params --json
for scene in linear_offsets_step radial_circle grid_shear; do
    for kind in regular vendor; do
        chosen=$module
        [ "$kind" = vendor ] && chosen=$vendor_module
        "$plurion" --module "$chosen" render "$root/scenes/$scene.json" --frames 0-2 --bpc 16 \
            --quiet -o "$work/$scene.$kind/f_#.rgbaf" >/dev/null
    done
    for frame in "$work/$scene.regular"/*.rgbaf; do
        cmp -s "$frame" "$work/$scene.vendor/$(basename "$frame")" ||
            fail "$scene: $(basename "$frame") differs between the two modules"
    done
    echo "render $scene: identical frames"
done

step "MinGW-w64 build against the stand-in"
cmake -S "$root" -B "$work/windows" -G Ninja \
    --toolchain "$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DPLURION_BUILD_HOST=OFF -DPLURION_WITH_OIIO=OFF \
    -DPLURION_PIPL_GENERATOR="$(realpath "$pipl_gen")" -DPLURION_VENDOR_SDK="$examples" >/dev/null
cmake --build "$work/windows" -j "$jobs" --target Plurion
check_includes "$work/windows"
[ -f "$work/windows/Plurion.aex" ] || fail "Plurion.aex was not built"

echo
echo "vendor-sdk-check: the effect builds against the vendor's layout on Linux and with MinGW-w64"
