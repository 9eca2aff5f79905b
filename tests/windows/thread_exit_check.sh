#!/usr/bin/env bash
# No object of the Windows build registers a destructor for a thread_local.
# mingw-w64 frees a thread's emulated TLS before it runs those destructors
# (registered with __cxa_thread_atexit), so each one runs on freed memory as its
# thread ends, and crashes the program whenever that memory was handed out again
# in between: a batch under Wine once ended with an access violation (status 5)
# after writing every icon, from the message handler's thread_local.
#
#   thread_exit_check.sh WINDOWS_BUILD_DIR
set -euo pipefail
nm=x86_64-w64-mingw32-nm
mapfile -t objects < <(find "$1" -name '*.obj' -not -path '*/libs/*')
if [ ${#objects[@]} -eq 0 ]; then
  echo "thread_exit_check: no objects under $1" >&2
  exit 1
fi
found=$("$nm" -A "${objects[@]}" 2>/dev/null | grep -E ' U __(mingw_)?cxa_thread_atexit$' || true)
if [ -n "$found" ]; then
  echo "thread_exit_check: these register a thread_local destructor (make it trivially destructible):" >&2
  echo "$found" >&2
  exit 1
fi
echo "thread_exit_check: ${#objects[@]} objects, no thread_local destructor"
