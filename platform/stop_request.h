#pragma once
// A process-wide request to stop, made when the user interrupts the program. Work
// under way finishes, but no file it writes replaces its target any more, so an
// interrupted job leaves neither a half-made file nor a temporary one behind.
namespace zentro {

// Safe to call from a signal handler.
void RequestStop() noexcept;
bool StopRequested() noexcept;
// For tests and for a caller that starts afresh after a stop.
void ClearStopRequest() noexcept;

}  // namespace zentro
