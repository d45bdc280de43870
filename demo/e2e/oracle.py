#!/usr/bin/env python3
"""Judges a removal by the snapshots before and after it.

  oracle.py <expected.txt> <selection> <before.json> <after.json> [--report]

expected.txt holds rules, one a line: kind | item pattern | fate with all
package printers selected | fate with one printer selected | why.
Patterns are shell patterns over snapshot items, compared without regard to
case, where "**" at the end stands for the item itself and everything below
it ("|value" or "\\subkey"); the first rule that matches an item decides. Fates:
  gone      present before, absent after
  absent    absent after
  changed   present before and after, with other content
  kept      present before, unchanged after
  either    present before; absent or unchanged after (the reason says which
            Wine stub or difference makes both outcomes possible)
  =TEXT     present after with exactly TEXT (before, anything or nothing)
  grown     unchanged when present before, anything when it appeared
  any       anything: Wine's own volatile state
The selection "quiet" is an unattended run: every printer, judged by the
"all" column. A kind ending in "@quiet" limits its rule to that run (its
"one" field is then "-"); other rules hold for every run.
An item that no rule matches must be unchanged, and nothing may appear that
no rule admits. Exit code 0 when every item is as its rule says.
"""
import fnmatch
import json
import sys
from collections import namedtuple

Rule = namedtuple("Rule", "kind pattern fates reason only")
SELECTIONS = ("all", "one")


def parse_rules(text):
    rules = []
    for number, line in enumerate(text.splitlines(), 1):
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        fields = [field.strip() for field in line.split(" | ")]
        if len(fields) != 5:
            raise ValueError(f"line {number}: expected 5 fields separated by ' | ': {line}")
        kind, pattern, fate_all, fate_one, reason = fields
        kind, _, only = kind.partition("@")
        fates = dict(zip(SELECTIONS, (fate_all, fate_one)), quiet=fate_all)
        rules.append(Rule(kind, pattern.lower(), fates, reason, only or None))
    return rules


def applying(rules, selection):
    return [rule for rule in rules if rule.only in (None, selection)]


def rule_for(item, rules):
    lowered = item.lower()
    for rule in rules:
        if rule.pattern.endswith("**"):
            stem = rule.pattern[:-2]
            if fnmatch.fnmatchcase(lowered, stem) or fnmatch.fnmatchcase(lowered, stem + "[|\\\\]*"):
                return rule
        elif fnmatch.fnmatchcase(lowered, rule.pattern):
            return rule
    return None


def outcome(item, before, after):
    if item not in after:
        return "gone"
    if item not in before:
        return "new"
    return "kept" if before[item] == after[item] else "changed"


def fits(fate, result, item, before, after):
    if fate == "any":
        return True
    if fate.startswith("="):
        return item in after and after[item] == fate[1:]
    if fate == "grown":
        return item not in before or result == "kept"
    if fate == "absent":
        return item not in after
    if item not in before:
        return False
    return result == fate or (fate == "either" and result in ("gone", "kept"))


def folded(items):
    """Windows names registry values and files without regard to case: so
    does the comparison (Wine's WriteProfileStringA, say, renames "Device"
    to "device")."""
    return {item.lower(): value for item, value in items.items()}


def judge(rules, selection, before, after):
    """Every item's (item, kind, fate, result, reason, ok), in item order;
    items are named in lower case."""
    before, after = folded(before), folded(after)
    rules = applying(rules, selection)
    verdicts = []
    for item in sorted(set(before) | set(after)):
        rule = rule_for(item, rules)
        result = outcome(item, before, after)
        if rule is None:
            verdicts.append((item, "unlisted", "kept", result, "not the package's", result == "kept"))
            continue
        fate = rule.fates[selection]
        ok = fits(fate, result, item, before, after)
        verdicts.append((item, rule.kind, fate, result, rule.reason, ok))
    return verdicts


def unused_rules(rules, selection, before):
    rules = applying(rules, selection)
    used = {id(rule_for(item, rules)) for item in folded(before)}
    needs_item = {"gone", "kept", "either", "changed"}
    return [rule for rule in rules if id(rule) not in used and rule.fates[selection] in needs_item]


def report(verdicts, after):
    """What the package had installed by kind, what went, what stayed and why."""
    lines, installed, gone, stayed = [], {}, {}, {}
    deferred = [after[v[0]] for v in verdicts if v[1] == "deferred" and v[0] in after]
    for item, kind, fate, result, reason, _ in verdicts:
        if kind in ("unlisted", "wine", "record", "foreign") or result == "new":
            continue
        installed[kind] = installed.get(kind, 0) + 1
        if result == "gone":
            gone[kind] = gone.get(kind, 0) + 1
        else:
            stayed.setdefault(reason, []).append(item)
    lines.append("Installed by the package (snapshot items by kind):")
    lines += [f"  {kind:<12} {count:>4} items, {gone.get(kind, 0)} gone" for kind, count in sorted(installed.items())]
    lines.append("Stayed, and why:")
    for reason, items in sorted(stayed.items()):
        lines.append(f"  {reason}: {len(items)} items, e.g. {items[0]}")
    lines.append("Deferred to the next start of Windows: " + (", ".join(deferred) or "nothing"))
    return lines


def main(argv):
    with open(argv[1]) as file:
        rules = parse_rules(file.read())
    selection = argv[2]
    with open(argv[3]) as file:
        before = json.load(file)
    with open(argv[4]) as file:
        after = json.load(file)
    verdicts = judge(rules, selection, before, after)
    before, after = folded(before), folded(after)
    if "--report" in argv:
        print("\n".join(report(verdicts, after)))
    failures = [v for v in verdicts if not v[5]]
    # A rule that matches nothing installed is a typo that would pass anything.
    for rule in unused_rules(rules, selection, before):
        print(f"WRONG: the rule for {rule.pattern} matches nothing installed")
        failures.append(None)
    for item, kind, fate, result, reason, _ in filter(None, failures):
        print(f"WRONG ({kind}): {item}: expected {fate}, got {result} [{reason}]")
        if result == "changed" or fate.startswith("="):
            print(f"    before: {before.get(item)}\n    after:  {after.get(item)}")
    print(f"{len(verdicts)} items, {len(failures)} wrong ({selection} selection)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
