#!/usr/bin/env python3
"""The report check on a small hand-made report and snapshots."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import report_check  # noqa: E402

PRINTERS = r"reg:hkey_local_machine\system\currentcontrolset\control\print\printers"
BEFORE = {
    PRINTERS + r"\p1": "key",
    PRINTERS + r"\p1|port": "LPT1:",
    r"reg:hkey_current_user\printers\devmodes2|p1": "hex:00",
    r"reg:hkey_local_machine\software\vardel": "key",
    r"reg:hkey_local_machine\software\vardel\common": "key",
    r"ini:c:\windows\vardel.ini|ports|port=lpt1:": "1",
    r"file:c:\windows\vdreadme.txt": "3 ab",
}


def problems(actions, after):
    return [report_check.judge(action, BEFORE, after) is not None for action in actions]


class ReportCheckTest(unittest.TestCase):
    def test_each_outcome_is_held_to_what_the_snapshots_show(self):
        after = {
            r"reg:hkey_local_machine\software\vardel": "key",
            r"file:c:\windows\vdreadme.txt": "3 ab",
            PRINTERS + r"\p1|port": "LPT1:",  # a value left behind
        }
        actions = [
            {"kind": "printer", "item": "P1", "outcome": "removed"},
            {"kind": "user setting", "item": r"HKCU\Printers\DevModes2\P1", "outcome": "removed"},
            {"kind": "registry key", "item": r"HKLM\SOFTWARE\VARDEL", "outcome": "failed"},
            {"kind": "INI entry", "item": r"C:\windows\VARDEL.INI [Ports] Port", "outcome": "removed"},
            {"kind": "file", "item": r"C:\windows\VDREADME.TXT", "outcome": "not present"},
            {"kind": "file", "item": r"C:\windows\VDOTHER.TXT", "outcome": "removed"},
        ]
        self.assertEqual(problems(actions, after), [True, False, False, False, True, True])


if __name__ == "__main__":
    unittest.main()
