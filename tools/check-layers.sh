#!/usr/bin/env bash
# Keeps the source folders layered: each one includes only itself and the folders
# below it, so that a window of the editor never becomes a dependency of the code the
# editor is built on. Bottom to top:
#   platform, core, controls, programming, editor, app
# portaccess/ (the port-access control and its driver) stands apart: it includes only
# itself, and the layered folders do not include it either (the program reaches the
# control through COM).
#
# Usage: tools/check-layers.sh [SOURCE_ROOT]    (default: this script's checkout)
#        tools/check-layers.sh --self-test      (proves that a breach is caught)
# Lists every offending include as FILE:LINE: TEXT and exits 1 when there is one.
set -u

LAYERS=(platform core controls programming editor app)
APART=(portaccess)
# An include of a path with a folder in it; the folder is the first group.
INCLUDE_RE='^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]([^/">]+)/'

# The folders a file in folder $1 may include, one a line.
allowed_for() {
    local own=$1 layer below=()
    for layer in "${LAYERS[@]}"; do
        below+=("$layer")
        if [[ $layer == "$own" ]]; then
            printf '%s\n' "${below[@]}"
            return
        fi
    done
    echo "$own"  # a folder apart: only itself
}

check_tree() {
    local root=$1 folder file line text target bad=0
    local -A allowed
    for folder in "${LAYERS[@]}" "${APART[@]}"; do
        [[ -d $root/$folder ]] || continue
        allowed=()
        while read -r target; do allowed[$target]=1; done < <(allowed_for "$folder")
        # Every include of a path whose first part is a folder of the checkout.
        while IFS=: read -r file line text; do
            [[ $text =~ $INCLUDE_RE ]] || continue
            target=${BASH_REMATCH[1]}
            [[ -d $root/$target ]] || continue
            if [[ -z ${allowed[$target]:-} ]]; then
                echo "${file#"$root"/}:$line: $text"
                bad=1
            fi
        done < <(grep -rnE --include='*.cpp' --include='*.h' "$INCLUDE_RE" "$root/$folder" | sort -t: -k1,1 -k2,2n)
    done
    return $bad
}

self_test() {
    local tmp status=0
    tmp=$(mktemp -d) || return 1
    trap 'rm -rf "$tmp"' RETURN
    mkdir -p "$tmp"/{platform,core,controls,programming,editor,app,portaccess/driver}
    printf '#include "platform/Window.h"\n#include <vector>\n' >"$tmp/core/Fine.cpp"
    printf '#include "core/Host.h"\n#include "controls/LabelButton_.h"\n' >"$tmp/programming/Fine.h"
    printf '#include "portaccess/driver/Ioctl.h"\n' >"$tmp/portaccess/Fine.cpp"
    printf '#include "editor/frmMain.h"\n#include "programming/Download.h"\n' >"$tmp/app/Fine.cpp"
    if ! check_tree "$tmp" >/dev/null; then
        echo "self-test: a clean tree was rejected"
        status=1
    fi
    printf '#include "core/Util.h"\n  #  include "editor/frmMain.h"\n' >"$tmp/core/Up.cpp"
    printf '#include "core/Host.h"\n' >"$tmp/portaccess/driver/Out.h"
    printf '#include "portaccess/Zintrix.h"\n' >"$tmp/programming/Apart.cpp"
    local found
    found=$(check_tree "$tmp")
    local expected='core/Up.cpp:2:   #  include "editor/frmMain.h"
programming/Apart.cpp:1: #include "portaccess/Zintrix.h"
portaccess/driver/Out.h:1: #include "core/Host.h"'
    if [[ $found != "$expected" ]]; then
        printf 'self-test: breaches found\n%s\nexpected\n%s\n' "$found" "$expected"
        status=1
    fi
    [[ $status == 0 ]] && echo "self-test: passed"
    return $status
}

if [[ ${1:-} == --self-test ]]; then
    self_test
    exit
fi
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
if ! check_tree "$root"; then
    echo "These includes reach a folder above their own (order: ${LAYERS[*]}; ${APART[*]} apart)."
    exit 1
fi
echo "Layering holds: ${LAYERS[*]} (${APART[*]} apart)."
