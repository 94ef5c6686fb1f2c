#!/usr/bin/env bash
# The game in a browser: veldra-web on a free local port, the page in headless Chromium
# (e2e_browser.js), then the server's limits (web_limits_test.py); every game recorded, and
# every recording verified identical. Skips (77) where Chromium, Node.js or the page's
# packages are missing; under CI=true it fails instead.
# Usage: e2e_browser_test.sh VELDRA_WEB GAME LEVELS RECORDING_KEYS
set -u
web="$(realpath "$1")"
game="$(realpath "$2")"
levels="$(realpath "$3")"
keys_tool="$(realpath "$4")"
tests="$(cd "$(dirname "$0")" && pwd)"
modules="$tests/../web/node_modules"

skip_for_lack_of() {
  if [ "${CI:-}" == "true" ]; then
    echo "FAIL: $1 is missing (scripts/install-deps.sh web installs it)"
    exit 1
  fi
  echo "SKIPPED: $1 is missing (scripts/install-deps.sh web installs it)"
  exit 77
}
command -v node >/dev/null 2>&1 || skip_for_lack_of "Node.js"
command -v "${VELDRA_CHROMIUM:-chromium}" >/dev/null 2>&1 || skip_for_lack_of "Chromium"
# A checkout the install script has not fetched the page's packages into (a worktree) takes
# them from npm's cache on this machine, never from the network.
if [ ! -d "$modules/puppeteer-core" ] && command -v npm >/dev/null 2>&1; then
  (cd "$tests/../web" && npm ci --offline --no-audit --no-fund --loglevel=error >/dev/null 2>&1)
fi
[ -d "$modules/puppeteer-core" ] || skip_for_lack_of "web/node_modules"

work="$(mktemp -d)"
server_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_CONFIG_HOME="$work/config" VELDRA_FAREWELL_MS=0
port="$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
"$web" --listen "127.0.0.1:$port" --max-games 16 --recordings "$work/recordings" --game "$game" --levels "$levels" \
  >"$work/server.log" 2>&1 &
server_pid=$!
for _ in $(seq 1 50); do
  grep -q "serving" "$work/server.log" && break
  sleep 0.1
done

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
NODE_PATH="$modules" node "$tests/e2e_browser.js" "$port" "$work/recordings" "$keys_tool" "$work" || fail "the page (above)"
python3 "$tests/web_limits_test.py" "$port" || fail "the server's limits (above)"
kill -0 "$server_pid" 2>/dev/null || fail "veldra-web died: $(cat "$work/server.log")"

count=0
for recording in "$work"/recordings/*.vdm; do
  [ -e "$recording" ] || break
  count=$((count + 1))
  (cd "$levels" && "$game" --verify "$recording" >"$work/verify.log" 2>&1) ||
    fail "$(basename "$recording") does not verify: $(cat "$work/verify.log")"
done
[ "$count" -ge 18 ] || fail "$count games recorded, not the 18 played"
[ "$failures" -eq 0 ] && echo "PASS: the game plays in a browser, and veldra-web keeps its limits"
exit $((failures > 0))
