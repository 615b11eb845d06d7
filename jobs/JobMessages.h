#pragma once

#include "jobs/DeviceTransfer.h"

#include <string>

// What the windows say about device jobs, in the program's language (UTF-8).
namespace JobMessages {

// A job that ended without the keyboard answering as expected, or refused before sending:
// the failure of writing (jobs 1 and 4) or of reading (the others), or the key that does
// not fit the keyboard. A key write that stopped half-way says what the keyboard holds.
std::string failure(int job, const TransferResult &result, bool chinese);

// The progress dialog's line while it waits for an earlier exchange or download to end.
std::string finishingEarlierExchange(bool chinese);
std::string finishingFirmwareDownload(bool chinese);

// Quitting while a firmware download runs.
std::string quitWaitsForDownload(bool chinese);
// The keyboard went away with changes not written to it.
std::string offerSaveAfterUnplug(bool chinese);
// Get Version while this dialog's own download runs.
std::string versionWaitsForDownload(bool chinese);

} // namespace JobMessages
