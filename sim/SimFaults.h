#pragma once

namespace quillosim {

// Faults the emulated keyboard can be told to show. Counts run from the moment the faults are
// set; everything else lasts until the faults are set again.
struct SimFaults {
    int failWriteAt = 0;         // the Nth write fails and the keyboard is unplugged (0: never)
    int failReadAt = 0;          // the Nth read fails and the keyboard is unplugged (0: never)
    bool noEndMarker = false;    // answers lack their end report
    bool garbage = false;        // answers are random reports that never end an exchange
    bool oversize = false;       // answers longer than a report, data counts past the payload,
                                 // more data than the areas hold, key records with 255 codes
    bool foreignRecords = false; // extra records for slots outside the table or of unknown
                                 // types, and reports of unknown kinds, before the real ones
    bool silent = false;         // nothing is ever answered
    bool versionBusy = false;    // version reads fail
    // The faults above sleep until this many reports have crossed the cable (either way);
    // the counts of failWriteAt and failReadAt start after them. Answers already waiting
    // when the faults wake are shaped then, so an exchange can go wrong half-way.
    int afterReports = 0;
};

} // namespace quillosim
