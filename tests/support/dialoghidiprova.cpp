#include "dialoghidiprova.h"

#include <gtest/gtest.h>

QStringList DialoghiDiProva::testi() const
{
    QStringList out;
    for (const auto &m : m_mostrati)
        out << m.testo;
    return out;
}

int DialoghiDiProva::prossimoNumero(const QString &testo, int predefinito)
{
    if (m_numeri.empty()) {
        ADD_FAILURE() << "dialog without a prepared answer: " << testo.toStdString();
        return predefinito;
    }
    const int r = m_numeri.front();
    m_numeri.pop_front();
    return r;
}

int DialoghiDiProva::msgCom(const RichiestaMsgCom &r)
{
    Mostrato m{Mostrato::MsgCom, r.psLabel, {r.psCom1}, r.pvTitolo.text(), r, PulsantiMsg::Ok, IconaMsg::Nessuna};
    if (!r.pvCom2.isEmpty()) {
        m.pulsanti << r.pvCom2.text();
        if (!r.pvCom3.isEmpty())
            m.pulsanti << r.pvCom3.text();
    }
    m_mostrati.push_back(m);
    return prossimoNumero(r.psLabel, 1);
}

int DialoghiDiProva::MsgBox(const QString &testo, PulsantiMsg pulsanti, IconaMsg icona, const QString &titolo)
{
    m_mostrati.push_back(Mostrato{Mostrato::MsgBox, testo, {}, titolo, {}, pulsanti, icona});
    return prossimoNumero(testo, RispostaMsg::Ok);
}

std::optional<QString> DialoghiDiProva::InputBox(const QString &prompt, const QString &titolo, const QString &predefinito)
{
    m_mostrati.push_back(
        Mostrato{Mostrato::InputBox, prompt, {}, titolo, {}, PulsantiMsg::OkAnnulla, IconaMsg::Nessuna, predefinito});
    if (m_testi.empty()) {
        ADD_FAILURE() << "input box without a prepared answer: " << prompt.toStdString();
        return predefinito;
    }
    const bool annullato = !m_testi.front().has_value();
    const QString testo = m_testi.front().value_or(QString());
    m_testi.pop_front();
    if (annullato)
        return std::nullopt;
    return testo;
}

DialoghiInstallati::DialoghiInstallati()
{
    auto p = std::make_unique<DialoghiDiProva>();
    m_prova = p.get();
    m_precedenti = impostaDialoghi(std::move(p));
}

DialoghiInstallati::~DialoghiInstallati()
{
    impostaDialoghi(std::move(m_precedenti));
}
