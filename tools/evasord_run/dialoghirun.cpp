#include "dialoghirun.h"

#include <cstdio>

namespace {

QString senzaAcceleratore(QString testo) { return testo.remove(QLatin1Char('&')); }

} // namespace

void giornale(const QString &tipo, const QString &testo)
{
    // one line per entry, whatever the message's own line breaks
    QString riga = testo;
    riga.replace(QStringLiteral("\r\n"), QStringLiteral(" / ")).replace(QLatin1Char('\n'), QStringLiteral(" / "));
    std::fputs(qUtf8Printable(QStringLiteral("[") + tipo + QStringLiteral("] ") + riga + QLatin1Char('\n')), stderr);
    std::fflush(stderr);
}

int DialoghiRun::msgCom(const RichiestaMsgCom &r)
{
    m_testi << r.psLabel;
    QStringList pulsanti{senzaAcceleratore(r.psCom1)};
    if (!r.pvCom2.isEmpty()) {
        pulsanti << senzaAcceleratore(r.pvCom2.text());
        if (!r.pvCom3.isEmpty())
            pulsanti << senzaAcceleratore(r.pvCom3.text());
    }
    int risposta = r.piComDefault >= 1 && r.piComDefault <= pulsanti.size() ? r.piComDefault : 1;
    const int esci = static_cast<int>(pulsanti.indexOf(QStringLiteral("Esci")));
    if (esci >= 0 && pulsanti.contains(QStringLiteral("Riprova"))) {
        risposta = esci + 1;
        m_esci = true;
    }
    giornale(QStringLiteral("msgCom"), r.psLabel + QStringLiteral(" {") + pulsanti.join(QLatin1Char('|'))
                                           + QStringLiteral("} => ") + QString::number(risposta));
    return risposta;
}

int DialoghiRun::MsgBox(const QString &testo, PulsantiMsg pulsanti, IconaMsg, const QString &)
{
    m_testi << testo;
    // the first button, as the platform's message box proposes it
    int risposta = RispostaMsg::Ok;
    switch (pulsanti) {
    case PulsantiMsg::SiNo:
    case PulsantiMsg::SiNoAnnulla:
        risposta = RispostaMsg::Si;
        break;
    case PulsantiMsg::RiprovaAnnulla:
        // a retry without a user would never end
        risposta = RispostaMsg::Annulla;
        break;
    default:
        break;
    }
    giornale(QStringLiteral("MsgBox"), testo + QStringLiteral(" => ") + QString::number(risposta));
    return risposta;
}

std::optional<QString> DialoghiRun::InputBox(const QString &prompt, const QString &, const QString &predefinito)
{
    m_testi << prompt;
    giornale(QStringLiteral("InputBox"), prompt + QStringLiteral(" => ") + predefinito);
    return predefinito;
}
