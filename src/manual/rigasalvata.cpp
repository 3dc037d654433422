// What the picking form does when a grid has written a changed row (dbgLista_AfterUpdate),
// and the click on a flag cell, which writes the flag and then does the same.
#include "controlloevamanu.h"

#include "apperror.h"
#include "clictoggle.h"
#include "connessionedb.h"
#include "contesto.h"
#include "dialoghi.h"
#include "gestrecordset.h"
#include "presentazione.h"
#include "riepiloghilivelli.h"
#include "scevaordven.h"
#include "textcompare.h"
#include "utilgenerali.h"
#include "vistaevamanu.h"

namespace {

QString I(int16_t n) { return UtilGenerali::SqlValore(Variant(n), 2); }
QString L(int32_t n) { return UtilGenerali::SqlValore(Variant(n), 3); }
QString T(const QString &t) { return UtilGenerali::SqlValore(Variant(t), 8); }

// The header row of the order as the grid shows it (staging marks joined with the order).
struct Testata {
    bool trovata = false;
    QString selez, evadeTutto, consTotale;
    Variant moneta, dataCons;
};

Testata leggiTestata(int16_t anno, int32_t numRif)
{
    GestRecordset rs;
    const QString a = rs.Apri(
        *ggDbAzienda, gsNomeConn, {},
        QStringLiteral("Select OrdVenEvaTest.Selez, OrdVenEvaTest.EvadeTutto, OrdVenTest.ConsTotale, OrdVenTest.Moneta,"
                       " OrdVenTest.DataCons FROM OrdVenEvaTest INNER JOIN OrdVenTest On OrdVenEvaTest.Anno = OrdVenTest.Anno"
                       " And OrdVenEvaTest.NumRif = OrdVenTest.NumRif Where OrdVenEvaTest.Utente = ") +
            ControlloEvaManu::UtenteSql() + QStringLiteral(" And OrdVenEvaTest.Anno = ") + I(anno) +
            QStringLiteral(" And OrdVenEvaTest.NumRif = ") + L(numRif));
    Testata t;
    if (rs.NessunRecord(a))
        return t;
    t.trovata = true;
    t.selez = rs.LeggiCampo(a, u"Selez").text();
    t.evadeTutto = rs.LeggiCampo(a, u"EvadeTutto").text();
    t.consTotale = rs.LeggiCampo(a, u"ConsTotale").text();
    t.moneta = rs.ValoreCampo(a, u"Moneta");
    t.dataCons = rs.ValoreCampo(a, u"DataCons");
    return t;
}

QString dellaRiga(const ChiaveRigaManuale &r)
{
    return QStringLiteral(" Where Utente = ") + ControlloEvaManu::UtenteSql() + QStringLiteral(" And Anno = ") + I(r.anno) +
           QStringLiteral(" And NumRif = ") + L(r.numRif) + QStringLiteral(" And RigLiv = ") + L(r.riga) +
           QStringLiteral(" And Livello1 = ") + T(r.livello1) + QStringLiteral(" And Livello2 = ") + T(r.livello2);
}

// The staged line row (nullopt-like `trovata` false when it is gone).
struct RigaLetta {
    bool trovata = false;
    RigaCorpo riga;
};

RigaLetta leggiRiga(const ChiaveRigaManuale &k)
{
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {},
                              QStringLiteral("Select RigDet, QtaDaEva, ASaldo, RigLivRAEE from OrdVenEvaDett") + dellaRiga(k));
    RigaLetta l;
    if (rs.NessunRecord(a))
        return l;
    l.trovata = true;
    l.riga = RigaCorpo{.anno = k.anno, .numRif = k.numRif, .rigDet = rs.LeggiCampo(a, u"RigDet").toInteger(), .rigLiv = k.riga,
                       .livello1 = k.livello1, .livello2 = k.livello2, .qtaDaEva = rs.ValoreCampo(a, u"QtaDaEva"),
                       .aSaldo = rs.LeggiCampo(a, u"ASaldo").text(), .rigLivRAEE = rs.ValoreCampo(a, u"RigLivRAEE")};
    return l;
}

void esegui(const QString &sql) { ggDbAzienda->Esegui(gsNomeConn, sql); }

// The hourglass while an order is picked or released, off again on every way out.
struct Clessidra {
    Clessidra() { ClessidraEvasione(true); }
    ~Clessidra() { ClessidraEvasione(false); }
    Clessidra(const Clessidra &) = delete;
    Clessidra &operator=(const Clessidra &) = delete;
};

} // namespace

OrdineDaPrelevare ControlloEvaManu::OrdineDelGruppo(int16_t anno, int32_t numRif, bool evadeTutto, const Variant &dataCons) const
{
    OrdineDaPrelevare o;
    o.utente = Utente();
    o.anno = anno;
    o.numRif = numRif;
    o.evadeTutto = evadeTutto;
    o.dataConsTestata = dataCons;
    o.gesTaglie = textEquals(msGesTaglie, u"S");
    o.partitaEnse = textEquals(msPartitaEnse, u"S");
    if (ogEvaOrd) {
        o.dataConsDa = ogEvaOrd->ovDataConsDa;
        o.dataConsA = ogEvaOrd->ovDataConsA;
        o.articoloDa = ogEvaOrd->osArticoloDa;
        o.articoloA = ogEvaOrd->osArticoloA;
    }
    for (const CampoAggCorpo &c : mCampiAgg.corpo) {
        o.colonneAgg << c.colonna;
        o.origineAgg << c.orig;
    }
    return o;
}

bool ControlloEvaManu::TestataSalvata(int16_t anno, int32_t numRif)
{
    const Clessidra clessidra;
    bool marchiAzzerati = false;
    try {
        const Testata t = leggiTestata(anno, numRif);
        msMonetaOrdine = t.moneta.isNull() || t.moneta.isEmpty() ? gsMonetaDitta : t.moneta.text();
        if (t.trovata && textEquals(t.selez, u"S")) {
            const auto esito = PrelevaOrdine(OrdineDelGruppo(anno, numRif, textEquals(t.evadeTutto, u"S"), t.dataCons));
            marchiAzzerati = esito != EsitoPrelievo::Prelevato;
        } else {
            RilasciaOrdine(anno, numRif);
        }
    } catch (const AppError &e) {
        MessaggioErrore(UtilGenerali::NumeroErrore(e), e.description(), QStringLiteral("AfterUpdate"));
        return marchiAzzerati;
    }
    vista().Imposta_Griglia_Corpo();
    vista().Imposta_Griglia_Spese();
    return marchiAzzerati;
}

bool ControlloEvaManu::RigaSalvata(const ChiaveRigaManuale &chiave)
{
    try {
        const RigaLetta l = leggiRiga(chiave);
        if (!l.trovata)
            return false;
        if (!mbMostraLivelli)
            riepiloghi::AggLivDaDetRiep(l.riga);
        return riepiloghi::AggQtaRAEE(l.riga);
    } catch (const AppError &e) {
        MessaggioErrore(UtilGenerali::NumeroErrore(e), e.description(), QStringLiteral("AfterUpdate"));
        return false;
    }
}

bool ControlloEvaManu::ClicFlag(GrigliaManuale griglia, const ChiaveRigaManuale &chiave, const QString &campo)
{
    // A flag that cannot be written stays as it was, without a word.
    try {
        switch (griglia) {
        case GrigliaManuale::Testata: {
            const Testata t = leggiTestata(chiave.anno, chiave.numRif);
            if (!t.trovata)
                return false;
            const FlagOrdine f = clicFlag::Testata(campo, {t.selez, t.evadeTutto}, t.consTotale);
            if (f.selez == t.selez && f.evadeTutto == t.evadeTutto)
                return false;
            esegui(QStringLiteral("Update OrdVenEvaTest Set Selez = ") + T(f.selez) + QStringLiteral(", EvadeTutto = ") +
                   T(f.evadeTutto) + QStringLiteral(" Where Utente = ") + UtenteSql() + QStringLiteral(" And Anno = ") +
                   I(chiave.anno) + QStringLiteral(" And NumRif = ") + L(chiave.numRif));
            TestataSalvata(chiave.anno, chiave.numRif);
            return true;
        }
        case GrigliaManuale::Righe: {
            if (!textEquals(campo, u"ASaldo"))
                return false;
            const RigaLetta l = leggiRiga(chiave);
            if (!l.trovata)
                return false;
            const QString nuovo = clicFlag::ASaldo(l.riga.aSaldo, chiave.livello1);
            if (nuovo.isEmpty()) {
                Messaggio(testiCelle::kRiepilogoASaldo);
                return false;
            }
            esegui(QStringLiteral("Update OrdVenEvaDett Set ASaldo = ") + T(nuovo) + dellaRiga(chiave));
            RigaSalvata(chiave);
            return true;
        }
        case GrigliaManuale::Spese: {
            if (!textEquals(campo, u"Selez"))
                return false;
            GestRecordset rs;
            const QString dove = QStringLiteral(" Where Utente = ") + UtenteSql() + QStringLiteral(" And Anno = ") + I(chiave.anno) +
                                 QStringLiteral(" And NumRif = ") + L(chiave.numRif) + QStringLiteral(" And Riga = ") + L(chiave.riga);
            const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {}, QStringLiteral("Select Selez from OrdVenEvaSpese") + dove);
            if (rs.NessunRecord(a))
                return false;
            esegui(QStringLiteral("Update OrdVenEvaSpese Set Selez = ") + T(clicFlag::Inverti(rs.LeggiCampo(a, u"Selez").text())) + dove);
            return true;
        }
        }
    } catch (const AppError &) {
    }
    return false;
}
