#pragma once
// Workstations that may neither change nor see prices: a workstation is allowed unless the
// disabled list names it, and, when the enabled list is not empty, only if that list names it.
// Lists are workstation names separated by ";" (letter case and blanks around names ignored).
#include <QString>

// True when the workstation is allowed. The in-list flags are set to True when the name is in
// that list, to False when the list is empty, and left as the caller set them otherwise.
bool AbilitaTerminale(const QString &nome, const QString &listaAbilitati, const QString &listaDisabilitati,
                      bool &inAbilitati, bool &inDisabilitati);

// The two restrictions of this workstation (personal "Ordini"/"DisabTermPrz" and
// "DisabTermVisPrz") into gbDisabTermPrz and gbDisabTermVisPrz.
void LeggiRestrizioniTerminale();
