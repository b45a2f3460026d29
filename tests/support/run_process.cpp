#include "run_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

int temporaryFile(std::string& path) {
    char name[] = "/tmp/qx7-run-XXXXXX";
    int fd = mkstemp(name);
    path = name;
    return fd;
}

}  // namespace

ProcessResult runProcess(const std::vector<std::string>& argv, const std::string& folder) {
    ProcessResult result;
    std::string outPath, errPath;
    int out = temporaryFile(outPath);
    int err = temporaryFile(errPath);
    if (out < 0 || err < 0) return result;

    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    pid_t pid = fork();
    if (pid == 0) {
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        int devNull = open("/dev/null", O_RDONLY);
        if (devNull >= 0) dup2(devNull, STDIN_FILENO);
        if (!folder.empty() && chdir(folder.c_str()) != 0) _exit(127);
        execv(args[0], args.data());
        _exit(127);
    }
    close(out);
    close(err);
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    result.out = slurp(outPath);
    result.err = slurp(errPath);
    std::remove(outPath.c_str());
    std::remove(errPath.c_str());
    return result;
}
