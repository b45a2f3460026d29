// Holds the single-instance lock like a running copy of the program would:
// prints the lock's state, then keeps it until its standard input closes.
// Usage: lock_holder FOLDER NAME
#include <cstdio>
#include <iostream>
#include <string>

#include "platform/instance_lock.h"

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    InstanceLock::overrideFolder(argv[1]);
    InstanceLock lock(argv[2]);
    std::printf("%d\n", static_cast<int>(lock.state()));
    std::fflush(stdout);
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    return 0;
}
