// Load, start and unload of the picking form, the group extraction and the release of a group.
#include "controlloevamanu.h"

#include "campirot.h"
#include "contesto.h"
#include "parametri.h"
#include "presentazione.h"
#include "scevaordven.h"
#include "textcompare.h"
#include "utilgenerali.h"
#include "vistaevamanu.h"

void ControlloEvaManu::Form_Load()
{
    mbGrigliaRicaricata = false;
    mbScaricata = false;
    miLoadOk = -1;
    mbMostraLivelli = !eSi(LeggiParamPers(QStringLiteral("Ordini"), QStringLiteral("EvaManLivGruppo"), Variant(QString())));
    if (eSi(LeggiParamMenu(QStringLiteral("Mag.GesTaglie"))))
        m_vista.MostraPulsLiv(true, DidascaliaLivelli());
    else
        m_vista.MostraPulsLiv(false, {});

    mbQtaDaDimen = eSi(LeggiParamPers(QStringLiteral("Vendite"), QStringLiteral("QtaDaDimen"), Variant(QString())));
    if (mbQtaDaDimen) {
        const auto lista = [](const QString &nome) {
            return QStringLiteral(";") +
                   LeggiParamPers(QStringLiteral("Vendite"), nome, Variant(QString())).text() + QStringLiteral(";");
        };
        msUMLineari = lista(QStringLiteral("QtaDaDimUML"));
        msUMQuadre = lista(QStringLiteral("QtaDaDimUMQ"));
        msUMCubiche = lista(QStringLiteral("QtaDaDimUMC"));
        mdQtaDimenRapp = UtilGenerali::ValoreNumerico(
            LeggiParamPers(QStringLiteral("Vendite"), QStringLiteral("QtaDimenRapp"), Variant(QStringLiteral("1000#"))));
        if (mdQtaDimenRapp == 0)
            mdQtaDimenRapp = 1000;
    }

    msCampiDett = {QStringLiteral("Utente"),     QStringLiteral("Anno"),        QStringLiteral("NumRif"),
                   QStringLiteral("RigDet"),     QStringLiteral("RigLiv"),      QStringLiteral("Livello1"),
                   QStringLiteral("Livello2"),   QStringLiteral("Articolo"),    QStringLiteral("UM"),
                   QStringLiteral("Qta"),        QStringLiteral("QtaEvasa"),    QStringLiteral("QtaDaEva"),
                   QStringLiteral("ASaldo"),     QStringLiteral("ValUnitario"), QStringLiteral("DataCons"),
                   QStringLiteral("Descrizione"), QStringLiteral("RigLivRAEE")};

    mCampiAgg = LeggiCampiAggiuntivi(eSi(LeggiParamMenu(QStringLiteral("Mag.GesTaglie"))));
    if (!mCampiAgg.scartati.isEmpty())
        Messaggio(QStringLiteral("Colonne aggiuntive non valide nei parametri personali (Ordini), non mostrate: ") +
                  mCampiAgg.scartati.join(QStringLiteral(", ")));

    msMascheraQta = UtilGenerali::MascheraNumero(Variant(), giNumDecQta);

    miLoadOk = 1;
    mbProseguiInCorso = false;
}

void ControlloEvaManu::Form_Unload() noexcept
{
    if (mbScaricata)
        return;
    mbScaricata = true;
    if (mbAperta) {
        mbAperta = false;
        SegnaAperta(false);
    }
    if (miLoadOk != 1)
        return;
    // A form refused as a second session leaves the staging rows to the session that owns them.
    try {
        if (SessioneAperta())
            CancellaAppo();
    } catch (...) {
    }
    if (m_recManu) {
        for (QString &alias : msAliasGriglia) {
            if (!alias.isEmpty())
                m_recManu->Chiudi(alias);
        }
        m_recManu->Chiudi(msAliasOrdini);
        m_recManu->Chiudi(msAliasEvaTest);
    }
    RilasciaSessione();
}

void ControlloEvaManu::EvasioneManuale()
{
    try {
        if (!ogEvaOrd)
            throw AppError(91, QStringLiteral("Variabile oggetto o variabile del blocco With non impostata"),
                           QStringLiteral("EvasioneManuale"));
        msPartitaEnse = LeggiParamPers(QStringLiteral("Ddt"), QStringLiteral("PartitaEnse"), Variant(QString())).text();
        msGesTaglie = eSi(LeggiParamMenu(QStringLiteral("Mag.GesTaglie"))) ? QStringLiteral("S") : QStringLiteral("N");
        if (!PrendiSessione()) {
            m_vista.Chiudi();
            return;
        }
        // A group is a run of adjacent orders: the orders that can share a document are read
        // together, a customer's next to each other.
        msAliasOrdini = mgRecManu().Apri(*ggDbAzienda, gsNomeConn, {},
                                         ogEvaOrd->PrepSqlSelOrd(false, 0, 0) + CampiRotOrdinamento(*ogEvaOrd), false,
                                         dbOpenSnapshot);
        if (mgRecManu().NessunRecord(msAliasOrdini)) {
            Messaggio(QStringLiteral("Non ci sono dati nell'intervallo specificato"));
            m_vista.Chiudi();
            return;
        }
        mgRecManu().MoveFirst(msAliasOrdini);
        const bool gruppo = EstraeOrdiniCoerenti();
        ClessidraEvasione(false);
        if (!gruppo)
            return;
    } catch (const AppError &e) {
        MessaggioErrore(UtilGenerali::NumeroErrore(e), e.description());
        // Nothing half-staged is left on the screen.
        m_vista.Chiudi();
        return;
    }
    if (!mbAperta) {
        mbAperta = true;
        SegnaAperta(true);
    }
    m_vista.Mostra();
}

void ControlloEvaManu::comLivelli_Click()
{
    mbMostraLivelli = !mbMostraLivelli;
    m_vista.MostraPulsLiv(true, DidascaliaLivelli());
    m_vista.Imposta_Griglia_Corpo();
}
