#pragma once
// The suite's help/lookup component as the program uses it: the decode of a typed code against
// its master table (into a description control, or silently into variables), the lookup window
// with its settings, and the exchange-rate lookup. It raises the events of EventiAiuto.
//
//   auto aiuto = std::make_shared<GestoreAiuto>();
//   QWidget *principale = ...; std::shared_ptr<ContestoAiuto> contesto = ...;
//   aiuto->Inizializza(principale, menu, contesto, db, nomeConn, db, colNormale, colErrore, "p", "dd/mm/yyyy");
//   QString descr; Variant campi = ...array of field names...; int16_t lavoro = 0;
//   int16_t esito = aiuto->DecodificaMuta("FattDocumento", "OC", descr, std::nullopt, lavoro, 0, 8, "", 0, campi, "");
//
// Controls are reached through their "text" property (QLineEdit, QLabel and the like).
#include "eventiaiuto.h"
#include "finestraaiuto.h"
#include "parametriaiuto.h"
#include "vbdate.h"

#include <QPointer>
#include <QString>
#include <memory>
#include <optional>

class ConnessioneDb;
class ContestoAiuto;
class MenuClient;
class QWidget;

// What the component is handed when it is bound to the program.
struct ImpostazioniAiuto {
    QWidget *formPrincipale = nullptr; // the program's main form (not owned)
    std::shared_ptr<MenuClient> menuClient;
    std::shared_ptr<ConnessioneDb> connessione; // the company database
    QString nomeConn;
    std::shared_ptr<ConnessioneDb> dao;         // its second opening
    int32_t colNormale = static_cast<int32_t>(0x80000005u);
    int32_t colErrore = 255;
    QString parAiuto;
    QString formatData = QStringLiteral("dd/mm/yyyy");
};

// The description a decode writes when the code does not exist.
inline const QString kInesistente = QStringLiteral("** INESISTENTE **");

class GestoreAiuto : public EventiAiuto {
    Q_OBJECT
public:
    explicit GestoreAiuto(QObject *parent = nullptr);
    ~GestoreAiuto() override;

    // The component's shared object, created on first use.
    std::shared_ptr<GestoreAiuto> AiutoCondiviso();

    // Binds the component to the program: decodes and lookups read the company database (its
    // second opening when the first is not given). The main form and the context come back
    // unchanged.
    void Inizializza(QWidget *&frmPrincipale, std::shared_ptr<MenuClient> menuClient,
                     std::shared_ptr<ContestoAiuto> &contesto, std::shared_ptr<ConnessioneDb> dbAzienda,
                     const QString &nomeConn, std::shared_ptr<ConnessioneDb> dbDao, int32_t colNormale,
                     int32_t colErrore, const QString &parAiuto, const QString &formatData);
    void Inizializza(ImpostazioniAiuto impostazioni);
    const ImpostazioniAiuto &impostazioni() const { return m_impostazioni; }
    bool inizializzato() const { return m_inizializzato; }

    // Decodes the code in the code control: the description (or "** INESISTENTE **") goes into
    // the description control and the field list (an array of field names) comes back holding
    // their values, empty ones when the code is not found. -1 when decoded, 0 otherwise (an
    // empty code leaves the description empty). A database error is raised.
    int16_t Decodifica(const QString &tipo, QObject *codice, QObject *descrizione, const std::optional<Variant> &opzione,
                       int16_t opzione5, const QString &opzioneTesto, int16_t opzione6, Variant &listaCampi,
                       const QString &filtro);

    // The same without controls: 0 found, -1 not found (an empty code too), 1 the master table
    // could not be read. Unless found, the description is "" and every field's value is Empty.
    int16_t DecodificaMuta(const QString &tipo, const Variant &codice, QString &descrizione,
                           const std::optional<Variant> &opzione, int16_t &lavoro, int16_t opzione5, int16_t opzione6,
                           const QString &opzioneTesto, int16_t opzione8, Variant &listaCampi, const QString &filtro);

    OggettoRicercaAiuto &OggettoRicerca() { return m_ricerca; }
    OggettoDecodificaAiuto &OggettoDecodifica() { return m_decodifica; }
    // A named setting of the window ("MostraImg", "DoveMostraImg", "NomeColImg", "DirImgArt",
    // "ImgRapVertOriz", "ImgDimReali"); the type code is the run-time's (12, Variant).
    void ImpostaParametro(const QString &nome, int16_t tipo, const Variant &valore);
    Variant LeggiParametro(const QString &nome) const { return m_parametri.ovLeggiPar(nome); }

    // Shows the lookup window over the active form: the rows of the lookup that meet the filter,
    // searched first for the code typed in the code control (the key code says how). On a
    // choice the code and the description go into the controls and the chosen flag becomes
    // True (-1). The answer is 1, without any window, when that first search finds nothing
    // while "RetZeroRec" is 1; otherwise 0 once the window is closed.
    Variant MostraAiuto(const QString &tipo, QObject *codice, QObject *descrizione, int16_t &tasto, QWidget *formAttiva,
                        const std::optional<Variant> &formatoConto, int16_t &scelto, int16_t opzione,
                        const QString &campi, const QString &filtro);

    // The rate of the currency at the date: the latest one on or before it (table Cambi). True
    // with the rate and its date; False when there is none.
    Variant LeggiCambio(const QString &moneta, const Variant &data, double &cambio, Date &dataCambio);

    // The lookup window ("Aiuto"; nullptr until the program installs one) and its interface.
    // Its members are reached by name too: properties "odRisVid", "obLockSpostaCurs",
    // "oiSpostaCurs", "ofrmAttiva", methods "ButtonComando", "HideFrm", "ChiudiAiuto".
    QWidget *FormAiuto() const { return m_finestra ? m_finestra->finestra() : nullptr; }
    FinestraAiuto *Finestra() const { return m_finestra.get(); }
    void ImpostaFinestra(std::unique_ptr<FinestraAiuto> finestra);

private:
    ConnessioneDb &db() const;
    void preparaDecodifica(const QString &tipo, QObject *controllo, const Variant &codice, const QString &filtro);
    // Finds the code; fills the description and the values. False when there is no such row.
    bool cerca(const struct TipoAiuto &tipo, const QString &codice, const QString &filtro, QString &descrizione,
               Variant &listaCampi);

    ImpostazioniAiuto m_impostazioni;
    bool m_inizializzato = false;
    std::shared_ptr<ContestoAiuto> m_contesto;

    OggettoRicercaAiuto m_ricerca;
    OggettoDecodificaAiuto m_decodifica;
    ParametriAiuto m_parametri;
    std::unique_ptr<FinestraAiuto> m_finestra;
};

// The text of a control (its "text" property); 438 when the control has none.
QString TestoControllo(const QObject *controllo);
void ImpostaTestoControllo(QObject *controllo, const QString &testo);
