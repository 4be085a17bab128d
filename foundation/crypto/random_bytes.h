// Random bytes from the C run-time generator, for initialisation blocks.
#pragma once

// Fills count bytes, each the low 8 bits of one rand() call. The first call on
// a thread seeds that thread's generator with the current time in seconds, so
// the bytes are predictable from the seeding time: good for initialisation
// vectors, not for keys.
void RandomBytes(unsigned char* out, unsigned int count);
