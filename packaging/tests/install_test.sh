#!/usr/bin/env bash
# Installs the build into a temporary staging directory and uses the installed programs as a
# user would: the installed panlift-simulator serves, the installed panlift-cli resolves one
# of its links, and the address it prints downloads the file it names.
#   install_test.sh <cmake> <build dir> <project version> <source dir>
# Bounded in time; the simulator and the directory go away whatever happens.
set -euo pipefail
cmake=$1 build=$2 version=$3 source=$4

work=$(mktemp -d)
simulator_pid=""
cleanup() {
  if [ -n "$simulator_pid" ]; then
    kill "$simulator_pid" 2>/dev/null || true
    wait "$simulator_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "install test: $*" >&2; exit 1; }
# Loopback only, whatever proxy the machine names.
unset http_proxy https_proxy HTTPS_PROXY all_proxy ALL_PROXY no_proxy NO_PROXY PANLIFT_CONNECT_TO

# DESTDIR goes in front of the prefix; nothing may land at the prefix itself. The programs then
# run from where they really are, which is not their prefix: nothing may lean on it.
prefix=$work/prefix
DESTDIR=$work/stage "$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log" >&2; fail "cmake --install failed (are panlift, panlift-cli, panlift-simulator and panlift_data built?)"; }
[ ! -e "$prefix" ] || fail "cmake --install wrote to the prefix itself, not under DESTDIR"
root=$work/stage$prefix

app_id=org.panlift.Panlift
for file in bin/panlift bin/panlift-cli bin/panlift-simulator share/panlift/catalogue.json \
    share/applications/$app_id.desktop share/metainfo/$app_id.metainfo.xml \
    share/icons/hicolor/scalable/apps/$app_id.svg share/icons/hicolor/48x48/apps/$app_id.png \
    share/icons/hicolor/256x256/apps/$app_id.png share/man/man1/panlift.1.gz \
    share/man/man1/panlift-cli.1.gz share/man/man1/panlift-simulator.1.gz; do
  [ -s "$root/$file" ] || fail "$file is not installed"
done
cmp -s "$root/share/panlift/catalogue.json" "$source/tools/share_simulator/catalogue.json" ||
  fail "the installed catalogue differs from the simulator's"

cli_version=$("$root/bin/panlift-cli" --version)
[ "$cli_version" = "panlift-cli $version" ] || fail "panlift-cli --version printed '$cli_version', not the project's $version"

# The installed simulator must read the installed catalogue, not the source tree's copy it
# would fall back on: a catalogue of one share, put where the installed one is, tells which.
cat >"$root/share/panlift/catalogue.json" <<'EOF'
{ "shares": [ { "service": "baidu", "id": "inst4llCheck", "name": "安装检查.zip", "size": 70000 } ] }
EOF

# Under timeout, so that it stops by itself should this script be killed before its cleanup.
timeout 120 "$root/bin/panlift-simulator" --port 0 --quiet >"$work/startup" 2>"$work/simulator.err" &
simulator_pid=$!
for _ in $(seq 200); do
  grep -qx ready "$work/startup" && break
  kill -0 "$simulator_pid" 2>/dev/null || { cat "$work/simulator.err" >&2; fail "the installed panlift-simulator did not start"; }
  sleep 0.1
done
grep -qx ready "$work/startup" || fail "the installed panlift-simulator was not ready within 20 s"
field() { awk -F'\t' -v key="$1" '$1 == key { print $2 }' "$work/startup"; }
link=$(awk -F'\t' '$1 == "share" { print $3 }' "$work/startup")
[ "$link" = "http://pan.baidu.com/s/inst4llCheck" ] || fail "the installed simulator did not read the installed catalogue (its first link: ${link%%$'\n'*})"

PANLIFT_CONNECT_TO=$(field connect-to) timeout 60 "$root/bin/panlift-cli" "$link" >"$work/resolved" 2>"$work/cli.err" ||
  { cat "$work/cli.err" "$work/resolved" >&2; fail "the installed panlift-cli did not resolve $link"; }
value() { sed -n "s/^$1: //p" "$work/resolved"; }
[ "$(value name)" = "安装检查.zip" ] || fail "resolved name '$(value name)', not 安装检查.zip"
url=$(value url)
case $url in
  "$(field listening)"/download/*) ;;
  *) fail "resolved address '$url' does not lead to the simulator" ;;
esac
curl --silent --fail --max-time 30 --noproxy '*' --output "$work/download" "$url" || fail "$url did not download"
[ "$(stat -c %s "$work/download")" = 70000 ] || fail "the download is not 70000 bytes"
[ "$(md5sum <"$work/download" | cut -d' ' -f1)" = "$(value hash)" ] || fail "the download's MD5 is not the hash panlift-cli printed"
echo "install test: the installed panlift-cli resolved $link through the installed panlift-simulator"
