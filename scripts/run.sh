#!/usr/bin/env bash
# Installs what is missing, builds, starts the local quote service and then the program.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh

port="${KESTROVANE_QUOTE_PORT:-8841}"
export KESTROVANE_QUOTE_PORT="$port"  # the program looks for the service there
service_pid=""
if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
  ./build/tools/quote-service/quote-service --port "$port" --data "$PWD/data" &
  service_pid=$!
  trap '[ -n "$service_pid" ] && kill "$service_pid" 2>/dev/null || true' EXIT
fi
./build/src/ui/kestrovane "$@"
