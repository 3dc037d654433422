// The check of a value typed into a cell of the picking grids, before the grid stores it
// (dbgLista_BeforeColUpdate): the rules of regoleCelle on the row as it is staged.
#include "controlloevamanu.h"

#include "apperror.h"
#include "connessionedb.h"
#include "contesto.h"
#include "dialoghi.h"
#include "gestrecordset.h"
#include "textcompare.h"
#include "utilgenerali.h"

namespace {

QString I(int16_t n) { return UtilGenerali::SqlValore(Variant(n), 2); }
QString L(int32_t n) { return UtilGenerali::SqlValore(Variant(n), 3); }
QString T(const QString &t) { return UtilGenerali::SqlValore(Variant(t), 8); }

// "Cons.Tot." of an order of the group, found by its key: the header grid does not move.
// An order that is not among the group's need not be delivered in full.
QString consTotale(int16_t anno, int32_t numRif)
{
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {},
                              QStringLiteral("Select OrdVenTest.ConsTotale FROM OrdVenEvaTest INNER JOIN OrdVenTest") +
                                  QStringLiteral(" On OrdVenEvaTest.Anno = OrdVenTest.Anno And OrdVenEvaTest.NumRif = OrdVenTest.NumRif") +
                                  QStringLiteral(" Where OrdVenEvaTest.Utente = ") + ControlloEvaManu::UtenteSql() +
                                  QStringLiteral(" And OrdVenEvaTest.Anno = ") + I(anno) + QStringLiteral(" And OrdVenEvaTest.NumRif = ") +
                                  L(numRif));
    return rs.NessunRecord(a) ? QStringLiteral("N") : rs.LeggiCampo(a, u"ConsTotale").text();
}

RigaCella rigaCella(const ChiaveRigaManuale &k)
{
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {},
                              QStringLiteral("Select Qta, QtaEvasa from OrdVenEvaDett Where Utente = ") + ControlloEvaManu::UtenteSql() +
                                  QStringLiteral(" And Anno = ") + I(k.anno) + QStringLiteral(" And NumRif = ") + L(k.numRif) +
                                  QStringLiteral(" And RigLiv = ") + L(k.riga) + QStringLiteral(" And Livello1 = ") + T(k.livello1) +
                                  QStringLiteral(" And Livello2 = ") + T(k.livello2));
    RigaCella r{.anno = k.anno, .numRif = k.numRif, .livello1 = k.livello1};
    if (!rs.NessunRecord(a)) {
        r.qta = UtilGenerali::ValoreNumerico(rs.ValoreCampo(a, u"Qta"), true);
        r.qtaEvasa = UtilGenerali::ValoreNumerico(rs.ValoreCampo(a, u"QtaEvasa"), true);
    }
    return r;
}

} // namespace

EsitoCella ControlloEvaManu::ControllaCella(GrigliaManuale griglia, const ChiaveRigaManuale &chiave, const QString &campo,
                                            const Variant &testo)
{
    EsitoCella e{.valore = testo};
    try {
        switch (griglia) {
        case GrigliaManuale::Testata:
            if (textEquals(campo, u"Selez") || textEquals(campo, u"EvadeTutto"))
                e = regoleCelle::Testata(campo, testo, consTotale(chiave.anno, chiave.numRif));
            break;
        case GrigliaManuale::Righe:
            if (textEquals(campo, u"QtaDaEva") || textEquals(campo, u"ASaldo"))
                e = regoleCelle::Righe(campo, testo, rigaCella(chiave),
                                       textEquals(campo, u"QtaDaEva") ? consTotale(chiave.anno, chiave.numRif) : QString());
            break;
        case GrigliaManuale::Spese:
            e = regoleCelle::Spese(campo, testo);
            break;
        }
    } catch (const AppError &err) {
        // A check that cannot be made refuses the value.
        MessaggioErrore(UtilGenerali::NumeroErrore(err), err.description(), QStringLiteral("BeforeColUpdate"));
        e = EsitoCella{.rifiutato = true};
        return e;
    }
    if (!e.messaggio.isEmpty()) {
        if (e.finestraDiSistema)
            dialoghi().MsgBox(e.messaggio, PulsantiMsg::Ok, IconaMsg::Nessuna, QString());
        else
            Messaggio(e.messaggio);
    }
    return e;
}

double ControlloEvaManu::ArrotondaQtaDaEva(const Variant &testo)
{
    return regoleCelle::ArrotondaQtaDaEva(testo);
}
