#!/usr/bin/env bash
# Self-registration of Huebridge.dll through Wine's regsvr32: registering
# writes HKLM\...\ICMatchers "VH7Q" = the DLL's full path, unregistering
# removes it, and unregistering again fails.
#   regsvr32_test.sh <wine-dir> <Huebridge.dll>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../../tools/wine/env.sh"
wine_env "$1"
dll=$(printf 'Z:%s' "$2" | tr / '\\')
key='HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\ICM\ICMatchers'

fail() { echo "FAIL: $*" >&2; exit 1; }
query() { wine reg query "$key" /v VH7Q 2>/dev/null | tr -d '\r'; }

# Start clean: no value from an earlier run.
wine reg delete "$key" /v VH7Q /f >/dev/null 2>&1 || true

wine regsvr32 /s "$dll" || fail "regsvr32 exited with $?"
value=$(query | sed -n 's/^ *VH7Q *REG_SZ *//p')
[ "${value,,}" = "${dll,,}" ] || fail "VH7Q is '$value', expected '$dll'"

wine regsvr32 /s /u "$dll" || fail "regsvr32 /u exited with $?"
query | grep -q VH7Q && fail "VH7Q still present after regsvr32 /u"

if wine regsvr32 /s /u "$dll"; then fail "second regsvr32 /u succeeded"; fi
echo "registered, unregistered, and a second unregistration failed"
