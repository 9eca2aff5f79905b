#pragma once
// Stands in front of plain `new`: makes a chosen one throw std::bad_alloc, to prove that
// code frees what it built when an allocation fails halfway (the sanitizer build's leak
// check does the proving), and counts the bytes asked for, to hold code to what it may take.
#include <cstddef>

namespace zentro::test {

// The nth plain `new` from now on (1 = the next) throws; 0 disarms.
void FailNthNew(unsigned nth);

// Bytes asked of plain `new` (and `new[]`) since the program started.
std::size_t NewBytesAsked();

// Arms FailNthNew for one scope and disarms it on the way out, whether or not it fired.
class ScopedFailingNew {
public:
    explicit ScopedFailingNew(unsigned nth) { FailNthNew(nth); }
    ~ScopedFailingNew() { FailNthNew(0); }
    ScopedFailingNew(const ScopedFailingNew&) = delete;
    ScopedFailingNew& operator=(const ScopedFailingNew&) = delete;
};

}  // namespace zentro::test
