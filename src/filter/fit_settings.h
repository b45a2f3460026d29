#pragma once

// What a fit of a page's bands may do.
struct FitSettings {
    double low = 20.0;  // Hz, the range the fit looks at
    double high = 10000.0;
    int smoothing = 12;     // 1/N octave power smoothing of the measurement; 0 none
    double maxBoost = 6.0;  // dB, for each band and for the bands' sum anywhere
    int bands = 8;
    double gainMinimum = -24.0;  // dB, a band's range
    double gainMaximum = 12.0;
    bool shelves = true;  // whether the page's bands can be shelves
};
