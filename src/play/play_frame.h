// The routines of one play frame (scene 100) in their order: the main loop, the fades, the headless runner
// and the benchmarks all run this one list.
#pragma once

void RunPlayRoutines();
