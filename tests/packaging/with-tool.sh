#!/bin/sh
# Runs a validator, or skips the test (77) when it is not installed.
if ! command -v "$1" >/dev/null 2>&1; then
    echo "SKIP: $1 is not installed"
    exit 77
fi
exec "$@"
