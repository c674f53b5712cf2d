#pragma once

#include <string>
#include <vector>

// Money changes and sign-ins of many connections at once over the wire, against each
// portal stub program of `stubs` in turn at each count: p50, p99, changes a second and
// the CPU time of the stub's processes per change at 1, 10, 50 and 200 connections, and
// the lines of what the first stub must reach, against each other one and on its own.
// False when a run failed.
bool runLedgerWireBench(const std::vector<std::string>& stubs);
