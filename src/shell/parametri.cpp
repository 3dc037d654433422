#include "parametri.h"

#include "contesto.h"
#include "menuclient.h"

namespace {

QString chiavePersonale(const Variant &sezione, const Variant &nome)
{
    return (Variant(QStringLiteral("Personal.")) & sezione & Variant(QStringLiteral(".\u00a7")) & nome).text();
}

bool eMarcatore(const Variant &risposta)
{
    return Variant::compare(risposta, Variant(marcatoreParamAssente())) == 0;
}

} // namespace

QString marcatoreParamAssente()
{
    return MenuClient::marcatoreAssente();
}

Variant LeggiParamMenu(const QString &nome)
{
    return ggMenuClient->LeggiParametro(nome, QString());
}

Variant LeggiParamPers(const QString &sezione, const QString &nome, const std::optional<Variant> &predefinito,
                       Variant *grezzo, const std::optional<Variant> &sezioneAlt,
                       const std::optional<Variant> &nomeAlt)
{
    Variant risposta = ggMenuClient->LeggiParametro(chiavePersonale(sezione, nome), QString());
    if (eMarcatore(risposta) && sezioneAlt && nomeAlt)
        risposta = ggMenuClient->LeggiParametro(chiavePersonale(*sezioneAlt, *nomeAlt), QString());
    if (grezzo)
        *grezzo = risposta;
    if (eMarcatore(risposta) && predefinito)
        return *predefinito;
    return risposta;
}

ParametriDelRun::ParametriDelRun() : m_client(ggMenuClient.condiviso())
{
    if (m_client)
        m_client->TieniParametri(true);
}

ParametriDelRun::~ParametriDelRun()
{
    if (m_client)
        m_client->TieniParametri(false);
}
