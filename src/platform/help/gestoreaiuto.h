#pragma once
// The suite's help and lookup component, as far as the program's start-up and its command
// sink reach it: the manager, the shared help object with its events, its initialisation
// with the program's main window, menu link and company connection, and its lookup window.
// The lookup window itself, the decode and the exchange-rate lookup come with the program's
// lookup services; until one is registered the component has no window.
#include "variant.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>

class ConnessioneDb;
class MenuClient;

// What the component is handed at initialisation.
struct ImpostazioniAiuto {
    QPointer<QWidget> formPrincipale;
    std::shared_ptr<MenuClient> menuClient;
    std::shared_ptr<ConnessioneDb> connessione;
    QString nomeConn;
    std::shared_ptr<ConnessioneDb> dao;
    int32_t colNormale = 0;
    int32_t colErrore = 0;
    QString parAiuto;
    QString formatData;
};

// A help manager. Every manager hands out the same shared one (AiutoCondiviso), which keeps
// the program's settings and raises the component's events.
class GestoreAiuto : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    std::shared_ptr<GestoreAiuto> AiutoCondiviso();

    // Keeps the program's settings; the main form comes back as the component wants it used.
    void Inizializza(ImpostazioniAiuto impostazioni);
    const ImpostazioniAiuto &impostazioni() const { return m_impostazioni; }
    bool inizializzato() const { return m_inizializzato; }

    // The lookup window ("Aiuto"), nullptr while there is none.
    QWidget *FormAiuto() const { return m_formAiuto; }
    void impostaFormAiuto(QWidget *finestra) { m_formAiuto = finestra; }

signals:
    // The lookup window asks for the main menu.
    void ClsMainMenuFrm();
    // A decode is to be prepared by the program; the answer goes into pvRitorno.
    void ClsPrepDecod(const QString &psId, const QString &psKeyBase, const QString &psCampo, const Variant &pvValore,
                      const Variant &pvSoloDecod, const Variant &pvSqlNoFiltro, Variant &pvRitorno);
    // A program key chosen in the lookup window, for the menu's next "keyprgprim"/"keyprgsec".
    void LanciaKeyPrim(const QString &psLanciaKeyPrim);
    void LanciaKeySec(const QString &psLanciaKeySec);

private:
    ImpostazioniAiuto m_impostazioni;
    bool m_inizializzato = false;
    QPointer<QWidget> m_formAiuto;
};
