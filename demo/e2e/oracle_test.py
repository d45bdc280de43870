#!/usr/bin/env python3
"""The oracle's judgement on small hand-made snapshots."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import oracle  # noqa: E402

RULES = oracle.parse_rules(
    "\n".join(
        [
            r"wine | reg:HKLM\Print\*|Status | any | any | volatile",
            r"printer | reg:HKLM\Print\P1** | gone | gone | selected",
            r"printer | reg:HKLM\Print\P2** | gone | kept | not selected",
            r"inf | file:C:\inf\oem5.pnf | either | kept | Wine leaves it",
            r"foreign | reg:HKLM\Foreign|* | grown | kept | rewritten",
            r"printer | reg:HKCU\Windows|Device | =Other | kept | new default",
            r"record | record:pavane.txt | = /d | absent | started with the last printer",
        ]
    )
)

BEFORE = {
    r"reg:HKLM\Print\P1": "key",
    r"reg:HKLM\Print\P1|Port": "LPT1:",
    r"reg:HKLM\Print\P1\Data": "key",
    r"reg:HKLM\Print\P10": "key",
    r"reg:HKLM\Print\P2": "key",
    r"file:C:\inf\oem5.pnf": "9 ab",
    r"reg:HKCU\Windows|Device": "P1",
    r"reg:HKLM\Foreign": "key",
    r"reg:HKLM\Foreign|Port": "FILE:",
}


P1 = [r"reg:HKLM\Print\P1", r"reg:HKLM\Print\P1|Port", r"reg:HKLM\Print\P1\Data"]


def wrong(selection, after, before=BEFORE):
    verdicts = oracle.judge(RULES, selection, before, after)
    return sorted(item for item, *_, ok in verdicts if not ok)


def low(*items):
    return sorted(item.lower() for item in items)


def removed(*items, base=BEFORE):
    return {k: v for k, v in base.items() if k not in items}


class OracleTest(unittest.TestCase):
    def test_a_tree_rule_covers_the_key_its_values_and_subkeys_but_not_a_longer_name(self):
        after = removed(*P1)
        self.assertEqual(wrong("one", after), [])
        self.assertEqual(wrong("one", removed(r"reg:HKLM\Print\P10", base=after)), low(r"reg:HKLM\Print\P10"))

    def test_an_item_that_must_go_but_stays_is_wrong(self):
        after = removed(r"reg:HKLM\Print\P1", r"reg:HKLM\Print\P1\Data")
        self.assertEqual(wrong("one", after), low(r"reg:HKLM\Print\P1|Port"))

    def test_the_selection_picks_the_fate(self):
        after = removed(*P1, r"reg:HKLM\Print\P2")
        self.assertEqual(wrong("one", after), low(r"reg:HKLM\Print\P2"))
        after[r"reg:HKCU\Windows|Device"] = "Other"
        after[r"record:pavane.txt"] = " /d"
        self.assertEqual(wrong("all", after), [])

    def test_either_admits_gone_and_unchanged_but_not_changed(self):
        base = removed(*P1, r"reg:HKLM\Print\P2")
        base[r"reg:HKCU\Windows|Device"] = "Other"
        base[r"record:pavane.txt"] = " /d"
        before = removed(r"reg:HKCU\Windows|Device", base=BEFORE)
        self.assertEqual(wrong("all", removed(r"file:C:\inf\oem5.pnf", base=base), before), [])
        self.assertEqual(wrong("all", base, before), [])
        base[r"file:C:\inf\oem5.pnf"] = "10 cd"
        self.assertEqual(wrong("all", base, before), low(r"file:C:\inf\oem5.pnf"))

    def test_unlisted_changes_fail_and_volatile_ones_pass(self):
        after = removed(*P1)
        after[r"reg:HKLM\Print\P2|Status"] = "dword:0"
        after[r"reg:HKLM\Added"] = "key"
        after[r"reg:HKLM\Foreign"] = "changed"
        self.assertEqual(wrong("one", after), low(r"reg:HKLM\Added", r"reg:HKLM\Foreign"))

    def test_a_grown_item_may_appear_but_not_change(self):
        before = BEFORE
        after = removed(*P1, r"reg:HKLM\Print\P2")
        after.update({r"reg:HKCU\Windows|Device": "Other", r"record:pavane.txt": " /d"})
        after[r"reg:HKLM\Foreign|Priority"] = "dword:1"
        self.assertEqual(wrong("all", after, before), [])
        after[r"reg:HKLM\Foreign|Port"] = "LPT1:"
        after[r"reg:HKCU\Windows|device"] = after.pop(r"reg:HKCU\Windows|Device")
        self.assertEqual(wrong("all", after, before), low(r"reg:HKLM\Foreign|Port"))

    def test_an_unattended_run_is_judged_as_all_with_its_own_rules_first(self):
        rules = oracle.parse_rules(
            r"record@quiet | record:hook.txt | =window none | - | no dialog window" "\n"
            r"record | record:hook.txt | =window 1 | =window 1 | the dialog"
        )
        after = {r"record:hook.txt": "window none"}
        verdicts = {sel: [ok for *_, ok in oracle.judge(rules, sel, {}, after)] for sel in ("quiet", "all")}
        self.assertEqual(verdicts, {"quiet": [True], "all": [False]})

    def test_a_rule_that_matches_nothing_installed_is_reported(self):
        rules = RULES + oracle.parse_rules(r"file | file:C:\typo | gone | gone | x")
        self.assertEqual([r.pattern for r in oracle.unused_rules(rules, "all", BEFORE)], [r"file:c:\typo"])


if __name__ == "__main__":
    unittest.main()
