#!/usr/bin/env bash
# A save must reach the disk before it replaces the old file, and the rename
# must reach it too: the temporary file is fsynced before the rename, and the
# folder after it. Traces one save of the unit tests with strace.
#   check-save-sync.sh UNIT_TESTS
set -euo pipefail
trace=$(mktemp)
trap 'rm -f "$trace"' EXIT
# LeakSanitizer stops a traced program; the sanitizer build runs without it here.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
  strace -f -e trace=openat,fsync,rename -o "$trace" \
  "$1" --gtest_filter=XmlDocument.SaveLeavesNoTemporaryAndReportsFailure > /dev/null
python3 - "$trace" <<'PY'
import re, sys
lines = open(sys.argv[1]).read().splitlines()
def index(pattern, start=0):
    for i in range(start, len(lines)):
        m = re.search(pattern, lines[i])
        if m:
            return i, m
    sys.exit("save-sync: no line matching %s after line %d of the trace" % (pattern, start))
i, m = index(r'openat\(AT_FDCWD, "([^"]*/out\.xml)\.tmp", O_WRONLY.*\) = (\d+)$')
path, fd = m.group(1), m.group(2)
i, _ = index(r'fsync\(%s\) += 0' % fd, i)
j, _ = index(r'rename\("%s\.tmp", "%s"\) = 0' % (re.escape(path), re.escape(path)))
if j < i:
    sys.exit("save-sync: the temporary file was renamed before it was synced")
k, m = index(r'openat\(AT_FDCWD, "%s", O_RDONLY\|O_[A-Z_|]*DIRECTORY.*\) = (\d+)$' % re.escape(path.rsplit("/", 1)[0]), j)
index(r'fsync\(%s\) += 0' % m.group(1), k)
print("save-sync: temporary file synced, renamed over the old one, folder synced")
PY
