#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// qx7-sim as a child process; its first line of output is the path of the
// terminal it serves the simulated device on.
class SimProcess {
public:
    explicit SimProcess(std::string program) : m_program(std::move(program)) {}
    ~SimProcess() { kill(9); }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Starts it with these options and waits for the terminal's path; false when it did not start.
    bool start(const std::vector<std::string>& options);
    // The next line the program prints (its terminal's path); empty at its end.
    std::string nextLine();
    void signal(int sig);
    // Sends sig and waits for the end.
    void kill(int sig);
    const std::string& path() const { return m_path; }

private:
    std::string m_program;
    pid_t m_pid = -1;
    int m_out = -1;
    std::string m_path;
};
