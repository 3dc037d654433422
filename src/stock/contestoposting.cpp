#include "contestoposting.h"

QString msUtilMovim;

AvanzamentoElab &mgAvanzamento()
{
    static AvanzamentoElab avanzamento;
    return avanzamento;
}

void EsitoPosting::aggiungi(const EsitoPosting &altro)
{
    if (numero == 0 && altro.numero != 0) {
        numero = altro.numero;
        descrizione = altro.descrizione;
    }
    righeNonEseguite += altro.righeNonEseguite;
}
