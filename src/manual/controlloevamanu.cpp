#include "controlloevamanu.h"

#include "contesto.h"
#include "dialoghi.h"
#include "menuclient.h"
#include "textcompare.h"
#include "utilgenerali.h"
#include "vistaevamanu.h"

bool eSi(const Variant &valore) { return textEquals(valore.text(), u"S"); }

ControlloEvaManu::ControlloEvaManu(VistaEvaManu &vista) : m_vista(vista) {}

ControlloEvaManu::~ControlloEvaManu()
{
    if (mbAperta)
        SegnaAperta(false);
}

GestRecordset &ControlloEvaManu::mgRecManu()
{
    if (!m_recManu)
        m_recManu = std::make_unique<GestRecordset>();
    return *m_recManu;
}

QString ControlloEvaManu::Utente() { return ggMenuClient->NomeUtente(); }

QString ControlloEvaManu::UtenteSql() { return UtilGenerali::SqlValore(Variant(Utente()), 8); }

void ControlloEvaManu::Messaggio(const QString &testo) { frmMsgCom::msgCom(testo, QStringLiteral("&Ok")); }

void ControlloEvaManu::MessaggioErrore(int32_t numero, const QString &testo, const QString &procedura)
{
    QString riga = QStringLiteral("Errore N° ") + QString::number(numero) + QStringLiteral(": ") + testo +
                   QStringLiteral(" in EvasioneManuale");
    if (!procedura.isEmpty())
        riga += QStringLiteral(" (") + procedura + QLatin1Char(')');
    Messaggio(riga);
}

QString ControlloEvaManu::DidascaliaLivelli() const
{
    return mbMostraLivelli ? QStringLiteral("&Nascondi Livelli") : QStringLiteral("&Mostra Livelli");
}
