#!/usr/bin/env bash
# Runs one scenario file in a prepared environment (see scripts/e2e).
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$E2E_ROOT/tests/e2e/lib.sh"
trap 'echo "FAIL: ${BASH_SOURCE[0]##*/}:$LINENO: $BASH_COMMAND" >&2' ERR
# shellcheck disable=SC1090
source "$1"
echo "PASS"
