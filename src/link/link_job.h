#pragma once

// The jobs the supervisor runs between two steady iterations. The numbers
// travel as the argument of the ValuesReplaced link event.
enum class LinkJob {
    SaveToFile = 1,
    SendFile = 2,
    Recall = 4,
    UpgradeDsp1 = 6,
    UpgradePanel = 7,
    UpgradeDsp4 = 8,
    UpgradeDsp5 = 10,
    UpgradeComm = 11,
    ReadName = 13,
    SaveName = 14,
};
