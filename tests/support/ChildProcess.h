#pragma once

#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <cstdio>
#include <functional>
#include <string>

#include <gtest/gtest.h>

namespace dyno::test {

// Exit code of a child whose set-up is not possible here; the test skips.
inline constexpr int ChildCannotSetUp = 77;

// Runs body in a forked child after setUp (which returns false when the
// machine does not allow it) and gives the child's exit code: 0 when body
// raised no test failure, 1 when it did (its failures are printed by the
// child), ChildCannotSetUp, or -1 when the child died.
inline int RunInChild(const std::function<bool()>& setUp, const std::function<void()>& body) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    if (!setUp()) _exit(ChildCannotSetUp);
    body();
    std::fflush(nullptr);
    _exit(::testing::Test::HasFailure() ? 1 : 0);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// Runs body as an ordinary user, whom permission bits stop: as it is when
// the tests run as root, in a child that takes the user "nobody" and owns
// folder and everything in it. Returns false, after reporting why, when body
// failed.
inline bool RunAsOrdinaryUser(const std::filesystem::path& folder, const std::function<void()>& body) {
  if (geteuid() != 0) {
    body();
    return !::testing::Test::HasFailure();
  }
  constexpr uid_t nobody = 65534;
  std::error_code ignored;
  if (chown(folder.c_str(), nobody, nobody) != 0) ADD_FAILURE() << "cannot hand " << folder << " over";
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ignored)) {
    if (lchown(entry.path().c_str(), nobody, nobody) != 0) ADD_FAILURE() << "cannot hand " << entry.path() << " over";
  }
  const int code = RunInChild([] { return setgroups(0, nullptr) == 0 && setgid(nobody) == 0 && setuid(nobody) == 0; },
                              body);
  EXPECT_EQ(code, 0) << "the checks made as an ordinary user failed (see above)";
  return code == 0;
}

// Runs body in a child with a mount namespace of its own, in which a tmpfs
// of the given size (for example "64k") is mounted on folder, read-only when
// asked (after prepare has filled it). Gives RunInChild's code; the mount
// goes away with the child.
inline int RunOnSmallFileSystem(const std::filesystem::path& folder, const std::string& size, bool readOnly,
                                const std::function<void()>& prepare, const std::function<void()>& body) {
  return RunInChild(
      [&] {
        if (unshare(CLONE_NEWNS) != 0) return false;
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
        const std::string options = "size=" + size;
        if (mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0) return false;
        prepare();
        return !readOnly || mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
      },
      body);
}

}  // namespace dyno::test
