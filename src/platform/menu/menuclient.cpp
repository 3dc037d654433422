#include "menuclient.h"

#include "socketmenuclient.h"

MenuClient::~MenuClient() = default;

QString MenuClient::marcatoreAssente()
{
    return QString::fromUtf8("§ç~$!^");
}

void MenuClient::Collega(const QString &idMenu, const QString &programma, const QString &programmaPar)
{
    chiama(QStringLiteral("Collega"), {idMenu, programma, programmaPar});
}

Variant MenuClient::InviaComando(const QString &comando, const QString &destinatario, const Variant &param)
{
    return chiama(QStringLiteral("InviaComando"), {comando, destinatario, param});
}

RichiestaLancio MenuClient::LancioCorrente()
{
    return RichiestaLancio::fromVariant(chiama(QStringLiteral("LancioCorrente"), {}));
}

void MenuClient::PrepLancio(const QString &keySec)
{
    chiama(QStringLiteral("PrepLancio"), {keySec});
}

QString MenuClient::FileIni()
{
    return chiama(QStringLiteral("FileIni"), {}).text();
}

Date MenuClient::DataLavoro()
{
    return chiama(QStringLiteral("DataLavoro"), {}).toDate();
}

QString MenuClient::NomeUtente()
{
    if (m_utente)
        return *m_utente;
    QString utente = chiama(QStringLiteral("NomeUtente"), {}).text();
    if (m_tieniUtente)
        m_utente = utente;
    return utente;
}

QString MenuClient::NomeTerminale()
{
    return chiama(QStringLiteral("NomeTerminale"), {}).text();
}

Variant MenuClient::LeggiParametro(const QString &nome, const QString &predefinito)
{
    if (!m_tieniParametri)
        return chiama(QStringLiteral("LeggiParametro"), {nome, predefinito});
    const QString chiave = nome + QChar(0) + predefinito;
    if (const auto it = m_parametri.constFind(chiave); it != m_parametri.cend())
        return *it;
    Variant valore = chiama(QStringLiteral("LeggiParametro"), {nome, predefinito});
    m_parametri.insert(chiave, valore);
    return valore;
}

void MenuClient::TieniNomeUtente(bool tieni)
{
    m_tieniUtente = tieni;
    m_utente.reset();
}

void MenuClient::TieniParametri(bool tieni)
{
    m_tieniParametri = tieni;
    m_parametri.clear();
}

void MenuClient::AggiungiPassaA(const QString &caption, const QString &nomeForm, const QString &keySec)
{
    chiama(QStringLiteral("AggiungiPassaA"), {caption, nomeForm, keySec});
}

void MenuClient::AttivaProgramma(const QString &keyProgramma, const QString &keySec, const QString &param)
{
    chiama(QStringLiteral("AttivaProgramma"), {keyProgramma, keySec, param});
}

void MenuClient::FormChiusa(const QString &keySec)
{
    chiama(QStringLiteral("FormChiusa"), {keySec});
}

void MenuClient::MostraMenu(const QString &destinatario)
{
    chiama(QStringLiteral("MostraMenu"), {destinatario});
}

void MenuClient::Scollega()
{
    chiama(QStringLiteral("Scollega"), {});
}

namespace {
MenuClientFactory &factory()
{
    static MenuClientFactory f;
    return f;
}
} // namespace

std::unique_ptr<MenuClient> creaMenuClient()
{
    if (factory())
        return factory()();
    return std::make_unique<SocketMenuClient>(qEnvironmentVariable(kMenuSocketEnv));
}

void impostaFabbricaMenuClient(MenuClientFactory f)
{
    factory() = std::move(f);
}
