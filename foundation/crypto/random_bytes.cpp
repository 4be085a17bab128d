#include "foundation/crypto/random_bytes.h"

#include <cstdlib>
#include <ctime>

void RandomBytes(unsigned char* out, unsigned int count)
{
    // The run-time keeps one generator per thread, starting at seed 1.
    static thread_local bool seeded = false;
    if (!seeded) {
        srand(static_cast<unsigned int>(time(nullptr)));
        seeded = true;
    }
    for (unsigned int i = 0; i < count; ++i)
        out[i] = static_cast<unsigned char>(rand() & 0xff);
}
