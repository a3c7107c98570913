#!/usr/bin/env bash
# The AppStream entry as software centres read it, and the version of the newest release in it
# and in the Debian changelog: both must name the project's version, so that neither is
# forgotten when it changes.
#   tests/packaging/metainfo-test.sh <metainfo.xml> <changelog> <version>
set -euo pipefail
metainfo=$1 changelog=$2 version=$3
fail() { echo "FAIL: $*" >&2; exit 1; }

appstreamcli validate --no-net --pedantic "$metainfo" || fail "appstreamcli refused $metainfo"
newest=$(grep -m1 -o '<release version="[^"]*"' "$metainfo" | cut -d'"' -f2)
[ "$newest" = "$version" ] || fail "the newest release in the AppStream entry is $newest, not $version"
logged=$(dpkg-parsechangelog -l "$changelog" -S Version)
[ "$logged" = "$version" ] || fail "the newest entry of $changelog is $logged, not $version"
echo "ok: AppStream entry valid; release $version in it and in the changelog"
