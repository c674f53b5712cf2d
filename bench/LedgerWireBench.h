#pragma once

#include <string>

// Money changes and sign-ins of many connections at once over the wire, against the
// portal stub at `stub` (a program path): p50, p99 and throughput at 1, 10, 50 and 200
// connections, and the line of what the stub must reach. False when a run failed.
bool runLedgerWireBench(const std::string& stub);
