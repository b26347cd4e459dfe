#!/usr/bin/env bash
# Stands in for a web browser in the test prefix: appends each address to a log.
log=${QM_BROWSER_LOG:-$(cd "$(dirname "$0")/.." && pwd)/build/opened-pages.log}
printf '%s\n' "$*" >>"$log"
