// The resident memory of this process, from /proc/self/status (Linux), and
// the processor time it has used.
// Thread-safe.
#pragma once

namespace marksend::bench {

// Resident set size now, in KiB; 0 where the system does not tell.
long ResidentKib();
// The highest resident set size of the process so far, in KiB; 0 where unknown.
long PeakResidentKib();
// Processor seconds (user and system, all threads) the process has used so far.
double ProcessorSeconds();

}  // namespace marksend::bench
