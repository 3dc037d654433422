#include "dialoghigiornale.h"

#include "frmmsgcom.h"

#include <QDialog>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

DialoghiGiornale::DialoghiGiornale(QString giornale, QStringList risposte)
    : m_giornale(std::move(giornale)), m_risposte(std::move(risposte))
{
}

std::optional<QString> DialoghiGiornale::prossima()
{
    if (m_risposte.isEmpty())
        return std::nullopt;
    const QString r = m_risposte.takeFirst();
    if (!r.startsWith(QLatin1String("attesa:")))
        return r;
    // a modal window that stays open the time asked, as a user would leave a question open
    QDialog finestra;
    finestra.setWindowModality(Qt::ApplicationModal);
    QTimer::singleShot(r.mid(7).toInt(), &finestra, &QDialog::accept);
    m_attesa = true;
    finestra.exec();
    m_attesa = false;
    return std::nullopt;
}

void DialoghiGiornale::scrivi(const QString &tipo, const QString &titolo, const QString &testo,
                              const QStringList &pulsanti, const QString &risposta)
{
    QFile f(m_giornale);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    const QJsonObject riga{{"tipo", tipo},
                           {"titolo", titolo},
                           {"testo", testo},
                           {"pulsanti", QJsonArray::fromStringList(pulsanti)},
                           {"risposta", risposta}};
    f.write(QJsonDocument(riga).toJson(QJsonDocument::Compact) + '\n');
}

int DialoghiGiornale::msgCom(const RichiestaMsgCom &r)
{
    if (m_attesa)
        return 0; // the message dialog is on the screen already

    QStringList pulsanti{r.psCom1};
    if (!r.pvCom2.isEmpty()) {
        pulsanti << r.pvCom2.text();
        if (!r.pvCom3.isEmpty())
            pulsanti << r.pvCom3.text();
    }
    const int risposta = prossima().value_or(QStringLiteral("1")).toInt();
    scrivi(QStringLiteral("msgCom"), r.pvTitolo.text(), r.psLabel, pulsanti, QString::number(risposta));
    return risposta;
}

int DialoghiGiornale::MsgBox(const QString &testo, PulsantiMsg pulsanti, IconaMsg, const QString &titolo)
{
    int predefinita = RispostaMsg::Ok;
    if (pulsanti == PulsantiMsg::SiNo || pulsanti == PulsantiMsg::SiNoAnnulla)
        predefinita = RispostaMsg::Si;
    else if (pulsanti == PulsantiMsg::RiprovaAnnulla)
        predefinita = RispostaMsg::Riprova;
    const std::optional<QString> data = prossima();
    const int risposta = data ? data->toInt() : predefinita;
    scrivi(QStringLiteral("MsgBox"), titolo, testo, {}, QString::number(risposta));
    return risposta;
}

std::optional<QString> DialoghiGiornale::InputBox(const QString &prompt, const QString &titolo,
                                                  const QString &predefinito)
{
    const QString risposta = prossima().value_or(predefinito);
    scrivi(QStringLiteral("InputBox"), titolo, prompt, {}, risposta);
    return risposta;
}

std::unique_ptr<Dialoghi> dialoghiDelProgramma()
{
    const QString giornale = qEnvironmentVariable(kGiornaleDialoghiEnv);
    if (giornale.isEmpty())
        return std::make_unique<DialoghiQt>();
    const QString risposte = qEnvironmentVariable(kRisposteDialoghiEnv);
    return std::make_unique<DialoghiGiornale>(giornale,
                                              risposte.isEmpty() ? QStringList() : risposte.split(u','));
}
