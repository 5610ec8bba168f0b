#!/usr/bin/env bash
# Builds the release a second time, later and in another folder, from the same source files and
# release time, and compares it with the first byte for byte through SHA256SUMS. Names every file
# that differs.
#   reproducible_test.sh SOURCE_DIR FIRST_RELEASE_DIR SOURCE_DATE_EPOCH
set -euo pipefail
source=$1 first=$2 epoch=$3
work=$(mktemp -d /tmp/velandra-release-XXXXXX)
trap 'rm -rf "$work"' EXIT

# The source as the first build saw it: what git tracks and what it does not ignore, as it lies
# in the work tree.
mkdir "$work/source"
(cd "$source" && git ls-files -z --cached --others --exclude-standard) |
    while IFS= read -r -d '' file; do
        if [ -e "$source/$file" ]; then (cd "$source" && cp --parents -p "$file" "$work/source/"); fi
    done

cd "$work/source"
SOURCE_DATE_EPOCH=$epoch cmake --preset release >"$work/configure.log"
SOURCE_DATE_EPOCH=$epoch cmake --build --preset release >"$work/build.log" 2>&1 ||
    { tail -n 40 "$work/build.log"; exit 1; }

second=$work/source/build/release
if cmp -s "$first/SHA256SUMS" "$second/SHA256SUMS"; then
    echo "identical in $first and $second:"
    cat "$first/SHA256SUMS"
    exit 0
fi
echo "the two builds differ in:"
diff <(sort -k2 "$first/SHA256SUMS") <(sort -k2 "$second/SHA256SUMS") | awk '/^[<>]/ {print $3}' |
    sort -u
exit 1
