// The key of the data archive. The program stores it scrambled and builds the plain string only when the
// archive settings are made at start-up; the packer uses the same routine, so that both always agree.
#pragma once

// Each unit is the key's unit minus (its index + 1); a zero unit ends it.
extern const char16_t ScrambledGameKey[16];
// The plain key (15 units and a zero), rebuilt from the scrambled table on every call.
const char16_t* UnscrambleGameKey();
