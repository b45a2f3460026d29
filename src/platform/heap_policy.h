#pragma once

// How the program's heap treats large blocks.
class HeapPolicy {
public:
    // Large blocks (the window's pictures, which come and go with the pages)
    // are mapped on their own, so that each one freed goes back to the system
    // at once instead of staying resident in the heap. Called first in main.
    static void returnLargeBlocks();
};
