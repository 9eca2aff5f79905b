#pragma once
// Makes a chosen `new` throw std::bad_alloc, to prove that code frees what it built
// when an allocation fails halfway (the sanitizer build's leak check does the proving).

namespace zentro::test {

// The nth plain `new` from now on (1 = the next) throws; 0 disarms.
void FailNthNew(unsigned nth);

// Arms FailNthNew for one scope and disarms it on the way out, whether or not it fired.
class ScopedFailingNew {
public:
    explicit ScopedFailingNew(unsigned nth) { FailNthNew(nth); }
    ~ScopedFailingNew() { FailNthNew(0); }
    ScopedFailingNew(const ScopedFailingNew&) = delete;
    ScopedFailingNew& operator=(const ScopedFailingNew&) = delete;
};

}  // namespace zentro::test
