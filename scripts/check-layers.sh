#!/usr/bin/env bash
# Fails when an #include in src/, tools/ or tests/ reaches a higher layer.
# Layers, lowest first: base platform config lighting macro profile {sim device} ui app;
# sim and device are siblings and must not include each other. quobelctl sits above
# sim and device, skingen and gallery above ui.
# The system part of platform (the files CMakeLists.txt lists as SYSTEM of platform:
# hidapi, udev, GIO) ranks above sim and device: only the programs, ui and the tests
# that link quobel_platform_system may include its headers.
# Tests in tests/<layer>/ may include what their program links: their layer and the
# ones below, the simulated devices for device/, the system part for platform/ and
# sim/; tests/tools/ ranks as quobelctl. tests/common/ is not a layer.
# Includes without a layer folder (a folder's own headers) are not checked; a path
# that climbs out with ".." is refused, since it hides where it points.
set -euo pipefail
cd "$(dirname "$0")/.."

system=$(sed -n '/quobel_add_layer(platform/,/)/s/^.*SYSTEM \([^)]*\)$/\1/p' CMakeLists.txt | head -n 1)
if [ -z "$system" ]; then
    echo "check-layers: no SYSTEM files of platform found in CMakeLists.txt" >&2
    exit 2
fi

grep -rnE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]' src tools tests |
awk -v system_files="$system" '
BEGIN {
    n = split("base platform config lighting macro profile sim device ui app", names, " ")
    for (i = 1; i <= n; i++) rank[names[i]] = i * 10
    rank["device"] = rank["sim"]
    rank["platform_system"] = rank["device"] + 2
    rank["quobelctl"] = rank["device"] + 5
    rank["skingen"] = rank["ui"] + 5
    rank["gallery"] = rank["ui"] + 5
    # What a test program links beyond its own layer.
    extra["device"] = "sim"
    extra["platform"] = "platform_system"
    extra["sim"] = "platform_system"
    m = split(system_files, files, " ")
    for (i = 1; i <= m; i++) {
        stem = "platform/" files[i]; sub(/\.cpp$/, "", stem)
        sys_stem[stem] = 1
    }
    bad = 0
}
function layer_of_include(inc,   stem, to) {
    stem = inc; sub(/\.(h|cpp)$/, "", stem)
    if (stem in sys_stem) return "platform_system"
    to = inc; sub(/\/.*/, "", to)
    return to
}
{
    # file:line:text
    file = $0; sub(/:.*/, "", file)
    rest = substr($0, length(file) + 2)
    line = rest; sub(/:.*/, "", line)
    text = substr(rest, length(line) + 2)
    split(file, parts, "/")
    top = parts[1]
    from = parts[2]
    allowed = ""
    if (top == "tests") {
        if (from == "tools") from = "quobelctl"
        if (parts[2] in extra) allowed = extra[parts[2]]
    } else if (top == "src" && from == "platform") {
        stem = substr(file, 5); sub(/\.(h|cpp)$/, "", stem)
        if (stem in sys_stem) from = "platform_system"
    }
    if (!(from in rank)) next
    inc = text; sub(/^[^"<]*["<]/, "", inc); sub(/[">].*/, "", inc)
    if (inc ~ /(^|\/)\.\.\//) {
        printf "%s:%s: includes %s through ..\n", file, line, inc
        bad = 1
        next
    }
    if (index(inc, "/") == 0) next
    to = layer_of_include(inc)
    if (!(to in rank) || to == from || to == allowed) next
    if (rank[to] >= rank[from]) {
        printf "%s:%s: %s includes %s (%s)\n", file, line, from, to, inc
        bad = 1
    }
}
END { exit bad }
'
