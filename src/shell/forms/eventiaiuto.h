#pragma once
// The receiver of the help and lookup component's events: the main menu asked from the lookup
// window, a decode to prepare, and the program keys chosen there for the menu's next
// "keyprgprim" / "keyprgsec".
#include "variant.h"

#include <QObject>
#include <memory>

class GestoreAiuto;

class scEventiAiuto : public QObject {
    Q_OBJECT
public:
    // Creates its own help manager and takes the component's shared help object from it.
    scEventiAiuto();
    ~scEventiAiuto() override;

    const std::shared_ptr<GestoreAiuto> &ogAiuto() const { return m_aiuto; }

    void ClsMainMenuFrm();
    void ClsPrepDecod(const QString &psId, const QString &psKeyBase, const QString &psCampo, const Variant &pvValore,
                      const Variant &pvSoloDecod, const Variant &pvSqlNoFiltro, Variant &pvRitorno);
    void LanciaKeyPrim(const QString &psLanciaKeyPrim);
    void LanciaKeySec(const QString &psLanciaKeySec);

private:
    std::unique_ptr<GestoreAiuto> m_gestore;
    std::shared_ptr<GestoreAiuto> m_aiuto;
};
