#include "quobelctl_fixture.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <memory>

namespace quobel::test {

CtlRun RunCommand(const std::string& command) {
    CtlRun run;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe) return run;
    std::array<char, 4096> buf;
    std::size_t n = 0;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe.get())) > 0) run.out.append(buf.data(), n);
    const int status = ::pclose(pipe.release());
    if (WIFEXITED(status)) run.exit_code = WEXITSTATUS(status);
    return run;
}

CtlRun RunQuobelctl(const TempDir& home, const std::string& args) {
    return RunCommand("cd '" QUOBEL_SOURCE_DIR "' && env HOME='" + home.path() + "' XDG_DATA_HOME='" +
                      (home / "share") + "' XDG_DESKTOP_DIR='" + (home / "Desktop") + "' '" QUOBEL_PROGRAM_DIR
                      "/quobelctl' " + args + " 2>/dev/null");
}

std::string ConfigFixture(const std::string& name) { return "'" QUOBEL_TEST_DATA_DIR "/config/" + name + "'"; }

}  // namespace quobel::test
