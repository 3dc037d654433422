#pragma once
// The notice sound of the message dialog, as the setting gsBeepCome ("Parametri
// Generali"/"BeepCome") asks it: empty, the platform's beep; "frequency[;duration]" with a
// positive frequency, a tone (20 ms when no duration is given); "-frequency;duration" (or 0),
// a generated tone played from memory; anything else, a WAV file played in the background (a
// Windows path mapped as every suite path is).
// Durations are kept within 0..10000 ms. Errors (a duration that is no number) reach the caller.
void SuonoAvviso();
