// The unattended run on simulated machines: it ends before removing
// anything where it must, reports what it found, and leaves the machine as
// an interactive run that selects every offered printer does.
#include "unattended/quiet_run.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <random>
#include <string>

#include "app/main_dlg.h"
#include "app/notify.h"
#include "app/startup.h"
#include "fake_dialog_views.h"
#include "fake_loading_view.h"
#include "fake_main_view.h"
#include "fake_remove_view.h"
#include "fake_select_view.h"
#include "machine.h"
#include "program_strings.h"
#include "resource_ids.h"
#include "shell/dialog_messages.h"
#include "shell/fill_counter.h"
#include "shell/locations.h"

namespace {

using nlohmann::json;

constexpr const char* kProgram = "C:\\Stripwell\\Stripwell.exe";
constexpr const char* kReport = "C:\\report.json";
constexpr platform::ModuleHandle kModule{0x400000};

constexpr const char* kScript =
    "[UnPrinterMfgs]\nVardel,VARDEL,1\n"
    "[UnPrinterDrivers]\nVardel LX-300,LX300,1\nVardel Photo,PHOTO,1\n"
    "[VARDEL.Files]\nVDCOMMON.DLL\n"
    "[LX300.Files]\nVDLX300.DLL\n"
    "[LX300.RegistryKeys]\nHKLM,\"SOFTWARE\\VARDEL\\LX300\",\"\",1\n"
    "[PHOTO.Files]\nVDPHOTO.DLL\n";

void ResetProcessCounters() {
  TheLoadingCounters() = {};
  SelectionFillCounter() = 0;
}

// One machine with the package: its script, files, a registry key, and
// printers of either model.
class Package {
 public:
  explicit Package(sim::Machine& machine) : machine_(machine) {
    InstallProgramStrings(machine.desktop());
    platform::System system = machine.system();
    CPathParts parts;
    parts.init(system, kLocPrinterDriverDir);
    driverDir_ = parts.directory();
    parts.init(system, kLocSystemDir);
    systemDir_ = parts.directory();
  }

  void script(const std::string& text) {
    machine_.files().writeFile(driverDir_ + "Mainscr0.unm", text);
  }
  void files() {
    for (const char* name : {"VDCOMMON.DLL", "VDLX300.DLL", "VDPHOTO.DLL"}) {
      machine_.files().writeFile(systemDir_ + name, name);
    }
    machine_.registry().createKeyPath("HKLM\\SOFTWARE\\VARDEL\\LX300");
  }
  void printer(const std::string& name, const char* driver, std::uint32_t model) {
    machine_.spooler().addPrinter(sim::PrinterSetup(name, driver));
    machine_.spooler().setPrinterDword(name, "VardelDriver0H", 1);
    machine_.spooler().setPrinterDword(name, "ModelName", model);
  }

 private:
  sim::Machine& machine_;
  std::string driverDir_;
  std::string systemDir_;
};

std::optional<json> ReadReport(sim::Machine& machine, const char* path = kReport) {
  const std::optional<std::string> text = machine.files().fileContents(path);
  if (!text) return std::nullopt;
  return json::parse(*text);
}

int Quiet(sim::Machine& machine, const std::string& options) {
  ResetProcessCounters();
  platform::System system = machine.system();
  return RunQuiet(system, kModule, (std::string(kProgram) + " " + options).c_str());
}

class QuietRunTest : public ::testing::Test {
 protected:
  sim::Machine machine{"10"};
  Package package{machine};
};

TEST_F(QuietRunTest, ABadCommandLineEndsWithTwoAndWritesNothing) {
  package.script(kScript);
  EXPECT_EQ(Quiet(machine, "/QUIET /REPORT"), quiet_exit::kBadCommandLine);
  EXPECT_EQ(Quiet(machine, "-quiet -report:a.json -report:b.json"), quiet_exit::kBadCommandLine);
  EXPECT_TRUE(machine.desktop().messageBoxes().empty());
  EXPECT_FALSE(machine.faults().wasCalled("OpenSCManagerA"));
}

TEST_F(QuietRunTest, EachReasonNotToRunEndsWithOneBeforeAnythingGoesAndIsReported) {
  package.script(kScript);
  package.files();
  package.printer("Office", "Vardel LX-300", 8203);

  // Another instance's window.
  const platform::WindowHandle other =
      machine.desktop().createWindow(kMainWindowClass, "Printer Uninstall");
  EXPECT_EQ(Quiet(machine, "/QUIET /REPORT:C:\\report.json"), quiet_exit::kNotRun);
  EXPECT_EQ(ReadReport(machine)->at("reason"), "Stripwell is already running");
  machine.desktop().destroyWindow(other);

  machine.host().setAdministrators(sim::AdminMembership::kNone);
  EXPECT_EQ(Quiet(machine, "/QUIET /REPORT:C:\\report.json"), quiet_exit::kNotRun);
  json report = *ReadReport(machine);
  EXPECT_EQ(report["result"], "not-run");
  EXPECT_EQ(report["reason"], "no administrator right");
  ASSERT_EQ(report["messages"].size(), 1u) << "the box was answered, not shown";
  EXPECT_EQ(report["messages"][0]["text"],
            "You must have Administrator access to uninstall the driver.");
  machine.host().setAdministrators(sim::AdminMembership::kEnabled);

  // A path that cannot be written ends the run before the loading starts.
  EXPECT_EQ(Quiet(machine, "/QUIET /REPORT:C:\\Missing\\report.json"), quiet_exit::kNotRun);
  EXPECT_FALSE(machine.faults().wasCalled("OpenSCManagerA"));

  // The spooler cannot be reached: its stop and start both fail.
  machine.faults().fail("OpenServiceA", platform::error::kAccessDenied, "Spooler");
  EXPECT_EQ(Quiet(machine, "/QUIET /REPORT:C:\\report.json"), quiet_exit::kNotRun);
  EXPECT_EQ(ReadReport(machine)->at("reason"), "the spooler does not start");

  // A quiet run has no window: another one is known by its mutex.
  machine.host().holdMutex("Stripwell.QuietRun");
  EXPECT_EQ(Quiet(machine, "/QUIET /REPORT:C:\\report.json"), quiet_exit::kNotRun);
  EXPECT_EQ(ReadReport(machine)->at("reason"), "Stripwell is already running");

  EXPECT_TRUE(machine.spooler().printerExists("Office"));
  EXPECT_TRUE(machine.desktop().messageBoxes().empty()) << "no box appeared on the desktop";
}

TEST_F(QuietRunTest, WithoutScriptsNothingIsRemoved) {
  package.files();
  package.printer("Office", "Vardel LX-300", 8203);
  EXPECT_EQ(Quiet(machine, "/QUIET /REPORT:C:\\report.json"), quiet_exit::kNotRun);
  const json report = *ReadReport(machine);
  EXPECT_EQ(report["reason"], "no uninstall scripts found");
  EXPECT_TRUE(machine.spooler().printerExists("Office"));
  EXPECT_TRUE(machine.desktop().messageBoxes().empty());
}

TEST_F(QuietRunTest, TheReportSaysWhyEachPrinterWasOfferedOrNot) {
  package.script(kScript);
  package.files();
  package.printer("Office", "Vardel LX-300", 8203);
  package.printer("Wide", "Vardel LX-300", 8204);
  package.printer("Studio", "Vardel Photo", 8203);
  Quiet(machine, "/QUIET /MFG:\"Vardel LX\" /REPORT:C:\\report.json");
  const json report = *ReadReport(machine);

  std::map<std::string, std::string> why;
  for (const json& printer : report["printers"]) why[printer["name"]] = printer["why"];
  EXPECT_EQ(why["Office"], "offered");
  EXPECT_EQ(why["Wide"], "its driver data names another model");
  EXPECT_EQ(why["Studio"], "left out by the MFG, PRN or UNPAVANE options");
  EXPECT_EQ(report["mode"], "quiet");
  EXPECT_EQ(report["os"]["version"].get<std::string>().substr(0, 3), "6.2");
  ASSERT_EQ(report["options"].size(), 3u);
  EXPECT_EQ(report["options"][1]["name"], "MFG");
  EXPECT_EQ(report["options"][1]["values"][0], "\"Vardel LX\"");
  EXPECT_LE(report["started"].get<std::string>(), report["ended"].get<std::string>());
  EXPECT_TRUE(report["plan"]["remove"].contains("Files"));
}

TEST_F(QuietRunTest, AFaultDuringTheRemovalIsReportedWithItsCodeAndTheRunGoesOn) {
  package.script(kScript);
  package.files();
  package.printer("Office", "Vardel LX-300", 8203);
  package.printer("Studio", "Vardel Photo", 8203);
  machine.faults().fail("DeletePrinter", platform::error::kAccessDenied, "Office");
  Quiet(machine, "/QUIET /REPORT:C:\\report.json");
  const json report = *ReadReport(machine);

  std::map<std::string, json> printerActions;
  for (const json& action : report["actions"]) {
    if (action["kind"] == "printer") printerActions[action["item"]] = action;
  }
  EXPECT_EQ(printerActions["Office"]["outcome"], "failed");
  EXPECT_EQ(printerActions["Office"]["win32Error"], platform::error::kAccessDenied);
  EXPECT_EQ(printerActions["Studio"]["outcome"], "removed");
  EXPECT_TRUE(machine.spooler().printerExists("Office"));
  EXPECT_FALSE(machine.spooler().printerExists("Studio"));
}

// The interactive run with the recording views: the user selects every
// listed printer, presses Uninstall, and the removal ticks to its end.
void Interactive(sim::Machine& machine, const std::string& options) {
  ResetProcessCounters();
  platform::System system = machine.system();
  const platform::WindowHandle mainWindow =
      machine.desktop().createWindow(kMainWindowClass, "Printer Uninstall");
  const platform::WindowHandle loadingWindow = machine.desktop().createWindow("#32770", "Loading");
  FakeLoadingView loadingView;
  FakeRemoveView removeView;
  FakeMainView mainView{loadingView, loadingWindow};
  FakeSelectView selectView;
  FakeExtraInfoView extraInfoView;
  FakeAboutView aboutView;
  CMainDlg dialog(system, {mainView, loadingView, selectView, removeView, extraInfoView, aboutView},
                  (kProgram + options).c_str());
  selectView.parent = [&](std::uint32_t message, platform::WParam wParam) {
    return dialog.HandleMessage(mainWindow, message, wParam, 0);
  };
  removeView.parent = mainWindow;
  dialog.window = mainWindow;
  dialog.HandleMessage(mainWindow, dlgmsg::kInitDialog, 0, 0);
  ASSERT_FALSE(mainView.result) << "loading completed";

  CRemovePage& page = dialog.removePage();
  if (removeView.timers.count(IDT_REMOVAL) == 0) {
    for (FakeRow& row : selectView.rows) row.selected = true;
    if (!selectView.rows.empty()) {
      NotifyHeader changed{0, IDC_SELECT_LIST, notify::kItemChanged};
      dialog.selectPage().HandleMessage(dialog.selectPage().window, notify::kNotifyMessage, 0,
                                        reinterpret_cast<platform::LParam>(&changed));
    }
    ASSERT_TRUE(mainView.enabledControls[IDC_MAIN_UNINSTALL]);
    dialog.HandleMessage(mainWindow, dlgmsg::kCommand, IDC_MAIN_UNINSTALL, 0);
  }
  for (int tick = 0; removeView.timers.count(IDT_REMOVAL) != 0 && tick < 10'000; ++tick) {
    machine.clock().sleep(removeView.timers[IDT_REMOVAL]);
    page.HandleMessage(page.window, dlgmsg::kTimer, IDT_REMOVAL, 0);
  }
  machine.desktop().destroyWindow(loadingWindow);
  machine.desktop().destroyWindow(mainWindow);
}

// What a removal can change: the registry below the package's and the
// spooler's keys, and every file.
std::map<std::string, std::string> State(sim::Machine& machine) {
  std::map<std::string, std::string> state;
  std::function<void(const std::string&)> key = [&](const std::string& path) {
    for (const std::string& name : machine.registry().valueNames(path)) {
      const std::optional<sim::RegValue> value = machine.registry().value(path, name);
      state["reg:" + path + "|" + name] =
          value ? std::string(value->data.begin(), value->data.end()) : "";
    }
    for (const std::string& sub : machine.registry().subkeyNames(path)) key(path + "\\" + sub);
  };
  for (const char* root :
       {"HKLM\\SOFTWARE\\VARDEL", "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print",
        "HKLM\\SYSTEM\\CurrentControlSet\\Services"}) {
    key(root);
  }
  std::function<void(const std::string&)> dir = [&](const std::string& path) {
    for (const std::string& name : machine.files().list(path)) {
      if (name == "." || name == "..") continue;
      const std::string full = path + "\\" + name;
      if (machine.files().isDirectory(full)) {
        dir(full);
      } else {
        state["file:" + full] = machine.files().fileContents(full).value_or("");
      }
    }
  };
  dir("C:");
  return state;
}

// Printers of random drivers and models, with or without the package's
// files and a command-line narrowing, on two identical machines.
TEST(QuietAndInteractive, EndInTheSameMachineStateOnRandomPackages) {
  for (unsigned seed = 1; seed <= 6; ++seed) {
    std::mt19937 random(seed);
    const auto pick = [&](unsigned n) { return static_cast<unsigned>(random() % n); };
    const unsigned printers = pick(5);
    std::vector<std::tuple<std::string, const char*, std::uint32_t>> setup;
    for (unsigned i = 0; i < printers; ++i) {
      // Appended rather than "P" + ...: GCC 12's -Wrestrict misfires on that.
      std::string name = "P";
      name += std::to_string(i);
      setup.emplace_back(name, pick(2) ? "Vardel LX-300" : "Vardel Photo", pick(3) ? 8203u : 8204u);
    }
    const bool files = pick(2) != 0;
    const std::string options = pick(3) == 0 ? " /MFG:\"Vardel LX\"" : "";

    sim::Machine quiet("10"), interactive("10");
    for (sim::Machine* machine : {&quiet, &interactive}) {
      Package package(*machine);
      package.script(kScript);
      if (files) package.files();
      for (const auto& [name, driver, model] : setup) package.printer(name, driver, model);
    }
    Quiet(quiet, "/QUIET" + options);
    Interactive(interactive, options);
    EXPECT_EQ(State(quiet), State(interactive)) << "seed " << seed;
    EXPECT_TRUE(quiet.desktop().messageBoxes().empty()) << "seed " << seed;
  }
}

}  // namespace
