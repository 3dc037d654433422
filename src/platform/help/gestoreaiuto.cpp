#include "gestoreaiuto.h"

#include "connessionedb.h"
#include "gestrecordset.h"
#include "utilgenerali.h"

#include <QVariant>

FinestraAiuto::~FinestraAiuto() = default;

namespace {

constexpr int32_t kErrProprietaNonSupportata = 438;

AppError erroreTipo(const QString &tipo)
{
    return AppError(ErrNum::InvalidCall, QStringLiteral("Tipo di aiuto inesistente: ") + tipo, QStringLiteral("GestoreAiuto"));
}

// The field list with every name given an empty value (nothing found).
void svuotaCampi(Variant &listaCampi)
{
    if (!listaCampi.isArray())
        return;
    VariantArray vuoti = listaCampi.toArray();
    for (Variant &v : vuoti.items)
        v = Variant();
    listaCampi = Variant(std::move(vuoti));
}

} // namespace

QString TestoControllo(const QObject *controllo)
{
    if (!controllo)
        throw AppError::standard(ErrNum::ObjectRequired);
    const QVariant t = controllo->property("text");
    if (!t.isValid())
        throw AppError(kErrProprietaNonSupportata, QStringLiteral("Proprietà o metodo non supportati dall'oggetto"));
    return t.toString();
}

void ImpostaTestoControllo(QObject *controllo, const QString &testo)
{
    if (!controllo)
        throw AppError::standard(ErrNum::ObjectRequired);
    if (!controllo->setProperty("text", testo))
        throw AppError(kErrProprietaNonSupportata, QStringLiteral("Proprietà o metodo non supportati dall'oggetto"));
}

GestoreAiuto::GestoreAiuto(QObject *parent) : EventiAiuto(parent) {}

GestoreAiuto::~GestoreAiuto() = default;

std::shared_ptr<GestoreAiuto> GestoreAiuto::AiutoCondiviso()
{
    static std::weak_ptr<GestoreAiuto> condiviso;
    std::shared_ptr<GestoreAiuto> g = condiviso.lock();
    if (!g) {
        g = std::make_shared<GestoreAiuto>();
        condiviso = g;
    }
    return g;
}

void GestoreAiuto::Inizializza(QWidget *&frmPrincipale, std::shared_ptr<MenuClient> menuClient,
                               std::shared_ptr<ContestoAiuto> &contesto, std::shared_ptr<ConnessioneDb> dbAzienda,
                               const QString &nomeConn, std::shared_ptr<ConnessioneDb> dbDao, int32_t colNormale,
                               int32_t colErrore, const QString &parAiuto, const QString &formatData)
{
    m_contesto = contesto;
    Inizializza(ImpostazioniAiuto{frmPrincipale, std::move(menuClient), std::move(dbAzienda), nomeConn,
                                  std::move(dbDao), colNormale, colErrore, parAiuto, formatData});
}

void GestoreAiuto::Inizializza(ImpostazioniAiuto impostazioni)
{
    if (impostazioni.formatData.isEmpty())
        impostazioni.formatData = QStringLiteral("dd/mm/yyyy");
    m_decodifica.olColBackOk = impostazioni.colNormale;
    m_impostazioni = std::move(impostazioni);
    m_inizializzato = true;
}

ConnessioneDb &GestoreAiuto::db() const
{
    // The second opening of the database serves the same data: decodes use the first.
    const std::shared_ptr<ConnessioneDb> &db = m_impostazioni.connessione ? m_impostazioni.connessione : m_impostazioni.dao;
    if (!db)
        throw AppError(91, QStringLiteral("Variabile oggetto o variabile del blocco With non impostata"),
                       QStringLiteral("GestoreAiuto"));
    return *db;
}

void GestoreAiuto::preparaDecodifica(const QString &tipo, QObject *controllo, const Variant &codice, const QString &filtro)
{
    Variant ritorno;
    emit ClsPrepDecod(QString(), tipo, controllo ? controllo->objectName() : QString(), codice, Variant(true),
                      Variant(filtro), ritorno);
}

bool GestoreAiuto::cerca(const TipoAiuto &tipo, const QString &codice, const QString &filtro, QString &descrizione,
                         Variant &listaCampi)
{
    const MotoreDb motore = db().Motore(m_impostazioni.nomeConn);
    const QStringList valori = valoriCodice(tipo, codice);
    QString sql = QStringLiteral("Select * from ") + tipo.tabella + QStringLiteral(" where ");
    for (int i = 0; i < tipo.campiCodice.size(); ++i) {
        if (i > 0)
            sql += QStringLiteral(" and ");
        sql += tipo.campiCodice[i] + QStringLiteral(" = ") + UtilGenerali::SqlValore(Variant(valori.value(i)), 8, motore);
    }
    if (!filtro.trimmed().isEmpty())
        sql += QStringLiteral(" and (") + filtro + QStringLiteral(")");

    GestRecordset rs;
    const QString alias = rs.Apri(db(), m_impostazioni.nomeConn, QStringLiteral("DecodAiuto"), sql, false, dbOpenSnapshot);
    if (rs.NessunRecord(alias)) {
        rs.Chiudi(alias);
        return false;
    }
    descrizione = rs.LeggiCampo(alias, tipo.campoDescrizione).text();
    if (listaCampi.isArray()) {
        VariantArray valoriCampi = listaCampi.toArray();
        for (Variant &v : valoriCampi.items)
            v = rs.LeggiCampo(alias, v.text());
        listaCampi = Variant(std::move(valoriCampi));
    }
    rs.Chiudi(alias);
    return true;
}

int16_t GestoreAiuto::Decodifica(const QString &tipo, QObject *codice, QObject *descrizione,
                                 const std::optional<Variant> &, int16_t, const QString &, int16_t, Variant &listaCampi,
                                 const QString &filtro)
{
    const TipoAiuto *t = trovaTipoAiuto(tipo);
    if (!t)
        throw erroreTipo(tipo);
    const QString testo = TestoControllo(codice).trimmed();
    preparaDecodifica(tipo, codice, Variant(testo), filtro);
    if (testo.isEmpty()) {
        svuotaCampi(listaCampi);
        ImpostaTestoControllo(descrizione, QString());
        return 0;
    }
    QString descr;
    Variant campi = listaCampi;
    if (cerca(*t, testo, filtro, descr, campi)) {
        listaCampi = campi;
        ImpostaTestoControllo(descrizione, descr);
        return -1;
    }
    svuotaCampi(listaCampi);
    ImpostaTestoControllo(descrizione, kInesistente);
    return 0;
}

int16_t GestoreAiuto::DecodificaMuta(const QString &tipo, const Variant &codice, QString &descrizione,
                                     const std::optional<Variant> &, int16_t &, int16_t, int16_t, const QString &, int16_t,
                                     Variant &listaCampi, const QString &filtro)
{
    descrizione.clear();
    const TipoAiuto *t = trovaTipoAiuto(tipo);
    const QString testo = codice.text().trimmed();
    Variant campi = listaCampi;
    svuotaCampi(listaCampi);
    if (!t)
        return 1;
    preparaDecodifica(tipo, nullptr, codice, filtro);
    if (testo.isEmpty())
        return -1;
    try {
        QString descr;
        if (!cerca(*t, testo, filtro, descr, campi))
            return -1;
        descrizione = descr;
        listaCampi = campi;
        return 0;
    } catch (const AppError &) {
        return 1;
    }
}

void GestoreAiuto::ImpostaParametro(const QString &nome, int16_t, const Variant &valore)
{
    m_parametri.ovLeggiPar(nome, valore);
}

Variant GestoreAiuto::MostraAiuto(const QString &tipo, QObject *codice, QObject *descrizione, int16_t &tasto,
                                  QWidget *formAttiva, const std::optional<Variant> &, int16_t &scelto, int16_t,
                                  const QString &campi, const QString &filtro)
{
    const TipoAiuto *t = trovaTipoAiuto(tipo);
    if (!t)
        throw erroreTipo(tipo);
    if (!m_finestra)
        throw AppError(91, QStringLiteral("Finestra di aiuto non disponibile"), QStringLiteral("GestoreAiuto"));

    ImmaginiAiuto immagini;
    const Variant mostra = m_parametri.ovLeggiPar(QStringLiteral("MostraImg"));
    immagini.mostra = !mostra.isBlank() && mostra.toBool();
    const QString colonnaImmagine = immagini.mostra ? m_parametri.ovLeggiPar(QStringLiteral("NomeColImg")).text() : QString();
    if (immagini.mostra) {
        immagini.dove = m_parametri.ovLeggiPar(QStringLiteral("DoveMostraImg")).text();
        immagini.cartella = m_parametri.ovLeggiPar(QStringLiteral("DirImgArt")).text();
        immagini.rapporto = UtilGenerali::ValoreNumerico(m_parametri.ovLeggiPar(QStringLiteral("ImgRapVertOriz")));
        const Variant reali = m_parametri.ovLeggiPar(QStringLiteral("ImgDimReali"));
        immagini.dimReali = reali.isBlank() || reali.toBool();
        const QString margine = immagini.dove == QLatin1String("A")   ? QStringLiteral("MargSopra")
                                : immagini.dove == QLatin1String("B") ? QStringLiteral("MargSotto")
                                : immagini.dove == QLatin1String("S") ? QStringLiteral("MargSin")
                                                                      : QStringLiteral("MargDestra");
        immagini.spazio = UtilGenerali::ValoreLong(m_ricerca.ogComlin().ovLeggiPar(margine));
    }

    ElencoAiuto elenco;
    const QStringList colonne = colonneDaElenco(campi);
    auto ricarica = [&] { elenco.carica(db(), m_impostazioni.nomeConn, *t, colonne, filtro, colonnaImmagine); };
    ricarica();

    RichiestaRicerca richiesta;
    richiesta.elenco = &elenco;
    richiesta.ricarica = ricarica;
    richiesta.titolo = t->tipo;
    richiesta.testo = TestoControllo(codice).trimmed();
    richiesta.modo = modoDaTasto(tasto);
    richiesta.formAttiva = formAttiva;
    richiesta.immagini = immagini;

    const Variant retZero = m_ricerca.ovLeggiPar(QStringLiteral("RetZeroRec"));
    if (!richiesta.testo.isEmpty() && !retZero.isBlank() && retZero.toInteger() == 1
        && elenco.cerca(richiesta.testo, richiesta.modo).empty())
        return Variant(int16_t(1));

    const std::optional<int> riga = m_finestra->Scegli(richiesta);
    if (riga && *riga >= 0 && *riga < elenco.righe()) {
        ImpostaTestoControllo(codice, elenco.codice(*riga));
        ImpostaTestoControllo(descrizione, elenco.descrizione(*riga));
        scelto = -1;
    }
    return Variant(int16_t(0));
}

Variant GestoreAiuto::LeggiCambio(const QString &moneta, const Variant &data, double &cambio, Date &dataCambio)
{
    if (data.isBlank() || !db().Database(m_impostazioni.nomeConn).EsisteTabella(QStringLiteral("Cambi")))
        return Variant(false);
    const MotoreDb motore = db().Motore(m_impostazioni.nomeConn);
    const QString sql = QStringLiteral("Select top 1 Cambio, Data from Cambi where Moneta = ")
                        + UtilGenerali::SqlValore(Variant(moneta), 8, motore) + QStringLiteral(" and Data <= ")
                        + UtilGenerali::SqlValore(Variant(data.toDate().dateOnly()), 7, motore)
                        + QStringLiteral(" order by Data desc");
    GestRecordset rs;
    const QString alias = rs.Apri(db(), m_impostazioni.nomeConn, QStringLiteral("CambioAiuto"), sql, false, dbOpenSnapshot);
    bool trovato = false;
    if (!rs.NessunRecord(alias) && !rs.ValoreCampo(alias, u"Cambio").isNull()) {
        cambio = rs.LeggiCampo(alias, u"Cambio").toDouble();
        dataCambio = rs.LeggiCampo(alias, u"Data").toDate();
        trovato = true;
    }
    rs.Chiudi(alias);
    return Variant(trovato);
}

void GestoreAiuto::ImpostaFinestra(std::unique_ptr<FinestraAiuto> finestra)
{
    m_finestra = std::move(finestra);
}
