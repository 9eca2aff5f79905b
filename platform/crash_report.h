#pragma once
// A program that dies of a fault says where, on standard error, before the
// system ends it: the exception, the address as module + offset, and the
// return addresses of the frames above it, so that a crash seen once in a log
// can be found in the unstripped program (addr2line). Windows only: elsewhere
// the sanitizers and core files tell more.

namespace zentro {

// Installs the report for the whole process; `program` starts each line.
void ReportCrashes(const char* program);

}  // namespace zentro
