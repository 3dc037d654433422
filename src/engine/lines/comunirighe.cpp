#include "comunirighe.h"

#include "apperror.h"
#include "campiriga.h"
#include "confrontaarrotondati.h"
#include "connessionedb.h"
#include "contesto.h"
#include "impegni.h"
#include "scevaordven.h"
#include "textcompare.h"
#include "transazioni.h"
#include "ultimerighe.h"
#include "utilgenerali.h"

#include <QStringList>
#include <limits>

double Numero(const GestRecordset &recs, const QString &alias, QStringView campo)
{
    return UtilGenerali::ValoreNumerico(recs.LeggiCampo(alias, campo));
}

QString Testo(const GestRecordset &recs, const QString &alias, QStringView campo)
{
    return recs.LeggiCampo(alias, campo).text();
}

bool QtaZero(const Variant &qta)
{
    return ConfrontaArrotondati(Variant(UtilGenerali::ValoreNumerico(qta)), Variant(0.0), -8) == 0;
}

bool Flag(const GestRecordset &recs, const QString &alias, QStringView campo, QStringView flag)
{
    return textEquals(Testo(recs, alias, campo), flag);
}

bool LivelliGestiti(const scEvaOrdVen &eva)
{
    return textEquals(eva.msGesTaglie, u"S");
}

QString SqlRigheControllo(scEvaOrdVen &eva, bool pbRipri)
{
    const QString sql = eva.PrepSqlDett(0, pbRipri);
    const qsizetype da = sql.indexOf(QLatin1String(" from"), 0, Qt::CaseInsensitive);
    if (da < 0 || !sql.startsWith(QLatin1String("Select "), Qt::CaseInsensitive))
        return sql;
    constexpr const char *kNumeri[] = {"Qta", "QtaEvasa", "ValUnitario", "ValTotale", "ValLire", "ValEuro"};
    QStringList campi;
    for (const char *c : {"RigLiv", "TipoRiga", "RigDet", "Articolo", "Iva", "ScontoTot"})
        campi << QStringLiteral("OrdVenDett.") + QLatin1String(c);
    for (const char *c : kNumeri)
        campi << QStringLiteral("OrdVenDett.") + QLatin1String(c);
    if (LivelliGestiti(eva)) {
        for (const char *c : {"Livello1", "Livello2", "StatoRiga"})
            campi << QStringLiteral("OrdVenLiv.") + QLatin1String(c);
        for (const char *c : kNumeri)
            campi << QStringLiteral("OrdVenLiv.") + QLatin1String(c);
    }
    campi << QStringLiteral("TabIva.Iva");
    if (eva.obEvasManule)
        campi << QStringLiteral("OrdVenEvaDett.QtaDaEva") << QStringLiteral("OrdVenEvaDett.ValUnitario");
    return QStringLiteral("Select ") + campi.join(QStringLiteral(", ")) + sql.mid(da);
}

QString RigheDaControllare(scEvaOrdVen &eva, bool pbRipri)
{
    GestRecordset &recs = eva.mgRecs();
    const QString sql = SqlRigheControllo(eva, pbRipri);
    const QString &alias = alias::kRigheControllo;
    const bool lette = eva.msRigheControllo == sql && recs.Aperto(alias);
    eva.msRigheControllo.clear();
    if (!lette)
        return recs.Apri(*ggDbAzienda, gsNomeConn, alias, sql, false, dbOpenSnapshot);
    if (!recs.NessunRecord(alias))
        recs.MoveFirst(alias);
    return alias;
}

bool OrdineAperto(const scEvaOrdVen &eva)
{
    return textEquals(eva.msOrdAperto, u"S");
}

bool RigaArticolo(const QString &tipoRiga)
{
    return textEquals(tipoRiga, u"A") || textEquals(tipoRiga, u"M");
}

bool RigaConLivelli(scEvaOrdVen &eva, const QString &cursore)
{
    return LivelliGestiti(eva) && !Testo(eva.mgRecs(), cursore, u"OrdVenLiv.Livello1").isEmpty();
}

namespace {

// Whether every cursor row of the current line, from the current one, meets `condizione`.
bool OgniRigaDellaLinea(GestRecordset &recs, const QString &cursore, const std::function<bool()> &condizione)
{
    bool tutte = true;
    RigheDellaRiga(recs, cursore, [&] {
        tutte = condizione();
        return tutte;
    });
    return tutte;
}

// What is left of the line's or level's ordered quantity ("OrdVenDett" or "OrdVenLiv") is at
// or below zero. A missing ordered quantity says nothing of what is left: the order's check
// refuses it.
bool NienteRimasto(const GestRecordset &recs, const QString &cursore, const QString &tabella)
{
    const QString qta = tabella + QStringLiteral(".Qta");
    if (recs.ValoreCampo(cursore, qta).isBlank())
        return false;
    const double residuo = Numero(recs, cursore, qta) - Numero(recs, cursore, QString(tabella + QStringLiteral(".QtaEvasa")));
    return ConfrontaArrotondati(Variant(residuo), Variant(0.0), -8) <= 0;
}

} // namespace

void RigheDellaRiga(GestRecordset &recs, const QString &cursore, const std::function<bool()> &passo)
{
    const int32_t posizione = recs.AbsolutePosition(cursore);
    const Variant chiave = recs.LeggiCampo(cursore, u"OrdVenDett.RigLiv");
    for (; !recs.Eof(cursore) && recs.LeggiCampo(cursore, u"OrdVenDett.RigLiv").sameAs(chiave); recs.MoveNext(cursore))
        if (!passo())
            break;
    recs.VaiAPosizione(cursore, posizione);
}

bool LivelloChiuso(const scEvaOrdVen &eva, const GestRecordset &recs, const QString &cursore)
{
    return !eva.obEvasManule && Flag(recs, cursore, u"OrdVenLiv.StatoRiga", u"E");
}

bool NienteDaConsegnare(scEvaOrdVen &eva, const QString &cursore)
{
    GestRecordset &recs = eva.mgRecs();
    if (eva.obEvasManule || !RigaArticolo(Testo(recs, cursore, u"OrdVenDett.TipoRiga")))
        return false;
    if (!RigaConLivelli(eva, cursore))
        return NienteRimasto(recs, cursore, QStringLiteral("OrdVenDett"));
    return OgniRigaDellaLinea(recs, cursore, [&] {
        return LivelloChiuso(eva, recs, cursore) || NienteRimasto(recs, cursore, QStringLiteral("OrdVenLiv"));
    });
}

bool SoloChiusura(scEvaOrdVen &eva, const QString &cursore)
{
    if (!eva.obEvasManule)
        return NienteDaConsegnare(eva, cursore);
    GestRecordset &recs = eva.mgRecs();
    if (Flag(recs, cursore, u"OrdVenDett.TipoRiga", u"D"))
        return false;
    return OgniRigaDellaLinea(recs, cursore, [&] {
        return Flag(recs, cursore, u"OrdVenEvaDett.ASaldo", u"S") &&
               QtaZero(recs.ValoreCampo(cursore, u"OrdVenEvaDett.QtaDaEva"));
    });
}

QString StatoEvasione(double qtaEvasa, double qta, bool aSaldo)
{
    if (aSaldo || ConfrontaArrotondati(Variant(qtaEvasa), Variant(qta), -8) >= 0)
        return QStringLiteral("E");
    return QStringLiteral("P");
}

double ScriviEvaso(GestRecordset &recs, const QString &alias, const QString &tabella, const QString &cursore,
                   double qtaPresa)
{
    const double prima = Numero(recs, alias, QString(tabella + QStringLiteral(".QtaEvasa")));
    recs.Edit(alias);
    recs.ScriviCampo(alias, u"QtaEvasa", Variant(prima + qtaPresa));
    recs.ScriviCampo(alias, u"StatoRiga",
                     Variant(StatoEvasione(Numero(recs, alias, QString(tabella + QStringLiteral(".QtaEvasa"))),
                                           Numero(recs, alias, QString(tabella + QStringLiteral(".Qta"))),
                                           Flag(recs, cursore, u"OrdVenEvaDett.ASaldo", u"S"))));
    return prima;
}

ImpegnoDaRilasciare ImpegnoDelCursore(const GestRecordset &recs, const QString &cursore, bool livello)
{
    const QString t = livello ? QStringLiteral("OrdVenLiv.") : QStringLiteral("OrdVenDett.");
    ImpegnoDaRilasciare i;
    if (livello) {
        i.livello1 = Testo(recs, cursore, u"OrdVenLiv.Livello1");
        i.livello2 = Testo(recs, cursore, u"OrdVenLiv.Livello2");
    }
    i.qta = recs.LeggiCampo(cursore, QString(t + QStringLiteral("Qta")));
    i.valEuro = recs.LeggiCampo(cursore, QString(t + QStringLiteral("ValEuro")));
    i.valLire = recs.LeggiCampo(cursore, QString(t + QStringLiteral("ValLire")));
    return i;
}

namespace {

// The order level of the cursor's row, updatable. The order's levels are read together when its
// first level needs them (the order is locked by the run, and each level is changed only while
// its line is converted), and each level is found among them by its key; they are read again
// after a rollback, which may have undone what the set holds. A level not among them, or one of
// a line whose levels a statement has changed since, is read alone.
QString livelloOrdine(scEvaOrdVen &eva, ConversioneRighe &c, const QString &cursore)
{
    GestRecordset &recs = eva.mgRecs();
    const int32_t rigLiv = recs.LeggiCampo(cursore, u"OrdVenLiv.RigLiv").toLong();
    const uint64_t annullamenti = ggDbAzienda->Annullamenti(gsNomeConn);
    const bool letti = c.livelliOrdineLetti && c.annullamentiLivelliOrdine == annullamenti &&
                       recs.Aperto(alias::kLivelliOrdine);
    if (letti && c.righeLivelliRiscritte.contains(rigLiv))
        return recs.Apri(*ggDbAzienda, gsNomeConn, alias::kOrdLiv, eva.PrepSqlRilettOrdDettLiv(cursore), false,
                         dbOpenDynaset);
    if (!letti) {
        const QString sql = QStringLiteral("SELECT OrdVenLiv.* From OrdVenLiv WHERE OrdVenLiv.Anno=") +
                            UtilGenerali::SqlValore(recs.LeggiCampo(cursore, u"OrdVenDett.Anno"), 2) +
                            QStringLiteral(" AND OrdVenLiv.NumRif=") +
                            UtilGenerali::SqlValore(recs.LeggiCampo(cursore, u"OrdVenDett.NumRif"), 3);
        recs.Apri(*ggDbAzienda, gsNomeConn, alias::kLivelliOrdine, sql, false, dbOpenDynaset);
        c.livelliOrdineLetti = true;
        c.annullamentiLivelliOrdine = annullamenti;
        c.righeLivelliRiscritte.clear();
    }
    const QString livello1 = Testo(recs, cursore, u"OrdVenLiv.Livello1");
    const QString livello2 = Testo(recs, cursore, u"OrdVenLiv.Livello2");
    const QString &tutti = alias::kLivelliOrdine;
    for (recs.MoveFirst(tutti); !recs.Eof(tutti); recs.MoveNext(tutti)) {
        if (recs.LeggiCampo(tutti, u"RigLiv").toLong() == rigLiv && Testo(recs, tutti, u"Livello1") == livello1 &&
            Testo(recs, tutti, u"Livello2") == livello2)
            return tutti;
    }
    return recs.Apri(*ggDbAzienda, gsNomeConn, alias::kOrdLiv, eva.PrepSqlRilettOrdDettLiv(cursore), false,
                     dbOpenDynaset);
}

} // namespace

void AggiornaLivelloOrdine(scEvaOrdVen &eva, ConversioneRighe &c, const QString &cursore, double qtaPresa)
{
    GestRecordset &recs = eva.mgRecs();
    const QString liv = livelloOrdine(eva, c, cursore);
    const double prima = ScriviEvaso(recs, liv, QStringLiteral("OrdVenLiv"), cursore, qtaPresa);
    recs.ScriviCampo(liv, u"FlagStato", Variant(QStringLiteral("D")));
    recs.Update(liv);
    if (liv == alias::kOrdLiv)
        recs.Chiudi(liv);

    // The order level's own values: they are those of its whole ordered quantity, of which the
    // release takes the share delivered.
    ImpegnoDaRilasciare i = ImpegnoDelCursore(recs, cursore, true);
    i.qtaEvasa = prima + qtaPresa;
    i.qtaEvasaPrec = prima;
    i.qtaMov = qtaPresa;
    RilasciaImpegni(eva, cursore, i);
}

void AzzeraMarcatoriRiga(scEvaOrdVen &eva, ConversioneRighe &c, const QString &cursore, const QString &ordDett)
{
    GestRecordset &recs = eva.mgRecs();
    // The held levels of the line no longer show their marker: they are read again if needed.
    const int32_t rigLiv = recs.LeggiCampo(cursore, u"OrdVenLiv.RigLiv").toLong();
    if (!c.righeLivelliRiscritte.contains(rigLiv))
        c.righeLivelliRiscritte.push_back(rigLiv);
    ggDbAzienda->Esegui(gsNomeConn,
                        QStringLiteral("update OrdVenLiv") + QStringLiteral(" Set OrdVenLiv.FlagStato = ") +
                            UtilGenerali::SqlValore(Variant(QStringLiteral("0")), 8) + QStringLiteral(" WHERE") +
                            QStringLiteral(" OrdVenLiv.Anno=") +
                            UtilGenerali::SqlValore(recs.LeggiCampo(cursore, u"OrdVenDett.Anno"), 2) +
                            QStringLiteral(" AND OrdVenLiv.NumRif=") +
                            UtilGenerali::SqlValore(recs.LeggiCampo(cursore, u"OrdVenDett.NumRif"), 3) +
                            QStringLiteral(" AND OrdVenLiv.RigLiv=") +
                            UtilGenerali::SqlValore(recs.LeggiCampo(cursore, u"OrdVenLiv.RigLiv"), 3));
    recs.Edit(ordDett);
    recs.ScriviCampo(ordDett, u"FlagStato", Variant(QStringLiteral("0")));
    recs.Update(ordDett);
}

void PerOgniLivello(GestRecordset &recs, const QString &cursore, const std::function<void()> &passo)
{
    const Variant chiave = recs.LeggiCampo(cursore, u"OrdVenLiv.RigLiv");
    do {
        passo();
        recs.MoveNext(cursore);
    } while (recs.LeggiCampo(cursore, u"OrdVenLiv.RigLiv").sameAs(chiave) && !recs.Eof(cursore));
    if (recs.Eof(cursore))
        recs.MoveLast(cursore);
    else
        recs.MovePrevious(cursore);
}

void NumeraNuovaRiga(scEvaOrdVen &eva, ConversioneRighe &c, int16_t &piRigheCreate)
{
    int32_t rigDet = 0, rigLiv = 0;
    // A resumption finds the lines an interrupted run left: it reads them every time.
    if (c.pbRipri)
        DimenticaUltimeRighe(eva, c.numRifDoc);
    CercaUltRigDetLiv(eva, rigDet, rigLiv, c.numRifDoc);
    c.ultimoRigDet = Successivo(rigDet);
    c.ultimoRigLiv = Successivo(rigLiv);
    Incrementa(piRigheCreate);
}

void RilasciaImpegni(scEvaOrdVen &eva, const QString &cursore, const ImpegnoDaRilasciare &i)
{
    GestRecordset &recs = eva.mgRecs();
    const QString aSaldo = i.aSaldo.isEmpty() ? Testo(recs, cursore, u"OrdVenEvaDett.ASaldo") : i.aSaldo;
    const double rilascio =
        textEquals(aSaldo, u"S") ? UtilGenerali::ValoreNumerico(i.qta) - i.qtaEvasaPrec : i.qtaMov;
    if (ConfrontaArrotondati(Variant(rilascio), Variant(0.0), -8) <= 0)
        return;
    AggiornaImpegni(true, recs.LeggiCampo(cursore, u"OrdVenDett.Anno").toInteger(),
                    Testo(recs, eva.msAliasOrd, u"OrdVenTest.MagazzProv"), Testo(recs, cursore, u"OrdVenDett.Articolo"),
                    i.livello1, i.livello2, i.qta, Variant(i.qtaEvasa), Variant(i.qtaEvasaPrec), Variant(i.qtaMov),
                    i.valEuro, i.valLire, aSaldo, false,
                    Testo(recs, cursore, u"TabIva.TipoIva"), recs.LeggiCampo(cursore, u"TabIva.Aliquota"),
                    Testo(recs, eva.msAliasOrd, u"OrdVenTest.PrezziIvati"), Testo(recs, cursore, u"Articoli.ArtMag"),
                    eva.msCarScar, eva.msCausaleDiBa, eva.msScaricoComp, false, false);
}

void Incrementa(int16_t &contatore)
{
    if (contatore == std::numeric_limits<int16_t>::max())
        throw AppError::standard(6);
    ++contatore;
}

int32_t Successivo(int32_t numero)
{
    if (numero == std::numeric_limits<int32_t>::max())
        throw AppError::standard(6);
    return numero + 1;
}

void SegnaRigheOrdine(scEvaOrdVen &eva)
{
    IniziaTransazione();
    try {
        ggDbAzienda->Esegui(gsNomeConn, eva.PrepSqlDett(1, false));
        if (LivelliGestiti(eva))
            ggDbAzienda->Esegui(gsNomeConn, eva.PrepSqlDett(2, false));
    } catch (...) {
        AnnullaTransazione();
        throw;
    }
    ConfermaTransazione();
}
