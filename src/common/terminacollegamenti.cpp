#include "terminacollegamenti.h"

#include "agganci.h"

void TerminaCollegamenti(bool chiudi)
{
    try {
        if (chiudi)
            ChiudiCollegamenti();
    } catch (...) {
    }
}
