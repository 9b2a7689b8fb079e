#include "support/fake_clock.h"

namespace zembrock::test {

void FakeEventPump::PumpOnce() {
    ++passes;
    if (onPass) {
        onPass();
    }
}

}  // namespace zembrock::test
