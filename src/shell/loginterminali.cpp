#include "loginterminali.h"

#include "contesto.h"
#include "menuclient.h"
#include "parametri.h"
#include "utilgenerali.h"

namespace {

bool vuota(const QString &lista)
{
    return UtilGenerali::Vuoto(Variant(lista));
}

bool disabilitato(const QString &parametro)
{
    const QString terminale = ggMenuClient->NomeTerminale();
    const QString lista = LeggiParamPers(QStringLiteral("Ordini"), parametro, Variant(QString())).text();
    bool inAbilitati = false, inDisabilitati = false;
    return !AbilitaTerminale(terminale, QString(), lista, inAbilitati, inDisabilitati);
}

} // namespace

bool AbilitaTerminale(const QString &nome, const QString &listaAbilitati, const QString &listaDisabilitati,
                      bool &inAbilitati, bool &inDisabilitati)
{
    bool perDisabilitati = true;
    bool perAbilitati = true;
    if (vuota(listaDisabilitati)) {
        inDisabilitati = false;
    } else if (UtilGenerali::InLista(nome, listaDisabilitati, QStringLiteral(";"), 1)) {
        perDisabilitati = false;
        inDisabilitati = true;
    }
    if (vuota(listaAbilitati)) {
        inAbilitati = false;
    } else if (UtilGenerali::InLista(nome, listaAbilitati, QStringLiteral(";"), 1)) {
        inAbilitati = true;
    } else {
        perAbilitati = false;
    }
    return perDisabilitati && perAbilitati;
}

void LeggiRestrizioniTerminale()
{
    gbDisabTermPrz = disabilitato(QStringLiteral("DisabTermPrz"));
    gbDisabTermVisPrz = disabilitato(QStringLiteral("DisabTermVisPrz"));
}
