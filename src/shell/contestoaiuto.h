#pragma once
// The context object of the help/lookup component: the company-settings loader creates it,
// switches it on and hands it the menu client; the component reads it.
#include "rifoggetto.h"

class MenuClient;

class ContestoAiuto {
public:
    bool obAbilitato = false;
    RifOggetto<MenuClient> ogMenuClient;
};
