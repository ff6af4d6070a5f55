// Ctrl-C (and a polite kill) as a request for the run to stop at its next
// row. Thread rule: install from the main thread; the flag may be read from
// any thread.
#pragma once

namespace marksend::cli {

// Catches SIGINT and SIGTERM once each; a second one ends the program at once.
void CatchInterrupts();

// Whether an interrupt has arrived since CatchInterrupts.
bool InterruptRequested();

}  // namespace marksend::cli
