#include "app/scene/povray_version.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "app/scene/leading_number.h"
#include "fs/child_process.h"

namespace {

bool OlderThan38(const PovRayVersion& version) {
  return !version.major || *version.major < 3 || (*version.major == 3 && version.minor.value_or(0) < 8);
}

}  // namespace

void ReadPovRayVersion(std::string_view said, PovRayVersion& version) {
  constexpr std::string_view kName = "POV-Ray ";
  for (size_t at = said.find(kName); at != std::string_view::npos; at = said.find(kName, at + 1)) {
    std::string_view rest = said.substr(at + kName.size());
    if (rest.starts_with('v')) rest.remove_prefix(1);
    const auto major = TakeLeadingNumber<int>(rest);
    if (!major || !rest.starts_with('.')) continue;
    rest.remove_prefix(1);
    const auto minor = TakeLeadingNumber<int>(rest);
    if (!minor) continue;
    version.major = major;
    version.minor = minor;
    return;
  }
}

PovRayVersion QueryPovRayVersion(const std::u16string& program, std::chrono::milliseconds time_limit) {
  PovRayVersion version;
  ChildProcess child({program, {u"--version"}, u""});
  version.program_missing = child.ProgramMissing();
  version.system_error = child.Error();
  if (version.system_error != 0) return version;
  // A program that never finishes its answer would hold the window (which asks on its
  // own thread) and the batch program for good: it is ended once the time is up.
  std::mutex mutex;
  std::condition_variable answered;
  bool done = false;
  std::thread limit;
  try {
    limit = std::thread([&] {
      std::unique_lock lock(mutex);
      if (!answered.wait_for(lock, time_limit, [&] { return done; })) child.End();
    });
  } catch (const std::system_error&) {
    // Without a thread to spare the answer is waited for as long as it takes.
  }
  std::string said;
  for (std::string piece = child.Read(); !piece.empty(); piece = child.Read()) said += piece;
  {
    std::lock_guard lock(mutex);
    done = true;
  }
  answered.notify_one();
  if (limit.joinable()) limit.join();
  child.Wait();
  ReadPovRayVersion(said, version);
  return version;
}

PovVersion SceneVersionFor(const PovRayVersion& version, std::optional<PovVersion> chosen) {
  if (chosen) return *chosen;
  return OlderThan38(version) ? PovVersion::Pov37 : PovVersion::Pov38;
}

bool SceneUnreadableBy(const PovRayVersion& version, PovVersion scene) {
  return scene == PovVersion::Pov38 && version.major && OlderThan38(version);
}
