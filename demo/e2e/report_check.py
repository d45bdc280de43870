#!/usr/bin/env python3
"""Checks that an unattended run's report tells what the snapshots show.

  report_check.py <report.json> <before.json> <after.json>

Every action of the report whose item names something the snapshots hold
(a printer, driver, monitor, service, class key, registry key or value, INI
line, file, directory, shortcut) must agree with the difference: "removed"
means it was there before and nothing of it is left; "not present" means it
is not there afterwards; "failed" and "kept" mean that what was there is still
there. Actions on things the snapshots do not hold (hooks, the spooler, the
default printer, the restart) are counted and left to the oracle. Exit code
0 when every checked action agrees.
"""
import fnmatch
import json
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from oracle import folded  # noqa: E402

ROOTS = {
    "HKLM": r"HKEY_LOCAL_MACHINE",
    "HKCU": r"HKEY_CURRENT_USER",
    "HKCR": r"HKEY_LOCAL_MACHINE\SOFTWARE\Classes",  # the machine's classes
}
PRINT = r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Print"
SERVICES = r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services"
DEFAULT_ENVIRONMENT = "Windows x64"
INF_DIRECTORY = "C:\\windows\\inf\\"


def registry_path(item):
    root, _, rest = item.partition("\\")
    return ROOTS[root.upper()] + ("\\" + rest if rest else "") if root.upper() in ROOTS else None


def registry_candidates(path):
    """A report names a key or a value the same way: its path."""
    parent, _, last = path.rpartition("\\")
    return [("reg:" + path, True), ("reg:" + parent + "|" + last, False)]


def candidates(action):
    """(snapshot pattern, whether everything below it goes too) for an action."""
    kind, item = action["kind"], action["item"]
    if kind == "printer":
        return [(f"reg:{PRINT}\\Printers\\{item}", True)]
    if kind == "monitor":
        return [(f"reg:{PRINT}\\Monitors\\{item}", True)]
    if kind == "service":
        return [(f"reg:{SERVICES}\\{item}", True)]
    if kind == "driver":
        name, _, environment = item.rpartition(" (")
        environment = environment.rstrip(")")
        if environment == "default":
            environment = DEFAULT_ENVIRONMENT
        return [(f"reg:{PRINT}\\Environments\\{environment}\\Drivers\\*\\{name}", True)]
    if kind == "class key":
        return [(f"reg:{ROOTS['HKCR']}\\{item}", True)]
    if kind in ("registry key", "registry value", "run entry", "user setting"):
        path = registry_path(item)
        return registry_candidates(path) if path else []
    if kind == "INI entry":
        path, _, rest = item.partition(" [")
        section, _, key = rest.partition("] ")
        return [(f"ini:{path}|{section}|{key}=*", False)]
    if kind == "OEM INF":
        path = item if "\\" in item else INF_DIRECTORY + item
        return [("file:" + path, False)]
    if kind in ("file", "shortcut"):
        return [("file:" + item, False)]
    if kind in ("directory", "program group"):
        return [("dir:" + item, True)]
    return []


def matching(snapshot, pattern, tree):
    pattern = pattern.lower()
    patterns = [pattern] + ([pattern + "\\*", pattern + "|*"] if tree else [])
    return {key for key in snapshot if any(fnmatch.fnmatchcase(key, p) for p in patterns)}


def judge(action, before, after):
    """None when the action agrees with the snapshots, else what is wrong."""
    found = candidates(action)
    present_before = set().union(*(matching(before, p, t) for p, t in found))
    present_after = set().union(*(matching(after, p, t) for p, t in found))
    outcome = action["outcome"]
    if outcome == "removed":
        if not present_before:
            return "reported removed, but it was not there before"
        if present_after:
            return "reported removed, but still there: " + ", ".join(sorted(present_after)[:3])
    elif outcome == "not present" and present_after:
        # Not "absent before": an earlier step (DeletePrinter takes the
        # printer's Devices value with it) may have taken it during the run.
        return "reported not present, but it is there: " + ", ".join(sorted(present_after)[:3])
    elif outcome in ("failed", "kept"):
        # The item itself, not what lies below it: other actions may have
        # removed subkeys of a key that could not go as a whole.
        itself = [(pattern, False) for pattern, _ in found]
        lost = set().union(*(matching(before, p, t) - matching(after, p, t) for p, t in itself))
        if lost:
            return f"reported {outcome}, but gone: " + ", ".join(sorted(lost)[:3])
    return None


def main(argv):
    if len(argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    report, before, after = (json.load(open(path, encoding="utf-8")) for path in argv[1:])
    before, after = folded(before), folded(after)
    checked = skipped = 0
    wrong = []
    for action in report["actions"]:
        if not candidates(action):
            skipped += 1
            continue
        checked += 1
        problem = judge(action, before, after)
        if problem:
            wrong.append(f"DISAGREES ({action['kind']}, {action['outcome']}): {action['item']}: {problem}")
    for line in wrong:
        print(line)
    print(f"{checked} actions of the report checked against the snapshots, {len(wrong)} disagree, "
          f"{skipped} not in the snapshots")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
