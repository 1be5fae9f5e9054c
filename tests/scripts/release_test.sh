#!/usr/bin/env bash
# The release script given as $1 stops at once, with one line that says why,
# when it has no maker's host and a release without one was not asked for.
set -uo pipefail
release=$1
failed=0

expect_refusal() {
  local what=$1
  shift
  local output status
  output=$(env -u ORINDA_MAKER_HOST "$@" 2>&1)
  status=$?
  if [ "$status" -eq 0 ] || [ "$(printf '%s\n' "$output" | wc -l)" -ne 1 ] || [[ $output != *ORINDA_MAKER_HOST* ]]; then
    echo "Not refused in one line: $what (status $status): $output"
    failed=1
  fi
}

expect_refusal "no host" "$release"
expect_refusal "an empty host" ORINDA_MAKER_HOST= "$release"
expect_refusal "a host that is no plain name" "ORINDA_MAKER_HOST=maker.example/x" "$release"
expect_refusal "a host and --no-host" ORINDA_MAKER_HOST=maker.example "$release" --no-host
exit "$failed"
