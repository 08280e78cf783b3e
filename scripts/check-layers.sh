#!/usr/bin/env bash
# Fails when a quoted #include in src/ or tools/ reaches a higher layer.
# Layers, lowest first: base platform config lighting macro profile {sim device} ui app;
# sim and device are siblings and must not include each other. quobelctl sits above
# sim and device, skingen and gallery above ui. Includes without a layer folder
# (the tool's own headers) are not checked.
set -euo pipefail
cd "$(dirname "$0")/.."

grep -rnE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' src tools |
awk '
BEGIN {
    n = split("base platform config lighting macro profile sim device ui app", names, " ")
    for (i = 1; i <= n; i++) rank[names[i]] = i * 10
    rank["device"] = rank["sim"]
    rank["quobelctl"] = rank["device"] + 5
    rank["skingen"] = rank["ui"] + 5
    rank["gallery"] = rank["ui"] + 5
    bad = 0
}
{
    # file:line:text
    file = $0; sub(/:.*/, "", file)
    rest = substr($0, length(file) + 2)
    line = rest; sub(/:.*/, "", line)
    text = substr(rest, length(line) + 2)
    split(file, parts, "/")
    from = parts[2]
    if (!(from in rank)) next
    inc = text; sub(/^[^"]*"/, "", inc); sub(/".*/, "", inc)
    if (index(inc, "/") == 0) next
    to = inc; sub(/\/.*/, "", to)
    if (!(to in rank) || to == from) next
    if (rank[to] > rank[from] || rank[to] == rank[from]) {
        printf "%s:%s: %s includes %s\n", file, line, from, to
        bad = 1
    }
}
END { exit bad }
'
