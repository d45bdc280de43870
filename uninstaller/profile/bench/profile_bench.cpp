// Speed of the script reader, the interpreter and the removal plan.
//   build/native/uninstaller/profile/profile_bench
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "profile/script_file.h"
#include "profile/uninstall_profile.h"
#include "test_machine.h"

namespace {

// About 10 MB of script: sections of 40 item lines each.
std::string LargeScript(std::size_t bytes) {
  std::string text;
  text.reserve(bytes + 4096);
  char line[128];
  for (int section = 0; text.size() < bytes; ++section) {
    std::snprintf(line, sizeof line, "[Model%06d.Files]\r\n", section);
    text += line;
    for (int i = 0; i < 40; ++i) {
      std::snprintf(line, sizeof line, "vdl%06d_%02d.dll = 1 ; copied by the installer\r\n",
                    section, i);
      text += line;
    }
  }
  return text;
}

void BM_ParseScript(benchmark::State& state) {
  const std::string text = LargeScript(10u << 20);
  for (auto _ : state) {
    ScriptFile script;
    benchmark::DoNotOptimize(script.LoadText("C:\\big\\Mainscr0.unm", text));
    benchmark::DoNotOptimize(script.EntryCount("Model000001.Files"));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseScript)->Unit(benchmark::kMillisecond);

// One script of 30 entries (the starter sections hold at most 259 bytes of
// lines each, so the entries are spread over three of them), each with ten
// category sections of three lines.
std::string ThirtyEntryScript(int script) {
  std::string text;
  char line[160];
  const auto starter = [&](const char* section, char prefix, int count) {
    text += std::string("[") + section + "]\r\n";
    for (int i = 0; i < count; ++i) {
      std::snprintf(line, sizeof line, "%c%02d%02d,%c%02d%02d,1\r\n", prefix, script, i, prefix,
                    script, i);
      text += line;
    }
  };
  starter("UnPrinterMfgs", 'M', 10);
  starter("UnPrinterDrivers", 'D', 15);
  starter("Unz_CatchAll", 'C', 5);
  const char* suffixes[] = {"DeleteIni", "DeleteLoadRun", "UnSelfRegister", "PrintProcessors",
                            "Monitors",  "Services",      "Hooks",          "Files",
                            "Shortcuts", "RegistryKeys"};
  for (char prefix : {'M', 'D', 'C'}) {
    for (int i = 0; i < 15; ++i) {
      for (const char* suffix : suffixes) {
        std::snprintf(line, sizeof line, "[%c%02d%02d.%s]\r\n", prefix, script, i, suffix);
        text += line;
        for (int k = 0; k < 3; ++k) {
          std::snprintf(line, sizeof line, "item%c%02d%02d_%d,field,\"quoted\"\r\n", prefix, script,
                        i, k);
          text += line;
        }
      }
    }
  }
  text += "[CommandlineParam]\r\nRemoveOEMInf=1\r\nOEMInfMatchLineString=; Vardel\r\n";
  return text;
}

void BM_LoadScripts(benchmark::State& state) {
  test::TestMachine machine;
  std::vector<std::string> paths;
  for (int i = 0; i < 100; ++i) {
    paths.push_back("C:\\Scripts\\" + std::to_string(i) + "\\Mainscr0.unm");
    machine.writeFile(paths.back(), ThirtyEntryScript(i));
  }
  std::size_t entries = 0;
  for (auto _ : state) {
    UninstallProfile profile(machine.system());
    for (const std::string& path : paths) profile.LoadScript(path.c_str());
    entries = profile.entries.size();
    benchmark::DoNotOptimize(entries);
  }
  state.counters["entries"] = static_cast<double>(entries);
}
BENCHMARK(BM_LoadScripts)->Unit(benchmark::kMillisecond);

// N driver entries of six items (two of them shared with the neighbours),
// a manufacturer entry per hundred, and N printers of which every third
// stays and every tenth masks another.
void FillProfile(UninstallProfile& profile, int n) {
  char text[64];
  for (int i = 0; i < n; ++i) {
    ItemSet e;
    std::snprintf(text, sizeof text, "Vardel%d Model %06d", i / 100, i);
    e.name.assign(text);
    e.scriptPath.assign("C:\\Windows\\System32\\spool\\drivers\\x64\\3\\Mainscr0.unm");
    e.slot(ItemCategory::Drivers).append(e.name);
    for (int k = 0; k < 4; ++k) {
      std::snprintf(text, sizeof text, "own%06d_%d.dll", i, k);
      e.slot(ItemCategory::Files).append(text);
    }
    std::snprintf(text, sizeof text, "SHARED%06d.DLL", i / 2);
    e.slot(ItemCategory::Files).append(text);
    std::snprintf(text, sizeof text, "HKLM,\"SOFTWARE\\VARDEL\\M%06d\",\"\",1", i);
    e.slot(ItemCategory::RegistryKeys).append(text);
    e.Normalize();
    profile.appendEntry(e);
    if (i % 100 == 0) {
      ItemSet maker;
      std::snprintf(text, sizeof text, "Vardel%d", i / 100);
      maker.name.assign(text);
      maker.isManufacturer = true;
      std::snprintf(text, sizeof text, "maker%06d.hlp", i);
      maker.slot(ItemCategory::Files).append(text);
      profile.appendEntry(maker);
    }
  }
  SettleMaskingTool(profile, false);
  for (int i = 0; i < n; ++i) {
    PrinterEntry p;
    std::snprintf(text, sizeof text, "Printer %06d", i);
    p.name.assign(text);
    std::snprintf(text, sizeof text, "Vardel%d Model %06d", i / 100, (i * 7) % n);
    p.driver.assign(text);
    p.keep = i % 3 == 0;
    if (i % 10 == 1) {
      std::snprintf(text, sizeof text, "Printer %06d", i - 1);
      p.pavaneName.assign(text);
    }
    profile.printers.push_back(p);
  }
}

void BM_BuildRemovalPlan(benchmark::State& state) {
  test::TestMachine machine;
  UninstallProfile profile(machine.system());
  FillProfile(profile, static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(profile.BuildRemovalPlan());
  state.counters["removed"] =
      static_cast<double>(profile.removeSet.slot(ItemCategory::Files).count());
}
BENCHMARK(BM_BuildRemovalPlan)
    ->Arg(100)
    ->Arg(200)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(10000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
