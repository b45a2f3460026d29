#include "sim_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

bool SimProcess::start(const std::vector<std::string>& options) {
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<std::string> args{m_program};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int spawned = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (m_out >= 0) ::close(m_out);
    m_out = out[0];
    if (spawned != 0) {
        m_pid = -1;
        return false;
    }
    return !nextLine().empty();
}

std::string SimProcess::nextLine() {
    std::string line;
    char c;
    while (m_out >= 0 && ::read(m_out, &c, 1) == 1 && c != '\n') line.push_back(c);
    if (!line.empty()) m_path = line;
    return line;
}

void SimProcess::signal(int sig) {
    if (m_pid > 0) ::kill(m_pid, sig);
}

void SimProcess::kill(int sig) {
    if (m_pid <= 0) return;
    ::kill(m_pid, sig);
    int status = 0;
    waitpid(m_pid, &status, 0);
    m_pid = -1;
    if (m_out >= 0) ::close(m_out);
    m_out = -1;
}
