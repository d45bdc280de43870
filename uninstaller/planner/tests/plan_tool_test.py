#!/usr/bin/env python3
"""End-to-end test of stripwell-plan on the scripts in tests/data.

usage: plan_tool_test.py --data DIR -- COMMAND...
COMMAND runs the program (the native binary, or Wine's launcher and the
Windows binary). Prints 'N passed, N failed' and exits non-zero on failure.
"""
import json
import os
import subprocess
import sys

CATEGORIES = ["DeleteIni", "DeleteLoadRun", "UnSelfRegister", "PrintProcessors", "Monitors",
              "Services", "Hooks", "Files", "Drivers", "Shortcuts", "OemPaths", "RegistryKeys"]

args = sys.argv[1:]
split = args.index("--")
data = args[args.index("--data") + 1]
command = args[split + 1:]

DRIVERS = os.path.join(data, "drivers", "Mainscr0.unm")
PAVANE = os.path.join(data, "pavane", "Mainscr0.unm")
SETTINGS_ONLY = os.path.join(data, "settings_only.unm")
PRINTERS = os.path.join(data, "printers.json")

failures = []
passed = 0


def run(*arguments):
    result = subprocess.run(command + list(arguments), capture_output=True, timeout=120)
    return (result.returncode, result.stdout.decode("utf-8", "replace").replace("\r\n", "\n"),
            result.stderr.decode("utf-8", "replace").replace("\r\n", "\n"))


def plan(*arguments):
    code, out, err = run("--json", *arguments)
    check(code == 0, "exit code 0 for " + " ".join(arguments), err)
    document = json.loads(out)
    for name in ("allSet", "keepSet", "removeSet"):
        check(list(document[name]) == CATEGORIES, name + " has the twelve slots in order")
    return document, err


def check(condition, what, detail=""):
    global passed
    if condition:
        passed += 1
    else:
        failures.append(what + (": " + detail.strip() if detail else ""))


def case_plan_for_a_selection():
    doc, err = plan("--printers", PRINTERS, DRIVERS, PAVANE, SETTINGS_ONLY)
    check("settings_only.unm: no starter sections" in err, "a script without starters is reported", err)
    s = doc["settings"]
    check(s == {"allowPrinterChoice": True, "removeOemInf": True, "oemInfLine": 2,
                "oemInfString": "; Vardel TR820", "uninstallScanner": True,
                "scannerProductGuid": "{SCAN-VISTA}", "uninstallFax": False, "faxProductGuid": ""},
          "settings", json.dumps(s))
    names = [(e["name"], e["kind"]) for e in doc["entries"]]
    check(names == [("Pavane", "manufacturer"), ("Vardel", "manufacturer"),
                    ("Vardel Common", "catchAll"), ("Vardel TR820 PCL", "driver"),
                    ("Vardel TR900 PS", "driver")], "entries in profile order", str(names))
    paths = [(e["name"], e["scriptPath"]) for e in doc["entries"]]
    check(paths == [("Pavane", PAVANE)] + [(e["name"], DRIVERS) for e in doc["entries"][1:]],
          "each entry names its script by the path given", str(paths))
    tr820 = next(e for e in doc["entries"] if e["name"] == "Vardel TR820 PCL")
    check(tr820["sectionBase"] == "TR820" and tr820["items"]["Files"] == ["vdl820.dll", "vdlcore.dll"]
          and tr820["items"]["Drivers"] == ["Vardel TR820 PCL"], "a driver entry's items", json.dumps(tr820))
    check(doc["allSet"]["Files"] == ["vdl820.dll", "vdl900.dll", "vdlcore.dll", "vdlhelp.hlp", "vdlui.dll"],
          "the masking tool's items are not in the all set", json.dumps(doc["allSet"]["Files"]))
    remove = doc["removeSet"]
    check(remove["Files"] == ["vdl820.dll"], "only what no kept printer needs is removed",
          json.dumps(remove["Files"]))
    check(remove["Services"] == ["VdlSpool"] and remove["Drivers"] == ["Vardel TR820 PCL"],
          "the removed driver's service and name", json.dumps(remove))
    check(remove["RegistryKeys"] == ['HKLM,"SOFTWARE\\VARDEL\\TR820","",1'],
          "no package-wide key while printers stay", json.dumps(remove["RegistryKeys"]))
    check(doc["keepSet"]["Files"] == ["vdl900.dll", "VDLCORE.DLL", "vdlhelp.hlp", "vdlui.dll"],
          "kept: the kept driver, the maker's entry for an unknown model, the catch-all",
          json.dumps(doc["keepSet"]["Files"]))
    printers = {p["name"]: p for p in doc["printers"]}
    check(printers["Office (masked)"]["keep"] == 0, "the masking printer follows its printer")
    check(set(printers["Lab"]) == {"name", "driver", "pavaneName", "keep", "foreign", "removed"},
          "printers carry the six fields")
    check((doc["keptPrinterCount"], doc["removedPrinterCount"], doc["pavaneToolRetained"]) == (2, 2, True),
          "counts and the masking tool", str((doc["keptPrinterCount"], doc["removedPrinterCount"])))


def case_last_printer():
    doc, _ = plan(DRIVERS, PAVANE)
    remove = doc["removeSet"]
    check(remove["Files"] == ["Mainscr0.unm", "PAVANE32.EXE", "pvhook.dll", "vdl820.dll", "vdl900.dll",
                              "vdlcore.dll", "vdlhelp.hlp"],
          "without printers everything but the catch-all goes", json.dumps(remove["Files"]))
    check(len(remove["RegistryKeys"]) == 5 and 'HKLM,"SOFTWARE\\VARDEL","",0' in remove["RegistryKeys"],
          "the maker's keys go with the last printer", json.dumps(remove["RegistryKeys"]))
    check(doc["pavaneToolRetained"] is False and doc["keptPrinterCount"] == 0, "the masking tool goes")


def case_switches():
    doc, _ = plan("--unpavane", DRIVERS, PAVANE)
    check(doc["allSet"]["Files"] == ["PAVANE32.EXE", "pvhook.dll"]
          and doc["allSet"]["Hooks"] == ["pvhook.dll,PavaneUnhook"], "--unpavane keeps only the tool's items",
          json.dumps(doc["allSet"]))
    doc, _ = plan("--variant", "a4", DRIVERS)
    drivers = [e["name"] for e in doc["entries"] if e["kind"] == "driver"]
    check(drivers == ["Vardel TR820 A4"], "--variant a4 reads the A4 driver section", str(drivers))
    doc, _ = plan("--os", "xp", DRIVERS)
    check(doc["settings"]["scannerProductGuid"] == "{SCAN-XP}", "--os xp reads the XP GUID")
    doc, _ = plan("--os", "98", DRIVERS)
    check(doc["settings"]["scannerProductGuid"] == "{SCAN-XP}", "--os 98 reads the XP GUID")


def case_text():
    code, out, err = run("--printers", PRINTERS, DRIVERS, PAVANE)
    check(code == 0, "text: exit code 0", err)
    remove = out[out.index("Remove set"):]
    check("  Files (1)\n    vdl820.dll\n" in remove, "text: the remove set category by category", remove)
    check("Printers (5): 2 kept, 2 removed" in out, "text: printer counts")
    check("catchAll \"Vardel Common\", sections \"Common.*\", from " + DRIVERS + "\n" in out,
          "text: entries with their kind and script")


def case_errors():
    for arguments, message in [(["--variant", "a5", DRIVERS], "--variant takes a3 or a4"),
                               (["--os", "vista", DRIVERS], "unknown --os"),
                               (["--bogus", DRIVERS], "unknown option --bogus"),
                               ([], "no script given"),
                               (["--printers"], "--printers needs a value"),
                               (["--printers", os.path.join(data, "missing.json"), DRIVERS],
                                "cannot read the printers file"),
                               (["--printers", os.path.join(data, "malformed.json"), DRIVERS],
                                "malformed JSON: line 1"),
                               (["--printers", os.path.join(data, "wrong_type.json"), DRIVERS],
                                "printer 1 \"name\" is not a string")]:
        code, out, err = run(*arguments)
        check(code == 2 and message in err and out == "", "exit 2 with a message: " + message, err)
    code, out, err = run("--json", os.path.join(data, "no_such_script.unm"), DRIVERS)
    check(code == 0 and "skipped" in err and "no_such_script.unm" in err and json.loads(out)["entries"],
          "a missing script is reported and skipped", err)


for case in (case_plan_for_a_selection, case_last_printer, case_switches, case_text, case_errors):
    try:
        case()
    except Exception as error:  # a crash of one case is a failure, not the end
        failures.append(f"{case.__name__} raised {error!r}")

for failure in failures:
    print("FAILED:", failure)
print(f"{passed} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
