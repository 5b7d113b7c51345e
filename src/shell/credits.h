// Staff credits.
#pragma once

extern float CreditsScrollY;
extern int CreditsMusicVolume;
