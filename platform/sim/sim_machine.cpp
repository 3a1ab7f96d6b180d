// The test-facing side of the simulated machine: setting it up and looking at it.
#include "platform/sim/sim_machine.h"

#include <algorithm>

#include "platform/sim/sim_state.h"

namespace sim {

using detail::FileTree;
using detail::Lock;
using detail::Lower;
using detail::SameText;

struct Machine::State : detail::SimState {};

namespace {

// Test helpers name native paths: no WOW64 redirection, relative to the current
// directory like everything else.
std::vector<std::string> NativeParts(const detail::SimState& s, const std::string& path) {
  std::vector<std::string> parts;
  FileTree::Split(path, s.currentDirectory, &parts);
  return parts;
}

template <typename List, typename Name>
bool Listed(const List& list, const std::string& name, Name nameOf) {
  return std::any_of(list.begin(), list.end(),
                     [&](const auto& item) { return SameText(nameOf(item), name); });
}

std::string Self(const std::string& text) { return text; }

}  // namespace

Machine::Machine() : state_(std::make_unique<State>()) {}
Machine::~Machine() = default;

plat::Platform& Machine::platform() { return state_->platform; }

void Machine::FailCall(const std::string& call, win::Error error, int times,
                       const std::string& argument) {
  Lock lock(state_->mutex);
  if (times != 0) state_->faults.push_back(detail::Fault{call, error, times, argument});
}

void Machine::FailNthCall(size_t k, win::Error error) {
  Lock lock(state_->mutex);
  state_->failAt = k == 0 ? 0 : state_->recorded + k;
  state_->failAtError = error;
}

size_t Machine::CallCount() const {
  Lock lock(state_->mutex);
  return state_->recorded;
}

const std::vector<Deletion>& Machine::Deletions() const {
  Lock lock(state_->mutex);
  return state_->deletions;
}

void Machine::OnDeletion(std::function<void(const Deletion&)> hook) {
  Lock lock(state_->mutex);
  state_->deletionHook = std::move(hook);
}

const std::vector<std::string>& Machine::Journal() const {
  Lock lock(state_->mutex);
  return state_->journal;
}

std::vector<std::string> Machine::JournalOf(const std::set<std::string>& calls) const {
  Lock lock(state_->mutex);
  std::vector<std::string> entries;
  for (const std::string& entry : state_->journal)
    if (calls.count(entry.substr(0, entry.find('(')))) entries.push_back(entry);
  return entries;
}

void Machine::ClearJournal() {
  Lock lock(state_->mutex);
  state_->journal.clear();
}

const std::vector<uint32_t>& Machine::Pauses() const {
  Lock lock(state_->mutex);
  return state_->pauses;
}

uint64_t Machine::NowMs() const {
  Lock lock(state_->mutex);
  return state_->nowMs;
}

void Machine::At(uint64_t atMs, std::function<void()> action) {
  Lock lock(state_->mutex);
  state_->actions.emplace(atMs, std::move(action));
}

// --- Identity --------------------------------------------------------------------------

void Machine::SetVersion(uint32_t platformId, uint32_t major, uint32_t minor, uint8_t productType) {
  Lock lock(state_->mutex);
  state_->version = plat::OsVersion{platformId, major, minor, productType};
}

void Machine::SetVersionQueryFails(bool fails) {
  Lock lock(state_->mutex);
  state_->versionQueryFails = fails;
}

void Machine::SetArchitecture(uint16_t native, uint16_t reported) {
  Lock lock(state_->mutex);
  state_->nativeArchitecture = native;
  state_->reportedArchitecture = reported;
}

void Machine::SetNativeSystemInfoAvailable(bool available) {
  state_->nativeSystemInfoAvailable = available;
}

void Machine::SetWow64(bool wow64) {
  Lock lock(state_->mutex);
  state_->wow64 = wow64;
  if (wow64) AddDirectory(state_->windowsDirectory + "\\SysWOW64");
}

void Machine::RemoveKernelEntry(const std::string& entry) {
  Lock lock(state_->mutex);
  state_->removedKernelEntries.insert(Lower(entry));
}

void Machine::SetDisableRedirectionResult(int result) {
  Lock lock(state_->mutex);
  state_->disableRedirectionResult = result;
}

bool Machine::RedirectionDisabled() const {
  Lock lock(state_->mutex);
  return state_->RedirectionOffForThisThread();
}

// --- Spooler -----------------------------------------------------------------------------

void Machine::AddDriver(const std::string& name) {
  Lock lock(state_->mutex);
  if (!HasDriver(name)) state_->drivers.push_back(name);
}

void Machine::AddMonitor(const std::string& name) {
  Lock lock(state_->mutex);
  if (!HasMonitor(name)) state_->monitors.push_back(name);
}

void Machine::AddPort(const std::string& name, const std::string& monitor) {
  Lock lock(state_->mutex);
  for (detail::SimPort& port : state_->ports) {
    if (SameText(port.name, name)) {
      port.monitor = monitor;
      return;
    }
  }
  state_->ports.push_back(detail::SimPort{name, monitor});
}

void Machine::AddPrinter(const SimPrinter& printer) {
  Lock lock(state_->mutex);
  if (!HasPort(printer.port)) AddPort(printer.port, "Local Port");
  AddDriver(printer.driver);
  if (SimPrinter* existing = state_->FindPrinter(printer.name)) {
    *existing = printer;
  } else {
    state_->printers.push_back(printer);
  }
}

void Machine::AddProcessor(const std::string& name, const std::string& environment) {
  Lock lock(state_->mutex);
  if (!HasProcessor(name, environment))
    state_->processors.push_back(detail::SimProcessor{name, environment});
}

void Machine::SetDefaultEnvironment(const std::string& environment) {
  Lock lock(state_->mutex);
  state_->defaultEnvironment = environment;
}

void Machine::SetPrintProcessorDirectory(const std::string& directory) {
  Lock lock(state_->mutex);
  state_->printProcessorDirectory = directory;
}

void Machine::SetDeletePrinterDriverExAvailable(bool available) {
  state_->deleteDriverExAvailable = available;
}

void Machine::SetWinspoolLoads(bool loads) {
  Lock lock(state_->mutex);
  state_->winspoolLoads = loads;
}

bool Machine::HasPrinter(const std::string& name) const {
  Lock lock(state_->mutex);
  return state_->FindPrinter(name) != nullptr;
}

bool Machine::HasDriver(const std::string& name) const {
  Lock lock(state_->mutex);
  return Listed(state_->drivers, name, Self);
}

bool Machine::HasPort(const std::string& name) const {
  Lock lock(state_->mutex);
  return Listed(state_->ports, name, [](const detail::SimPort& p) { return p.name; });
}

bool Machine::HasMonitor(const std::string& name) const {
  Lock lock(state_->mutex);
  return Listed(state_->monitors, name, Self);
}

bool Machine::HasProcessor(const std::string& name, const std::string& environment) const {
  Lock lock(state_->mutex);
  return std::any_of(state_->processors.begin(), state_->processors.end(),
                     [&](const detail::SimProcessor& p) {
                       return SameText(p.name, name) && SameText(p.environment, environment);
                     });
}

void Machine::SetSpoolerState(ServiceState state) {
  Lock lock(state_->mutex);
  if (state_->spoolerState == ServiceState::kRunning && state != ServiceState::kRunning)
    ++state_->spoolerGeneration;
  state_->spoolerState = state;
}

ServiceState Machine::SpoolerState() const {
  Lock lock(state_->mutex);
  return state_->spoolerState;
}

// --- Registry ------------------------------------------------------------------------------

void Machine::AddKey(const std::string& path) {
  Lock lock(state_->mutex);
  const std::string key = detail::SimState::KeyPath(path);
  for (size_t end = key.find('\\'); end != std::string::npos; end = key.find('\\', end + 1))
    state_->keys.insert(key.substr(0, end));
  if (!key.empty()) state_->keys.insert(key);
}

bool Machine::HasKey(const std::string& path) const {
  Lock lock(state_->mutex);
  return state_->keys.count(detail::SimState::KeyPath(path)) != 0;
}

// --- Files -----------------------------------------------------------------------------------

void Machine::AddFile(const std::string& path, const std::string& bytes, uint32_t attributes) {
  Lock lock(state_->mutex);
  const std::vector<std::string> parts = NativeParts(*state_, path);
  if (parts.size() < 2) return;
  attributes &= ~win::kFileAttributeDirectory;
  state_->files.Put(parts, false, attributes ? attributes : win::kFileAttributeNormal, bytes);
}

void Machine::AddDirectory(const std::string& path, uint32_t attributes) {
  Lock lock(state_->mutex);
  const std::vector<std::string> parts = NativeParts(*state_, path);
  if (!parts.empty()) state_->files.Put(parts, true, attributes, "");
}

void Machine::RemovePath(const std::string& path) {
  Lock lock(state_->mutex);
  state_->files.Remove(NativeParts(*state_, path));
}

std::string Machine::FileBytes(const std::string& path) const {
  Lock lock(state_->mutex);
  const detail::FileEntry* entry = state_->files.Find(NativeParts(*state_, path));
  return entry && !entry->directory ? entry->bytes : std::string();
}

std::string Machine::WindowsDirectory() const {
  Lock lock(state_->mutex);
  return state_->windowsDirectory;
}

std::string Machine::PrintProcessorDirectory() const {
  Lock lock(state_->mutex);
  return state_->printProcessorDirectory;
}

bool Machine::Exists(const std::string& path) const {
  Lock lock(state_->mutex);
  return state_->files.Find(NativeParts(*state_, path)) != nullptr;
}

uint32_t Machine::Attributes(const std::string& path) const {
  Lock lock(state_->mutex);
  const detail::FileEntry* entry = state_->files.Find(NativeParts(*state_, path));
  return entry ? entry->attributes : 0;
}

void Machine::SetCurrentDirectory(const std::string& path) {
  Lock lock(state_->mutex);
  const std::vector<std::string> parts = NativeParts(*state_, path);
  if (parts.empty()) return;
  state_->files.Put(parts, true, win::kFileAttributeDirectory, "");
  // A drive root keeps its backslash, like GetCurrentDirectoryA reports it.
  state_->currentDirectory = FileTree::Join(parts);
}

void Machine::SetWindowsDirectory(const std::string& path) {
  Lock lock(state_->mutex);
  std::vector<std::string> parts = NativeParts(*state_, path);
  if (parts.size() < 2) return;
  state_->windowsDirectory = FileTree::Join(parts);
  parts.push_back("system32");
  state_->files.Put(parts, true, win::kFileAttributeDirectory, "");
  if (state_->wow64) AddDirectory(state_->windowsDirectory + "\\SysWOW64");
}

// --- Windows, shell, message boxes -----------------------------------------------------------

plat::WindowHandle Machine::AddWindow(const std::string& title, bool minimized) {
  Lock lock(state_->mutex);
  const plat::WindowHandle handle = state_->nextWindow;
  state_->nextWindow += 2;
  state_->windows[handle] = detail::SimWindow{title, minimized};
  return handle;
}

void Machine::CloseWindow(plat::WindowHandle window) {
  Lock lock(state_->mutex);
  state_->windows.erase(window);
}

bool Machine::IsWindowMinimized(plat::WindowHandle window) const {
  Lock lock(state_->mutex);
  auto it = state_->windows.find(window);
  return it != state_->windows.end() && it->second.minimized;
}

void Machine::OnShellOpen(
    std::function<intptr_t(const std::string& file, const std::string& params)> hook) {
  Lock lock(state_->mutex);
  state_->shellHook = std::move(hook);
}

const std::vector<std::string>& Machine::MessageBoxes() const {
  Lock lock(state_->mutex);
  return state_->messageBoxes;
}

const std::vector<uint32_t>& Machine::MessageBoxTypes() const {
  Lock lock(state_->mutex);
  return state_->messageBoxTypes;
}

void Machine::SetMessageBoxAnswer(int answer) {
  Lock lock(state_->mutex);
  state_->messageBoxAnswer = answer;
}

// --- Vendor USB library -----------------------------------------------------------------------

void Machine::SetUsbLibraryPresent(bool present) {
  Lock lock(state_->mutex);
  state_->usbLibraryPresent = present;
}

void Machine::RemoveUsbEntry(const std::string& entry) {
  Lock lock(state_->mutex);
  state_->removedUsbEntries.insert(Lower(entry));
}

void Machine::AddUsbDevice(int32_t index, int32_t handle, uint16_t value) {
  Lock lock(state_->mutex);
  state_->usbDevices[index] = detail::UsbDevice{handle, value};
}

// --- Restart, mutexes, output, handles ----------------------------------------------------------

bool Machine::RestartRequested() const {
  Lock lock(state_->mutex);
  return state_->restartRequested;
}

void Machine::AddMutex(const std::string& name) {
  Lock lock(state_->mutex);
  state_->mutexes.insert(name);
}

const std::string& Machine::StandardOutput() const {
  Lock lock(state_->mutex);
  return state_->standardOutput;
}

int Machine::OpenHandleCount() const {
  Lock lock(state_->mutex);
  return static_cast<int>(state_->handles.size() + state_->openDevices.size());
}

int Machine::InvalidReleaseCount() const {
  Lock lock(state_->mutex);
  return state_->invalidReleases;
}

}  // namespace sim
