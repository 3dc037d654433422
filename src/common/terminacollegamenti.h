#pragma once
// After a fatal start-up error: when the flag is set, the company database objects and the
// menu-server link are released (ChiudiCollegamenti), every error ignored.
void TerminaCollegamenti(bool chiudi);
