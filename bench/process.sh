#!/usr/bin/env bash
# Whole processes, with what scripts/bench.sh built in build/default:
#  1. panlift-cli -g of one panlift-simulator link of each service, start to exit, against
#     curl -s of the same page: alternated, RUNS times each (default 21), medians and minima.
#  2. panlift-cli's peak resident memory resolving a 10 MB page against a 10 kB one
#     (bench_page_server's pages, fields at the end), median of 3 runs each.
#  3. Where a process's start-up goes: startup_probe, the best of 5 runs per step.
# Run: scripts/bench.sh process   (RUNS=51 scripts/bench.sh process for more runs)
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/default
runs=${RUNS:-21}
cli=$build/app/cli/panlift-cli
for tool in "$cli" $build/tools/share_simulator/panlift-simulator $build/bench/resolve/bench_page_server \
            $build/bench/resolve/startup_probe; do
  [ -x "$tool" ] || { echo "process.sh: $tool is not built" >&2; exit 1; }
done
command -v curl >/dev/null || { echo "process.sh: curl is needed" >&2; exit 1; }
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY no_proxy NO_PROXY
export QT_QPA_PLATFORM=offscreen

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
minimum() { sort -g | head -n 1; }

# Reads a server's start-up lines (tab-separated, kind first) up to "ready".
declare -A first_link=()
aim=
read_startup() {
  local fd=$1 kind a b
  while IFS=$'\t' read -r -u "$fd" kind a b _; do
    case $kind in
      connect-to) aim=$a ;;
      share) [ -n "${first_link[$a]:-}" ] || first_link[$a]=$b ;;
      ready) return 0 ;;
    esac
  done
  echo "process.sh: the server did not start" >&2
  exit 1
}

# Milliseconds of one run of the command, output dropped.
elapsed_ms() {
  local start=$EPOCHREALTIME
  "$@" >/dev/null 2>&1 || true
  local end=$EPOCHREALTIME
  awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f\n", (e - s) * 1000 }'
}

echo "== 1. panlift-cli -g against curl -s, one simulator link each, $runs alternated runs"
coproc SIM { exec $build/tools/share_simulator/panlift-simulator --port 0 --quiet; }
sim_pid=$SIM_PID
trap 'kill "$sim_pid" 2>/dev/null || true' EXIT
read_startup "${SIM[0]}"
export PANLIFT_CONNECT_TO=$aim
port=${aim##*:}
printf '%-8s %-40s %11s %11s %11s %11s %7s\n' service link "cli median" "curl median" "cli min" "curl min" ratio
for service in xunlei baidu 360; do
  link=${first_link[$service]}
  host=${link#http://}; host=${host%%/*}
  "$cli" -q -g "$link" >/dev/null || { echo "process.sh: $link did not resolve" >&2; exit 1; }
  : >/tmp/panlift-process-cli.$$; : >/tmp/panlift-process-curl.$$
  for ((i = 0; i < runs; i++)); do
    elapsed_ms "$cli" -q -g "$link" >>/tmp/panlift-process-cli.$$
    elapsed_ms curl -s --noproxy '*' --connect-to "$host:80:127.0.0.1:$port" -o /dev/null "$link" \
      >>/tmp/panlift-process-curl.$$
  done
  a=$(median </tmp/panlift-process-cli.$$); b=$(median </tmp/panlift-process-curl.$$)
  am=$(minimum </tmp/panlift-process-cli.$$); bm=$(minimum </tmp/panlift-process-curl.$$)
  printf '%-8s %-40s %8.2f ms %8.2f ms %8.2f ms %8.2f ms %7.2f\n' "$service" "$link" "$a" "$b" "$am" "$bm" \
    "$(awk -v a="$a" -v b="$b" 'BEGIN { print a / b }')"
done
printf '%-8s %-40s %8.2f ms\n' "" "panlift-cli --version (no runtime)" \
  "$(for ((i = 0; i < runs; i++)); do elapsed_ms "$cli" --version; done | median)"
kill "$sim_pid" 2>/dev/null || true
wait "$sim_pid" 2>/dev/null || true

echo
echo "== 2. panlift-cli peak resident memory, 10 MB page against 10 kB page (median of 3)"
coproc PAGES { exec $build/bench/resolve/bench_page_server; }
pages_pid=$PAGES_PID
trap 'kill "$pages_pid" 2>/dev/null || true' EXIT
read_startup "${PAGES[0]}"
export PANLIFT_CONNECT_TO=$aim
peak_kb() {
  for _ in 1 2 3; do
    /usr/bin/time -f '%M' -o /tmp/panlift-process-rss.$$ "$cli" -q -g "$1" >/dev/null 2>&1 || true
    cat /tmp/panlift-process-rss.$$
  done | median
}
printf '%-8s %12s %12s %12s %12s\n' service "10 kB page" "10 MB page" difference "goal <="
for service in xunlei baidu 360; do
  case $service in xunlei) host=kuai.xunlei.com ;; baidu) host=pan.baidu.com ;; 360) host=yunpan.cn ;; esac
  small=$(peak_kb "http://$host/$service/10000"); large=$(peak_kb "http://$host/$service/10000000")
  awk -v s="$small" -v l="$large" -v n="$service" \
    'BEGIN { printf "%-8s %9.1f MB %9.1f MB %9.1f MB %9.1f MB\n", n, s * 1.024 / 1000, l * 1.024 / 1000, (l - s) * 1.024 / 1000, 40 }'
done
kill "$pages_pid" 2>/dev/null || true
wait "$pages_pid" 2>/dev/null || true

echo
echo "== 3. start-up, step by step (startup_probe, the best of 5 runs per step)"
for _ in 1 2 3 4 5; do $build/bench/resolve/startup_probe 2>/dev/null; done |
  awk '{ ms = $(NF - 1); if ($NF == "ticks)") ms = $(NF - 4); sub(/ +[0-9.]+ ms.*$/, ""); name = $0
         if (!(name in best) || ms < best[name]) best[name] = ms; if (!(name in order)) order[name] = n++ }
       END { for (k in order) list[order[k]] = k; for (i = 0; i < n; i++) printf "%-44s %8.2f ms\n", list[i], best[list[i]] }'
rm -f /tmp/panlift-process-*.$$
