// The routines of one play frame (scene 100) in their order, for the headless runner and the benchmarks.
#pragma once

void RunPlayRoutines();
