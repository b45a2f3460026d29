#pragma once

// The system page's maximum settings of the master volumes, in per cent.
// They start at 100 and follow what the device reports.
struct MasterLimits {
    int music = 100;
    int mic = 100;
    int micB = 100;
    int effect = 100;
};
