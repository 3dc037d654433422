#pragma once
// The program's context for one test: an in-process menu client (answering from the test's
// configuration) installed as ggMenuClient, the context reset before and after.
//
//   ContestoDiProva c;
//   c.menu().responder().setParametro("Mag.GesTaglie", "S");
//   c.personale("Tutti", "Massimizzato", "pc1,pc2");
#include "inprocessmenuclient.h"

#include <memory>

class ContestoDiProva {
public:
    explicit ContestoDiProva(MenuConfig config = {});
    ~ContestoDiProva();
    ContestoDiProva(const ContestoDiProva &) = delete;
    ContestoDiProva &operator=(const ContestoDiProva &) = delete;

    InProcessMenuClient &menu() { return *m_menu; }
    void parametro(const QString &chiave, const Variant &valore);
    void personale(const QString &sezione, const QString &nome, const Variant &valore);
    // The keys asked with LeggiParametro so far, in order.
    QStringList chiaviLette() const;

private:
    std::shared_ptr<InProcessMenuClient> m_menu;
};
