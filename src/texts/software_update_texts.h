#pragma once

#include <span>

#include "texts/text_triple.h"

// Texts of the software update worker.
namespace updatetext {
extern const TextTriple Tip;
extern const TextTriple UpdateQuestion;
extern const TextTriple DownloadProgress;
// This platform's own: a download is run only when it verifies.
extern const TextTriple NotVerified;
extern const TextTriple UsePackageManager;
extern const TextTriple CannotInstall;
extern const TextTriple UpdatesOff;
extern const TextTriple OtherPlatform;
extern const TextTriple NotNewer;
extern const TextTriple NotStarted;

// Every text of this table, for checks that walk it.
std::span<const TextTriple* const> all();
}  // namespace updatetext
