#include "platform/sys/Processes.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace sys {

bool TProcessLauncher::StartDetached(const std::string& program, const std::vector<std::string>& args)
{
    if (program.empty() || ::access(program.c_str(), X_OK) != 0) return false;
    std::vector<std::string> argvText;
    argvText.push_back(program);
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argvText) argv.push_back(a.data());
    argv.push_back(nullptr);

    // Fork twice so that the started program is adopted by init and never
    // becomes a zombie of ours.
    pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) {
        ::setsid();
        pid_t grandchild = ::fork();
        if (grandchild == 0) {
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        ::_exit(grandchild < 0 ? 1 : 0);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace sys
