#pragma once

namespace quillosim {

// Counts of what the keyboard saw, for tests and demos.
struct SimStats {
    int reportsReceived = 0; // host reports taken in
    int reportsSent = 0;     // reports the host read
    int writesRefused = 0;   // writes of the wrong size, never taken in
    int ignoredReports = 0;  // reports that meant nothing in the keyboard's state
    int recordsStored = 0;   // key definition records stored
    int recordsRejected
        = 0; // key records for slots outside the table, of unknown types, or cut short
    int lightBytesDropped = 0; // light data past the area or past a report's payload
    int answersDiscarded = 0;  // answers never read because a new command came
    int firmwareRecords = 0;   // firmware records taken in, sound or not
};

} // namespace quillosim
