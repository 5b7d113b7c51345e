// The view moves a whole screen at a time, 8 pixels per frame, when the player leaves it.
#pragma once

// The scroll rule, run by the control step after the player has moved, every frame in every phase.
void ScrollView();
